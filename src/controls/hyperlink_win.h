// A text static of a dialog turned into a web-style link: underlined text in link colours, a
// hand cursor, a tooltip with its target, sized to its text. A click or the space bar (once it
// has the focus) opens the target with the shell, or else with the web browser.
#pragma once
#include <string>

#include "framework/control.h"
#include "framework/handles.h"

class CHyperLink : public fw::Control {
public:
    static constexpr DWORD kUnderline = 0x01;
    static constexpr DWORD kFitToText = 0x04;
    static constexpr DWORD kFocusOnClick = 0x10;

    CHyperLink() = default;
    ~CHyperLink() override;

    // What a click opens and the tooltip shows; the text shown stays as it is.
    void SetTarget(const std::string& target);
    const std::string& GetTarget() const { return m_strTarget; }
    // Shrinks (or grows) the control to its text, keeping the text's alignment.
    void FitToText();

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override;
    void OpenTarget();

private:
    HBRUSH OnCtlColor(HDC dc);
    void OnMouseMove(LPARAM lp);
    void CreateToolTip();
    void SendToolMessage(UINT msg);

    bool m_bActive = false;  // pressed or focused
    bool m_bHover = false;   // pointer over it; the control holds the capture meanwhile
    bool m_bVisited = false; // opened successfully once
    DWORD m_nStyle = kUnderline | kFitToText | kFocusOnClick;
    std::string m_strTarget;
    fw::Font m_linkFont;
    HWND m_hToolTip = nullptr;
};
