// Which tokens of a page line name linked files, and which of those the scanner copies.
#include <gtest/gtest.h>

#include "designer/scanner.h"

using vk::LinkKind;

namespace {

struct ValuesCase {
    const char* line;
    std::vector<std::string> values;
};

TEST(ScannerRules, LinkValuesOfALine) {
    const ValuesCase cases[] = {
        // An image tag and an anchor: the anchor's "#top" is cut off by the delimiter.
        {"<img src='pics.gif' border=0><a href='next.htm#top'>Next page</a>", {"pics.gif", "next.htm"}},
        {"<IMG SRC=\"A.GIF\"><A HrEf = \"b.html\">", {"A.GIF", "b.html"}},
        // Runs of the nine delimiters count as one; tab, colon, semicolon, slashes and
        // parentheses stay inside a token.
        {"href=?,#'\"<>=  x.htm", {"x.htm"}},
        {"src=a\tb.gif src=c;d.gif src=img/e.gif src=img\\f.gif", {"a\tb.gif", "c;d.gif", "img/e.gif", "img\\f.gif"}},
        {"p{background:url(back.jpg)}", {"p{background:url(back.jpg)}"}},
        // Any token naming a .jpg or .gif, in any letter case, is its own value.
        {"<p>see photo.JPG and anim.Gif, or movie.avi</p>", {"photo.JPG", "anim.Gif"}},
        {"<img srcset=a.jpg>", {"a.jpg"}},
        // The token after SRC or HREF is taken whatever it is, and scanning goes on after it.
        {"src=src src=x.gif", {"src", "x.gif"}},
        {"<a href=page.htm>logo.gif</a>", {"page.htm", "logo.gif"}},
        {"<a href=\"\">text</a>", {"text"}},
        {"<img src=", {""}},
        // The run action names its file in the token after it.
        {"<a href=\"ACTION_RUN=install.exe\">", {"install.exe"}},
        {"<a href='action_run=setup.exe /quiet'>", {"setup.exe"}},
        {"<a href=ACTION_RUN>", {""}},
        {"<a href=\"ACTION_MESSAGEBOX=Hello\">", {"ACTION_MESSAGEBOX"}},
        {"<a href=\"ACTION_COPY=pic.jpg,{desktop}\\pic.jpg\">", {"ACTION_COPY", "pic.jpg", "{desktop}\\pic.jpg"}},
        {"", {}},
        {"no links on this line", {}},
    };
    for (const ValuesCase& c : cases)
        EXPECT_EQ(c.values, vk::LinkValues(c.line)) << c.line;
}

TEST(ScannerRules, WhichValuesAreCopied) {
    const struct {
        const char* folder;
        const char* value;
        LinkKind kind;
        const char* name; // where a copied value goes, behind both folders
    } cases[] = {
        {"html\\", "logo.gif", LinkKind::File, "logo.gif"},
        {"html\\", "images/logo.gif", LinkKind::File, "images/logo.gif"}, // as written; fails without the folder
        {"html\\", "a..b.gif", LinkKind::File, "a..b.gif"},
        {"html\\", "a.b.", LinkKind::File, "a.b."},
        {"html\\", ".profile", LinkKind::File, ".profile"},
        {"html\\", "{windows}\\notepad.exe", LinkKind::File, "{windows}\\notepad.exe"},
        // Links from the site's root, and steps that stay inside the folder.
        {"html\\", "/x.gif", LinkKind::File, "x.gif"},
        {"html\\", "\\x.gif", LinkKind::File, "x.gif"},
        {"html\\", "/img/x.gif", LinkKind::File, "img\\x.gif"},
        {"html\\", "img\\..\\x.gif", LinkKind::File, "x.gif"},
        {"html\\", "img/../x.gif", LinkKind::File, "x.gif"},
        {"html\\", "./a/./b.gif", LinkKind::File, "a\\b.gif"},
        {"html\\", "/a//b.gif", LinkKind::File, "a\\b.gif"},
        // Web, mail and script links, and the placeholders the copy action fills in.
        {"html\\", "http://example.com/a.gif", LinkKind::Skip, ""},
        {"html\\", "HTTPS://EXAMPLE.COM/", LinkKind::Skip, ""},
        {"html\\", "mailto:me@example.com", LinkKind::Skip, ""},
        {"html\\", "javascript:show(1.5)", LinkKind::Skip, ""},
        {"html\\", "{root}\\setup.exe", LinkKind::Skip, ""},
        {"html\\", "{SYSTEM}\\x.dll", LinkKind::Skip, ""},
        {"html\\", "{Desktop}\\a.jpg", LinkKind::Skip, ""},
        {"html\\", "{programfiles}\\b.exe", LinkKind::Skip, ""},
        // No file name: no dot at all, the first dot is the last character, or a folder.
        {"html\\", "top", LinkKind::Skip, ""},
        {"html\\", "readme.", LinkKind::Skip, ""},
        {"html\\", "", LinkKind::Skip, ""},
        {"html\\", "docs.d/", LinkKind::Skip, ""},
        {"html\\", "a.d/..", LinkKind::Skip, ""},
        // The words are looked for in the whole source path, page folder included.
        {"C:\\http_pages\\", "logo.gif", LinkKind::Skip, ""},
        {"C:\\javascript\\", "logo.gif", LinkKind::Skip, ""},
        // Anything that leaves the folder, or names a drive, a stream or another volume.
        {"html\\", "../other.htm", LinkKind::Climbs, ""},
        {"html\\", "..\\other.htm", LinkKind::Climbs, ""},
        {"html\\", "img/../../x.gif", LinkKind::Climbs, ""},
        {"html\\", "/../x.gif", LinkKind::Climbs, ""},
        {"html\\", ".../x.gif", LinkKind::Climbs, ""},
        {"html\\", "img/. ./x.gif", LinkKind::Climbs, ""},
        {"html\\", "\\\\server\\share\\x.gif", LinkKind::Climbs, ""},
        {"html\\", "//cdn.example/x.gif", LinkKind::Climbs, ""},
        {"html\\", "C:\\x.gif", LinkKind::Climbs, ""},
        {"html\\", "c:x.gif", LinkKind::Climbs, ""},
        {"html\\", "background:url(back.jpg)", LinkKind::Climbs, ""},
    };
    for (const auto& c : cases) {
        std::string name;
        EXPECT_EQ(c.kind, vk::ClassifyLink(c.folder, c.value, &name)) << c.folder << c.value;
        if (c.kind == LinkKind::File) {
            EXPECT_EQ(c.name, name) << c.folder << c.value;
        }
    }
}

TEST(ScannerRules, PageFolderIsCutAtTheLastBackslashOnly) {
    EXPECT_EQ("html\\", vk::PageFolder("html\\index.htm"));
    EXPECT_EQ("C:\\a\\", vk::PageFolder("C:\\a\\b/c.htm"));
    EXPECT_EQ("\\", vk::PageFolder("html/sub/index.htm"));
    EXPECT_EQ("\\", vk::PageFolder("index.htm"));
}

TEST(ScannerRules, NamesThatStayInTheFolder) {
    for (const char* name : {"autorun.exe", "my_logo.jpg", "sub\\page.htm", "a..b", "..a", "x.."})
        EXPECT_FALSE(vk::ClimbsOutOfFolder(name)) << name;
    for (const char* name : {"..", "..\\x.htm", "sub/../../x", "..  \\x", "\\", "/x", "D:x.htm", "a.txt:stream"})
        EXPECT_TRUE(vk::ClimbsOutOfFolder(name)) << name;
}

TEST(ScannerRules, MissingListKeepsFirstFoundOrderWithoutDuplicates) {
    vk::MissingFileList list;
    for (const char* path : {"html\\b.gif", "html\\a.gif", "html\\b.gif", "html\\B.gif", "html\\a.gif"})
        list.Add(path);
    EXPECT_EQ((std::vector<std::string>{"html\\b.gif", "html\\a.gif", "html\\B.gif"}), list.Items());
    list.Clear();
    EXPECT_TRUE(list.Empty());
    list.Add("html\\b.gif");
    EXPECT_EQ(1u, list.Items().size());
}

} // namespace
