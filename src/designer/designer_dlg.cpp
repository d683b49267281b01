#include "designer/designer_dlg.h"

#include "app/module_path.h"

CDesignerDlg::CDesignerDlg(HWND parent)
    : fw::Dialog(IDD, parent), m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128))) {}

void CDesignerDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Text(1005, m_strTarget);
    dx.Check(1015, m_bSplash);
    dx.Text(1018, m_strSplashName);
    dx.Text(1019, m_strSoundName);
    dx.Check(1017, m_bSound);
    dx.Text(1023, m_strIconName);
    dx.Check(1021, m_bIcon);
    dx.Check(1026, m_bBrowser);
    dx.CBIndex(1028, m_nWindowSize);
}

BOOL CDesignerDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_strExePath = vk::ModulePath();
    m_strProgramFolder = vk::ModuleFolder();
    return TRUE;
}

// Create CD builds the disc folder; the dialog stays open either way.
void CDesignerDlg::OnOK() { UpdateData(true); }
