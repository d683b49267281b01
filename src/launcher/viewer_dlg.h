// The built-in window that shows a page of the disc in the Web Browser control, or a movie
// in the Media Player control, sized by the launch configuration's window-size index.
#pragma once
#include <string>

#include "controls/media_player2.h"
#include "launcher/page_actions_win.h"
#include "framework/handles.h"
#include "framework/resizable_dlg.h"
#include "launcher/viewer_ids.h"
#include "launcher/viewer.h"
#include "controls/web_browser2.h"

class CViewerDlg : public fw::CResizableDlg, public WebBrowserEvents, private vk::PageActionHost {
public:
    enum { IDD = IDD_VIEWER };
    explicit CViewerDlg(HWND parent = nullptr) : fw::CResizableDlg(IDD, parent) {}
    ~CViewerDlg() override;

    std::string m_strPath;     // full path of the page or movie
    std::string m_strIconPath; // icon file from autorun.inf; may be empty
    int m_nWindowSize = 0;     // 0 Default, 1 640x480, 2 800x600, 3 Full Screen; others as 0
    vk::ViewerKind m_kind = vk::ViewerKind::Page;
    std::string m_strCaption; // the page title that the browser reported last
    CWebBrowser2 m_browser;
    CMediaPlayer2 m_player;
    int m_nMinTrackX = 0;
    int m_nMinTrackY = 0;
    // Pages under this folder may run action links; the program's own folder when empty.
    std::string m_strDiscFolder;
    // The window carries a property of this name while it shows, by which another launcher
    // of the same disc finds it; none when empty.
    fw::WString m_mark;

    // The browser's events, which its notifications bring.
    void BeforeNavigate(const std::string& url, const std::string& sourceFrame, bool& cancel) override;
    void TitleChange(const std::string& title) override;

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnGetMinMaxInfo(MINMAXINFO* info) override;
    // The minimum tracking size follows the screen's scale.
    bool OnDpiChanged(int dpi, const RECT& suggested) override;
    void OnDestroy() override;
    // Where the browser's events arrive.
    bool OnNotify(NMHDR* header, LRESULT& result) override;

    // Every navigation of the browser, before it happens; set cancel to stop it. The address
    // of the page it starts from is in m_strNavigationSource (empty before any page).
    virtual void OnBeforeNavigate2(const std::string& url, BOOL& cancel);
    void OnTitleChange(const std::string& title);

private:
    HWND ActionOwner() override { return m_hWnd; }
    std::string ActionCaption() override { return m_strCaption; }
    void QuitViewer() override { OnCancel(); }

    // The control that shows the file's kind.
    const fw::AxControl& KindControl() const;
    void SizeWindow();
    void SetMinTrack(int dpi);
    void SetIcon();

    fw::Icon m_fileIcon;
    bool m_bOwnNavigationPending = false; // the first page, which the viewer itself asked for

protected:
    std::string m_strNavigationSource;
};
