// The page actions carried out for real: message boxes answered from a watcher thread,
// programs started through the shell, files copied with real folders and placeholders.
#include "harness.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "framework/wide.h"
#include "launcher/page_actions_win.h"

using namespace vt;

namespace {

struct Shown {
    std::string caption, text;
};

// Answers every message box of this process with OK and remembers what it said.
class Answerer {
public:
    Answerer() : thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}
    ~Answerer() {
        stop_ = true;
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
    std::vector<Shown> Boxes() {
        EnterCriticalSection(&lock_.cs);
        std::vector<Shown> copy = boxes_;
        LeaveCriticalSection(&lock_.cs);
        return copy;
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<Answerer*>(self)->Loop();
        return 0;
    }
    static BOOL CALLBACK Visit(HWND wnd, LPARAM self) {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(wnd) && ClassOf(wnd) == "#32770" &&
            GetDlgItem(wnd, 0xFFFF)) {
            auto* a = reinterpret_cast<Answerer*>(self);
            Shown shown{Title(wnd), MessageBoxText(wnd)};
            EnterCriticalSection(&a->lock_.cs);
            a->boxes_.push_back(shown);
            LeaveCriticalSection(&a->lock_.cs);
            // Hidden at once, so one box is never counted twice.
            ShowWindow(wnd, SW_HIDE);
            PostMessageA(wnd, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    void Loop() {
        while (!stop_) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }
    struct Lock {
        Lock() { InitializeCriticalSection(&cs); }
        ~Lock() { DeleteCriticalSection(&cs); }
        CRITICAL_SECTION cs;
    };
    Lock lock_;
    std::vector<Shown> boxes_;
    volatile bool stop_ = false;
    HANDLE thread_;
};

// A stand-in viewer: a plain window with a title, the caption of the page, and a quit count.
class Host : public vk::PageActionHost {
public:
    explicit Host(std::string caption = "") : caption_(std::move(caption)) {
        window_ = CreateWindowExA(0, "STATIC", "Demo Disc Viewer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    ~Host() override { DestroyWindow(window_); }
    HWND ActionOwner() override { return window_; }
    std::string ActionCaption() override { return caption_; }
    void QuitViewer() override { ++quits; }
    int quits = 0;

private:
    HWND window_;
    std::string caption_;
};

std::string Folder(int csidl) {
    char path[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

TEST(Placeholders, ExpandToTheMachinesFolders) {
    vk::WinFolders folders;
    char system[MAX_PATH + 1] = {};
    GetSystemDirectoryA(system, sizeof system);
    struct Case {
        std::string text, expanded;
    } cases[] = {
        {"{root}\\setup.log", std::string(system, 2) + "\\setup.log"},
        {"{WINDOWS}", Folder(CSIDL_WINDOWS)},
        {"{windows}{system}", Folder(CSIDL_WINDOWS) + Folder(CSIDL_SYSTEM)},
        {"{Desktop}\\a.txt", Folder(CSIDL_DESKTOP) + "\\a.txt"},
        {"{programfiles}", Folder(CSIDL_PROGRAM_FILES)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.expanded.empty());
        EXPECT_EQ(vk::ExpandPlaceholders(c.text, folders), c.expanded) << c.text;
    }
}

TEST(PageActions, MessageUsesTheWindowTitleAndQuitFollows) {
    Answerer answerer;
    Host host;
    EXPECT_FALSE(vk::RunPageActions("C:\\disc\\page2.htm", host));
    EXPECT_TRUE(vk::RunPageActions("C:\\disc\\ACTION_MESSAGEBOX=Hello = World", host));
    EXPECT_TRUE(vk::RunPageActions("C:\\disc\\action_messagebox=Bye ACTION_QUIT", host));
    EXPECT_TRUE(vk::RunPageActions("C:\\disc\\ACTION_MESSAGEBOX", host)); // no "=": cancelled, nothing shown
    std::vector<Shown> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Demo Disc Viewer");
    EXPECT_EQ(boxes[0].text, "Hello = World");
    EXPECT_EQ(boxes[1].text, "Bye ACTION_QUIT");
    EXPECT_EQ(host.quits, 1);
}

TEST(PageActions, RunSplitsAtTheFirstSpace) {
    Sandbox box;
    // Full paths: the shell's search for a bare name is the launcher's business, shown with it.
    const std::string setup = box.CopyRecorder("setup.exe");
    const std::string tool = box.CopyRecorder("tool.exe");
    Host host;
    EXPECT_TRUE(vk::RunPageActions("C:\\disc\\ACTION_RUN=" + setup, host));
    EXPECT_TRUE(vk::RunPageActions("C:\\disc\\ACTION_RUN=" + tool + " readme.txt two", host));
    ASSERT_TRUE(WaitRecords(box.Path("recorded.txt"), 2, 10000));
    std::string setupLine, toolLine;
    for (const Record& r : ReadRecords(box.Path("recorded.txt")))
        (r.module == "setup.exe" ? setupLine : toolLine) = r.commandLine;
    EXPECT_EQ(setupLine.find(" readme"), std::string::npos) << setupLine;
    EXPECT_NE(toolLine.find("readme.txt two"), std::string::npos) << toolLine;
}

TEST(PageActions, CopyPairsWithFoldersMessagesAndCaption) {
    Sandbox box;
    box.Write("a.txt", "alpha");
    box.Write("b.txt", "beta");
    SetCurrentDirectoryA(box.Dir().c_str());
    const std::string desk = Folder(CSIDL_DESKTOP) + "\\vt_DiscFiles";
    RemoveDirectoryA(desk.c_str());
    DeleteFileA((desk + "\\a.txt").c_str());
    RemoveDirectoryA(desk.c_str());

    struct Case {
        const char* name;
        std::string list;
        std::string caption;
        std::vector<std::string> messages; // in order; captions checked against `caption`
    } cases[] = {
        {"new folder on the desktop", "a.txt,{desktop}\\vt_DiscFiles\\a.txt", "Demo", {"All files have been copied."}},
        {"comma and space", "a.txt, out1\\a.txt, b.txt, out1\\b.txt", "", {"All files have been copied."}},
        {"empty list", "", "", {"All files have been copied."}},
        {"commas only", ",,,", "", {"All files have been copied."}},
        {"odd last source", "a.txt,out2\\a.txt,b.txt", "", {"All files have been copied."}},
        {"two levels deep",
         "a.txt,missing\\deeper\\a.txt,b.txt,out3\\b.txt",
         "",
         {"Error copying file a.txt to missing\\deeper\\a.txt"}},
        {"missing source", "nothere.txt,out4\\x.txt", "T", {"Error copying file nothere.txt to out4\\x.txt"}},
        // Refused whole: not even the pair before it is copied.
        {"unknown placeholder",
         "a.txt,out5\\a.txt,b.txt,{Desktp}\\b.txt",
         "",
         {"Nothing has been copied: the destination {Desktp}\\b.txt names the folder {Desktp}, which is unknown. The "
          "folders a copy can name are {root}, {windows}, {system}, {desktop} and {programfiles}."}},
    };
    for (const Case& c : cases) {
        Answerer answerer;
        Host host(c.caption);
        EXPECT_TRUE(vk::RunPageActions("C:\\disc\\ACTION_COPY=" + c.list, host)) << c.name;
        std::vector<Shown> boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), c.messages.size()) << c.name;
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(boxes[i].text, c.messages[i]) << c.name;
            EXPECT_EQ(boxes[i].caption, c.caption.empty() ? "CD-ROM Application" : c.caption) << c.name;
        }
    }
    EXPECT_TRUE(WaitFile(desk + "\\a.txt", 1000));
    EXPECT_TRUE(box.Exists("out1\\a.txt"));
    EXPECT_EQ(box.Read("out1\\b.txt"), "beta");
    EXPECT_TRUE(box.Exists("out2\\a.txt"));
    EXPECT_FALSE(box.Exists("missing"));
    EXPECT_EQ(box.Read("out3\\b.txt"), "beta"); // the pair after a failure is still copied
    EXPECT_FALSE(box.Exists("out5"));
    EXPECT_FALSE(box.Exists("Desktp"));
    DeleteFileA((desk + "\\a.txt").c_str());
    RemoveDirectoryA(desk.c_str());
}

// Through the wide file calls: the harness's own file helpers speak the ANSI code page.
bool WriteWide(const fw::WString& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadWide(const fw::WString& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[256];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
}

// Greek and Japanese are outside the ANSI code page: the names must reach the file system whole.
TEST(PageActions, CopyKeepsNamesInAnyLanguage) {
    Sandbox box;
    const fw::WString dir = fw::Widen(box.Dir());
    ASSERT_TRUE(WriteWide(dir + L"\\ΑΒΓ.txt", "alpha"));
    SetCurrentDirectoryA(box.Dir().c_str());
    Answerer answerer;
    Host host;
    EXPECT_TRUE(vk::RunPageActions("C:\\disc\\ACTION_COPY=ΑΒΓ.txt,日本\\ΑΒΓ.txt", host));
    std::vector<Shown> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "All files have been copied.");
    EXPECT_EQ(ReadWide(dir + L"\\日本\\ΑΒΓ.txt"), "alpha");
}

TEST(PageActions, OverlongArgumentsAreRefusedWithAMessage) {
    Sandbox box;
    box.Write("a.txt", "alpha");
    SetCurrentDirectoryA(box.Dir().c_str());
    std::string longList;
    while (longList.size() < 50000)
        longList += "a.txt,far\\a.txt,";
    // Short before expansion, too long after it.
    std::string growing;
    for (int i = 0; i < 600; ++i)
        growing += "{programfiles},";
    struct Case {
        std::string url;
    } cases[] = {
        {"C:\\disc\\ACTION_COPY=" + longList},
        {"C:\\disc\\ACTION_COPY=" + growing},
        {"C:\\disc\\ACTION_RUN=" + std::string(20000, 'x')},
        {"C:\\disc\\ACTION_MESSAGEBOX=" + std::string(10000, 'm')},
    };
    for (const Case& c : cases) {
        Answerer answerer;
        Host host;
        EXPECT_TRUE(vk::RunPageActions(c.url, host));
        std::vector<Shown> boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.find("This action link is too long"), 0u) << boxes[0].text;
    }
    EXPECT_FALSE(box.Exists("far"));
}

} // namespace
