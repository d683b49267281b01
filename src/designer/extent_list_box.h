// A list box that keeps its horizontal scroll extent as wide as its widest item, so every
// item can be scrolled fully into view.
#pragma once

#include "framework/control.h"

class CExtentListBox : public fw::Control {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
    // -1 when the item cannot be read.
    int ItemWidth(int index) const;
    int TextWidth(const wchar_t* text, int length) const;
    void Grow(int index);
    void Recompute();
};
