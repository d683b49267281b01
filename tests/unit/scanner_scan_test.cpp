// The scan of a page and the pages it links to, on an in-memory disk with Windows' name rules.
#include <gtest/gtest.h>

#include "disc/scanner.h"
#include "scanner_fake_disk.h"

using vk::MissingReason;

namespace {

const std::string kOut = "C:\\out\\";

struct Scan {
    FakeDisk disk;
    vk::MissingFileList missing;

    Scan() { disk.AddFolder("C:\\out"); }
    void Run(const std::string& page = "html\\index.htm", bool topLevel = true) {
        vk::LinkScanner(disk, disk.ansi, disk, missing).Scan(page, kOut, topLevel);
    }
};

struct PageCase {
    const char* name;
    std::string page;
    std::vector<std::string> present; // files beside the page
    std::set<std::string> copied;     // what ends up in the output folder
    std::vector<vk::MissingFile> missing;
};

TEST(ScannerScan, LinksOfOnePage) {
    const PageCase cases[] = {
        {"the same file in two letter cases is copied once",
         "<img src=logo.gif>\n<img SRC='Logo.GIF'>\n",
         {"logo.gif"},
         {"logo.gif"},
         {}},
        {"web, mail and script links are skipped",
         "<a href=\"http://example.com/a.htm\"><a href=mailto:me@example.com>"
         "<a href=\"javascript:go()\"><img src=\"https://example.com/p.gif\">",
         {},
         {},
         {}},
        {"root and system placeholders are skipped, windows is not",
         "<a href=\"{root}\\setup.exe\"><a href=\"{system}\\x.dll\"><a href=\"{windows}\\notepad.exe\">",
         {},
         {},
         {{"html\\{windows}\\notepad.exe", MissingReason::Absent}}},
        {"values without a file name are skipped",
         "<a href=\"#top\">Top</a><a href=readme.>r</a><a href=\"\">e</a>",
         {"readme."},
         {},
         {}},
        {"the run action copies the program it runs",
         "<a href=\"ACTION_RUN=install.exe\">Install</a><a href='ACTION_RUN=setup.exe /q'>",
         {"install.exe"},
         {"install.exe"},
         {{"html\\setup.exe", MissingReason::Absent}}},
        {"a picture named in a style is copied",
         "<body style=\"background:url(back.jpg)\">",
         {"back.jpg"},
         {"back.jpg"},
         {}},
        {"a value with a folder goes into that folder", "<img src=\"images/pic.gif\">", {"images\\pic.gif"}, {}, {}},
        {"anchors and text are not files",
         "<a href=\"#pkg.module.Class\">pkg.module.Class</a><p>logo.gif</p><a href=\"#a.b\">",
         {"logo.gif"},
         {},
         {}},
        {"missing files are listed in first-found order without duplicates",
         "<img src=b.gif><img src=a.gif>\n<img src=b.gif><img src=c.gif><img src=a.gif>",
         {},
         {},
         {{"html\\b.gif", MissingReason::Absent},
          {"html\\a.gif", MissingReason::Absent},
          {"html\\c.gif", MissingReason::Absent}}},
        {"CR LF line ends are not part of a value",
         "<img src=a.gif\r\n<img src=b.gif\r\n",
         {"a.gif", "b.gif"},
         {"a.gif", "b.gif"},
         {}},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scan scan;
        scan.disk.Put("html\\index.htm", c.page);
        for (const std::string& name : c.present)
            scan.disk.Put("html\\" + name);
        scan.Run();
        EXPECT_EQ(c.copied, scan.disk.FilesIn("C:\\out"));
        EXPECT_EQ(c.missing, scan.missing.Items());
        if (c.missing.empty())
            EXPECT_TRUE(scan.disk.shownMissing.empty());
        else
            EXPECT_EQ(std::vector<std::vector<vk::MissingFile>>{c.missing}, scan.disk.shownMissing);
        EXPECT_EQ(std::vector<std::string>{"html\\index.htm"}, scan.disk.pagesRead);
    }
}

TEST(ScannerScan, NothingIsWrittenOutsideTheOutputFolder) {
    Scan scan;
    scan.disk.Put("html\\index.htm",
                  "<a href=\"../other.htm\"><img src='..\\up.gif'><img src=\"//host/share.gif\">"
                  "<img src=\"C:\\x\\drive.gif\"><img src=\"sub/../../deep.gif\"><a href=\"..\\..\\b.htm\">");
    for (const char* file : {"other.htm", "up.gif", "html\\sub\\x", "C:\\x\\drive.gif", "deep.gif", "C:\\b.htm"})
        scan.disk.Put(file);
    const std::set<std::string> before = scan.disk.AllFiles();

    scan.Run();

    EXPECT_EQ(before, scan.disk.AllFiles());
    EXPECT_TRUE(scan.disk.copiedTo.empty());
    const MissingReason outside = MissingReason::Outside;
    EXPECT_EQ((std::vector<vk::MissingFile>{{"other.htm", outside},
                                            {"up.gif", outside},
                                            {"\\\\host\\share.gif", outside},
                                            {"C:\\x\\drive.gif", outside},
                                            {"deep.gif", outside},
                                            {"..\\b.htm", outside}}),
              scan.missing.Items());
    // A climbing page is never read.
    EXPECT_EQ(std::vector<std::string>{"html\\index.htm"}, scan.disk.pagesRead);
}

TEST(ScannerScan, LinksFromTheRootAndStepsThatStayInsideAreCopied) {
    Scan scan;
    scan.disk.Put("html\\index.htm", "<img src=\"/abs.gif\"><img src='img\\..\\in.gif'><a href=\"/more.htm\">");
    scan.disk.Put("html\\more.htm", "<img src=\"\\deep.gif\"><a href=\"./more.htm\">");
    for (const char* file : {"html\\abs.gif", "html\\in.gif", "html\\deep.gif"})
        scan.disk.Put(file);

    scan.Run();

    EXPECT_EQ((std::set<std::string>{"abs.gif", "in.gif", "more.htm", "deep.gif"}), scan.disk.FilesIn("C:\\out"));
    EXPECT_TRUE(scan.missing.Empty());
    EXPECT_EQ((std::vector<std::string>{"html\\index.htm", "html\\more.htm"}), scan.disk.pagesRead);
}

TEST(ScannerScan, LinkedPagesAreCopiedAndScannedOnce) {
    Scan scan;
    // The output folder already holds the target, as the builder copies it first.
    scan.disk.Put("C:\\out\\index.htm", "copied");
    scan.disk.Put("html\\index.htm", "<a href=index.htm>me</a><a href=a.htm>a</a><img src=top.gif>");
    scan.disk.Put("html\\a.htm", "<a href='b.htm'><a href='a.htm'><img src=a.gif>");
    scan.disk.Put("html\\b.htm", "<a href=\"a.htm\"><a href=\"index.htm\"><img src=b.gif>");
    for (const char* file : {"html\\a.gif", "html\\b.gif", "html\\top.gif"})
        scan.disk.Put(file);

    scan.Run();

    // Depth first: a linked page is read as soon as its link is met.
    EXPECT_EQ((std::vector<std::string>{"html\\index.htm", "html\\a.htm", "html\\b.htm"}), scan.disk.pagesRead);
    EXPECT_EQ((std::vector<std::string>{"C:\\out\\a.htm", "C:\\out\\b.htm", "C:\\out\\b.gif", "C:\\out\\a.gif",
                                        "C:\\out\\top.gif"}),
              scan.disk.copiedTo);
    EXPECT_TRUE(scan.missing.Empty());
}

TEST(ScannerScan, EveryScanEndsEvenWhenPageCopiesFail) {
    Scan scan;
    // A file where the page's folder would go: the page cannot be copied, so the output
    // folder never shows it as done, and it names itself in two spellings.
    scan.disk.Put("C:\\out\\sub", "file");
    scan.disk.Put("html\\index.htm", "<a href=\"sub/self.htm\">");
    scan.disk.Put("html\\sub\\self.htm", "<a href=\"self.htm\"><a href=\"../SUB/SELF.HTM\"><a href=missing.htm>");

    scan.Run();

    EXPECT_EQ((std::vector<std::string>{"html\\index.htm", "html\\sub\\self.htm"}), scan.disk.pagesRead);
    EXPECT_EQ((std::vector<vk::MissingFile>{{"html\\sub\\self.htm", MissingReason::CopyFailed},
                                            {"html\\sub\\missing.htm", MissingReason::Absent}}),
              scan.missing.Items());
}

TEST(ScannerScan, ValuesAreNeverCutByLongLines) {
    Scan scan;
    std::string line(1200, 'x');
    line += " <img src=far.gif>";
    std::string cut(992, 'y');
    cut += " <img src=cut.gif>"; // a reader of 999-byte pieces would end one inside the value
    scan.disk.Put("html\\index.htm", line + "\n" + cut + "\n");
    scan.disk.Put("html\\far.gif");
    scan.disk.Put("html\\cut.gif");
    scan.disk.Put("html\\t.gif");

    scan.Run();

    EXPECT_EQ((std::set<std::string>{"far.gif", "cut.gif"}), scan.disk.FilesIn("C:\\out"));
    EXPECT_EQ(std::vector<std::string>{"html\\index.htm"}, scan.disk.pagesRead);
}

TEST(ScannerScan, HugeAndBinaryPagesEndNormally) {
    Scan scan;
    std::string huge;
    for (int i = 0; i < 100000; ++i)
        huge += "<p>line " + std::to_string(i) + "</p>\n";
    huge += "<img src=end.gif>"; // no newline after the last line
    std::string binary;
    unsigned seed = 12345;
    for (int i = 0; i < 300000; ++i) {
        seed = seed * 1103515245u + 12345u;
        binary += static_cast<char>(seed >> 16);
    }
    scan.disk.Put("html\\index.htm", "<a href=huge.htm><a href=blob.htm>");
    scan.disk.Put("html\\huge.htm", huge);
    scan.disk.Put("html\\blob.htm", binary);
    scan.disk.Put("html\\end.gif");

    scan.Run();

    EXPECT_TRUE(scan.disk.Has("C:\\out\\end.gif"));
    EXPECT_EQ((std::vector<std::string>{"html\\index.htm", "html\\huge.htm", "html\\blob.htm"}), scan.disk.pagesRead);
}

TEST(ScannerScan, ALongChainOfPagesDoesNotNestCalls) {
    Scan scan;
    const int kPages = 5000;
    for (int i = 0; i < kPages; ++i)
        scan.disk.Put("html\\p" + std::to_string(i) + ".htm", "<a href=p" + std::to_string(i + 1) + ".htm>");
    scan.Run("html\\p0.htm");
    EXPECT_EQ(static_cast<size_t>(kPages), scan.disk.pagesRead.size());
    EXPECT_EQ((std::vector<vk::MissingFile>{{"html\\p5000.htm", MissingReason::Absent}}), scan.missing.Items());
}

TEST(ScannerScan, TopLevelPageStates) {
    {
        SCOPED_TRACE("a page that cannot be read is empty, and starts a fresh list");
        Scan scan;
        scan.missing.Add("old", MissingReason::Absent);
        scan.disk.Put("html\\index.htm", "<img src=a.gif>");
        scan.disk.Unreadable("html\\index.htm");
        scan.Run();
        EXPECT_EQ(std::vector<std::string>{"html\\index.htm"}, scan.disk.pagesRead);
        EXPECT_TRUE(scan.missing.Empty());
        EXPECT_TRUE(scan.disk.shownMissing.empty());
    }
    {
        SCOPED_TRACE("a page that does not exist is ignored");
        Scan scan;
        scan.missing.Add("old", MissingReason::Absent);
        scan.Run();
        EXPECT_TRUE(scan.disk.pagesRead.empty());
        EXPECT_EQ((std::vector<vk::MissingFile>{{"old", MissingReason::Absent}}), scan.missing.Items());
        EXPECT_TRUE(scan.disk.shownMissing.empty());
    }
    {
        SCOPED_TRACE("a page path that climbs with a forward slash is listed and not read");
        Scan scan;
        scan.disk.Put("other.htm", "<img src=a.gif>");
        scan.Run("html/../other.htm");
        EXPECT_TRUE(scan.disk.pagesRead.empty());
        EXPECT_EQ((std::vector<vk::MissingFile>{{"html/../other.htm", MissingReason::Outside}}), scan.missing.Items());
    }
    {
        SCOPED_TRACE("a nested scan neither clears nor shows the list");
        Scan scan;
        scan.missing.Add("old", MissingReason::Absent);
        scan.disk.Put("html\\index.htm", "<img src=a.gif>");
        scan.Run("html\\index.htm", false);
        const std::vector<vk::MissingFile> expected = {{"old", MissingReason::Absent},
                                                       {"html\\a.gif", MissingReason::Absent}};
        EXPECT_EQ(expected, scan.missing.Items());
        EXPECT_TRUE(scan.disk.shownMissing.empty());
    }
    {
        SCOPED_TRACE("a new top-level scan starts with an empty list");
        Scan scan;
        scan.disk.Put("html\\index.htm", "<img src=a.gif>");
        scan.Run();
        scan.disk.Put("html\\a.gif");
        scan.Run();
        EXPECT_TRUE(scan.missing.Empty());
        EXPECT_EQ(1u, scan.disk.shownMissing.size());
    }
}

} // namespace
