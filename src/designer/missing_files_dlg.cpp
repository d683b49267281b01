#include "designer/missing_files_dlg.h"

void CMissingFilesDlg::DoDataExchange(fw::DataExchange& dx) { dx.Bind(IDC_MISSING_FILES_LIST, m_list); }

BOOL CMissingFilesDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    if (m_pList)
        for (const std::string& path : *m_pList)
            m_list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return TRUE;
}
