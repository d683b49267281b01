#include <gtest/gtest.h>

#include <set>

#include "app/ascii_case.h"
#include "viewer/page_actions.h"

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

class RecordingCopies : public vk::CopyEffects {
public:
    std::set<std::string> failing;
    std::string log;
    void ShowProgress(const std::string& text) override { log += "show[" + text + "]"; }
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
        {"C:\\a.txt,C:\\D\\a.txt", true, "show[C:\\a.txt ->\n]show[C:\\a.txt ->\nC:\\D\\a.txt]mkdir[C:\\D]copy[C:\\a.txt>C:\\D\\a.txt]"},
        {"a\\1, b\\2 ", true, "show[a\\1 ->\n]show[a\\1 ->\n b\\2 ]mkdir[b]copy[a\\1>b\\2 ]"},
        {"", true, ""},
        {",,,", true, ""},
        {"a\\1,,b\\2", true, "show[a\\1 ->\n]show[a\\1 ->\nb\\2]mkdir[b]copy[a\\1>b\\2]"},
        {"a\\1,b\\2,odd", true, "show[a\\1 ->\n]show[a\\1 ->\nb\\2]mkdir[b]copy[a\\1>b\\2]show[odd ->\n]"},
        {"bad,x\\y", false, "show[bad ->\n]show[bad ->\nx\\y]mkdir[x]copy[bad>x\\y]error[Error copying file bad to x\\y]"},
        {"a\\1,bare.txt", true, "show[a\\1 ->\n]show[a\\1 ->\nbare.txt]copy[a\\1>bare.txt]"},
    };
    for (const Case& c : cases) {
        RecordingCopies effects;
        effects.failing.insert("bad");
        EXPECT_EQ(vk::RunCopyList(c.list, effects), c.allCopied) << c.list;
        EXPECT_EQ(effects.log, c.log) << c.list;
    }
}

TEST(RunCopyList, AFailureDoesNotStopTheRest) {
    RecordingCopies effects;
    effects.failing.insert("bad");
    EXPECT_FALSE(vk::RunCopyList("bad,x\\1,good,x\\2", effects));
    EXPECT_NE(effects.log.find("copy[good>x\\2]"), std::string::npos);
}

} // namespace
