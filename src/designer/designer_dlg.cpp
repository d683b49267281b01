#include "designer/designer_dlg.h"

#include <commctrl.h>
#include <iterator>
#include <mmsystem.h>

#include "core/win/module_path.h"
#include "core/paths.h"
#include "controls/about_dlg.h"
#include "controls/help_dlg.h"
#include "designer/builder_win.h"
#include "designer/designer_ids.h"
#include "designer/designer_options.h"
#include "framework/file_dialog.h"
#include "framework/on_demand.h"
#include "framework/wide.h"

CDesignerDlg::CDesignerDlg(HWND parent)
    : fw::ModalDialog(IDD, parent), m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))) {}

void CDesignerDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Text(IDC_TARGET_NAME, m_strTarget);
    dx.Check(IDC_SPLASH_OPTION, m_bSplash);
    dx.Text(IDC_SPLASH_NAME, m_strSplashName);
    dx.Text(IDC_SOUND_NAME, m_strSoundName);
    dx.Check(IDC_SOUND_OPTION, m_bSound);
    dx.Text(IDC_ICON_NAME, m_strIconName);
    dx.Check(IDC_ICON_OPTION, m_bIcon);
    dx.Check(IDC_BROWSER_OPTION, m_bBrowser);
    dx.CBIndex(IDC_WINDOW_SIZE, m_nWindowSize);
    dx.Check(IDC_IMAGE_OPTION, m_bImage);
}

BOOL CDesignerDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) {
        wchar_t about[256] = {};
        if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, static_cast<int>(std::size(about))) > 0) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, vk::kAboutCommand, about);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_strExePath = vk::ModulePath();
    m_strProgramFolder = vk::ModuleFolder();
    m_toolTips.Enable(m_hWnd);
    return TRUE;
}

// Create CD builds the disc folder; the dialog stays open either way.
void CDesignerDlg::OnOK() { vk::BuildDistribution(*this); }

bool CDesignerDlg::OnCommand(int id, int code, HWND) {
    if (id == IDC_TARGET_NAME && code == EN_KILLFOCUS) {
        UpdateData(true);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    if (const vk::DesignerOption* option = vk::OptionOfSelectButton(id)) {
        SelectFile(*option);
        return true;
    }
    if (const vk::DesignerOption* option = vk::OptionOfCheckBox(id)) {
        ToggleOption(*option);
        return true;
    }
    switch (id) {
    case IDC_PLAY_SOUND:
        PlaySound();
        return true;
    case IDC_HELP_BUTTON:
        OnHelp();
        return true;
    default:
        return false;
    }
}

void CDesignerDlg::SelectFile(const vk::DesignerOption& option) {
    const vk::FilePicker& picker = option.file->picker;
    fw::OpenFileRequest request;
    // Owned by the designer so that it stays modal to it.
    request.owner = m_hWnd;
    request.title = picker.title;
    request.initialFolder = m_strProgramFolder + "\\" + picker.subfolder;
    request.filter = vk::DialogFilter(picker.filter);
    request.defaultExtension = vk::DialogDefaultExtension(picker.defaultExtension);
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    std::string chosen;
    if (!fw::AskOpenFile(request, chosen))
        return;
    const vk::PickedFile picked = vk::ApplyPick(picker, chosen);
    this->*option.file->path = picked.path;
    this->*option.file->name = picked.name;
    UpdateData(false);
}

void CDesignerDlg::ToggleOption(const vk::DesignerOption& option) {
    UpdateData(true);
    for (int id : option.enables)
        if (id)
            EnableItem(id, this->*vk::CheckedSetting(option));
}

void CDesignerDlg::PlaySound() {
    UpdateData(true);
    // The default sound's path is relative to the program, not to wherever it was started.
    const std::string sound = vk::ResolveAgainst(m_strProgramFolder, m_strSoundPath);
    fw::PlaySoundNamed(fw::Widen(sound).c_str(), SND_FILENAME | SND_ASYNC);
}

// Modal to the designer. A Help command can still arrive while the designer is disabled (a
// posted message, a keyboard accelerator): it brings the open window forward instead.
void CDesignerDlg::OnHelp() {
    if (m_pHelp) {
        ::SetForegroundWindow(*m_pHelp);
        return;
    }
    CHelpDlg help(m_hWnd);
    m_pHelp = &help;
    help.DoModal();
    m_pHelp = nullptr;
}

// While a window that it owns holds it (help, About, a picker, a message, a scan), the designer
// is disabled; closing it then would only hide it and leave the process running behind the
// other window.
void CDesignerDlg::OnCancel() {
    if (::IsWindowEnabled(m_hWnd))
        fw::Dialog::OnCancel();
}

bool CDesignerDlg::OnSysCommand(WPARAM command, LPARAM) {
    if (!vk::IsAboutCommand(static_cast<unsigned>(command)))
        return false;
    CAboutDlg about(m_hWnd);
    about.DoModal();
    return true;
}

bool CDesignerDlg::OnPaint() {
    if (!IsIconic())
        return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int x = vk::CentredIconEdge(client.right - client.left, ::GetSystemMetrics(SM_CXICON));
    const int y = vk::CentredIconEdge(client.bottom - client.top, ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

bool CDesignerDlg::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW)
        return false;
    const int id = fw::ToolTipControlId(header);
    if (id == 0)
        return false;
    fw::SetToolTipText(header, vk::TooltipText(id));
    result = 0;
    return true;
}
