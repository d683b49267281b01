#include "launcher/viewer_dlg.h"

#include <shellapi.h>

#include "core/win/launch_config_win.h"
#include "core/win/module_path.h"
#include "launcher/page_actions.h"
#include "controls/shell_open.h"
#include "controls/shell_open_win.h"
#include "framework/debug_log.h"
#include "framework/wide.h"
#include "resource.h"

CViewerDlg::~CViewerDlg() = default;

void CViewerDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Bind(IDC_VIEWER_BROWSER, m_browser);
    dx.Bind(IDC_VIEWER_PLAYER, m_player);
}

BOOL CViewerDlg::OnInitDialog() {
    AddAnchoredControl(IDC_VIEWER_BROWSER, fw::AnchorSizeX | fw::AnchorSizeY);
    AddAnchoredControl(IDC_VIEWER_PLAYER, fw::AnchorSizeX | fw::AnchorSizeY);
    SetMinTrack(Dpi());
    fw::CResizableDlg::OnInitDialog();

    // A control that is not installed here would leave an empty window: the file's own
    // program shows it instead, and when there is none the user is told why nothing opens.
    if (!KindControl().IsCreated()) {
        const int shell = static_cast<int>(reinterpret_cast<INT_PTR>(
            ::ShellExecuteW(nullptr, nullptr, fw::Widen(m_strPath).c_str(), L"", L"", SW_SHOWNORMAL)));
        if (shell <= 32)
            ShowOpenError(vk::OpenFileErrorMessage(m_strPath, shell), nullptr);
        EndDialog(IDCANCEL);
        return TRUE;
    }

    // The controls' own display reports a file that is missing or cannot be played, so their
    // results are not examined.
    switch (m_kind) {
    case vk::ViewerKind::Movie:
        m_player.PutProperty23(false);
        m_player.Open(m_strPath);
        ShowItem(IDC_VIEWER_BROWSER, SW_HIDE);
        ShowItem(IDC_VIEWER_PLAYER, SW_SHOW);
        SizeWindow();
        break;
    case vk::ViewerKind::Page:
        SizeWindow();
        m_bOwnNavigationPending = true;
        fw::LogIfFailed(m_browser.Navigate(m_strPath, nullptr, nullptr, nullptr, nullptr), "the viewer's first page");
        break;
    }

    std::string label, title;
    const bool hasLabel = vk::ReadLabelEntry(label);
    if (vk::InitialTitle(m_kind, m_strPath, hasLabel, label, title))
        SetWindowText(title);
    SetIcon();
    if (!m_mark.empty())
        ::SetPropW(m_hWnd, m_mark.c_str(), reinterpret_cast<HANDLE>(1));
    return TRUE;
}

void CViewerDlg::OnDestroy() {
    // A property left on a window keeps its name's atom for the rest of the session.
    if (!m_mark.empty())
        ::RemovePropW(m_hWnd, m_mark.c_str());
    fw::CResizableDlg::OnDestroy();
}

const fw::AxControl& CViewerDlg::KindControl() const {
    switch (m_kind) {
    case vk::ViewerKind::Movie:
        return m_player;
    case vk::ViewerKind::Page:
        break;
    }
    return m_browser;
}

void CViewerDlg::SizeWindow() {
    const fw::WindowDc screen(nullptr);
    const vk::ScreenMetrics metrics = {::GetDeviceCaps(screen.Get(), HORZRES), ::GetDeviceCaps(screen.Get(), VERTRES),
                                       ::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER)};
    const vk::WindowPlan plan = vk::PlanWindowSize(m_nWindowSize, metrics, Dpi());
    switch (plan.placement) {
    case vk::ViewerPlacement::Keep:
        break;
    case vk::ViewerPlacement::Centred:
        ::SetWindowPos(m_hWnd, nullptr, plan.x, plan.y, plan.width, plan.height, SWP_NOZORDER | SWP_HIDEWINDOW);
        CenterWindow();
        break;
    case vk::ViewerPlacement::FullScreen:
        ::SetWindowPos(m_hWnd, nullptr, plan.x, plan.y, plan.width, plan.height, SWP_NOZORDER);
        break;
    }
}

void CViewerDlg::SetIcon() {
    m_fileIcon.Reset(static_cast<HICON>(
        ::LoadImageW(nullptr, fw::Widen(m_strIconPath).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
    HICON icon = m_fileIcon ? m_fileIcon.Get() : ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    if (!icon)
        return;
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void CViewerDlg::SetMinTrack(int dpi) {
    const fw::Size minTrack = vk::MinTrackSize(m_kind, dpi);
    m_nMinTrackX = minTrack.cx;
    m_nMinTrackY = minTrack.cy;
}

bool CViewerDlg::OnDpiChanged(int dpi, const RECT& suggested) {
    SetMinTrack(dpi);
    return fw::CResizableDlg::OnDpiChanged(dpi, suggested);
}

bool CViewerDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
    fw::Size track = {info->ptMinTrackSize.x, info->ptMinTrackSize.y};
    vk::ApplyMinTrack(fw::Size{m_nMinTrackX, m_nMinTrackY}, track);
    info->ptMinTrackSize.x = track.cx;
    info->ptMinTrackSize.y = track.cy;
    return true;
}

bool CViewerDlg::OnNotify(NMHDR* header, LRESULT&) {
    return static_cast<int>(header->idFrom) == IDC_VIEWER_BROWSER && CWebBrowser2::DecodeEvent(header, *this);
}

void CViewerDlg::BeforeNavigate(const std::string& url, const std::string& sourceFrame, bool& cancel) {
    m_strNavigationSource = sourceFrame;
    BOOL stop = cancel ? TRUE : FALSE;
    OnBeforeNavigate2(url, stop);
    cancel = stop != FALSE;
}

void CViewerDlg::TitleChange(const std::string& title) { OnTitleChange(title); }

// Action links run here instead of being followed, when the page they come from is the disc's.
void CViewerDlg::OnBeforeNavigate2(const std::string& url, BOOL& cancel) {
    const bool own = m_bOwnNavigationPending && m_strNavigationSource.empty();
    m_bOwnNavigationPending = false;
    if (vk::FindPageActions(url).empty())
        return;
    const std::string disc = m_strDiscFolder.empty() ? vk::ModuleFolder() : m_strDiscFolder;
    if (!vk::ActionsAllowedFrom(m_strNavigationSource, disc, own)) {
        cancel = TRUE; // not followed either: an action link is no page
        return;
    }
    if (vk::RunPageActions(url, *this))
        cancel = TRUE;
}

void CViewerDlg::OnTitleChange(const std::string& title) {
    SetWindowText(title);
    m_strCaption = title;
}
