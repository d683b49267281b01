// The dialog base run in this process: its per-control helpers on a host dialog of its own,
// and modeless dialogs, the wait window among them, that go away when they are closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "controls/wait_dlg.h"
#include "framework/app.h"
#include "framework/debug_log.h"
#include "framework/dialog.h"

namespace {

// Controls of the host dialog 900 (dialog_test.rc).
const int kHostDlg = 900;
const int kEdit = 901, kCheck = 902, kList = 903, kMissing = 999;

class HostDlg : public fw::ModelessDialog {
public:
    HostDlg() : fw::ModelessDialog(kHostDlg, nullptr) { EXPECT_TRUE(Create()); }
    ~HostDlg() override {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }
    std::string m_text;

protected:
    void DoDataExchange(fw::DataExchange& dx) override { dx.Text(kEdit, m_text); }
};

bool HasStyle(HWND wnd, LONG style) { return (::GetWindowLongA(wnd, GWL_STYLE) & style) != 0; }

TEST(DialogItems, TextGoesInAndComesBack) {
    HostDlg host;
    ASSERT_TRUE(host.GetSafeHwnd());
    const std::string longText(700, 'x');
    for (const std::string& text : {std::string("Copying files:"), std::string(), longText}) {
        EXPECT_TRUE(host.SetItemText(kEdit, text));
        EXPECT_EQ(host.GetItemText(kEdit), text);
    }
    EXPECT_FALSE(host.SetItemText(kMissing, "nowhere"));
    EXPECT_EQ(host.GetItemText(kMissing), "");
}

TEST(DialogItems, ShowAndEnableAnswerTheStateBefore) {
    HostDlg host;
    const HWND edit = host.GetDlgItem(kEdit);
    ASSERT_TRUE(edit);
    EXPECT_TRUE(host.ShowItem(kEdit, SW_HIDE)) << "was visible";
    EXPECT_FALSE(HasStyle(edit, WS_VISIBLE));
    EXPECT_FALSE(host.ShowItem(kEdit, SW_SHOW)) << "was hidden";
    EXPECT_TRUE(HasStyle(edit, WS_VISIBLE));

    EXPECT_FALSE(host.EnableItem(kEdit, false)) << "was enabled";
    EXPECT_FALSE(::IsWindowEnabled(edit));
    EXPECT_TRUE(host.EnableItem(kEdit, true)) << "was disabled";
    EXPECT_TRUE(::IsWindowEnabled(edit));
}

TEST(DialogItems, CheckAndMessages) {
    HostDlg host;
    EXPECT_FALSE(host.IsItemChecked(kCheck));
    EXPECT_TRUE(host.CheckItem(kCheck, true));
    EXPECT_TRUE(host.IsItemChecked(kCheck));
    EXPECT_EQ(::IsDlgButtonChecked(host, kCheck), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(host.CheckItem(kCheck, false));
    EXPECT_FALSE(host.IsItemChecked(kCheck));

    EXPECT_EQ(host.SendItemMessage(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first")), 0);
    EXPECT_EQ(host.SendItemMessage(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second")), 1);
    EXPECT_EQ(host.SendItemMessage(kList, LB_GETCOUNT), 2);
}

TEST(ModelessDialog, CancelDestroysTheWindow) {
    HostDlg host;
    const HWND wnd = host.GetSafeHwnd();
    ASSERT_TRUE(wnd);
    host.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(host.GetSafeHwnd(), nullptr);
}

TEST(ModelessDialog, OkSavesTheControlsThenDestroysTheWindow) {
    HostDlg host;
    const HWND wnd = host.GetSafeHwnd();
    ASSERT_TRUE(wnd);
    ::SetDlgItemTextA(wnd, kEdit, "typed");
    host.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(host.GetDlgItem(IDOK)));
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(host.m_text, "typed");
}

// The close box asks for Cancel by a posted message, which the owner's next pump delivers.
TEST(ModelessDialog, TheWaitWindowsCloseBoxDestroysIt) {
    CWaitDlg wait;
    ASSERT_TRUE(wait.Create());
    const HWND wnd = wait.GetSafeHwnd();
    wait.ShowWindow(SW_SHOW);
    EXPECT_TRUE(wait.SetItemText(IDC_WAIT_TEXT, "D:\\index.htm"));
    EXPECT_EQ(wait.GetItemText(IDC_WAIT_TEXT), "D:\\index.htm");
    wait.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    for (int i = 0; i < 50 && ::IsWindow(wnd); ++i) {
        fw::PumpMessages();
        ::Sleep(10);
    }
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(wait.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(wait.DestroyWindow()) << "a second close finds nothing to destroy";
}

// What the program tells a debugger, caught as the system hands it to one.
std::string g_debugText;

LONG CALLBACK CatchDebugString(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == 0x40010006L /* DBG_PRINTEXCEPTION_C */ && record->NumberParameters >= 2)
        g_debugText += reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(DebugLog, AFailureIsToldWithItsStepAndCodeAndSuccessIsNot) {
    g_debugText.clear();
    PVOID handler = AddVectoredExceptionHandler(1, CatchDebugString);
    ASSERT_TRUE(handler);
    EXPECT_EQ(S_OK, fw::LogIfFailed(S_OK, "a step that works"));
    EXPECT_EQ(S_FALSE, fw::LogIfFailed(S_FALSE, "a step that answers no"));
    EXPECT_EQ(E_NOINTERFACE, fw::LogIfFailed(E_NOINTERFACE, "asking for an interface"));
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ("Vintrosk: asking for an interface failed, HRESULT 0x80004002\n", g_debugText);
}

} // namespace
