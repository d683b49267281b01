// Which values of a page name linked files, and where each of them lies in the site.
#include <gtest/gtest.h>

#include "disc/scanner.h"
#include "missing_print.h"

using vk::LinkKind;
using vk::MissingReason;

namespace {

struct ValuesCase {
    std::string text;
    std::vector<std::string> values;
};

std::vector<std::string> Strings(const vk::LinkValues& values) {
    std::vector<std::string> strings;
    for (size_t k = 0; k < values.size(); ++k)
        strings.emplace_back(values[k]);
    return strings;
}

std::vector<std::string> HtmlValues(const std::string& text) {
    vk::LinkValues values;
    vk::DocumentLinkValues(text, vk::DocKind::Html, values);
    return Strings(values);
}

TEST(ScannerRules, LinkValuesOfAPage) {
    const ValuesCase cases[] = {
        {"<img src='pics.gif' border=0><a href='next.htm#top'>Next page</a>", {"pics.gif", "next.htm#top"}},
        {"<IMG SRC=\"A.GIF\"><A HrEf = \"b.html\">", {"A.GIF", "b.html"}},
        // Values are whole whatever they hold, across lines and however long.
        {"<img src=\"my pic, final.gif\"><a\nhref=\"x.htm?a=1\"\n>", {"my pic, final.gif", "x.htm?a=1"}},
        {"<img src=\"" + std::string(5000, 'a') + ".gif\">", {std::string(5000, 'a') + ".gif"}},
        {"<body background=back.jpg><table background='t.png'><video poster=p.jpg src=m.mp4>",
         {"back.jpg", "t.png", "p.jpg", "m.mp4"}},
        {"<map><area shape=rect href=\"part.htm\"></map><link rel=stylesheet href=\"css/site.css\">"
         "<script src=\"js/a.js\"></script><iframe src=f.htm>",
         {"part.htm", "css/site.css", "js/a.js", "f.htm"}},
        // Character references are decoded.
        {"<a href=\"a&amp;b.htm\"><img src=\"x&#47;y&#x2E;gif\"><a href=\"q.htm?a=1&copy=2\">",
         {"a&b.htm", "x/y.gif", "q.htm?a=1&copy=2"}},
        // Styles: attributes, blocks, imports; strings and comments in them are no links.
        {"<p style=\"background:url(back.jpg)\"><div style='background: URL( \"a b.png\" )'>", {"back.jpg", "a b.png"}},
        {"<style>@import \"base.css\"; @import url(more.css); /* url(no.gif) */ "
         "p{content:\"url(no2.gif)\";background:url('bg.gif')} <a href=no.htm></style><img src=yes.gif>",
         {"base.css", "more.css", "bg.gif", "yes.gif"}},
        // Text, comments, and the contents of scripts and text areas are not tags.
        {"<p>see photo.JPG and src=x.gif or &lt;img src=y.gif&gt;</p>", {}},
        {"<!-- <img src=c.gif> --><!--><img src=d.gif><!---->", {"d.gif"}},
        {"<script>document.write('<img src=w.gif>'); var s = \"<a href=s.htm>\";</script><img src=after.gif>",
         {"after.gif"}},
        {"<textarea><img src=t.gif></textarea><pre>&lt;a href=\"code.htm\"&gt;</pre>", {}},
        {"<script>if (a<b) x();</SCRIPT ><img src=z.gif>", {"z.gif"}},
        {"a < b <= c <3 </p> <!doctype html><?xml x?><img src=ok.gif>", {"ok.gif"}},
        // Rollover pictures named in event handlers and scripts.
        {"<img src=a.gif onmouseover=\"this.src='over.gif'\" onmouseout='this.src=\"a.gif\"'>",
         {"a.gif", "over.gif", "a.gif"}},
        {"<script>var p = new Image(); p.src = \"pre.jpg\"; var t = 'not a file.gif';</script>", {"pre.jpg"}},
        // Page actions keep their argument; a base address is not a file.
        {"<a href=\"ACTION_RUN=setup.exe /q\"><base href=\"x/\">", {"ACTION_RUN=setup.exe /q"}},
        {"<img src=", {}},
        {"<img src=\"unterminated.gif", {"unterminated.gif"}},
        {"", {}},
    };
    for (const ValuesCase& c : cases)
        EXPECT_EQ(c.values, HtmlValues(c.text)) << c.text;
}

TEST(ScannerRules, LinkValuesOfAStylesheet) {
    vk::LinkValues values;
    vk::DocumentLinkValues("@charset \"utf-8\";\n@IMPORT 'a.css' screen;\n.x{background:url(../img/x.png) no-repeat}"
                           "\n/* @import 'no.css' */ .y{background-image:url(  \"sp ace.gif\"  )}\n.z{b:myurl(n.gif)}"
                           ".w{background:url(",
                           vk::DocKind::Css, values);
    EXPECT_EQ((std::vector<std::string>{"a.css", "../img/x.png", "sp ace.gif", ""}), Strings(values));
}

TEST(ScannerRules, CharacterReferences) {
    const std::pair<const char*, const char*> cases[] = {
        {"a&amp;b", "a&b"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&#47;&#x2f;&#X2F;", "///"},
        {"&#233;t&#xE9;", "\xC3\xA9t\xC3\xA9"},
        {"&#0;&#xD800;&#99999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"&amp", "&"},
        {"?a=1&ampx=2", "?a=1&ampx=2"},
        {"&unknown;", "&unknown;"},
        {"&#;&#x;", "&#;&#x;"},
        {"&", "&"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(out, vk::DecodeCharRefs(in)) << in;
}

TEST(ScannerRules, WhereAValueLies) {
    const struct {
        const char* folder; // the page's folder inside the site
        const char* value;
        LinkKind kind;
        const char* path; // inside the site, or what the missing list shows
    } cases[] = {
        {"", "logo.gif", LinkKind::File, "logo.gif"},
        {"", "images/logo.gif", LinkKind::File, "images\\logo.gif"},
        {"", "css\\site.css", LinkKind::File, "css\\site.css"},
        {"", "a..b.gif", LinkKind::File, "a..b.gif"},
        {"", ".profile", LinkKind::File, ".profile"},
        {"", "{windows}\\notepad.exe", LinkKind::File, "{windows}\\notepad.exe"},
        // Pages in folders resolve against their own folder; ".." that stays in the site resolves.
        {"doc\\api\\", "x.gif", LinkKind::File, "doc\\api\\x.gif"},
        {"doc\\api\\", "../_static/x.css", LinkKind::File, "doc\\_static\\x.css"},
        {"doc\\", "..\\..\\x.gif", LinkKind::Outside, "C:\\x.gif"},
        // Out of the site's folder and back in by its name is inside.
        {"", "../site/x.gif", LinkKind::File, "x.gif"},
        {"doc\\", "../../SITE/doc/x.gif", LinkKind::File, "doc\\x.gif"},
        {"", "../other/x.gif", LinkKind::Outside, "C:\\other\\x.gif"},
        {"", "../../../../x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"doc\\", "/x.gif", LinkKind::File, "x.gif"},
        {"", "./mod/x.htm", LinkKind::File, "mod\\x.htm"},
        {"", "mod//./x.htm", LinkKind::File, "mod\\x.htm"},
        {"", "\\img\\..\\x.gif", LinkKind::File, "x.gif"},
        // Query and fragment are not part of the name; escapes are decoded after they are cut.
        {"", "page.htm#sec.2", LinkKind::File, "page.htm"},
        {"", "page.htm?x=a.b#c", LinkKind::File, "page.htm"},
        {"", "my%20pic.gif", LinkKind::File, "my pic.gif"},
        {"", "a%23b.gif", LinkKind::File, "a#b.gif"},
        {"", "caf%C3%A9.htm", LinkKind::File, "caf\xC3\xA9.htm"},
        {"", "  sp.gif\n", LinkKind::File, "sp.gif"},
        // Only schemes at the start are addresses.
        {"", "http.html", LinkKind::File, "http.html"},
        {"", "mod_proxy_http.html", LinkKind::File, "mod_proxy_http.html"},
        {"", "javascript/app.js", LinkKind::File, "javascript\\app.js"},
        {"", "mailto.htm", LinkKind::File, "mailto.htm"},
        {"", "http://example.com/a.gif", LinkKind::Skip, ""},
        {"", "HTTPS://EXAMPLE.COM/", LinkKind::Skip, ""},
        {"", "ftp://host/x.zip", LinkKind::Skip, ""},
        {"", "mailto:me@example.com", LinkKind::Skip, ""},
        {"", "javascript:show(1.5)", LinkKind::Skip, ""},
        {"", "data:image/gif;base64,R0lG", LinkKind::Skip, ""},
        {"", "{root}\\setup.exe", LinkKind::Skip, ""},
        {"", "{SYSTEM}\\x.dll", LinkKind::Skip, ""},
        {"", "{Desktop}\\a.jpg", LinkKind::Skip, ""},
        {"", "{programfiles}\\b.exe", LinkKind::Skip, ""},
        // Anchors, folders and names without a file name are not files.
        {"", "#pkg.module.Class", LinkKind::Skip, ""},
        {"", "?x=1.2", LinkKind::Skip, ""},
        {"", "", LinkKind::Skip, ""},
        {"", "top", LinkKind::Skip, ""},
        {"", "readme.", LinkKind::Skip, ""},
        {"", "docs.d/", LinkKind::Skip, ""},
        {"", "a.d/..", LinkKind::Skip, ""},
        // file: URLs inside the site are followed; others are outside.
        {"", "file:///C:/site/img/a%20b.gif", LinkKind::File, "img\\a b.gif"},
        {"", "file://localhost/c:/SITE/x.htm#t", LinkKind::File, "x.htm"},
        {"", "file:///C:/x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "file:///C:/site/../x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "file://server/share/x.gif", LinkKind::Outside, "\\\\server\\share\\x.gif"},
        // Whatever leaves the site, or names a drive, a stream, another volume or a device.
        {"", "../other.htm", LinkKind::Outside, "C:\\other.htm"},
        {"", "..\\..\\x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "%2e%2e/x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "%2E%2E%5Cx.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "/../x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "\\\\server\\share\\x.gif", LinkKind::Outside, "\\\\server\\share\\x.gif"},
        {"", "//cdn.example/x.gif", LinkKind::Outside, "\\\\cdn.example\\x.gif"},
        {"", "C:\\x.gif", LinkKind::Outside, "C:\\x.gif"},
        {"", "c:x.gif", LinkKind::Outside, "c:x.gif"},
        {"", "a.txt%3Astream.gif", LinkKind::Outside, "a.txt:stream.gif"},
        {"", "/C:/x.gif", LinkKind::Outside, "\\C:\\x.gif"},
        {"", "x|y/../../a.gif", LinkKind::Outside, "C:\\a.gif"},
        // Names no disc holds: a device, a control, a character Windows refuses.
        {"", "con.gif", LinkKind::BadName, "C:\\site\\con.gif"},
        {"", "aux.%20/x.gif", LinkKind::BadName, "C:\\site\\aux\\x.gif"},
        {"", "x%00.gif", LinkKind::BadName, "C:\\site\\x%00.gif"},
        {"", "a%7Cb.gif", LinkKind::BadName, "C:\\site\\a|b.gif"},
        {"", "sub/a:b.gif", LinkKind::BadName, "C:\\site\\sub\\a:b.gif"},
        // ".." is applied before the steps left are judged: a step it takes away is no fault.
        {"", "x|y/../a.gif", LinkKind::File, "a.gif"},
        {"", "x%7Cy/../a.gif", LinkKind::File, "a.gif"},
        {"", "con/../sub/a:b/../a.gif", LinkKind::File, "sub\\a.gif"},
        // Windows trims each step's trailing dots and blanks; a step of nothing else is ".",
        // which leaves the value naming what it follows. ".." alone climbs.
        {"", "a.gif/.%20", LinkKind::File, "a.gif"},
        {"", "a.gif/. ./...", LinkKind::File, "a.gif"},
        {"", "a.gif.%20", LinkKind::File, "a.gif"},
        {"", "a.%20/x.gif", LinkKind::File, "a\\x.gif"},
        {"doc\\", ".../x.gif", LinkKind::File, "doc\\x.gif"},
        {"doc\\", "img/. ./x.gif", LinkKind::File, "doc\\img\\x.gif"},
        {"doc\\", "..%20/x.gif", LinkKind::File, "doc\\x.gif"},
        {"doc\\", "../x.gif", LinkKind::File, "x.gif"},
        {"", "a.gif/.", LinkKind::Skip, ""},
        {"", "img/...", LinkKind::Skip, ""},
    };
    for (const auto& c : cases) {
        const vk::ResolvedLink link = vk::ResolveLink("C:\\site\\", c.folder, c.value);
        EXPECT_EQ(c.kind, link.kind) << c.folder << c.value;
        EXPECT_EQ(c.path, link.path) << c.folder << c.value;
    }
}

TEST(ScannerRules, VeryLongValuesAreListedCut) {
    const std::string value = std::string(vk::kMaxLinkPath + 40, 'a') + ".gif";
    const vk::ResolvedLink link = vk::ResolveLink("C:\\site\\", "", value);
    EXPECT_EQ(LinkKind::BadName, link.kind);
    EXPECT_EQ("C:\\site\\" + std::string(vk::kMaxListedPath - 8, 'a') + "...", link.path);
}

TEST(ScannerRules, PageFolderIsCutAtTheLastBackslashOnly) {
    EXPECT_EQ("html\\", vk::PageFolder("html\\index.htm"));
    EXPECT_EQ("C:\\a\\", vk::PageFolder("C:\\a\\b/c.htm"));
    EXPECT_EQ("\\", vk::PageFolder("html/sub/index.htm"));
    EXPECT_EQ("\\", vk::PageFolder("index.htm"));
}

// Steps as ResolveLink reads them: ".", and steps Windows trims to nothing, stay.
TEST(ScannerRules, NamesThatStayInTheFolder) {
    for (const char* name : {"autorun.exe", "my_logo.jpg", "sub\\page.htm", "a..b", "..a", "x..", "sub/../x", "..  \\x",
                             ".../x", ". .\\x", "x|y/../a"})
        EXPECT_FALSE(vk::ClimbsOutOfFolder(name)) << name;
    for (const char* name :
         {"..", "..\\x.htm", "sub/../../x", ".../../x", "x|y/../../a", "\\", "/x", "D:x.htm", "a.txt:stream"})
        EXPECT_TRUE(vk::ClimbsOutOfFolder(name)) << name;
}

TEST(ScannerRules, MissingListKeepsFirstFoundOrderOncePerFile) {
    vk::MissingFileList list;
    list.Add("html\\b.gif", MissingReason::Absent);
    list.Add("html\\a.gif", MissingReason::CopyFailed, "Access is denied.");
    list.Add("html\\b.gif", MissingReason::Absent);
    // Windows names one file in any letter case: the first entry stays, with its reason.
    list.Add("html\\B.gif", MissingReason::CaseTwin);
    list.Add("html\\a.gif", MissingReason::Absent);
    EXPECT_EQ((std::vector<vk::MissingFile>{{"html\\b.gif", MissingReason::Absent},
                                            {"html\\a.gif", MissingReason::CopyFailed, "Access is denied."}}),
              list.Items());
    EXPECT_EQ("html\\a.gif (copy failed: Access is denied.)", vk::MissingEntryText(list.Items()[1]));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    list.Add("html\\b.gif", MissingReason::Absent);
    EXPECT_EQ(1u, list.Items().size());
}

} // namespace
