// The linked-file scanner on real files with the program's own Win32 code, its missing-files
// dialog read back from a watcher thread, and the extent rules of its list box.
#include "harness.h"

#include <gtest/gtest.h>

#include "designer/extent_list_box.h"
#include "designer/missing_files_ids.h"
#include "designer/linked_scan_win.h"
#include "disc/win/scanner_win.h"
#include "framework/wide.h"

using namespace vt;

namespace {

const char* kMissingTitle = "Vintrosk! - Linked Web Page Files Not found";

struct SeenDialog {
    std::vector<std::string> items;
    int extent = -1;
    bool horizontalBar = false;
};

// Waits for the missing-files dialog of this process, reads its list, and presses OK.
class MissingDialogWatcher {
public:
    MissingDialogWatcher() : thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}
    ~MissingDialogWatcher() {
        stop_ = true;
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    // Every dialog seen so far; read after the scan has returned.
    const std::vector<SeenDialog>& Seen() const { return seen_; }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<MissingDialogWatcher*>(self)->Loop();
        return 0;
    }
    void Loop() {
        while (!stop_) {
            HWND dlg = FindWindowA("#32770", kMissingTitle);
            if (dlg && IsWindowVisible(dlg)) {
                HWND list = GetDlgItem(dlg, IDC_MISSING_FILES_LIST);
                SeenDialog seen;
                const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    std::vector<char> text(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1);
                    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
                    seen.items.push_back(text.data());
                }
                seen.extent = static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
                seen.horizontalBar = (GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) != 0;
                seen_.push_back(seen);
                ShowWindow(dlg, SW_HIDE);
                PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                WaitGone(dlg, 5000);
            }
            Sleep(20);
        }
    }

    std::vector<SeenDialog> seen_;
    volatile bool stop_ = false;
    HANDLE thread_;
};

TEST(ScannerWin, ScansRealFiles) {
    Sandbox box;
    const std::string site = box.Path("site") + "\\";
    const std::string out = box.Path("disc\\out") + "\\";
    std::string longLine(1200, 'x');
    longLine += " <img src=far.gif>";
    box.Write("site\\index.htm", "<html><head><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\"></head>\r\n"
                                 "<body style=\"background:url(back.jpg)\">\r\n"
                                 "<img src=logo.gif><img SRC='Logo.GIF'>\r\n"
                                 "<a href=\"http://example.com/x.htm\">w</a><a href=mailto:a@example.com>m</a>"
                                 "<a href=\"javascript:go()\">j</a>\r\n"
                                 "<a href=\"{root}\\setup.exe\">r</a><a href=\"{system}\\x.dll\">s</a>"
                                 "<a href=\"{windows}\\notepad.exe\">n</a>\r\n"
                                 "<a href=\"#top\">t</a><a href=readme.>r</a>\r\n"
                                 "<a href=\"ACTION_RUN=install.exe\">i</a>\r\n"
                                 "<a href=\"index.htm\">me</a><a href=a.htm>a</a>\r\n"
                                 "<a href=\"../other.htm\">o</a><img src=\"..\\other.gif\">\r\n" +
                                     longLine + "\r\n<a href=huge.htm>h</a><a href=blob.htm>b</a><img src=ro.gif>");
    box.Write("site\\a.htm", "<a href='b.htm'>b</a><img src=a.gif>");
    box.Write("site\\b.htm", "<a href='a.htm'>a</a><a href=index.htm>i</a><img src=b.gif>");
    std::string huge;
    for (int i = 0; i < 100000; ++i)
        huge += "<p>line " + std::to_string(i) + "</p>\r\n";
    box.Write("site\\huge.htm", huge + "<img src=end.gif>");
    std::string blob;
    for (int i = 0; i < 200000; ++i)
        blob += static_cast<char>((i * 7919 + i / 13) & 0xFF);
    box.Write("site\\blob.htm", blob);
    for (const char* file :
         {"logo.gif", "install.exe", "readme.", "a.gif", "b.gif", "far.gif", "end.gif", "back.jpg", "ro.gif"})
        box.Write(std::string("site\\") + file, file);
    SetFileAttributesA(box.Path("site\\ro.gif").c_str(), FILE_ATTRIBUTE_READONLY);
    box.Write("other.htm", "<img src=secret.gif>");
    box.Write("other.gif", "outside");
    box.Write("secret.gif", "outside");
    box.Write("disc\\out\\index.htm", "the target, copied by the builder");

    {
        MissingDialogWatcher watcher;
        std::string failure;
        vk::ScanLinkedFiles(site + "index.htm", out, true, nullptr, failure);
        ASSERT_EQ(1u, watcher.Seen().size());
        EXPECT_EQ((std::vector<std::string>{site + "{windows}\\notepad.exe (not found)",
                                            box.Path("other.htm") + " (outside the site)",
                                            box.Path("other.gif") + " (outside the site)"}),
                  watcher.Seen()[0].items);
    }
    EXPECT_EQ(vk::MissingFiles().Items().size(), 3u);

    WIN32_FIND_DATAA entry;
    std::set<std::string> copied;
    HANDLE find = FindFirstFileA((out + "*").c_str(), &entry);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            copied.insert(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    // logo.gif once, under the name first met; the pages' own links resolved and copied.
    EXPECT_EQ((std::set<std::string>{"index.htm", "back.jpg", "logo.gif", "install.exe", "a.htm", "b.htm", "a.gif",
                                     "b.gif", "far.gif", "huge.htm", "end.gif", "blob.htm", "ro.gif"}),
              copied);
    EXPECT_EQ("the target, copied by the builder", box.Read("disc\\out\\index.htm"));
    // Nothing beside the output folder, and the page outside was never read.
    EXPECT_FALSE(box.Exists("disc\\other.htm"));
    EXPECT_FALSE(box.Exists("disc\\other.gif"));
    EXPECT_FALSE(box.Exists("disc\\out\\secret.gif"));
    // A copy is never read-only, so the next build can delete it.
    EXPECT_FALSE(GetFileAttributesA((out + "ro.gif").c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(box.Path("site\\ro.gif").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Every file under the folder, as paths relative to it.
std::set<std::string> FilesUnder(const std::string& folder, const std::string& prefix = "") {
    std::set<std::string> files;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(fw::Widen(folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string name = fw::Narrow(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::string& inner : FilesUnder(folder + "\\" + name, prefix + name + "\\"))
                files.insert(inner);
        } else {
            files.insert(prefix + name);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return files;
}

TEST(ScannerWin, KeepsFoldersAndWritesNothingOutsideTheOutputFolder) {
    Sandbox box;
    const std::string site = box.Path("site") + "\\";
    const std::string out = box.Path("disc\\out") + "\\";
    std::string fileUrl = "file:///" + box.Path("x.gif");
    for (char& c : fileUrl)
        if (c == '\\')
            c = '/';
    std::string page = "<link rel=stylesheet href=\"css\\site.css\"><img src=\"img/logo.gif\">"
                       "<a href=\"sub/page.htm#sec.1\">p</a><a href=\"#pkg.mod.Class\">c</a>"
                       "<a href=\"javascript/app.htm\">j</a><a href=\"mod_proxy_http.html\">h</a>"
                       "<img src=\"\xCE\xB5\xCE\xB9\xCE\xBA\xCF\x8C\xCE\xBD\xCE\xB1/my%20pic.gif\">";
    for (const std::string& value :
         {std::string("..\\..\\x.gif"), box.Path("x.gif"), std::string("\\\\server\\share\\x.gif"), fileUrl,
          std::string("%2e%2e/x.gif"), std::string("..%5Cx.gif"), std::string(vk::kMaxLinkPath + 40, 'a') + ".gif",
          std::string("con.gif")})
        page += "<img src=\"" + value + "\">";
    box.Write("site\\index.htm", page);
    box.Write("site\\css\\site.css", "body{background:url(../img/bg.png)} @import 'more.css';");
    box.Write("site\\css\\more.css", ".x{background:url(\"f/i.gif\")}");
    box.Write("site\\css\\f\\i.gif", "i");
    box.Write("site\\img\\logo.gif", "logo");
    box.Write("site\\img\\bg.png", "bg");
    box.Write("site\\sub\\page.htm",
              "<img src=\"../img/logo.gif\"><img src=\"..\\..\\x.gif\"><a href=\"../index.htm\">");
    box.Write("site\\javascript\\app.htm", "<img src=a.gif>");
    box.Write("site\\javascript\\a.gif", "a");
    box.Write("site\\mod_proxy_http.html", "h");
    box.Write("site\\\xCE\xB5\xCE\xB9\xCE\xBA\xCF\x8C\xCE\xBD\xCE\xB1\\my pic.gif", "greek");
    box.Write("x.gif", "outside");
    box.Write("disc\\out\\index.htm", "the target");
    const std::set<std::string> before = FilesUnder(box.Path("."));

    {
        MissingDialogWatcher watcher;
        std::string failure;
        vk::ScanLinkedFiles(site + "index.htm", out, true, nullptr, failure);
        ASSERT_EQ(1u, watcher.Seen().size());
        // Each outside file once, whichever spelling named it: the subfolder's "..\\..\\x.gif", the
        // full path, its file: URL, "%2e%2e/x.gif" and "..%5Cx.gif" are one.
        const std::string boxFolder = box.Path("x.gif").substr(0, box.Path("x.gif").rfind('\\'));
        const std::vector<std::string>& items = watcher.Seen()[0].items;
        ASSERT_EQ(5u, items.size());
        // The subfolder's page is read as soon as its link is met, before the rest of the start page.
        EXPECT_EQ(box.Path("x.gif") + " (outside the site)", items[0]);
        EXPECT_EQ(boxFolder.substr(0, boxFolder.rfind('\\')) + "\\x.gif (outside the site)", items[1]);
        EXPECT_EQ("\\\\server\\share\\x.gif (outside the site)", items[2]);
        EXPECT_EQ(site + std::string(vk::kMaxListedPath - site.size(), 'a') + "... (invalid name)", items[3]);
        EXPECT_EQ(site + "con.gif (invalid name)", items[4]);
    }
    std::set<std::string> copied;
    for (const std::string& file : FilesUnder(box.Path("disc\\out")))
        copied.insert(file);
    EXPECT_EQ(
        (std::set<std::string>{"index.htm", "css\\site.css", "css\\more.css", "css\\f\\i.gif", "img\\logo.gif",
                               "img\\bg.png", "sub\\page.htm", "javascript\\app.htm", "javascript\\a.gif",
                               "mod_proxy_http.html", "\xCE\xB5\xCE\xB9\xCE\xBA\xCF\x8C\xCE\xBD\xCE\xB1\\my pic.gif"}),
        copied);
    EXPECT_EQ("bg", box.Read("disc\\out\\img\\bg.png"));
    // Everything else is as it was.
    std::set<std::string> after = FilesUnder(box.Path("."));
    for (const std::string& file : copied)
        after.erase("disc\\out\\" + file);
    std::set<std::string> expected = before;
    expected.erase("disc\\out\\index.htm");
    EXPECT_EQ(expected, after);
}

TEST(ScannerWin, NothingMissingShowsNoDialogAndClearsTheLastList) {
    Sandbox box;
    box.Write("site\\index.htm", "<img src=there.gif>");
    box.Write("site\\there.gif", "x");
    box.Write("out\\keep.txt", "");
    vk::MissingFiles().Add("left from before", vk::MissingReason::Absent);
    MissingDialogWatcher watcher;
    std::string failure;
    vk::ScanLinkedFiles(box.Path("site\\index.htm"), box.Path("out") + "\\", true, nullptr, failure);
    EXPECT_TRUE(vk::MissingFiles().Empty());
    EXPECT_TRUE(box.Exists("out\\there.gif"));
    EXPECT_TRUE(watcher.Seen().empty());
}

// A list box like the missing-files dialog's, in a window of its own.
struct ListBoxHost {
    HWND parent, list;
    CExtentListBox box;
    // unicode: a list box that takes wide text, as the program's dialogs make them.
    explicit ListBoxHost(DWORD extraStyle, bool unicode = false) {
        parent = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                 nullptr);
        const DWORD style =
            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL | extraStyle;
        list = unicode ? CreateWindowExW(0, L"LISTBOX", L"", style, 0, 0, 200, 150, parent, nullptr, nullptr, nullptr)
                       : CreateWindowExA(0, "LISTBOX", "", style, 0, 0, 200, 150, parent, nullptr, nullptr, nullptr);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        box.SubclassWindow(list);
    }
    ~ListBoxHost() { DestroyWindow(parent); }
    int Extent() const { return static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)); }
    bool BarShown() const { return (GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) != 0; }
    void Add(const std::string& s) { SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())); }
    int ClientWidth() const {
        RECT r;
        GetClientRect(list, &r);
        return r.right;
    }
};

TEST(ExtentListBox, KeepsTheWidestItemInReach) {
    ListBoxHost host(LBS_USETABSTOPS);
    const std::string wide = "C:\\Some Very Long Folder Name\\Another Long Folder Name\\index_of_everything.htm";
    host.Add("short.gif");
    const int shortOnly = host.Extent();
    EXPECT_GT(shortOnly, 0);
    host.Add("a somewhat longer name.gif");
    const int widestNarrow = host.Extent();
    EXPECT_GT(widestNarrow, shortOnly);
    EXPECT_LT(widestNarrow, host.ClientWidth());
    EXPECT_FALSE(host.BarShown());

    SendMessageA(host.list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    EXPECT_GT(host.Extent(), host.ClientWidth());
    EXPECT_TRUE(host.BarShown());
    host.Add("tiny");
    EXPECT_GT(host.Extent(), host.ClientWidth()); // a narrower item never shrinks it

    SendMessageA(host.list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(widestNarrow, host.Extent());
    EXPECT_FALSE(host.BarShown());

    SendMessageA(host.list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(0, host.Extent());
    host.Add("short.gif");
    SendMessageA(host.list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(0, host.Extent());
}

// Greek and Japanese items added as wide text are kept whole and measured as the list shows them.
TEST(ExtentListBox, MeasuresTextInAnyLanguage) {
    const wchar_t item[] = L"C:\\日本語のフォルダ\\ΑΒΓΔΕ.txt";
    ListBoxHost host(0, true);
    SendMessageW(host.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    wchar_t back[64] = {};
    SendMessageW(host.list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(back));
    EXPECT_EQ(0, lstrcmpW(back, item));
    HDC dc = GetDC(host.list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(host.list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, item, lstrlenW(item), &size);
    SelectObject(dc, old);
    ReleaseDC(host.list, dc);
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(size.cx + 3, host.Extent());
}

TEST(ExtentListBox, DirectoryListingAndMargins) {
    Sandbox box;
    box.Write("a_file_with_a_rather_long_name_for_the_listing.txt", "");
    ListBoxHost host(LBS_USETABSTOPS);
    SendMessageA(host.list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>(box.Path("*.txt").c_str()));
    ASSERT_EQ(1, SendMessageA(host.list, LB_GETCOUNT, 0, 0));
    const int listed = host.Extent();
    EXPECT_GT(listed, 0);
    // Without tab stops the margin is one pixel wider.
    ListBoxHost plain(0);
    plain.Add("a_file_with_a_rather_long_name_for_the_listing.txt");
    EXPECT_EQ(listed + 1, plain.Extent());
}

} // namespace
