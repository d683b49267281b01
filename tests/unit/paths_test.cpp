#include <gtest/gtest.h>

#include "core/paths.h"

TEST(Paths, ResolveAgainst) {
    struct Case {
        const char* folder;
        const char* path;
        const char* resolved;
    } cases[] = {
        {"C:\\Program Files\\Vintrosk", "sounds/default.wav", "C:\\Program Files\\Vintrosk\\sounds\\default.wav"},
        {"C:\\Program Files\\Vintrosk", "html\\1_Demo.html", "C:\\Program Files\\Vintrosk\\html\\1_Demo.html"},
        {"C:\\app", ".\\a\\.\\b.wav", "C:\\app\\a\\b.wav"},
        {"C:\\app", "..\\x.wav", "C:\\x.wav"},
        {"C:\\app", "..\\..\\..\\x.wav", "C:\\x.wav"},
        {"C:\\app", "D:\\media\\x.wav", "D:\\media\\x.wav"},
        {"C:\\app", "d:/media//x.wav", "d:\\media\\x.wav"},
        {"C:\\app", "\\top.wav", "C:\\top.wav"},
        {"C:\\app", "c:rel.wav", "C:\\app\\rel.wav"},
        {"C:\\app", "\\\\server\\share\\..\\..\\x.wav", "\\\\server\\share\\x.wav"},
        {"\\\\server\\share\\app", "\\x.wav", "\\\\server\\share\\x.wav"},
        {"C:\\app", "", "C:\\app"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.resolved, vk::ResolveAgainst(c.folder, c.path)) << c.folder << " + " << c.path;
}

TEST(Paths, SamePathAndInsideFolder) {
    EXPECT_TRUE(vk::SamePath("C:\\Disc\\AutoRun.EXE", "c:/disc/./autorun.exe"));
    EXPECT_FALSE(vk::SamePath("C:\\Disc\\autorun.exe", "C:\\Disc\\autorun.exe2"));

    const std::string out = "C:\\Users\\me\\Desktop\\CD-ROM Distributable Files";
    EXPECT_TRUE(vk::IsInsideFolder(out, out + "\\page.htm"));
    EXPECT_TRUE(vk::IsInsideFolder(out + "\\", "c:\\users\\ME\\desktop\\cd-rom distributable files\\sub\\x.wav"));
    EXPECT_TRUE(vk::IsInsideFolder(out, out + "\\sub\\..\\x.wav"));
    EXPECT_FALSE(vk::IsInsideFolder(out, out));
    EXPECT_FALSE(vk::IsInsideFolder(out, out + " (2)\\page.htm"));
    EXPECT_FALSE(vk::IsInsideFolder(out, out + "\\..\\page.htm"));
    EXPECT_FALSE(vk::IsInsideFolder(out, "C:\\Users\\me\\Desktop\\page.htm"));
}

namespace {

// One unit for each code point: every character as wide as the next.
class CodePoints : public vk::TextWidth {
public:
    int Of(const std::string& text) const override {
        int count = 0;
        for (unsigned char c : text)
            count += (c & 0xC0) != 0x80;
        return count;
    }
};

// Proportional, as a real font: "i", "l", "." and the separators narrow, "W" and "M" wide.
class Proportional : public vk::TextWidth {
public:
    int Of(const std::string& text) const override {
        int width = 0;
        for (unsigned char c : text) {
            if ((c & 0xC0) == 0x80)
                continue;
            width += std::string("il.\\/:").find(static_cast<char>(c)) != std::string::npos ? 2
                     : c == 'W' || c == 'M'                                                 ? 9
                                                                                            : 5;
        }
        return width;
    }
};

} // namespace

TEST(ShortenMiddle, KeepsTheStartAndTheEndAroundDots) {
    const CodePoints each;
    struct Case {
        const char* path;
        int width;
        const char* shown;
    } cases[] = {
        {"C:\\a\\b.txt", 10, "C:\\a\\b.txt"}, // fits exactly: unchanged
        {"C:\\a\\b.txt", 100, "C:\\a\\b.txt"},
        // The file name whole, the rest for the start.
        {"C:\\Program Files\\Vintrosk\\readme.txt", 24, "C:\\Program...\\readme.txt"},
        {"C:\\Program Files\\Vintrosk\\readme.txt", 35, "C:\\Program Files\\Vint...\\readme.txt"},
        // A name that would leave the start less than a third: both ends share the width.
        {"C:\\Docs\\a-very-long-file-name-for-the-installation-guide.txt", 30, "C:\\Docs\\a-very...ion-guide.txt"},
        {"abcdefghijklmnopqrstuvwxyz", 10, "abcd...xyz"},     // no separator at all
        {"\\readme-of-some-length.txt", 12, "\\read....txt"}, // the only separator starts it
        {"\\\\server\\share\\a\\b\\c\\d\\e\\f.htm", 20, "\\\\server\\sh...\\f.htm"},
        {"C:\\Docs\\", 6, "C:...\\"}, // a folder's closing separator is its end
        {"abcdef", 4, "a..."},        // the start takes what is left
        {"abcdef", 3, "..."},         // room for the dots alone
        {"abcdef", 2, "..."},         // not even that: the dots all the same
        {"C:\\\xce\x95\xce\xbb\xce\xad\xce\xbd\xce\xb7\\\xce\xbf\xce\xb4\xce\xb7\xce\xb3\xcf\x8c\xcf\x82.txt", 16,
         "C:\\\xce\x95\xce\xbb\xce\xad\xce\xbd...\xcf\x8c\xcf\x82.txt"}, // Greek letters stay whole
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::ShortenMiddle(c.path, c.width, each), c.shown) << c.path << " in " << c.width;
}

// At every width, in a proportional font: the text fits, begins with the path's start, ends
// with its end, and no character is cut.
TEST(ShortenMiddle, FitsAtEveryWidthWithoutCuttingACharacter) {
    const Proportional font;
    const std::string paths[] = {
        "C:\\Users\\Wilhelmina\\Documents\\Manuals\\MMWW\\install-guide.pdf",
        "D:\\\xce\x95\xce\xbb\xce\xad\xce\xbd\xce\xb7\\\xe6\x97\xa5\xe6\x9c\xac\\file.txt",
        "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
    };
    for (const std::string& path : paths) {
        for (int width = font.Of("..."); width < font.Of(path) + 5; ++width) {
            const std::string shown = vk::ShortenMiddle(path, width, font);
            EXPECT_LE(font.Of(shown), width) << path << " in " << width;
            if (shown == path)
                continue;
            const size_t dots = shown.find("...");
            ASSERT_NE(dots, std::string::npos) << shown;
            const std::string start = shown.substr(0, dots), end = shown.substr(dots + 3);
            EXPECT_EQ(path.compare(0, start.size(), start), 0) << shown;
            EXPECT_EQ(path.compare(path.size() - end.size(), end.size(), end), 0) << shown;
            EXPECT_TRUE(end.empty() || (static_cast<unsigned char>(end[0]) & 0xC0) != 0x80) << shown;
            EXPECT_TRUE(start.empty() || (static_cast<unsigned char>(path[start.size()]) & 0xC0) != 0x80) << shown;
        }
    }
}
