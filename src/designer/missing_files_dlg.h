// Lists the linked files that a scan could not copy, so the user can fix the page's links.
#pragma once
#include <string>
#include <vector>

#include "designer/extent_list_box.h"
#include "designer/missing_files_ids.h"
#include "disc/scanner.h"
#include "framework/dialog.h"

class CMissingFilesDlg : public fw::ModalDialog {
public:
    enum { IDD = IDD_MISSING_FILES };
    explicit CMissingFilesDlg(HWND parent = nullptr) : fw::ModalDialog(IDD, parent) {}

    CExtentListBox m_list;
    const std::vector<vk::MissingFile>* m_pList = nullptr;

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;
};
