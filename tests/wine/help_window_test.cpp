// The help window of the real program, opened from the designer's Help button and driven from
// outside: version text, both links with their tooltips, the browser control in place, and OK;
// and how it holds the designer while it is open.
#include <gtest/gtest.h>

#include "controls/help_ids.h"
#include "designer/designer_ids.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 15000;
const char kHelpTitle[] = "Vintrosk! Online Help at https://vintrosk.example/";

int HelpWindows(const Process& process) {
    int count = 0;
    for (HWND w : process.Windows())
        count += Title(w) == kHelpTitle;
    return count;
}

// The tip that shows while the mouse rests on the control, or "" when none shows.
std::string TipOver(const Process& process, HWND control) {
    auto visibleTip = [&] {
        for (HWND w : process.Windows(true))
            if (ClassOf(w) == "tooltips_class32")
                return w;
        return HWND();
    };
    // Leave first and wait until the last tip is gone, so that its text is not read.
    SetCursorPos(1023, 767);
    WaitUntil([&] { return !visibleTip(); }, 5000);
    RECT r = RectOf(control);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(centre.x, centre.y);
    std::string text;
    int polls = 0;
    WaitUntil(
        [&] {
            HWND tip = visibleTip();
            // A busy machine can lose the move that starts the tip's timer: rest the mouse anew,
            // a pixel aside and back, every second until a tip shows.
            if (!tip && ++polls % 50 == 0)
                SetCursorPos(centre.x + (polls / 50) % 2, centre.y);
            if (!tip)
                return false;
            char buf[512] = {};
            SendMessageTimeoutA(tip, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                                nullptr);
            text = buf;
            return !text.empty();
        },
        10000);
    return text;
}

TEST(HelpWindow, HelpButtonShowsVersionLinksAndBrowserAndOkClosesIt) {
    Sandbox box;
    Process process(box.CopyVintrosk(), "design", box.Dir());
    HWND designer = WaitWindow(process, "Vintrosk!", "#32770", kWait);
    ASSERT_TRUE(designer) << DescribeWindows(process);
    Press(designer, IDC_HELP_BUTTON);
    HWND help = WaitWindow(process, kHelpTitle, "#32770", kWait);
    ASSERT_TRUE(help) << DescribeWindows(process);

    EXPECT_EQ(ItemText(help, IDC_HELP_VERSION), "Vintrosk! Version 1.56\nAutoplay CD-ROMs made simple.");
    EXPECT_EQ(ItemText(help, IDC_HELP_WEB_LINK), "https://vintrosk.example/");
    EXPECT_EQ(ItemText(help, IDC_HELP_MAIL_LINK), "support@vintrosk.example");
    HWND browser = GetDlgItem(help, IDC_HELP_BROWSER);
    EXPECT_EQ(ClassOf(browser), "FwAxHost");
    EXPECT_TRUE(GetWindow(browser, GW_CHILD)) << "the Web Browser control is in place in its host";

    SetForegroundWindow(help);
    EXPECT_EQ(TipOver(process, GetDlgItem(help, IDC_HELP_WEB_LINK)), "https://vintrosk.example/vintrosk/");
    EXPECT_EQ(TipOver(process, GetDlgItem(help, IDC_HELP_MAIL_LINK)), "mailto:support@vintrosk.example");
    Screenshot("help");

    Press(help, IDOK);
    EXPECT_TRUE(WaitGone(help, kWait));
    EXPECT_TRUE(IsWindowVisible(designer));
    Press(designer, IDCANCEL);
    EXPECT_TRUE(process.WaitExit(kWait));
}

// The shell's program for mail addresses while the object lives; the system's comes back after.
class MailProgram {
public:
    explicit MailProgram(const std::string& exe) {
        HKEY scheme;
        created_ = RegOpenKeyExA(HKEY_CLASSES_ROOT, "mailto", 0, KEY_QUERY_VALUE, &scheme) != ERROR_SUCCESS;
        if (!created_)
            RegCloseKey(scheme);
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kCommand, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot create HKCR\\" << kCommand;
            key_ = nullptr;
            return;
        }
        char old[1024] = "";
        DWORD size = sizeof old - 1;
        hadOld_ =
            RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
        old_ = old;
        Set("\"" + exe + "\" \"%1\"");
    }
    ~MailProgram() {
        if (!key_)
            return;
        if (hadOld_)
            Set(old_);
        else
            RegDeleteValueA(key_, nullptr);
        RegCloseKey(key_);
        if (created_)
            for (const char* k : {kCommand, "mailto\\shell\\open", "mailto\\shell", "mailto"})
                RegDeleteKeyA(HKEY_CLASSES_ROOT, k);
    }
    MailProgram(const MailProgram&) = delete;
    MailProgram& operator=(const MailProgram&) = delete;

private:
    static constexpr const char* kCommand = "mailto\\shell\\open\\command";
    void Set(const std::string& value) {
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    HKEY key_ = nullptr;
    bool created_ = false, hadOld_ = false;
    std::string old_;
};

// Handed over bare, the address was taken for a file name and opened nothing.
TEST(HelpWindow, MailLinkHandsTheShellAMailAddress) {
    Sandbox box;
    MailProgram mail(box.CopyRecorder("mail.exe"));
    Process process(box.CopyVintrosk(), "design", box.Dir());
    HWND designer = WaitWindow(process, "Vintrosk!", "#32770", kWait);
    ASSERT_TRUE(designer) << DescribeWindows(process);
    Press(designer, IDC_HELP_BUTTON);
    HWND help = WaitWindow(process, kHelpTitle, "#32770", kWait);
    ASSERT_TRUE(help) << DescribeWindows(process);

    HWND link = GetDlgItem(help, IDC_HELP_MAIL_LINK);
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, kWait)) << DescribeWindows(process);
    const Record r = ReadRecords(box.Path("recorded.txt"))[0];
    printf("[observed] the mail program started: %s\n", r.commandLine.c_str());
    EXPECT_EQ("mail.exe", r.module);
    EXPECT_NE(std::string::npos, r.commandLine.find(" \"mailto:support@vintrosk.example\"")) << r.commandLine;
    EXPECT_FALSE(WaitMessageBox(process, 1000)) << "no open error";
    Screenshot("mail_link_opened");

    Press(help, IDOK);
    EXPECT_TRUE(WaitGone(help, kWait));
    Press(designer, IDCANCEL);
    EXPECT_TRUE(process.WaitExit(kWait));
}

TEST(HelpWindow, HoldsTheDesignerUntilItCloses) {
    Sandbox box;
    Process process(box.CopyVintrosk(), "design", box.Dir());
    HWND designer = WaitWindow(process, "Vintrosk!", "#32770", kWait);
    ASSERT_TRUE(designer) << DescribeWindows(process);
    Press(designer, IDC_HELP_BUTTON);
    HWND help = WaitWindow(process, kHelpTitle, "#32770", kWait);
    ASSERT_TRUE(help) << DescribeWindows(process);
    EXPECT_EQ(designer, GetWindow(help, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(designer));

    // Commands that still reach the disabled designer: Help again, Quit, the close box.
    Press(designer, IDC_HELP_BUTTON);
    Press(designer, IDCANCEL);
    PostMessageA(designer, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(WaitUntil([&] { return HelpWindows(process) > 1 || !IsWindowVisible(designer); }, 2000))
        << DescribeWindows(process);
    EXPECT_EQ(1, HelpWindows(process));
    EXPECT_TRUE(IsWindowVisible(designer));
    EXPECT_TRUE(IsWindowVisible(help));

    Press(help, IDOK);
    EXPECT_TRUE(WaitGone(help, kWait));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(designer) != FALSE; }, kWait));
    EXPECT_EQ(0, HelpWindows(process));
    Press(designer, IDCANCEL);
    EXPECT_TRUE(process.WaitExit(kWait));
}

} // namespace
