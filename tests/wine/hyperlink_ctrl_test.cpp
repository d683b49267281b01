// The hyperlink control and its shell opening, run in this process on a host dialog of its
// own: fitting to the text, colours, cursor, capture, tooltip, opening by click and by the
// space bar, the fallback to the browser registered for web pages, and the error messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/hyperlink_win.h"
#include "framework/dialog.h"
#include "harness.h"

namespace {

// Controls of the host dialog 800 (hyperlink_ctrl_test.rc).
const int kHostDlg = 800;
const int kLeft = 801, kCentre = 802, kRight = 803, kMiddle = 804, kBordered = 805, kMail = 806, kEmpty = 807,
          kOther = 808;
const DWORD kWait = 15000;

const COLORREF kBlue = RGB(0, 0, 255), kTeal = RGB(0, 128, 128), kPurple = RGB(128, 0, 128);

// Modeless, with the given links bound as a dialog binds its controls.
class HostDlg : public fw::ModelessDialog {
public:
    explicit HostDlg(std::vector<std::pair<int, CHyperLink*>> links)
        : fw::ModelessDialog(kHostDlg, nullptr), m_links(std::move(links)) {
        EXPECT_TRUE(Create());
    }
    ~HostDlg() override {
        if (m_hWnd)
            DestroyWindow();
    }
    HWND Item(int id) const { return GetDlgItem(id); }

protected:
    void DoDataExchange(fw::DataExchange& dx) override {
        for (auto& link : m_links)
            dx.Bind(link.first, *link.second);
    }

private:
    std::vector<std::pair<int, CHyperLink*>> m_links;
};

std::string TextOf(HWND wnd) {
    char buf[512] = "";
    GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

// A press and release of the left button inside the control.
void Click(HWND control) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void Key(HWND control, WPARAM key) { SendMessageA(control, WM_KEYDOWN, key, 1); }

// How the dialog has the control draw its text, through reflection.
struct Look {
    bool hollow; // the dialog's background shows through
    COLORREF text;
};

Look LookOf(HWND dlg, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    Look look{brush == GetStockObject(NULL_BRUSH) && GetBkMode(dc) == TRANSPARENT, GetTextColor(dc)};
    DeleteDC(dc);
    return look;
}

RECT InParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ClientOf(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    return r;
}

// The extent of the control's text in the font it draws with.
SIZE TextExtent(HWND control) {
    const std::string text = TextOf(control);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

// --- Message boxes ------------------------------------------------------------------------

struct BoxSeen {
    volatile LONG stop = 0;
    bool shown = false;
    std::string text, caption;
    HWND owner = nullptr;
};

BOOL CALLBACK KeepMessageBox(HWND wnd, LPARAM out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(wnd) || vt::ClassOf(wnd) != "#32770" ||
        !GetDlgItem(wnd, 0xFFFF))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = wnd;
    return FALSE;
}

DWORD WINAPI AnswerMessageBox(void* param) {
    BoxSeen& seen = *static_cast<BoxSeen*>(param);
    HWND box = nullptr;
    vt::WaitUntil(
        [&] {
            EnumWindows(KeepMessageBox, reinterpret_cast<LPARAM>(&box));
            return box || seen.stop;
        },
        kWait);
    if (box) {
        seen.shown = true;
        seen.text = vt::MessageBoxText(box);
        seen.caption = vt::Title(box);
        seen.owner = GetWindow(box, GW_OWNER);
        vt::Press(box, IDOK);
    }
    return 0;
}

// Runs the action on this thread; a message box that it shows is read and answered with OK
// from a second thread.
void WithMessageBoxAnswered(BoxSeen& seen, const std::function<void()>& action) {
    HANDLE watcher = CreateThread(nullptr, 0, AnswerMessageBox, &seen, 0, nullptr);
    ASSERT_TRUE(watcher);
    action();
    InterlockedExchange(&seen.stop, 1);
    WaitForSingleObject(watcher, kWait + 5000);
    CloseHandle(watcher);
}

// --- Registry -----------------------------------------------------------------------------

// Which browser the registry names for web pages, for the time of a test.
class WebPageBrowser {
public:
    enum Kind { kNoClass, kNoCommand, kCommand };
    WebPageBrowser(Kind kind, const std::string& command) {
        HKEY key;
        m_hadKey = RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
        if (m_hadKey) {
            char value[MAX_PATH] = "";
            DWORD size = sizeof value;
            m_hadValue = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                         ERROR_SUCCESS;
            m_oldValue = value;
            RegCloseKey(key);
        }
        if (kind == kNoClass) {
            if (m_hadKey)
                SetDefault(".htm", nullptr);
            return;
        }
        SetDefault(".htm", kClass);
        SetDefault(kClass, "Test page");
        if (kind == kCommand)
            SetDefault(std::string(kClass) + "\\shell\\open\\command", command.c_str());
    }
    ~WebPageBrowser() {
        for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kClass) + sub).c_str());
        if (!m_hadKey)
            RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
        else
            SetDefault(".htm", m_hadValue ? m_oldValue.c_str() : nullptr);
    }

private:
    static constexpr const char* kClass = "VintroskTestPage";

    // A null value removes the default value.
    static void SetDefault(const std::string& subKey, const char* value) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                                 nullptr, &key, nullptr));
        if (value)
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>(strlen(value) + 1));
        else
            RegDeleteValueA(key, nullptr);
        RegCloseKey(key);
    }

    bool m_hadKey = false, m_hadValue = false;
    std::string m_oldValue;
};

// --- Tests --------------------------------------------------------------------------------

TEST(HyperLink, FitsItsTextKeepingItsAlignment) {
    CHyperLink left, centre, right, middle, bordered;
    HostDlg host({{kLeft, &left}, {kCentre, &centre}, {kRight, &right}, {kMiddle, &middle}, {kBordered, &bordered}});
    enum Keep { kLeftEdge, kCentreLine, kRightEdge };
    struct Case {
        const char* what;
        int id;
        RECT units; // the template's x, y, width and height
        Keep keep;
        bool middle; // vertically centred
    } cases[] = {
        {"left", kLeft, {10, 10, 150, 12}, kLeftEdge, false},
        {"centred", kCentre, {10, 26, 151, 12}, kCentreLine, false},
        {"right", kRight, {10, 42, 150, 12}, kRightEdge, false},
        {"vertically centred", kMiddle, {10, 58, 150, 31}, kLeftEdge, true},
        {"with a border", kBordered, {10, 94, 150, 12}, kLeftEdge, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND link = host.Item(c.id);
        // The dialog manager converts position and size, not the edges.
        RECT pixels = c.units;
        MapDialogRect(host, &pixels);
        const RECT before = {pixels.left, pixels.top, pixels.left + pixels.right, pixels.top + pixels.bottom};
        const RECT after = InParent(link), client = ClientOf(link);
        const SIZE text = TextExtent(link);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline) << "drawn with an underlined copy of the dialog's font";
        ASSERT_LT(text.cx + 10, before.right - before.left) << "the text is narrower than its box";

        // Shrinking around a centre leaves an odd pixel in.
        switch (c.keep) {
        case kLeftEdge:
            EXPECT_EQ(before.left, after.left);
            EXPECT_EQ(text.cx, client.right);
            break;
        case kRightEdge:
            EXPECT_EQ(before.right, after.right);
            EXPECT_EQ(text.cx, client.right);
            break;
        case kCentreLine:
            EXPECT_NEAR(before.left + before.right, after.left + after.right, 1);
            EXPECT_NEAR(text.cx, client.right, 1);
            EXPECT_LE(text.cx, client.right);
            break;
        }
        if (c.middle) {
            EXPECT_NEAR(before.top + before.bottom, after.top + after.bottom, 1);
            EXPECT_NEAR(text.cy, client.bottom, 1);
        } else {
            EXPECT_EQ(before.top, after.top);
            EXPECT_EQ(text.cy, client.bottom);
        }
    }
    RECT frame = InParent(host.Item(kBordered));
    EXPECT_GT(frame.right - frame.left, ClientOf(host.Item(kBordered)).right) << "the border stays round the text";
}

// On a screen of another scale the dialog hands its controls a font of that scale: the link
// draws with an underlined copy of it and fits its text again.
TEST(HyperLink, FollowsANewFontFromItsDialog) {
    CHyperLink left;
    HostDlg host({{kLeft, &left}});
    HWND link = host.Item(kLeft);
    LOGFONTA scaled{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(host, WM_GETFONT, 0, 0)), sizeof scaled, &scaled);
    scaled.lfHeight = scaled.lfHeight * 3 / 2;
    HFONT font = CreateFontIndirectA(&scaled);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HFONT now = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    EXPECT_NE(font, now) << "the dialog's font itself would lose the underline";
    LOGFONTA got{};
    GetObjectA(now, sizeof got, &got);
    EXPECT_EQ(scaled.lfHeight, got.lfHeight);
    EXPECT_TRUE(got.lfUnderline);
    const SIZE text = TextExtent(link);
    EXPECT_EQ(text.cx, ClientOf(link).right);
    EXPECT_EQ(text.cy, ClientOf(link).bottom);
    DestroyWindow(host);
    DeleteObject(font);
}

TEST(HyperLink, WithoutAFontKeepsItsSizeAndStillOpens) {
    vt::Sandbox box;
    const std::string target = box.CopyRecorder("opened.exe");
    HostDlg host({});
    HWND plain = CreateWindowExA(0, "Static", "No font of its own", WS_CHILD | WS_VISIBLE, 10, 150, 300, 30, host,
                                 reinterpret_cast<HMENU>(900), GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(plain);
    CHyperLink link;
    link.SetTarget(target);
    ASSERT_TRUE(link.SubclassWindow(plain));
    const RECT r = InParent(plain);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(150, r.top);
    EXPECT_EQ(310, r.right);
    EXPECT_EQ(180, r.bottom);
    EXPECT_EQ(nullptr, reinterpret_cast<HFONT>(SendMessageA(plain, WM_GETFONT, 0, 0)));
    Click(plain);
    EXPECT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, kWait));
}

TEST(HyperLink, TakesItsTextAsTargetOrShowsItsTargetWhenItHasNoText) {
    CHyperLink mail, empty;
    empty.SetTarget("https://vintrosk.example/set-before/");
    HostDlg host({{kMail, &mail}, {kEmpty, &empty}});
    EXPECT_EQ("support@vintrosk.example", mail.GetTarget());
    EXPECT_EQ("support@vintrosk.example", vt::ToolText(mail));
    EXPECT_EQ("https://vintrosk.example/set-before/", TextOf(empty));
    EXPECT_EQ("https://vintrosk.example/set-before/", vt::ToolText(empty));
}

TEST(HyperLink, SetTargetChangesTheTooltipAndTheClickNotTheText) {
    vt::Sandbox box;
    const std::string second = box.CopyRecorder("second.exe");
    CHyperLink link;
    HostDlg host({{kLeft, &link}});
    const int width = ClientOf(link).right;
    link.SetTarget(second);

    EXPECT_EQ("Left link", TextOf(link));
    EXPECT_EQ(width, ClientOf(link).right) << "still fits its own text";
    EXPECT_TRUE(IsWindowVisible(link));
    EXPECT_EQ(second, vt::ToolText(link));
    Click(link);
    ASSERT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, kWait));
    EXPECT_EQ("second.exe", vt::ReadRecords(box.Path("recorded.txt"))[0].module);
}

TEST(HyperLink, ColourFollowsFocusAndTheFirstSuccessfulOpen) {
    vt::Sandbox box;
    const std::string target = box.CopyRecorder("opened.exe");
    CHyperLink link;
    HostDlg host({{kLeft, &link}});
    link.SetTarget(target);

    Look look = LookOf(host, link);
    EXPECT_TRUE(look.hollow);
    EXPECT_EQ(kBlue, look.text);
    SetFocus(link);
    EXPECT_EQ(kTeal, LookOf(host, link).text) << "focused";
    SetFocus(host.Item(kOther));
    EXPECT_EQ(kBlue, LookOf(host, link).text);

    Click(link);
    EXPECT_EQ(link.GetSafeHwnd(), GetFocus()) << "a click takes the focus";
    EXPECT_EQ(kTeal, LookOf(host, link).text) << "stays active after the button is released";
    SetFocus(host.Item(kOther));
    EXPECT_EQ(kPurple, LookOf(host, link).text) << "visited";
    EXPECT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, kWait));
}

TEST(HyperLink, OpensOnAClickOrTheSpaceBarOnly) {
    vt::Sandbox box;
    CHyperLink link;
    HostDlg host({{kLeft, &link}});
    link.SetTarget(box.CopyRecorder("opened.exe"));
    // A button pressed elsewhere and released over the link, and other keys, open nothing.
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SetFocus(link);
    for (WPARAM key : {WPARAM('A'), WPARAM(VK_RETURN), WPARAM(VK_DOWN)})
        Key(link, key);
    SetFocus(host.Item(kOther));
    EXPECT_EQ(kBlue, LookOf(host, link).text) << "nothing opened";

    SetFocus(link);
    Key(link, VK_SPACE);
    SetFocus(host.Item(kOther));
    EXPECT_EQ(kPurple, LookOf(host, link).text);
    ASSERT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, kWait));
    EXPECT_EQ(1u, vt::ReadRecords(box.Path("recorded.txt")).size());
}

TEST(HyperLink, HoldsTheMouseWhileThePointerIsOverIt) {
    CHyperLink link;
    HostDlg host({{kLeft, &link}});
    const RECT client = ClientOf(link);
    HWND other = host.Item(kOther);
    struct Step {
        const char* what;
        HWND takesCapture; // before the move
        POINT at;
        bool captured;
    } steps[] = {
        {"enters", nullptr, {1, 1}, true},
        {"moves inside", nullptr, {client.right - 1, client.bottom - 1}, true},
        {"leaves to the right", nullptr, {client.right + 3, 1}, false},
        {"comes back", nullptr, {2, 2}, true},
        {"leaves above", nullptr, {2, -4}, false},
        {"comes back", nullptr, {2, 2}, true},
        // Another window took the mouse meanwhile: the link takes it back.
        {"moves after losing the mouse", other, {3, 3}, true},
    };
    for (const Step& s : steps) {
        if (s.takesCapture)
            SetCapture(s.takesCapture);
        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(s.at.x, s.at.y));
        EXPECT_EQ(s.captured, GetCapture() == link.GetSafeHwnd()) << s.what;
    }
    ReleaseCapture();
}

TEST(HyperLink, ShowsAHandCursor) {
    CHyperLink link;
    HostDlg host({{kLeft, &link}});
    // The help program's hand where it has one, else the system's own.
    char help[MAX_PATH] = "";
    GetWindowsDirectoryA(help, MAX_PATH);
    lstrcatA(help, "\\winhlp32.exe");
    HMODULE module = LoadLibraryExA(help, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const bool helpHasHand = module && LoadCursorA(module, MAKEINTRESOURCEA(106));
    if (module)
        FreeLibrary(module);

    SetCursor(LoadCursor(nullptr, IDC_CROSS));
    EXPECT_TRUE(SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link.GetSafeHwnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    HCURSOR shown = GetCursor();
    if (helpHasHand) {
        EXPECT_NE(LoadCursor(nullptr, IDC_CROSS), shown);
        EXPECT_NE(LoadCursor(nullptr, IDC_ARROW), shown);
    } else {
        EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), shown);
    }
    EXPECT_EQ(HTCLIENT, SendMessageA(link, WM_NCHITTEST, 0, 0)) << "mouse messages without SS_NOTIFY";
}

TEST(HyperLink, FallsBackToTheWebBrowserAndReportsWhatCannotBeOpened) {
    vt::Sandbox box;
    const std::string browser = box.CopyRecorder("browser.exe");
    box.Write("notes.vtq", "no program opens this");
    const std::string missing = box.Path("missing.doc");
    const std::string longAddress = "support-" + std::string(700, 'x') + "@vintrosk.example";
    const std::string kPrefix = "Can't open link:\n\n";
    struct Case {
        const char* what;
        std::string target; // empty: the link's own text, an e-mail address
        WebPageBrowser::Kind kind;
        std::string command;
        std::string opened;  // the browser's command line, or empty
        std::string message; // or the message box's text
    } cases[] = {
        {"e-mail address", "", WebPageBrowser::kCommand, "\"" + browser + "\" \"%1\" -nohome",
         "\"" + browser + "\"  support@vintrosk.example", ""},
        {"browser command without a placeholder", missing, WebPageBrowser::kCommand, "\"" + browser + "\" -new",
         "\"" + browser + "\" -new " + missing, ""},
        // Longer than any fixed buffer for the browser's command line would be.
        {"over-long address", longAddress, WebPageBrowser::kCommand, "\"" + browser + "\" \"%1\"",
         "\"" + browser + "\"  " + longAddress, ""},
        {"missing file, no browser for web pages", missing, WebPageBrowser::kNoClass, "", "",
         kPrefix + "The specified file was not found."},
        {"missing file, browser without a command", missing, WebPageBrowser::kNoCommand, "", "",
         kPrefix + "The specified file was not found."},
        {"no program for the file", box.Path("notes.vtq"), WebPageBrowser::kNoCommand, "", "",
         kPrefix + "There is no application associated\nwith the given filename extension."},
        // The browser's failure is reported, not the shell's.
        {"browser that is not there", box.Path("notes.vtq"), WebPageBrowser::kCommand, box.Path("gone.exe") + " %1", "",
         kPrefix + "The specified file was not found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(box.Path("recorded.txt").c_str());
        WebPageBrowser registered(c.kind, c.command);
        CHyperLink link;
        HostDlg host({{kMail, &link}});
        if (!c.target.empty())
            link.SetTarget(c.target);

        BoxSeen seen;
        WithMessageBoxAnswered(seen, [&] { Click(link); });
        SetFocus(host.Item(kOther));
        if (!c.opened.empty()) {
            EXPECT_FALSE(seen.shown) << seen.text;
            ASSERT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, kWait));
            EXPECT_EQ(c.opened, vt::ReadRecords(box.Path("recorded.txt"))[0].commandLine);
            EXPECT_EQ(kPurple, LookOf(host, link).text);
        } else {
            ASSERT_TRUE(seen.shown);
            EXPECT_EQ(c.message, seen.text);
            EXPECT_EQ("Vintrosk!", seen.caption);
            EXPECT_EQ(host.GetSafeHwnd(), seen.owner);
            EXPECT_EQ(kBlue, LookOf(host, link).text) << "not visited";
        }
    }
}

} // namespace
