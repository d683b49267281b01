// Whole sites with folders: files go to the same place under the output folder, pages and
// stylesheets in folders resolve against their own folder, and nothing lands outside it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "disc/scanner.h"
#include "scanner_fake_disk.h"
#include "scanner_posix_disk.h"

using vk::MissingReason;

namespace {

const std::string kOut = "C:\\out\\";

// Counts the files open at once.
class CountingDisk : public FakeDisk {
public:
    int open = 0, mostOpen = 0;
    std::unique_ptr<vk::ByteSource> Open(const std::string& name) override {
        std::unique_ptr<vk::ByteSource> inner = FakeDisk::Open(name);
        if (!inner)
            return nullptr;
        return std::make_unique<Counted>(std::move(inner), *this);
    }

private:
    class Counted : public vk::ByteSource {
    public:
        Counted(std::unique_ptr<vk::ByteSource> inner, CountingDisk& disk) : m_inner(std::move(inner)), m_disk(disk) {
            m_disk.mostOpen = std::max(m_disk.mostOpen, ++m_disk.open);
        }
        ~Counted() override { --m_disk.open; }
        size_t Read(char* buffer, size_t size) override { return m_inner->Read(buffer, size); }

    private:
        std::unique_ptr<vk::ByteSource> m_inner;
        CountingDisk& m_disk;
    };
};

struct Site {
    CountingDisk disk;
    vk::MissingFileList missing;
    Site() { disk.AddFolder("C:\\out"); }
    void Run(const std::string& page = "C:\\site\\index.htm") {
        vk::LinkScanner(disk, disk.ansi, disk, missing).Scan(page, kOut, true);
    }
    std::set<std::string> Out() const {
        std::set<std::string> files;
        for (const std::string& file : disk.AllFiles())
            if (file.compare(0, kOut.size(), kOut) == 0)
                files.insert(file.substr(kOut.size()));
        return files;
    }
};

// A site on the real file system: base/site holds it, base/out receives the scan of
// site/index.htm; all of it is removed at the end.
struct RealSite {
    std::filesystem::path base = MakeFolder();
    PosixDisk disk{base.string()};
    vk::MissingFileList missing;
    RealSite() {
        std::filesystem::create_directories(base / "site");
        std::filesystem::create_directories(base / "out");
    }
    ~RealSite() { std::filesystem::remove_all(base); }
    void Scan() { vk::LinkScanner(disk, disk.ansi, disk, missing).Scan("site\\index.htm", "out\\", true); }
    static std::filesystem::path MakeFolder() {
        char pattern[] = "/tmp/vk-site-XXXXXX";
        if (!::mkdtemp(pattern))
            throw std::runtime_error("no temporary folder");
        return pattern;
    }
};

TEST(ScannerSite, FoldersAreKeptAndEachPageResolvesAgainstItsOwnFolder) {
    Site site;
    site.disk.Put("C:\\site\\index.htm",
                  "<link rel=stylesheet href=\"_static/site.css\"><img src=\"img/logo.gif\">"
                  "<a href=\"api\\mod.html#pkg.mod.Class\">API</a><a href=\"./api/mod.html\">again</a>");
    site.disk.Put("C:\\site\\_static\\site.css", "@import 'base.css'; body{background:url(../img/bg.png)}");
    site.disk.Put("C:\\site\\_static\\base.css", ".x{background:url(\"fonts/f.woff\")}");
    site.disk.Put("C:\\site\\_static\\fonts\\f.woff");
    site.disk.Put("C:\\site\\img\\logo.gif");
    site.disk.Put("C:\\site\\img\\bg.png");
    site.disk.Put("C:\\site\\api\\mod.html",
                  "<link rel=stylesheet href=\"../_static/site.css\"><img src=\"pic.gif\"><a href=\"../index.htm\">"
                  "<img src=\"../img/none.gif\"><img src=\"../../outside.gif\">");
    site.disk.Put("C:\\site\\api\\pic.gif");
    site.disk.Put("C:\\outside.gif");

    site.Run();

    EXPECT_EQ((std::set<std::string>{"_static\\site.css", "_static\\base.css", "_static\\fonts\\f.woff",
                                     "img\\logo.gif", "img\\bg.png", "api\\mod.html", "api\\pic.gif", "index.htm"}),
              site.Out());
    EXPECT_EQ((std::vector<vk::MissingFile>{{"C:\\site\\img\\none.gif", MissingReason::Absent},
                                            {"C:\\outside.gif", MissingReason::Outside}}),
              site.missing.Items());
    EXPECT_EQ((std::vector<std::string>{"C:\\site\\index.htm", "C:\\site\\_static\\site.css",
                                        "C:\\site\\_static\\base.css", "C:\\site\\api\\mod.html"}),
              site.disk.pagesRead);
    EXPECT_EQ(1, site.disk.mostOpen);
    // Folders are made only for files that are there, and only inside the output folder.
    for (const std::string& folder : site.disk.madeFolders)
        EXPECT_EQ(0u, folder.compare(0, kOut.size(), kOut)) << folder;
    EXPECT_FALSE(site.disk.FolderExists("C:\\out\\img\\none"));
}

TEST(ScannerSite, AFlatSiteKeepsItsOrderOfCopies) {
    Site site;
    site.disk.Put("C:\\out\\index.htm", "copied");
    site.disk.Put("C:\\site\\index.htm",
                  "<body background=back.jpg><img src=logo.gif><a href=a.htm>a</a><img src=mid.gif>\n"
                  "<a href=\"ACTION_RUN=setup.exe /q\">run</a><a href=\"ACTION_COPY=pic.jpg,{desktop}\\pic.jpg\">"
                  "<a href=index.htm>home</a><a href=none.gif>x</a><a href=\"http://example.com/w.gif\">");
    site.disk.Put("C:\\site\\a.htm", "<img src=a.gif><a href=b.htm><img src=logo.gif><a href=index.htm>");
    site.disk.Put("C:\\site\\b.htm", "<img src=b.gif><a href=a.htm>");
    for (const char* file : {"back.jpg", "logo.gif", "mid.gif", "setup.exe", "pic.jpg", "a.gif", "b.gif"})
        site.disk.Put(std::string("C:\\site\\") + file);

    site.Run();

    EXPECT_EQ((std::vector<std::string>{"C:\\out\\back.jpg", "C:\\out\\logo.gif", "C:\\out\\a.htm", "C:\\out\\a.gif",
                                        "C:\\out\\b.htm", "C:\\out\\b.gif", "C:\\out\\mid.gif", "C:\\out\\setup.exe",
                                        "C:\\out\\pic.jpg", "C:\\out\\none.gif"}),
              site.disk.copiedTo);
    EXPECT_EQ((std::vector<vk::MissingFile>{{"C:\\site\\none.gif", MissingReason::Absent}}), site.missing.Items());
    EXPECT_TRUE(site.disk.madeFolders.empty());
}

// A value is looked at once per folder up to its fragment; a character reference that reads
// as "/" is part of the file's name, one that reads as "#" starts a fragment.
TEST(ScannerSite, FragmentsAndCharacterReferencesNameTheirFiles) {
    Site site;
    site.disk.Put("C:\\site\\index.htm",
                  "<a href=#top><a href=doc.htm#a><a href=doc.htm#b><a href=doc.htm>"
                  "<img src=img&#47;x.gif><img src=img&#x2F;y.gif#z><img src=gone.gif#a><img src=gone.gif&#35;b>");
    site.disk.Put("C:\\site\\doc.htm", "<img src=d.gif#1><img src=d.gif#2>");
    for (const char* file : {"d.gif", "img\\x.gif", "img\\y.gif"})
        site.disk.Put(std::string("C:\\site\\") + file);

    site.Run();

    EXPECT_EQ((std::vector<std::string>{"C:\\out\\doc.htm", "C:\\out\\d.gif", "C:\\out\\img\\x.gif",
                                        "C:\\out\\img\\y.gif", "C:\\out\\gone.gif"}),
              site.disk.copiedTo);
    EXPECT_EQ((std::vector<vk::MissingFile>{{"C:\\site\\gone.gif", MissingReason::Absent}}), site.missing.Items());
}

TEST(ScannerSite, CirclesAndDeepChainsEndWithOneFileOpen) {
    Site site;
    const int kDepth = 3000;
    for (int i = 0; i < kDepth; ++i) {
        const std::string name = "p" + std::to_string(i) + ".htm";
        // Each page links one page deeper, back to the start, and to itself in other spellings.
        site.disk.Put("C:\\site\\d\\" + name, "<a href=\"p" + std::to_string(i + 1) +
                                                  ".htm\"><a href=\"../index.htm\">"
                                                  "<a href=\"./" +
                                                  name + "\"><a href=\"../D/" + name + "#x\">");
    }
    site.disk.Put("C:\\site\\index.htm", "<a href=\"d/p0.htm\"><a href=index.htm>");

    site.Run();

    EXPECT_EQ(static_cast<size_t>(kDepth + 1), site.disk.pagesRead.size());
    EXPECT_EQ((std::vector<vk::MissingFile>{{"C:\\site\\d\\p3000.htm", MissingReason::Absent}}), site.missing.Items());
    EXPECT_EQ(1, site.disk.mostOpen);
}

TEST(ScannerSite, HostileValuesWriteNothingOutsideARealOutputFolder) {
    namespace fs = std::filesystem;
    RealSite site;
    const fs::path& base = site.base;
    fs::create_directories(base / "site" / "sub");
    const std::string hostile[] = {"..\\..\\x.gif",
                                   "C:\\x.gif",
                                   "\\\\server\\share\\x.gif",
                                   "file:///C:/x.gif",
                                   "%2e%2e/x.gif",
                                   "%2e%2e%5cx.gif",
                                   "sub/../../x.gif",
                                   "/../x.gif",
                                   "file:///" + base.string() + "/x.gif",
                                   std::string(5000, 'a') + ".gif",
                                   "....//x.gif",
                                   "sub/%2e%2e/%2e%2e/x.gif",
                                   "con.gif",
                                   "aux"};
    std::string page = "<a href=\"index.htm\"><img src=\"sub/in.gif\">";
    for (const std::string& value : hostile)
        page += "<img src=\"" + value + "\"><a href=\"" + value + ".htm\">";
    std::ofstream(base / "site" / "index.htm") << page;
    std::ofstream(base / "site" / "sub" / "in.gif") << "in";
    std::ofstream(base / "x.gif") << "outside";
    std::ofstream(base / "x.gif.htm") << "<img src=x.gif>";

    site.Scan();

    std::set<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(base / "out"))
        written.insert(fs::relative(entry.path(), base / "out").string());
    EXPECT_EQ((std::set<std::string>{"index.htm", "sub", "sub/in.gif"}), written);
    std::set<std::string> all;
    for (const auto& entry : fs::recursive_directory_iterator(base))
        all.insert(fs::relative(entry.path(), base).string());
    EXPECT_EQ((std::set<std::string>{"out", "out/index.htm", "out/sub", "out/sub/in.gif", "site", "site/index.htm",
                                     "site/sub", "site/sub/in.gif", "x.gif", "x.gif.htm"}),
              all);
    EXPECT_EQ(1u, site.disk.pages);
    for (const vk::MissingFile& entry : site.missing.Items())
        EXPECT_LE(entry.path.size(), vk::kMaxListedPath + 3) << entry.path;
}

// The Linux host reads each page once for its copy and its links; what it could not copy or
// read counts as before: a page whose copy fails is still followed, a folder or a pipe named
// like a page reads as empty (the pipe without waiting for a writer), and a page that is not
// there is not read at all. The copy keeps the date.
TEST(ScannerSite, OneReadOfAPageServesItsCopyAndItsLinks) {
    namespace fs = std::filesystem;
    RealSite site;
    const fs::path& base = site.base;
    fs::create_directories(base / "site" / "blocked");
    fs::create_directories(base / "site" / "dir.htm");
    std::ofstream(base / "site" / "index.htm")
        << "<a href=page.htm><a href=blocked/page.htm><a href=dir.htm><a href=gone.htm><a href=pipe.htm>";
    ASSERT_EQ(0, ::mkfifo((base / "site" / "pipe.htm").c_str(), 0644));
    std::ofstream(base / "site" / "page.htm") << "<img src=a.gif>";
    std::ofstream(base / "site" / "a.gif") << "a";
    std::ofstream(base / "site" / "blocked" / "page.htm") << "<img src=../b.gif>";
    std::ofstream(base / "site" / "b.gif") << "b";
    std::ofstream(base / "out" / "blocked") << "a file where the folder would go";
    const auto date = fs::file_time_type::clock::now() - std::chrono::hours(48);
    fs::last_write_time(base / "site" / "page.htm", date);

    site.Scan();

    EXPECT_EQ("<img src=a.gif>", ReadAll(base / "out" / "page.htm"));
    EXPECT_EQ(date, fs::last_write_time(base / "out" / "page.htm"));
    EXPECT_EQ("a", ReadAll(base / "out" / "a.gif"));
    EXPECT_EQ("b", ReadAll(base / "out" / "b.gif")) << "a page that could not be copied is still followed";
    EXPECT_FALSE(fs::exists(base / "out" / "dir.htm"));
    EXPECT_FALSE(fs::exists(base / "out" / "pipe.htm"));
    EXPECT_EQ(5u, site.disk.pages) << "index, page, blocked/page, the folder and the pipe; not gone.htm";
    // Each failed copy says why: a file where its folder would go, a folder and a pipe unread.
    const std::vector<vk::MissingFile> expected = {
        {"site\\blocked\\page.htm", MissingReason::CopyFailed, "not a directory"},
        {"site\\dir.htm", MissingReason::CopyFailed, "it cannot be read"},
        {"site\\gone.htm", MissingReason::Absent},
        {"site\\pipe.htm", MissingReason::CopyFailed, "it cannot be read"}};
    EXPECT_EQ(expected, site.missing.Items());
}

// A site made where letter case tells names apart (FAQ.html beside faq.html, a texinfo manual's
// Index.htm beside its start page index.htm): the disc, read by Windows, holds one of them, so
// the other is listed as not copied, never dropped silently or copied over the other. A
// spelling in another case that names no other file (a link to Pic.gif where pic.gif is, or a
// hard link) is the same file and lists nothing.
TEST(ScannerSite, NamesApartOnlyByLetterCaseAreListedNotLost) {
    namespace fs = std::filesystem;
    RealSite site;
    const fs::path& base = site.base;
    fs::create_directories(base / "site" / "img");
    fs::create_directories(base / "site" / "IMG");
    std::ofstream(base / "site" / "index.htm")
        << "<a href=Index.htm><a href=FAQ.html><a href=faq.html><a href=Faq.html>"
           "<img src=pic.gif><img src=Pic.gif><img src=same.gif><img src=SAME.gif>"
           "<img src=img/a.gif><img src=IMG/a.gif>";
    std::ofstream(base / "site" / "Index.htm") << "<p>the index, not the start page";
    std::ofstream(base / "site" / "FAQ.html") << "<p>short";
    std::ofstream(base / "site" / "faq.html") << "<p>long";
    std::ofstream(base / "site" / "pic.gif") << "p";
    std::ofstream(base / "site" / "same.gif") << "s";
    fs::create_hard_link(base / "site" / "same.gif", base / "site" / "SAME.gif");
    std::ofstream(base / "site" / "img" / "a.gif") << "lower";
    std::ofstream(base / "site" / "IMG" / "a.gif") << "upper";

    site.Scan();

    EXPECT_EQ("<p>short", ReadAll(base / "out" / "FAQ.html"));
    EXPECT_FALSE(fs::exists(base / "out" / "faq.html"));
    EXPECT_EQ("lower", ReadAll(base / "out" / "img" / "a.gif"));
    EXPECT_FALSE(fs::exists(base / "out" / "IMG"));
    EXPECT_FALSE(fs::exists(base / "out" / "Index.htm"));
    const std::vector<vk::MissingFile> expected = {{"site\\Index.htm", MissingReason::CaseTwin},
                                                   {"site\\faq.html", MissingReason::CaseTwin},
                                                   {"site\\IMG\\a.gif", MissingReason::CaseTwin}};
    EXPECT_EQ(expected, site.missing.Items());
    EXPECT_EQ(2u, site.disk.pages) << "index and FAQ.html: the page not copied is not read";

    // A host that folds letter case, as Windows does, lists none of them.
    Site folded;
    folded.disk.Put("C:\\site\\index.htm", "<a href=FAQ.html><a href=faq.html><img src=img/a.gif><img src=IMG/a.gif>");
    folded.disk.Put("C:\\site\\FAQ.html", "x");
    folded.disk.Put("C:\\site\\img\\a.gif", "a");
    folded.Run();
    EXPECT_TRUE(folded.missing.Items().empty());
}

// Spellings a browser hands to Windows as they are, and Windows reads as the file: a last step
// of a dot and blanks (trimmed away), and a step no name holds that ".." takes away again.
// Before, the first made a folder named like the file, the second listed a file that is there.
TEST(ScannerSite, StepsWindowsTrimsOrClimbsOutOfNameTheirFile) {
    namespace fs = std::filesystem;
    RealSite site;
    const fs::path& base = site.base;
    fs::create_directories(base / "site" / "sub");
    std::ofstream(base / "site" / "index.htm")
        << "<img src=\"a.gif/.%20\"><img src=\"b.gif/&#x2e;%20\"><img src=\"x|y/../c.gif\">"
           "<img src=\"sub/x%7Cy/../../d.gif\"><img src=\"sub/con/../e.gif\">";
    for (const char* name : {"a.gif", "b.gif", "c.gif", "d.gif", "sub/e.gif"})
        std::ofstream(base / "site" / name) << name;

    site.Scan();

    for (const char* name : {"a.gif", "b.gif", "c.gif", "d.gif", "sub/e.gif"}) {
        EXPECT_TRUE(fs::is_regular_file(base / "out" / name)) << name;
        EXPECT_EQ(name, ReadAll(base / "out" / name));
    }
    EXPECT_TRUE(site.missing.Items().empty()) << testing::PrintToString(site.missing.Items());
}

// Each reason a linked file is not on the disc, as the list says it.
TEST(ScannerSite, EachMissingFileSaysWhy) {
    namespace fs = std::filesystem;
    const std::string tooLong = std::string(vk::kMaxLinkPath + 40, 'n') + ".gif";
    const struct {
        const char* what;
        std::string link;
        std::function<void(const fs::path& site)> make;
        vk::MissingFile expected;
    } cases[] = {
        {"no such file", "gone.gif", [](const fs::path&) {}, {"site\\gone.gif", MissingReason::Absent}},
        {"outside the site",
         "../up.gif",
         [](const fs::path& s) { std::ofstream(s / ".." / "up.gif") << "up"; },
         {"up.gif", MissingReason::Outside}},
        {"a character no name holds",
         "a%7Cb.gif",
         [](const fs::path& s) { std::ofstream(s / "a|b.gif") << "x"; },
         {"site\\a|b.gif", MissingReason::BadName}},
        {"a device name", "aux.gif", [](const fs::path&) {}, {"site\\aux.gif", MissingReason::BadName}},
        {"too long",
         tooLong,
         [](const fs::path&) {},
         {("site\\" + tooLong).substr(0, vk::kMaxListedPath) + "...", MissingReason::BadName}},
        {"a letter-case twin",
         "A.gif",
         [](const fs::path& s) {
             std::ofstream(s / "a.gif") << "lower";
             std::ofstream(s / "A.gif") << "upper";
         },
         {"site\\A.gif", MissingReason::CaseTwin}},
        {"a copy that failed",
         "dir.gif",
         [](const fs::path& s) { fs::create_directory(s / "dir.gif"); },
         {"site\\dir.gif", MissingReason::CopyFailed, "is a directory"}},
        {"a folder link in a loop",
         "loop/a.gif",
         [](const fs::path& s) {
             std::ofstream(s / "a.gif") << "a";
             fs::create_directory_symlink(".", s / "loop");
         },
         {"site\\loop", MissingReason::FolderLoop}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RealSite site;
        // a.gif first, so that a twin in another letter case comes second.
        std::ofstream(site.base / "site" / "index.htm") << "<img src=a.gif><img src=\"" + c.link + "\">";
        c.make(site.base / "site");
        site.Scan();
        const std::vector<vk::MissingFile> expected = {c.expected};
        std::vector<vk::MissingFile> missing = site.missing.Items();
        if (!missing.empty() && missing.front().path == "site\\a.gif")
            missing.erase(missing.begin()); // the cases that need no a.gif
        EXPECT_EQ(expected, missing);
        EXPECT_EQ(std::vector<std::vector<vk::MissingFile>>{site.missing.Items()}, site.disk.shownMissing);
    }
}

// A folder link back to a folder it is in ("loop -> .", or "up -> ../.." below the site's
// folder) would be followed level after level, each level a new path to copy and check: it is
// listed once and never entered. A folder link anywhere else is followed.
TEST(ScannerSite, AFolderLinkInALoopIsListedOnceAndNotFollowed) {
    namespace fs = std::filesystem;
    RealSite site;
    const fs::path& base = site.base;
    fs::create_directories(base / "site" / "docs" / "deep");
    // One page a level at most: a scan that follows the loops ends, at the longest path a link
    // may have, and fails.
    std::ofstream(base / "site" / "index.htm") << "<a href=loop/index.htm><img src=loop/loop/pic.gif><img src=pic.gif>"
                                                  "<img src=docs/deep/up/pic.gif><a href=alias/page.htm>";
    std::ofstream(base / "site" / "pic.gif") << "pic";
    std::ofstream(base / "site" / "docs" / "page.htm")
        << "<img src=../loop/pic.gif><img src=../loop/loop/loop/pic.gif>";
    fs::create_directory_symlink(".", base / "site" / "loop");
    fs::create_directory_symlink("../..", base / "site" / "docs" / "deep" / "up");
    fs::create_directory_symlink("docs", base / "site" / "alias");

    site.Scan();

    const std::vector<vk::MissingFile> expected = {{"site\\loop", MissingReason::FolderLoop},
                                                   {"site\\docs\\deep\\up", MissingReason::FolderLoop}};
    EXPECT_EQ(expected, site.missing.Items());
    std::set<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(base / "out"))
        written.insert(fs::relative(entry.path(), base / "out").string());
    EXPECT_EQ((std::set<std::string>{"pic.gif", "alias", "alias/page.htm"}), written);
    EXPECT_EQ(2u, site.disk.pages) << "index.htm and alias/page.htm";

    // The same on a disk with Windows' name rules, through a junction spelled in another case.
    Site fake;
    fake.disk.Put("C:\\site\\index.htm", "<a href=loop/index.htm><img src=LOOP/Loop/pic.gif><img src=pic.gif>");
    fake.disk.Put("C:\\site\\pic.gif");
    fake.disk.Link("C:\\site\\loop", "C:\\site");
    fake.Run();
    EXPECT_EQ((std::vector<vk::MissingFile>{{"C:\\site\\loop", MissingReason::FolderLoop}}), fake.missing.Items());
    EXPECT_EQ(std::set<std::string>{"pic.gif"}, fake.Out());
    EXPECT_EQ(1u, fake.disk.pagesRead.size());
}

} // namespace
