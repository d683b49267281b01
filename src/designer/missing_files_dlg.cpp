#include "designer/missing_files_dlg.h"

#include "framework/wide.h"

void CMissingFilesDlg::DoDataExchange(fw::DataExchange& dx) { dx.Bind(IDC_MISSING_FILES_LIST, m_list); }

BOOL CMissingFilesDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    if (m_pList)
        for (const vk::MissingFile& file : *m_pList) {
            const fw::WString text = fw::Widen(vk::MissingEntryText(file));
            ::SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    return TRUE;
}
