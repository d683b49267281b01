// The designer's main dialog: the settings of one disc.
#pragma once
#include <string>

#include "framework/dialog.h"
#include "framework/tooltips.h"

class CHelpDlg;
class CWaitDlg;

class CDesignerDlg : public fw::Dialog {
public:
    enum { IDD = 102 };
    explicit CDesignerDlg(HWND parent = nullptr);

    std::string m_strExePath;
    std::string m_strTarget = "1_Demo_General_Menu.html";
    BOOL m_bSplash = TRUE;
    std::string m_strSplashName = "default.jpg";
    std::string m_strSoundName = "default.wav";
    BOOL m_bSound = TRUE;
    std::string m_strIconName = "autorun.exe";
    BOOL m_bIcon = TRUE;
    BOOL m_bBrowser = TRUE;
    int m_nWindowSize = 0;
    HICON m_hIcon;
    std::string m_strTargetPath = "html\\1_Demo_General_Menu.html";
    std::string m_strSplashPath = "splashscreens/default.jpg";
    std::string m_strSoundPath = "sounds/default.wav";
    std::string m_strIconPath = "autorun.exe";
    std::string m_strProgramFolder;
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
    void SelectFile(int button);
    void ToggleOption(int checkBox);
    void PlaySound();
    void OnHelp();

    fw::ToolTips m_toolTips;
    CHelpDlg* m_pHelp = nullptr; // while the help window is open
};
