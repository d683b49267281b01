#include <gtest/gtest.h>

#include "app/launch_config.h"
#include "memory_files.h"

namespace {

using Values = std::vector<std::string>;

Values ValuesOf(const vk::LaunchConfig& c) {
    Values all = {c.target, c.browserFlag, c.windowSize, c.splashOrSound, c.sound};
    all.resize(c.count);
    return all;
}

// Checks that the values beyond count stay empty, as consumers read all five fields.
void ExpectTailEmpty(const vk::LaunchConfig& c) {
    Values all = {c.target, c.browserFlag, c.windowSize, c.splashOrSound, c.sound};
    for (size_t i = c.count; i < all.size(); ++i)
        EXPECT_EQ(all[i], "") << "value " << i + 1;
}

TEST(ReadLaunchConfig, FromCommandLine) {
    struct Case {
        const char* name;
        Values args;
        Values expected;
    } cases[] = {
        {"full list", {"index.htm", "1", "2", "logo.jpg", "intro.wav"}, {"index.htm", "1", "2", "logo.jpg", "intro.wav"}},
        {"seven arguments give five", {"a", "b", "c", "d", "e", "f", "g"}, {"a", "b", "c", "d", "e"}},
        {"one argument", {"design"}, {"design"}},
        {"quoted argument keeps its space", {"my file.htm", "0"}, {"my file.htm", "0"}},
        {"empty argument still counts", {""}, {""}},
    };
    MemoryFiles files;
    files.files["autorun.inf"] = "[autorun]\r\nOPEN=autorun.exe other.htm 0 0\r\n";
    for (const Case& c : cases) {
        vk::LaunchConfig config = vk::ReadLaunchConfig(c.args, files);
        EXPECT_TRUE(config.found) << c.name;
        EXPECT_EQ(ValuesOf(config), c.expected) << c.name;
        ExpectTailEmpty(config);
    }
}

TEST(ReadLaunchConfig, FromAutorunInf) {
    struct Case {
        const char* name;
        std::string inf;
        bool found;
        Values expected;
    } cases[] = {
        {"designer default", "[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
         true, {"1_Demo_General_Menu.html", "1", "0", "default.jpg", "default.wav"}},
        {"nothing after .exe", "[autorun]\r\nOPEN=autorun.exe\r\n", true, {}},
        {"only blanks after .exe", "[autorun]\r\nOPEN=autorun.exe   \r\n", true, {}},
        {"upper-case .EXE is not matched", "[autorun]\r\nOPEN=AUTORUN.EXE index.htm\r\n", false, {}},
        {"OPEN on the first line", "OPEN=autorun.exe index.htm 1 0\r\n", false, {}},
        {"OPEN on the third line", "[autorun]\r\n\r\nOPEN=autorun.exe index.htm 1 0\r\n", false, {}},
        {"runs of spaces and a trailing space", "[autorun]\r\nOPEN=autorun.exe    index.htm   1 \r\n", true, {"index.htm", "1"}},
        {"tab stays inside a value", "[autorun]\r\nOPEN=autorun.exe a\tb 1\r\n", true, {"a\tb", "1"}},
        {"more than five values", "[autorun]\r\nOPEN=autorun.exe a b c d e f g\r\n", true, {"a", "b", "c", "d", "e"}},
        {"key and program name not checked", "x\r\nwhatever.exe none 0 0 intro.wav", true, {"none", "0", "0", "intro.wav"}},
        {"first .exe counts", "[autorun]\r\nOPEN=autorun.exe setup.exe 0 0\r\n", true, {"setup.exe", "0", "0"}},
        {"values keep their case", "[autorun]\r\nOPEN=autorun.exe INDEX.HTM 1 0 Logo.JPG\r\n", true, {"INDEX.HTM", "1", "0", "Logo.JPG"}},
        {"bare LF lines", "[autorun]\nOPEN=autorun.exe \\ 0 0\n", true, {"\\", "0", "0"}},
        {"file ends after the first line", "[autorun]\r\n", false, {}},
        {"empty file", "", false, {}},
        {"second line without .exe", "[autorun]\r\nOPEN=index.htm\r\n", false, {}},
        // The rest of an over-long first line must not be taken for the second line.
        {"long first line", "[autorun]" + std::string(1200, ' ') + "x.exe a\r\nOPEN=autorun.exe b\r\n", true, {"b"}},
        {"long second line keeps 999 characters", "[autorun]\r\nOPEN=autorun.exe a " + std::string(990, 'b') + " c\r\n",
         true, {"a", std::string(999 - 19, 'b')}},
        {".exe beyond the kept characters", "[autorun]\r\n" + std::string(999, ' ') + "OPEN=autorun.exe a\r\n", false, {}},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files["autorun.inf"] = c.inf;
        vk::LaunchConfig config = vk::ReadLaunchConfig({}, files);
        EXPECT_EQ(config.found, c.found) << c.name;
        EXPECT_EQ(ValuesOf(config), c.expected) << c.name;
        ExpectTailEmpty(config);
    }
}

TEST(ReadLaunchConfig, MissingOrUnreadableFileIsNotFound) {
    MemoryFiles none;
    none.files["AUTORUN.INF.bak"] = "[autorun]\r\nOPEN=autorun.exe a\r\n";
    EXPECT_FALSE(vk::ReadLaunchConfig({}, none).found);

    MemoryFiles locked;
    locked.files["autorun.inf"] = "[autorun]\r\nOPEN=autorun.exe a\r\nICON=x.ico\r\nLABEL=L\r\n";
    locked.unreadable.insert("autorun.inf");
    EXPECT_FALSE(vk::ReadLaunchConfig({}, locked).found);
    EXPECT_EQ(vk::ReadIconEntry(locked), "");
    std::string label = "stale";
    EXPECT_FALSE(vk::ReadLabelEntry(locked, label));
    EXPECT_EQ(label, "");
}

TEST(ReadIconEntry, FirstIconLineInAnyCase) {
    struct Case {
        const char* name;
        std::string inf;
        std::string expected;
    } cases[] = {
        {"written by the designer", "[autorun]\r\nOPEN=autorun.exe a 0 0\r\nICON=autorun.exe\r\n", "autorun.exe"},
        {"lower-case key", "icon=disc.ico\r\n", "disc.ico"},
        {"mixed case behind blanks keeps the value's case", "[autorun]\r\n  Icon=Disc.ico\r\n", "Disc.ico"},
        {"key anywhere in the line", "xxICON=a.ico\r\n", "a.ico"},
        {"value not trimmed", "ICON= a b \r\n", " a b "},
        {"key alone", "ICON=\r\n", ""},
        {"no icon line", "[autorun]\r\nOPEN=autorun.exe a\r\n", ""},
        {"first match wins", "ICON=one.ico\r\nICON=two.ico\r\n", "one.ico"},
        {"long line's rest is not a line", std::string(1100, 'x') + "ICON=hidden.ico\r\nICON=real.ico\r\n", "real.ico"},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files["autorun.inf"] = c.inf;
        EXPECT_EQ(vk::ReadIconEntry(files), c.expected) << c.name;
    }
    MemoryFiles empty;
    EXPECT_EQ(vk::ReadIconEntry(empty), "");
}

TEST(ReadLabelEntry, UpperCaseKeyAndAnEqualsSign) {
    struct Case {
        const char* name;
        std::string inf;
        bool found;
        std::string label;
    } cases[] = {
        {"hand-written label", "[autorun]\r\nOPEN=autorun.exe a\r\nLABEL=Product Disc\r\n", true, "Product Disc"},
        {"lower-case key", "label=Product Disc\r\n", false, ""},
        {"blank before = kept after it", "LABEL = Product Disc\r\n", true, " Product Disc"},
        {"text after the first =", "LABEL=a=b\r\n", true, "a=b"},
        {"no = in the line", "LABEL Product\r\n", false, ""},
        {"99 characters kept", "LABEL=" + std::string(200, 'z') + "\r\n", true, std::string(93, 'z')},
        {"rest of a long line is not a line", std::string(150, 'x') + "LABEL=hidden\r\n", false, ""},
        {"key past 99 characters", std::string(120, ' ') + "LABEL=far\r\nLABEL=near\r\n", true, "near"},
        // Only the key, before the first "=", makes a label line.
        {"LABEL in a value is no label", "OPEN=autorun.exe a.htm 1 0 LABEL.JPG\r\nICON=LABEL.ICO\r\n", false, ""},
        {"a label after such a line", "ICON=LABEL.ICO\r\nLABEL=Disc\r\n", true, "Disc"},
        {"LABEL inside a longer key", "DISCLABEL=Disc\r\n", true, "Disc"},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files["autorun.inf"] = c.inf;
        std::string label;
        EXPECT_EQ(vk::ReadLabelEntry(files, label), c.found) << c.name;
        EXPECT_EQ(label, c.label) << c.name;
    }
}

TEST(AutorunInfText, ExactBytes) {
    auto defaults = [] {
        vk::DiscSettings s;
        s.m_strTarget = "1_Demo_General_Menu.html";
        s.m_bBrowser = true;
        s.m_nWindowSize = 0;
        s.m_bSplash = true;
        s.m_strSplashName = "default.jpg";
        s.m_bSound = true;
        s.m_strSoundName = "default.wav";
        s.m_bIcon = true;
        s.m_strIconName = "autorun.exe";
        return s;
    };
    struct Case {
        const char* name;
        vk::DiscSettings settings;
        std::string open;
    };
    std::vector<Case> cases;
    cases.push_back({"designer defaults", defaults(),
                     "autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav"});
    {
        vk::DiscSettings s = defaults();
        s.m_strTarget = "index.htm";
        s.m_nWindowSize = 2;
        s.m_strSplashName = "logo.jpg";
        s.m_strSoundName = "intro.wav";
        cases.push_back({"every option, largest fixed size", s, "autorun.exe index.htm 1 2 logo.jpg intro.wav"});
    }
    {
        vk::DiscSettings s = defaults();
        s.m_strSplashName = "my logo.jpg";
        s.m_strSoundName = "intro  music.wav";
        cases.push_back({"spaces become underscores", s,
                         "autorun.exe 1_Demo_General_Menu.html 1 0 my_logo.jpg intro__music.wav"});
    }
    {
        vk::DiscSettings s = defaults();
        s.m_strTarget = "";
        s.m_bBrowser = false;
        s.m_bSplash = false;
        s.m_strSoundName = "intro.wav";
        cases.push_back({"empty target is none, sound moves up", s, "autorun.exe none 0 0 intro.wav"});
    }
    {
        vk::DiscSettings s = defaults();
        s.m_strSplashName = "";
        cases.push_back({"splash on without an image", s, "autorun.exe 1_Demo_General_Menu.html 1 0 default.wav"});
    }
    {
        vk::DiscSettings s = defaults();
        s.m_strTarget = "\\";
        s.m_bBrowser = false;
        s.m_bSplash = false;
        s.m_bSound = false;
        cases.push_back({"backslash target", s, "autorun.exe \\ 0 0"});
    }
    {
        vk::DiscSettings s = defaults();
        s.m_bSound = false;
        cases.push_back({"sound off", s, "autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg"});
    }
    for (const Case& c : cases) {
        std::string open;
        std::string text = vk::AutorunInfText(c.settings, &open);
        EXPECT_EQ(open, c.open) << c.name;
        EXPECT_EQ(text, "[autorun]\r\nOPEN=" + c.open + "\r\nICON=" + vk::UnderscoreSpaces(c.settings.m_strIconName) + "\r\n")
            << c.name;
    }

    vk::DiscSettings noIcon = defaults();
    noIcon.m_bIcon = false;
    EXPECT_EQ(vk::AutorunInfText(noIcon, nullptr),
              "[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\n");
    vk::DiscSettings emptyIcon = defaults();
    emptyIcon.m_strIconName = "";
    EXPECT_EQ(vk::AutorunInfText(emptyIcon, nullptr),
              "[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\nICON=\r\n");
    vk::DiscSettings spacedIcon = defaults();
    spacedIcon.m_strIconName = "my disc.ico";
    EXPECT_NE(vk::AutorunInfText(spacedIcon, nullptr).find("\r\nICON=my_disc.ico\r\n"), std::string::npos);
}

TEST(AutorunInfText, ReadsBackAsWritten) {
    vk::DiscSettings s;
    s.m_strTarget = "index.htm";
    s.m_bBrowser = true;
    s.m_nWindowSize = 3;
    s.m_bSplash = true;
    s.m_strSplashName = "my logo.jpg";
    s.m_bSound = true;
    s.m_strSoundName = "intro.wav";
    s.m_bIcon = true;
    s.m_strIconName = "disc.ico";
    MemoryFiles files;
    files.files["autorun.inf"] = vk::AutorunInfText(s, nullptr);
    vk::LaunchConfig config = vk::ReadLaunchConfig({}, files);
    EXPECT_EQ(ValuesOf(config), (Values{"index.htm", "1", "3", "my_logo.jpg", "intro.wav"}));
    EXPECT_EQ(vk::ReadIconEntry(files), "disc.ico");
}

TEST(UnderscoreSpaces, OnlySpacesChange) {
    EXPECT_EQ(vk::UnderscoreSpaces("Intro Page.htm"), "Intro_Page.htm");
    EXPECT_EQ(vk::UnderscoreSpaces(" a  b "), "_a__b_");
    EXPECT_EQ(vk::UnderscoreSpaces("tab\there"), "tab\there");
    EXPECT_EQ(vk::UnderscoreSpaces(""), "");
}

TEST(AtoiRule, LikeTheCLibrary) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},        {"0", 0},       {"3", 3},         {"  7", 7},   {"\t2", 2},
        {"+1", 1},      {"-2", -2},     {"12abc", 12},    {"abc", 0},   {"1.5", 1},
        {"- 1", 0},     {"--1", 0},     {"007", 7},       {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::AtoiRule(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
