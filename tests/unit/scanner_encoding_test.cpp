// Scans of pages in any encoding and with escaped names: files are looked up, copied and
// listed under the UTF-8 names the links decode to, and never outside the output folder.
#include <gtest/gtest.h>

#include "disc/scanner.h"
#include "scanner_fake_disk.h"

using vk::MissingReason;

namespace {

const std::string kOut = "C:\\out\\";
const std::string kConsole = "console_\xC3\xA9.png";                               // console_é.png
const std::string kGreek = "\xCE\xB5\xCE\xB9\xCE\xBA\xCF\x8C\xCE\xBD\xCE\xB1.gif"; // εικόνα.gif
const std::string kJapanese = "\xE7\x94\xBB\xE5\x83\x8F.jpg";                      // 画像.jpg
const std::string kJapanesePage = "\xE6\x97\xA5\xE6\x9C\xAC.htm";                  // 日本.htm

std::string Utf16Le(const std::u16string& text) {
    std::string out = "\xFF\xFE";
    for (char16_t u : text) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

struct EncodingCase {
    const char* name;
    std::string page;
    std::vector<std::string> present; // files beside the page, UTF-8 names
    std::set<std::string> copied;
    std::vector<vk::MissingFile> missing;
};

TEST(ScannerEncoding, LinksAreFoundByTheNamesTheyDecodeTo) {
    const EncodingCase cases[] = {
        {"UTF-8 page", "<img src=\"" + kConsole + "\">", {kConsole}, {kConsole}, {}},
        {"UTF-8 page with a mark", "\xEF\xBB\xBF<img src=\"" + kConsole + "\">", {kConsole}, {kConsole}, {}},
        {"Windows-1252 page without a declaration", "<img src=\"console_\xE9.png\">", {kConsole}, {kConsole}, {}},
        {"declared ISO-8859-1 page",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"><img src=console_\xE9.png>",
         {kConsole},
         {kConsole},
         {}},
        {"a UTF-8 page with one Latin-1 byte is read as ANSI",
         "<img src=\"console_\xE9.png\"><p>caf\xC3\xA9</p>",
         {kConsole},
         {kConsole},
         {}},
        {"percent-escaped UTF-8", "<img src=\"console_%C3%A9.png\">", {kConsole}, {kConsole}, {}},
        {"escaped blank", "<a href=\"my%20page.htm\">", {"my page.htm"}, {"my page.htm"}, {}},
        {"Greek and Japanese in UTF-8",
         "<img src=\"" + kGreek + "\"><p>" + kJapanese + "</p><a href=\"" + kJapanesePage + "\">",
         {kGreek, kJapanese, kJapanesePage},
         {kGreek, kJapanesePage},
         {}},
        {"UTF-16 page",
         Utf16Le(u"<img src=\"\u03b5\u03b9\u03ba\u03cc\u03bd\u03b1.gif\">\r\n<img src=\"\u753b\u50cf.jpg\">"),
         {kGreek, kJapanese},
         {kGreek, kJapanese},
         {}},
        {"a missing UTF-8 name is listed in UTF-8",
         "<img src=\"%E7%94%BB%E5%83%8F.jpg\">",
         {},
         {},
         {{"html\\" + kJapanese, MissingReason::Absent}}},
        {"escapes that are not UTF-8 are looked up as written",
         "<img src=\"caf%E9.gif\">",
         {"caf%E9.gif"},
         {"caf%E9.gif"},
         {}},
        {"an escaped NUL is listed as written, never cut short",
         "<img src=\"x.gif%00.txt\">",
         {"x.gif"},
         {},
         {{"html\\x.gif%00.txt", MissingReason::BadName}}},
        {"an escaped control character in a web address is still skipped",
         "<a href=\"http://example.com/%0A.htm\">",
         {},
         {},
         {}},
        {"an escaped dot with a following name stays inside",
         "<img src=\"sub%2F%2E%2E%2Fin.gif\">",
         {"in.gif"},
         {"in.gif"},
         {}},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDisk disk;
        disk.AddFolder("C:\\out");
        disk.Put("html\\index.htm", c.page);
        for (const std::string& name : c.present)
            disk.Put("html\\" + name);
        vk::MissingFileList missing;
        vk::LinkScanner(disk, disk.ansi, disk, missing).Scan("html\\index.htm", kOut, true);
        EXPECT_EQ(c.copied, disk.FilesIn("C:\\out"));
        EXPECT_EQ(c.missing, missing.Items());
    }
}

TEST(ScannerEncoding, EscapedStepsNeverLeaveTheOutputFolder) {
    FakeDisk disk;
    disk.AddFolder("C:\\out");
    disk.Put("html\\index.htm",
             "<img src=\"%2E%2E%2Fup.gif\"><img src='%2e%2e%5cup.gif'><img src=\"%2F%2Fhost%2Fx.gif\">"
             "<img src=\"%5C%5Chost%5Cx.gif\"><img src=\"C%3A%5Cx%5Cdrive.gif\"><a href=\"%2E%2E/%2E%2E/b.htm\">"
             "<img src=\"a%2F%2E%2E%2F%2E%2E%2Fdeep.gif\"><img src=\"%2E%2E%2E/up.gif\">");
    for (const char* file : {"up.gif", "C:\\host\\x.gif", "C:\\x\\drive.gif", "C:\\b.htm", "deep.gif"})
        disk.Put(file);
    const std::set<std::string> before = disk.AllFiles();

    vk::MissingFileList missing;
    vk::LinkScanner(disk, disk.ansi, disk, missing).Scan("html\\index.htm", kOut, true);

    EXPECT_EQ(before, disk.AllFiles());
    // "..." is a "." step that Windows trims away: its copy is tried from the page's own folder.
    EXPECT_EQ(std::vector<std::string>{"C:\\out\\up.gif"}, disk.copiedTo);
    // Listed once per file, in one spelling.
    const MissingReason outside = MissingReason::Outside;
    EXPECT_EQ((std::vector<vk::MissingFile>{{"up.gif", outside},
                                            {"\\\\host\\x.gif", outside},
                                            {"C:\\x\\drive.gif", outside},
                                            {"..\\b.htm", outside},
                                            {"deep.gif", outside},
                                            {"html\\up.gif", MissingReason::Absent}}),
              missing.Items());
    EXPECT_EQ(std::vector<std::string>{"html\\index.htm"}, disk.pagesRead);
}

TEST(ScannerEncoding, LongUtf8LinesNeverCutAValue) {
    // A reader of 999-byte pieces would end one inside the "\xC3\xA9" of the value.
    std::string line(992, 'x');
    line += " <img src=a\xC3\xA9.gif>";
    FakeDisk disk;
    disk.AddFolder("C:\\out");
    disk.Put("html\\index.htm", line);
    disk.Put("html\\a\xC3\xA9.gif");
    disk.Put("html\\\xC3\xA9.gif");
    vk::MissingFileList missing;
    vk::LinkScanner(disk, disk.ansi, disk, missing).Scan("html\\index.htm", kOut, true);
    EXPECT_EQ(std::set<std::string>{"a\xC3\xA9.gif"}, disk.FilesIn("C:\\out"));
    EXPECT_TRUE(missing.Empty());
}

} // namespace
