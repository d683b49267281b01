// A list box that keeps its horizontal scroll extent as wide as its widest item, so every
// item can be scrolled fully into view.
#pragma once

#include "framework/control.h"

class CExtentListBox : public fw::Control {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int TextWidth(const char* text) const;
    void Grow(const char* text);
    void Recompute();
};
