// A text static that opens its target (a file, folder or web address) through the shell when
// clicked, like a web link: link colours, an underlined font and a hand cursor.
#pragma once
#include <string>

#include "controls/hyperlink.h"
#include "framework/control.h"
#include "framework/handles.h"

class CStaticLink : public fw::Control {
public:
    static constexpr COLORREF kUnvisited = vk::kLinkColour;
    static constexpr COLORREF kVisited = vk::kVisitedLinkColour;

    // link: the target handed to the shell (empty for null). deleteOnDestroy: the object
    // deletes itself once its window is gone.
    explicit CStaticLink(const char* link = nullptr, BOOL deleteOnDestroy = FALSE);
    ~CStaticLink() override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override;
    // Opens the target with the shell's "open" verb; true when the shell reports success.
    virtual bool OpenTarget(const std::string& target);
    // Tells the user that no source could be opened: the default beep.
    virtual void BeepFailure();

    // The string resource whose id is this control's id; empty when there is none.
    std::string OwnStringResource() const;

    std::string m_strLink;
    COLORREF m_color = kUnvisited;
    fw::Font m_underlineFont; // made on first use
    BOOL m_bDeleteOnDestroy;
    // Set when the control has nothing to open; from then on it is a plain static for good.
    BOOL m_bNotALink = FALSE;

private:
    HBRUSH OnCtlColor(HDC dc);
    void OnLButtonDown();
    bool OnSetCursor();
};
