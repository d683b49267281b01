// The designer dialog driven from outside: defaults, option toggles, file pickers, tooltips,
// the system menu, Play Sound, where it and its dialogs open, and closing.
#include <gtest/gtest.h>

#include "centred.h"
#include "designer/designer_ids.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 15000;

struct Designer {
    Sandbox box;
    Process process;
    HWND dlg;
    explicit Designer(const char* args = "design")
        : process(box.CopyVintrosk(), args, box.Dir()), dlg(WaitWindow(process, "Vintrosk!", "#32770", kWait)) {}
};

LRESULT Ask(HWND wnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(wnd, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// A real click: the check box toggles itself and tells its dialog.
void Click(HWND dlg, int id) { Ask(GetDlgItem(dlg, id), BM_CLICK); }

void Pick(Designer& d, int button, const char* title, const char* typed) {
    PickFile(d.process, d.dlg, button, title, typed);
}

TEST(Designer, FreshDialogShowsTheDefaults) {
    Designer d;
    ASSERT_TRUE(d.dlg) << DescribeWindows(d.process);
    EXPECT_EQ(ItemText(d.dlg, IDC_TARGET_NAME), "1_Demo_General_Menu.html");
    EXPECT_EQ(ItemText(d.dlg, IDC_SPLASH_NAME), "default.jpg");
    EXPECT_EQ(ItemText(d.dlg, IDC_SOUND_NAME), "default.wav");
    EXPECT_EQ(ItemText(d.dlg, IDC_ICON_NAME), "autorun.exe");
    for (int box : {IDC_SPLASH_OPTION, IDC_SOUND_OPTION, IDC_ICON_OPTION, IDC_BROWSER_OPTION})
        EXPECT_EQ(ItemCheck(d.dlg, box), BST_CHECKED) << box;
    HWND sizes = GetDlgItem(d.dlg, IDC_WINDOW_SIZE);
    EXPECT_EQ(Ask(sizes, CB_GETCOUNT), 4);
    EXPECT_EQ(Ask(sizes, CB_GETCURSEL), 0);
    EXPECT_EQ(ItemText(d.dlg, IDC_WINDOW_SIZE), "Default");
    const char* items[] = {"Default", "640x480", "800x600", "Full Screen"};
    for (int i = 0; i < 4; ++i) {
        // Asked for in UTF-16: Wine hands another process's ANSI request wide text.
        wchar_t text[64] = {};
        DWORD_PTR length = 0;
        ASSERT_TRUE(SendMessageTimeoutW(sizes, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length));
        ASSERT_LT(length, 63u);
        SendMessageTimeoutW(sizes, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
        EXPECT_EQ(std::wstring(text), std::wstring(items[i], items[i] + strlen(items[i])));
    }
    for (int id : {1, 2, IDC_SELECT_FILE, IDC_TARGET_NAME, IDC_HELP_BUTTON, IDC_SELECT_IMAGE, IDC_SPLASH_NAME,
                   IDC_SOUND_NAME, IDC_SELECT_SOUND, IDC_SELECT_ICON, IDC_ICON_NAME, IDC_PLAY_SOUND, IDC_WINDOW_SIZE})
        EXPECT_TRUE(ItemEnabled(d.dlg, id)) << id;
    // Every control stands where the layout puts it, in the dialog's own units (339 x 229).
    RECT client;
    GetClientRect(d.dlg, &client);
    const double ux = client.right / 339.0, uy = client.bottom / 229.0;
    struct Place {
        int id, x, y, w, h;
    } places[] = {
        {IDC_TARGET_NAME, 15, 20, 155, 14},      {IDC_SELECT_FILE, 249, 20, 50, 14},
        {IDC_WINDOW_SIZE_LABEL, 252, 42, 49, 8}, {IDC_BROWSER_OPTION, 15, 53, 226, 10},
        {IDC_WINDOW_SIZE, 249, 51, 50, 0},       {IDC_SPLASH_OPTION, 15, 91, 155, 10},
        {IDC_SPLASH_NAME, 174, 92, 71, 9},       {IDC_SELECT_IMAGE, 249, 90, 50, 14},
        {IDC_ICON_OPTION, 15, 112, 155, 10},     {IDC_ICON_NAME, 174, 112, 71, 9},
        {IDC_SELECT_ICON, 249, 111, 50, 14},     {IDC_SOUND_OPTION, 15, 153, 155, 10},
        {IDC_SOUND_NAME, 173, 154, 72, 9},       {IDC_SELECT_SOUND, 249, 153, 50, 14},
        {IDC_PLAY_SOUND, 249, 172, 50, 14},      {1, 7, 208, 50, 14},
        {IDC_HELP_BUTTON, 228, 208, 50, 14},     {2, 282, 208, 50, 14},
    };
    POINT origin = {0, 0};
    ClientToScreen(d.dlg, &origin);
    for (const Place& p : places) {
        RECT r = RectOf(GetDlgItem(d.dlg, p.id));
        EXPECT_NEAR(r.left - origin.x, p.x * ux, 2) << p.id;
        EXPECT_NEAR(r.top - origin.y, p.y * uy, 2) << p.id;
        EXPECT_NEAR(r.right - r.left, p.w * ux, 2) << p.id;
        if (p.h) { // a drop-down list's height is that of its closed box
            EXPECT_NEAR(r.bottom - r.top, p.h * uy, 2) << p.id;
        }
    }
    Screenshot("designer");
    Press(d.dlg, IDCANCEL);
    EXPECT_TRUE(d.process.WaitExit(kWait));
}

TEST(Designer, EachToggleEnablesExactlyItsControls) {
    Designer d;
    ASSERT_TRUE(d.dlg);
    const int all[] = {IDC_SELECT_IMAGE, IDC_SPLASH_NAME, IDC_SOUND_NAME, IDC_SELECT_SOUND,
                       IDC_SELECT_ICON,  IDC_ICON_NAME,   IDC_PLAY_SOUND, IDC_WINDOW_SIZE};
    struct Case {
        int box;
        std::vector<int> controls;
    } cases[] = {{IDC_SPLASH_OPTION, {IDC_SELECT_IMAGE, IDC_SPLASH_NAME}},
                 {IDC_SOUND_OPTION, {IDC_SELECT_SOUND, IDC_SOUND_NAME}},
                 {IDC_ICON_OPTION, {IDC_SELECT_ICON, IDC_ICON_NAME}},
                 {IDC_BROWSER_OPTION, {IDC_WINDOW_SIZE}}};
    for (const Case& c : cases) {
        Click(d.dlg, c.box);
        EXPECT_EQ(ItemCheck(d.dlg, c.box), BST_UNCHECKED);
        for (int id : all) {
            bool dependent = std::find(c.controls.begin(), c.controls.end(), id) != c.controls.end();
            EXPECT_EQ(ItemEnabled(d.dlg, id), !dependent) << "box " << c.box << " control " << id;
        }
        Click(d.dlg, c.box);
        for (int id : all)
            EXPECT_TRUE(ItemEnabled(d.dlg, id)) << "box " << c.box << " ticked again, control " << id;
    }
    // The window size survives the browser box going off and on.
    HWND sizes = GetDlgItem(d.dlg, IDC_WINDOW_SIZE);
    Ask(sizes, CB_SETCURSEL, 2);
    Click(d.dlg, IDC_BROWSER_OPTION);
    EXPECT_EQ(Ask(sizes, CB_GETCURSEL), 2);
    EXPECT_EQ(ItemText(d.dlg, IDC_WINDOW_SIZE), "800x600");
    Click(d.dlg, IDC_BROWSER_OPTION);
    EXPECT_EQ(Ask(sizes, CB_GETCURSEL), 2);
    // Play Sound belongs to no option.
    Click(d.dlg, IDC_SOUND_OPTION);
    EXPECT_TRUE(ItemEnabled(d.dlg, IDC_PLAY_SOUND));
}

TEST(Designer, PickersShowTheChosenName) {
    Designer d;
    ASSERT_TRUE(d.dlg);
    d.box.Write("html\\Intro Page.htm", "<html></html>");
    d.box.Write("splashscreens\\my logo.jpg", "not really a picture");
    // Names typed without a folder are found in the picker's own starting folder.
    Pick(d, IDC_SELECT_FILE, "Select the File to Auto-Play on CD-ROM", "Intro Page.htm");
    EXPECT_EQ(ItemText(d.dlg, IDC_TARGET_NAME), "Intro_Page.htm");
    Pick(d, IDC_SELECT_IMAGE, "Select an Image to Display in CD-ROM Splash Screen", "my logo.jpg");
    EXPECT_EQ(ItemText(d.dlg, IDC_SPLASH_NAME), "my logo.jpg");
    // A cancelled picker changes nothing, the other names included.
    Pick(d, IDC_SELECT_SOUND, "Select a Sound to Play upon CD-ROM Startup", nullptr);
    EXPECT_EQ(ItemText(d.dlg, IDC_SOUND_NAME), "default.wav");
    EXPECT_EQ(ItemText(d.dlg, IDC_TARGET_NAME), "Intro_Page.htm");
    EXPECT_EQ(ItemText(d.dlg, IDC_SPLASH_NAME), "my logo.jpg");
}

// The tip that shows while the mouse rests on a control, or "" when none shows.
std::string TipOver(Designer& d, int id, DWORD waitMs) {
    auto visibleTip = [&] {
        for (HWND w : d.process.Windows(true))
            if (ClassOf(w) == "tooltips_class32")
                return w;
        return HWND();
    };
    // Leave the dialog first and wait until the last tip is gone, so its text is not read.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) / 2);
    WaitUntil([&] { return !visibleTip(); }, 5000);
    RECT r = RectOf(GetDlgItem(d.dlg, id));
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    std::string text;
    WaitUntil(
        [&] {
            HWND tip = visibleTip();
            if (!tip)
                return false;
            char buf[512] = {};
            SendMessageTimeoutA(tip, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                                nullptr);
            text = buf;
            return !text.empty();
        },
        waitMs);
    return text;
}

TEST(Designer, TooltipsByControl) {
    Designer d;
    ASSERT_TRUE(d.dlg);
    SetForegroundWindow(d.dlg);
    struct Case {
        int id;
        const char* tip;
    } cases[] = {
        {1, "Compile your autoplay CD-ROM files for testing and burn."},
        {IDC_SELECT_FILE, "Select the file or web page you wish to have launched."},
        {IDC_TARGET_NAME, "Filename of web page or executable you wish to have launched or autoplayed."},
        {IDC_HELP_BUTTON, "Help on creating autoplay CD-ROMs."},
        {IDC_SPLASH_OPTION, "Include a self-sizing graphical splash screen."},
        {IDC_SELECT_IMAGE, "Select an image to display as your splash screen."},
        {IDC_SOUND_OPTION, "Include a sound effect as CD-ROM begins auto-playing."},
        {IDC_SELECT_SOUND, "Select a sound effect to autoplay."},
        {IDC_ICON_OPTION, "Include a custom icon to represent the CD-ROM."},
        {IDC_SELECT_ICON, "Select an icon to represent your CD-ROM."},
        {IDC_PLAY_SOUND, "Preview the sound effect to autoplay."},
        {IDC_BROWSER_OPTION, "Use the internal web browser dialog rather than launching Microsoft Internet Explorer."},
        {IDC_IMAGE_OPTION, "Also write a disc image of the CD-ROM files beside their folder, ready to burn."},
        {2, ""},
        {IDC_WINDOW_SIZE, ""},
    };
    for (const Case& c : cases)
        // A tip that should show gets time even on a busy machine; one that should not, less.
        EXPECT_EQ(TipOver(d, c.id, *c.tip ? 10000 : 2000), c.tip) << "control " << c.id;
}

TEST(Designer, SystemMenuOpensAboutAndKeepsItsOtherCommands) {
    Designer d;
    ASSERT_TRUE(d.dlg);
    PostMessageA(d.dlg, WM_SYSCOMMAND, 0x10, 0);
    HWND about = WaitWindow(d.process, "About Vintrosk!", "#32770", kWait);
    ASSERT_TRUE(about) << DescribeWindows(d.process);
    bool versionShown = false;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        versionShown |= Title(child) == "Vintrosk! Version 1.56";
    EXPECT_TRUE(versionShown);
    Press(about, IDOK);
    EXPECT_TRUE(WaitGone(about, kWait));

    PostMessageA(d.dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(d.dlg) != FALSE; }, kWait));
    PostMessageA(d.dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(d.dlg); }, kWait));
    PostMessageA(d.dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(d.process.WaitExit(kWait));
}

// True while some process holds the file open: an open that shares nothing is refused.
bool HeldOpen(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        CloseHandle(f);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

TEST(Designer, PlaySoundFindsTheDefaultSoundFromAnyWorkingFolder) {
    Sandbox box;
    // Long enough to stay open for a while even on the null sound device, which plays fast.
    box.Write("sounds\\default.wav", MakeWav(60.0));
    // The working folder has a sounds folder of its own, which is not the program's. (Without
    // it Wine's PlaySound would find the program's sound anyway: it searches the program's
    // folder for a relative name it cannot open.)
    box.Write("elsewhere\\sounds\\default.wav", MakeWav(60.0));
    Process p(box.CopyVintrosk(), "design", box.Path("elsewhere"));
    HWND dlg = WaitWindow(p, "Vintrosk!", "#32770", kWait);
    ASSERT_TRUE(dlg) << DescribeWindows(p);
    const std::string sound = box.Path("sounds\\default.wav"), decoy = box.Path("elsewhere\\sounds\\default.wav");
    ASSERT_FALSE(HeldOpen(sound));
    Click(dlg, IDC_PLAY_SOUND);
    // Probing only once the sound has had time to open, so that the probe cannot keep it out.
    Sleep(1000);
    EXPECT_TRUE(WaitUntil([&] { return HeldOpen(sound); }, 10000))
        << "the program's sounds\\default.wav is not playing";
    EXPECT_FALSE(HeldOpen(decoy)) << "the working folder's sound is playing";
    Press(dlg, IDCANCEL);
    EXPECT_TRUE(p.WaitExit(kWait));
}

TEST(Designer, OpensCentredOnTheWorkAreaAndCentresItsDialogsOnItself) {
    Designer d;
    ASSERT_TRUE(d.dlg) << DescribeWindows(d.process);
    EXPECT_EQ("", OffCentre(d.dlg, WorkAreaRect()));
    Screenshot("centred");
    const struct {
        const char* title;
        void (*open)(HWND designer);
    } cases[] = {
        {"About Vintrosk!", [](HWND designer) { PostMessageA(designer, WM_SYSCOMMAND, 0x10, 0); }},
        {"Vintrosk! Online Help at https://vintrosk.example/", [](HWND designer) { Press(designer, IDC_HELP_BUTTON); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        c.open(d.dlg);
        HWND dialog = WaitWindow(d.process, c.title, "#32770", kWait);
        ASSERT_TRUE(dialog) << DescribeWindows(d.process);
        EXPECT_EQ(d.dlg, GetWindow(dialog, GW_OWNER));
        EXPECT_EQ("", OffCentre(dialog, RectOf(d.dlg)));
        Screenshot(c.title[0] == 'A' ? "about" : "help");
        Press(dialog, IDOK);
        EXPECT_TRUE(WaitGone(dialog, kWait));
    }
    Press(d.dlg, IDCANCEL);
    EXPECT_TRUE(d.process.WaitExit(kWait));
}

TEST(Designer, EscapeAndQuitClose) {
    {
        Designer d;
        ASSERT_TRUE(d.dlg);
        PostMessageA(GetDlgItem(d.dlg, IDC_TARGET_NAME), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(d.process.WaitExit(kWait));
    }
    {
        Designer d;
        ASSERT_TRUE(d.dlg);
        Press(d.dlg, IDCANCEL);
        EXPECT_TRUE(d.process.WaitExit(kWait));
    }
}

} // namespace
