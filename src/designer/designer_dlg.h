// The designer's main dialog: the settings of one disc.
#pragma once
#include <string>

#include "core/launch_config.h"
#include "designer/designer_options.h"
#include "framework/dialog.h"
#include "resource.h"
#include "framework/tooltips.h"

class CHelpDlg;
class CWaitDlg;

// The settings are the dialog's own members (DiscSettings), so Create CD and autorun.inf read
// them as they stand.
class CDesignerDlg : public fw::ModalDialog, public vk::DiscSettings {
public:
    enum { IDD = IDD_DESIGNER };
    explicit CDesignerDlg(HWND parent = nullptr);

    HICON m_hIcon;
    CWaitDlg* m_pWaitDlg = nullptr;

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnSysCommand(WPARAM command, LPARAM) override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override { return m_hIcon; }
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void SelectFile(const vk::DesignerOption& option);
    void ToggleOption(const vk::DesignerOption& option);
    void PlaySound();
    void OnHelp();

    fw::ToolTips m_toolTips;
    CHelpDlg* m_pHelp = nullptr; // while the help window is open
};
