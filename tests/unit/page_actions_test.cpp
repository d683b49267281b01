#include <gtest/gtest.h>

#include <set>

#include "core/ascii_case.h"
#include "launcher/page_actions.h"

namespace {

using vk::PageAction;

std::string Describe(const std::vector<vk::ActionRequest>& requests) {
    std::string text;
    for (const vk::ActionRequest& r : requests) {
        // "ACTION_MESSAGEBOX" reads "messagebox"
        text += vk::Lower(vk::KindOf(r.action).keyword).substr(7) + (r.hasArgument ? "=" + r.argument : "") + ";";
    }
    return text;
}

TEST(FindPageActions, KeywordsInTheirFixedOrder) {
    struct Case {
        std::string url;
        std::string actions;
    } cases[] = {
        {"C:\\disc\\page2.htm", ""},
        {"file:///C:/disc/ACTION_QUIT", "quit;"},
        {"C:\\disc\\action_quit", "quit;"},
        {"C:\\disc\\action_quit.htm", "quit;"},
        {"C:\\disc\\ACTION_RUN=setup.exe", "run=setup.exe;"},
        {"C:\\disc\\ACTION_RUN=notepad.exe readme.txt", "run=notepad.exe readme.txt;"},
        {"C:\\disc\\ACTION_RUN=notepad.exe%20readme.txt", "run=notepad.exe%20readme.txt;"},
        {"C:\\disc\\ACTION_MESSAGEBOX=Welcome", "messagebox=Welcome;"},
        {"C:\\disc\\ACTION_MESSAGEBOX=a=b", "messagebox=a=b;"},
        {"C:\\disc\\Action_MessageBox=Keep Case", "messagebox=Keep Case;"},
        {"C:\\disc\\ACTION_MESSAGEBOX=Bye ACTION_QUIT", "messagebox=Bye ACTION_QUIT;quit;"},
        {"C:\\disc\\ACTION_QUIT ACTION_MESSAGEBOX=Hi", "messagebox=Hi;quit=Hi;"},
        {"C:\\disc\\ACTION_BROWSE=anything", "browse=anything;"},
        {"C:\\disc\\ACTION_COPY", "copy;"},
        {"C:\\disc\\ACTION_COPY=", "copy=;"},
        {"C:\\disc\\ACTION_COPY={root}\\a.txt,{desktop}\\D\\a.txt", "copy={root}\\a.txt,{desktop}\\D\\a.txt;"},
        // The "=" is searched from the keyword on, so an earlier one does not count.
        {"C:\\x=y\\ACTION_RUN", "run;"},
        {"C:\\PREACTION_RUNNER=x", "run=x;"},
        {"ACTION_RUN=a ACTION_COPY=b", "run=a ACTION_COPY=b;copy=b;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(vk::FindPageActions(c.url)), c.actions) << c.url;
}

TEST(PageActionRules, SmallHelpers) {
    EXPECT_EQ(vk::TrimLeadingSpaces("  a b "), "a b ");
    EXPECT_EQ(vk::TrimLeadingSpaces("\ta"), "\ta");
    EXPECT_EQ(vk::TrimLeadingSpaces("   "), "");
    EXPECT_EQ(vk::FolderOf("C:\\a\\b\\c.txt"), "C:\\a\\b");
    EXPECT_EQ(vk::FolderOf("C:/a/b.txt"), "C:/a");
    EXPECT_EQ(vk::FolderOf("C:\\a/b\\c"), "C:\\a/b");
    EXPECT_EQ(vk::FolderOf("bare.txt"), "bare.txt");
    EXPECT_EQ(vk::SplitRunArgument("setup.exe").file, "setup.exe");
    EXPECT_EQ(vk::SplitRunArgument("setup.exe").parameters, "");
    EXPECT_EQ(vk::SplitRunArgument("notepad.exe readme.txt more").file, "notepad.exe");
    EXPECT_EQ(vk::SplitRunArgument("notepad.exe readme.txt more").parameters, "readme.txt more");
    EXPECT_EQ(vk::DriveRootOf("D:\\setup\\autorun.exe"), "D:\\");
    EXPECT_EQ(vk::CopyCaption(""), "CD-ROM Application");
    EXPECT_EQ(vk::CopyCaption("Demo"), "Demo");
    EXPECT_FALSE(vk::ActionTextTooLong(std::string(9999, 'a')));
    EXPECT_TRUE(vk::ActionTextTooLong(std::string(10000, 'a')));
}

// One unit for each character, whatever the character.
class CharCount : public vk::TextWidth {
public:
    int Of(const std::string& text) const override { return static_cast<int>(text.size()); }
};

class RecordingCopies : public vk::CopyEffects {
public:
    std::set<std::string> failing;
    std::string log;
    // Wide enough for any text: the window's text as it stands.
    void ShowProgress(const std::string& source, const std::string& destination) override {
        log += "show[" + vk::CopyProgressText(source, destination, 1 << 30, CharCount()) + "]";
    }
    void CreateFolder(const std::string& folder) override { log += "mkdir[" + folder + "]"; }
    bool CopyFile(const std::string& from, const std::string& to) override {
        log += "copy[" + from + ">" + to + "]";
        return !failing.count(from);
    }
    void ReportFailure(const std::string& message) override { log += "error[" + message + "]"; }
};

TEST(RunCopyList, PairsInOrder) {
    struct Case {
        std::string list;
        bool allCopied;
        std::string log;
    } cases[] = {
        {"C:\\a.txt,C:\\D\\a.txt", true,
         "show[C:\\a.txt ->\n]show[C:\\a.txt ->\nC:\\D\\a.txt]mkdir[C:\\D]copy[C:\\a.txt>C:\\D\\a.txt]"},
        {"a\\1, b\\2 ", true, "show[a\\1 ->\n]show[a\\1 ->\n b\\2 ]mkdir[b]copy[a\\1>b\\2 ]"},
        {"", true, ""},
        {",,,", true, ""},
        {"a\\1,,b\\2", true, "show[a\\1 ->\n]show[a\\1 ->\nb\\2]mkdir[b]copy[a\\1>b\\2]"},
        {"a\\1,b\\2,odd", true, "show[a\\1 ->\n]show[a\\1 ->\nb\\2]mkdir[b]copy[a\\1>b\\2]show[odd ->\n]"},
        {"bad,x\\y", false,
         "show[bad ->\n]show[bad ->\nx\\y]mkdir[x]copy[bad>x\\y]error[Error copying file bad to x\\y]"},
        {"a\\1,bare.txt", true, "show[a\\1 ->\n]show[a\\1 ->\nbare.txt]copy[a\\1>bare.txt]"},
    };
    for (const Case& c : cases) {
        RecordingCopies effects;
        effects.failing.insert("bad");
        EXPECT_EQ(vk::RunCopyList(c.list, effects), c.allCopied) << c.list;
        EXPECT_EQ(effects.log, c.log) << c.list;
    }
}

// Each line fits the text area: the source with its arrow, then the destination, both
// shortened in the middle.
TEST(CopyProgressText, EachLineFitsWithBothEndsOfItsPath) {
    struct Case {
        std::string source, destination;
        int width;
        std::string text;
    } cases[] = {
        {"C:\\Disc\\folder\\readme.txt", "", 26, "C:\\Disc\\f...\\readme.txt ->\n"},
        {"C:\\Disc\\folder\\readme.txt", "C:\\Users\\Ann\\Desktop\\DiscFiles\\readme.txt", 26,
         "C:\\Disc\\f...\\readme.txt ->\nC:\\Users\\Ann...\\readme.txt"},
        {"a.txt", "b.txt", 26, "a.txt ->\nb.txt"}, // short ones as they are
        {" a.txt", " b\\c.txt ", 26, " a.txt ->\n b\\c.txt "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::CopyProgressText(c.source, c.destination, c.width, CharCount()), c.text) << c.source;
}

TEST(RunCopyList, AFailureDoesNotStopTheRest) {
    RecordingCopies effects;
    effects.failing.insert("bad");
    EXPECT_FALSE(vk::RunCopyList("bad,x\\1,good,x\\2", effects));
    EXPECT_NE(effects.log.find("copy[good>x\\2]"), std::string::npos);
}

TEST(UnknownPlaceholderRefusal, NamesTheWordOfAnyDestination) {
    const std::string known = " The folders a copy can name are {root}, {windows}, {system}, {desktop} and "
                              "{programfiles}.";
    struct Case {
        std::string list;
        std::string message; // empty: the list runs
    } cases[] = {
        {"readme.txt,{Desktp}\\readme.txt",
         "Nothing has been copied: the destination {Desktp}\\readme.txt names the folder {Desktp}, which is unknown." +
             known},
        // A later pair refuses the whole list, leading blanks trimmed as a copy trims them.
        {"a.txt,{desktop}\\D\\a.txt,, b.txt,  {programfile}\\D\\b.txt",
         "Nothing has been copied: the destination {programfile}\\D\\b.txt names the folder {programfile}, which is "
         "unknown." +
             known},
        {"{root}\\a.txt,{desktop}\\DiscFiles\\a.txt,{Windows}\\win.ini,{SYSTEM}\\x\\win.ini", ""},
        {"a.txt,{Root}\\a.txt,b.txt,{programFILES}\\D\\b.txt", ""},
        // Sources are read, not written: one that is not there fails its own copy.
        {"{cdrom}\\a.txt,{desktop}\\a.txt", ""},
        // A last source without a destination is never copied.
        {"a.txt,{desktop}\\a.txt,{Dsktop}", ""},
        {"a.txt,{Program Files}\\a.txt", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::UnknownPlaceholderRefusal(c.list), c.message) << c.list;
}

TEST(ActionSource, OnlyTheDiscsOwnPagesRunActions) {
    const std::string disc = "D:\\Product Disc";
    struct Case {
        const char* source;
        bool first;
        bool allowed;
    } cases[] = {
        {"", true, true},   // the viewer's own first page
        {"", false, false}, // a frame or window with no page of its own yet
        {"file:///D:/Product%20Disc/menu.htm", false, true},
        {"file:///d:/product disc/sub/page.htm#top", false, true},
        {"file://D:\\Product Disc\\menu.htm", false, true},
        {"D:\\Product Disc\\menu.htm", false, true},
        {"file:///D:/Product%20Disc/../Windows/x.htm", false, false},
        {"file:///D:/Product%20Disc%2F..%2Fother/x.htm", false, false},
        {"file:///D:/Product%20Disc2/menu.htm", false, false},
        {"file:///C:/Users/me/Downloads/evil.htm", false, false},
        {"file://server/share/Product Disc/menu.htm", false, false},
        {"\\\\server\\share\\menu.htm", false, false},
        {"http://example.com/menu.htm", false, false},
        {"https://example.com/D:/Product%20Disc/menu.htm", false, false},
        {"about:blank", false, false},
        {"res://D:\\Product Disc\\autorun.exe/23/186", false, false},
        {"javascript:void(0)", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.allowed, vk::ActionsAllowedFrom(c.source, disc, c.first)) << c.source;
    EXPECT_FALSE(vk::ActionsAllowedFrom("file:///D:/x.htm", "", false));
}

TEST(ActionSource, LocalPathsOfFileAddresses) {
    struct Case {
        const char* url;
        const char* path; // null: no local file
    } cases[] = {
        {"file:///C:/disc/a%20b.htm?x=1#top", "C:\\disc\\a b.htm"},
        {"file:C:/disc/a.htm", "C:\\disc\\a.htm"},
        {"FILE://C:\\disc\\a.htm", "C:\\disc\\a.htm"},
        {"file://server/share/a.htm", "\\\\server\\share\\a.htm"},
        {"C:/disc/a.htm", "C:/disc/a.htm"},
        {"file:///", nullptr},
        {"file:relative.htm", nullptr},
        {"http://host/a.htm", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        std::string path;
        EXPECT_EQ(c.path != nullptr, vk::LocalPathOfUrl(c.url, path)) << c.url;
        if (c.path) {
            EXPECT_EQ(c.path, path) << c.url;
        }
    }
}

} // namespace
