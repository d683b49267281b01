#include <gtest/gtest.h>

#include "core/launch_config.h"
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
        {"full list",
         {"index.htm", "1", "2", "logo.jpg", "intro.wav"},
         {"index.htm", "1", "2", "logo.jpg", "intro.wav"}},
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
        {"designer default",
         "[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
         true,
         {"1_Demo_General_Menu.html", "1", "0", "default.jpg", "default.wav"}},
        {"nothing after .exe", "[autorun]\r\nOPEN=autorun.exe\r\n", true, {}},
        {"only blanks after .exe", "[autorun]\r\nOPEN=autorun.exe   \r\n", true, {}},
        {"upper-case .EXE is not matched", "[autorun]\r\nOPEN=AUTORUN.EXE index.htm\r\n", false, {}},
        {"OPEN on the first line", "OPEN=autorun.exe index.htm 1 0\r\n", false, {}},
        {"OPEN on the third line", "[autorun]\r\n\r\nOPEN=autorun.exe index.htm 1 0\r\n", false, {}},
        {"runs of spaces and a trailing space",
         "[autorun]\r\nOPEN=autorun.exe    index.htm   1 \r\n",
         true,
         {"index.htm", "1"}},
        {"tab stays inside a value", "[autorun]\r\nOPEN=autorun.exe a\tb 1\r\n", true, {"a\tb", "1"}},
        {"more than five values", "[autorun]\r\nOPEN=autorun.exe a b c d e f g\r\n", true, {"a", "b", "c", "d", "e"}},
        {"key and program name not checked",
         "x\r\nwhatever.exe none 0 0 intro.wav",
         true,
         {"none", "0", "0", "intro.wav"}},
        {"first .exe counts", "[autorun]\r\nOPEN=autorun.exe setup.exe 0 0\r\n", true, {"setup.exe", "0", "0"}},
        {"values keep their case",
         "[autorun]\r\nOPEN=autorun.exe INDEX.HTM 1 0 Logo.JPG\r\n",
         true,
         {"INDEX.HTM", "1", "0", "Logo.JPG"}},
        {"bare LF lines", "[autorun]\nOPEN=autorun.exe \\ 0 0\n", true, {"\\", "0", "0"}},
        {"file ends after the first line", "[autorun]\r\n", false, {}},
        {"empty file", "", false, {}},
        {"second line without .exe", "[autorun]\r\nOPEN=index.htm\r\n", false, {}},
        // The rest of an over-long first line must not be taken for the second line.
        {"long first line", "[autorun]" + std::string(1200, ' ') + "x.exe a\r\nOPEN=autorun.exe b\r\n", true, {"b"}},
        {"long second line keeps 999 characters",
         "[autorun]\r\nOPEN=autorun.exe a " + std::string(990, 'b') + " c\r\n",
         true,
         {"a", std::string(999 - 19, 'b')}},
        {".exe beyond the kept characters",
         "[autorun]\r\n" + std::string(999, ' ') + "OPEN=autorun.exe a\r\n",
         false,
         {}},
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
    // The designer's defaults.
    auto defaults = [] { return vk::DiscSettings(); };
    struct Case {
        const char* name;
        vk::DiscSettings settings;
        std::string open;
    };
    std::vector<Case> cases;
    cases.push_back(
        {"designer defaults", defaults(), "autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav"});
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
        cases.push_back(
            {"spaces become underscores", s, "autorun.exe 1_Demo_General_Menu.html 1 0 my_logo.jpg intro__music.wav"});
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
        EXPECT_EQ(text,
                  "[autorun]\r\nOPEN=" + c.open + "\r\nICON=" + vk::UnderscoreSpaces(c.settings.m_strIconName) + "\r\n")
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

// UTF-16LE bytes of a literal with its byte-order mark, built without the code under test.
std::string Utf16File(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

const std::string kGreek = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1"; // Καλημέρα
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC";                                      // 日本
const std::string kOmega = "\xCE\xA9";
const std::string kFffd = "\xEF\xBF\xBD";

std::string Repeat(const std::string& piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

vk::DiscSettings AllOn() {
    vk::DiscSettings s;
    s.m_strTarget = "index.htm";
    s.m_bBrowser = true;
    s.m_nWindowSize = 0;
    s.m_bSplash = true;
    s.m_strSplashName = "logo.jpg";
    s.m_bSound = true;
    s.m_strSoundName = "intro.wav";
    s.m_bIcon = true;
    s.m_strIconName = "autorun.exe";
    return s;
}

TEST(AutorunInfText, NamesInTheCodePageStayAnsi) {
    struct Case {
        const char* name;
        std::string vk::DiscSettings::*field;
        std::string value;
        std::string bytes;
    } cases[] = {
        {"Latin-1 target", &vk::DiscSettings::m_strTarget, "caf\xC3\xA9.htm",
         "[autorun]\r\nOPEN=autorun.exe caf\xE9.htm 1 0 logo.jpg intro.wav\r\nICON=autorun.exe\r\n"},
        {"0x80-row splash", &vk::DiscSettings::m_strSplashName, "\xE2\x82\xAC logo.jpg",
         "[autorun]\r\nOPEN=autorun.exe index.htm 1 0 \x80_logo.jpg intro.wav\r\nICON=autorun.exe\r\n"},
        {"Latin-1 sound", &vk::DiscSettings::m_strSoundName, "\xC3\xBC.wav",
         "[autorun]\r\nOPEN=autorun.exe index.htm 1 0 logo.jpg \xFC.wav\r\nICON=autorun.exe\r\n"},
        {"Latin-1 icon", &vk::DiscSettings::m_strIconName, "\xC3\x84 b.ico",
         "[autorun]\r\nOPEN=autorun.exe index.htm 1 0 logo.jpg intro.wav\r\nICON=\xC4_b.ico\r\n"},
    };
    for (const Case& c : cases) {
        vk::DiscSettings s = AllOn();
        s.*c.field = c.value;
        std::string open;
        EXPECT_EQ(vk::AutorunInfText(s, &open), c.bytes) << c.name;
        // The value for the preview is the same text in UTF-8.
        vk::Windows1252 page;
        std::string openAnsi;
        EXPECT_TRUE(page.FromUtf8(open, openAnsi)) << c.name;
        EXPECT_NE(c.bytes.find("OPEN=" + openAnsi + "\r\n"), std::string::npos) << c.name;
    }
}

TEST(AutorunInfText, OtherNamesMakeAUnicodeFile) {
    struct Case {
        const char* name;
        std::string vk::DiscSettings::*field;
        std::string value;
        std::u16string lines;
        std::string open;
    } cases[] = {
        {"Greek target", &vk::DiscSettings::m_strTarget, kGreek + ".htm",
         u"[autorun]\r\nOPEN=autorun.exe \u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1.htm 1 0 logo.jpg "
         u"intro.wav\r\nICON=autorun.exe\r\n",
         "autorun.exe " + kGreek + ".htm 1 0 logo.jpg intro.wav"},
        {"Japanese splash with a space", &vk::DiscSettings::m_strSplashName, kJapanese + " 1.jpg",
         u"[autorun]\r\nOPEN=autorun.exe index.htm 1 0 \u65E5\u672C_1.jpg intro.wav\r\nICON=autorun.exe\r\n",
         "autorun.exe index.htm 1 0 " + kJapanese + "_1.jpg intro.wav"},
        {"Greek sound beside Latin-1 would be ANSI alone", &vk::DiscSettings::m_strSoundName,
         "\xC3\xA9" + kOmega + ".wav",
         u"[autorun]\r\nOPEN=autorun.exe index.htm 1 0 logo.jpg \u00E9\u03A9.wav\r\nICON=autorun.exe\r\n",
         "autorun.exe index.htm 1 0 logo.jpg \xC3\xA9" + kOmega + ".wav"},
        {"only the icon", &vk::DiscSettings::m_strIconName, kOmega + ".ico",
         u"[autorun]\r\nOPEN=autorun.exe index.htm 1 0 logo.jpg intro.wav\r\nICON=\u03A9.ico\r\n",
         "autorun.exe index.htm 1 0 logo.jpg intro.wav"},
        {"outside the BMP", &vk::DiscSettings::m_strTarget, "\xF0\x9F\x98\x80.htm",
         u"[autorun]\r\nOPEN=autorun.exe \U0001F600.htm 1 0 logo.jpg intro.wav\r\nICON=autorun.exe\r\n",
         "autorun.exe \xF0\x9F\x98\x80.htm 1 0 logo.jpg intro.wav"},
    };
    for (const Case& c : cases) {
        vk::DiscSettings s = AllOn();
        s.*c.field = c.value;
        std::string open;
        EXPECT_EQ(vk::AutorunInfText(s, &open), Utf16File(c.lines)) << c.name;
        EXPECT_EQ(open, c.open) << c.name;
    }
    // A name switched off does not count.
    vk::DiscSettings off = AllOn();
    off.m_bIcon = false;
    off.m_strIconName = kOmega + ".ico";
    EXPECT_EQ(vk::AutorunInfText(off, nullptr), "[autorun]\r\nOPEN=autorun.exe index.htm 1 0 logo.jpg intro.wav\r\n");
}

// A code page that holds everything: what a Japanese system does with Japanese names.
class WholePage : public vk::CodePage {
public:
    bool FromUtf8(std::string_view utf8, std::string& ansi) override {
        ansi = "<" + std::string(utf8) + ">";
        return true;
    }
    std::string ToUtf8(std::string_view ansi) override { return std::string(ansi); }
};

TEST(AutorunInfText, TheCodePageDecides) {
    vk::DiscSettings s = AllOn();
    s.m_strTarget = kJapanese + ".htm";
    WholePage page;
    EXPECT_EQ(vk::AutorunInfText(s, nullptr, page),
              "<[autorun]\r\nOPEN=autorun.exe " + kJapanese + ".htm 1 0 logo.jpg intro.wav\r\nICON=autorun.exe\r\n>");
}

TEST(ReadLaunchConfig, EveryFormOfAutorunInf) {
    struct Case {
        const char* name;
        std::string inf;
        bool found;
        Values expected;
    } cases[] = {
        {"UTF-16LE Greek",
         Utf16File(
             u"[autorun]\r\nOPEN=autorun.exe \u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1.htm 1 0 \u03A9.jpg\r\n"),
         true,
         {kGreek + ".htm", "1", "0", kOmega + ".jpg"}},
        {"UTF-16LE bare LF", Utf16File(u"[autorun]\nOPEN=autorun.exe \u65E5\u672C 0 2\n"), true, {kJapanese, "0", "2"}},
        {"UTF-16LE outside the BMP",
         Utf16File(u"[autorun]\r\nOPEN=autorun.exe \U0001F600 1\r\n"),
         true,
         {"\xF0\x9F\x98\x80", "1"}},
        {"UTF-16LE mark only", "\xFF\xFE", false, {}},
        {"UTF-16LE one line", Utf16File(u"[autorun]\r\n"), false, {}},
        {"UTF-16LE upper-case .EXE", Utf16File(u"[autorun]\r\nOPEN=AUTORUN.EXE a\r\n"), false, {}},
        {"UTF-8 mark", "\xEF\xBB\xBF[autorun]\r\nOPEN=autorun.exe " + kGreek + " 1\r\n", true, {kGreek, "1"}},
        {"UTF-8 mark, invalid bytes",
         "\xEF\xBB\xBF[autorun]\r\nOPEN=autorun.exe a\xE9 1\r\n",
         true,
         {"a" + kFffd, "1"}},
        {"ANSI decoded from the code page",
         "[autorun]\r\nOPEN=autorun.exe caf\xE9.htm 1 0 \x80.jpg\r\n",
         true,
         {"caf\xC3\xA9.htm", "1", "0", "\xE2\x82\xAC.jpg"}},
        // What the readers keep is counted in characters, not bytes.
        {"UTF-16LE long second line keeps 999 characters",
         Utf16File(u"[autorun]\r\nOPEN=autorun.exe a " + std::u16string(990, u'\u03A9') + u" c\r\n"),
         true,
         {"a", Repeat(kOmega, 999 - 19)}},
        {"UTF-16LE .exe beyond the kept characters",
         Utf16File(u"[autorun]\r\n" + std::u16string(999, u'\u03A9') + u"OPEN=autorun.exe a\r\n"),
         false,
         {}},
        {"UTF-16LE .exe just inside",
         Utf16File(u"[autorun]\r\n" + std::u16string(995, u'\u03A9') + u".exe a\r\n"),
         true,
         {}},
        {"UTF-16LE long first line's rest is no line",
         Utf16File(u"[autorun]" + std::u16string(1200, u'\u03A9') + u"x.exe a\r\nOPEN=autorun.exe b\r\n"),
         true,
         {"b"}},
        {"pairs count as one character",
         Utf16File(u"[autorun]\r\nOPEN=autorun.exe " +
                   [] {
                       std::u16string t;
                       for (int i = 0; i < 990; ++i)
                           t += u"\U0001F600";
                       return t;
                   }() +
                   u"\r\n"),
         true,
         {Repeat("\xF0\x9F\x98\x80", 999 - 17)}},
        // Damaged files are read to the end without harm.
        {"odd byte count", Utf16File(u"[autorun]\r\nOPEN=autorun.exe a") + "b", true, {"a" + kFffd}},
        {"unpaired surrogates",
         Utf16File(u"[autorun]\r\nOPEN=autorun.exe a\xD83D"
                   u"b \xDE00 c\xD83D"),
         true,
         {"a" + kFffd + "b", kFffd, "c" + kFffd}},
        {"UTF-16 text without its mark is not Unicode",
         Utf16File(u"[autorun]\r\nOPEN=autorun.exe a\r\n").substr(2),
         false,
         {}},
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

TEST(ReadIconEntry, EveryFormOfAutorunInf) {
    struct Case {
        const char* name;
        std::string inf;
        std::string expected;
    } cases[] = {
        {"UTF-16LE", Utf16File(u"[autorun]\r\nOPEN=autorun.exe a\r\nicon=\u03A9 Disc.ico\r\n"), kOmega + " Disc.ico"},
        {"UTF-8 mark", "\xEF\xBB\xBFICON=" + kJapanese + ".ico\r\n", kJapanese + ".ico"},
        {"ANSI", "Icon=\xC4.ico\r\n", "\xC3\x84.ico"},
        {"UTF-16LE long line's rest is not a line",
         Utf16File(std::u16string(1100, u'\u03A9') + u"ICON=hidden.ico\r\nICON=real.ico\r\n"), "real.ico"},
        {"UTF-16LE key at the last kept character", Utf16File(std::u16string(994, u'\u03A9') + u"ICON=x\r\n"), ""},
        {"UTF-16LE key inside", Utf16File(std::u16string(993, u'\u03A9') + u"ICON=x\r\n"), "x"},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files["autorun.inf"] = c.inf;
        EXPECT_EQ(vk::ReadIconEntry(files), c.expected) << c.name;
    }
}

TEST(ReadLabelEntry, EveryFormOfAutorunInf) {
    struct Case {
        const char* name;
        std::string inf;
        bool found;
        std::string label;
    } cases[] = {
        {"UTF-16LE", Utf16File(u"[autorun]\r\nLABEL=\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 Disc\r\n"), true,
         kGreek + " Disc"},
        {"UTF-16LE lower-case key", Utf16File(u"label=\u03A9\r\n"), false, ""},
        {"UTF-8 mark", "\xEF\xBB\xBFLABEL=" + kJapanese + "\r\n", true, kJapanese},
        {"ANSI", "LABEL=Caf\xE9\r\n", true, "Caf\xC3\xA9"},
        {"99 characters kept", Utf16File(u"LABEL=" + std::u16string(200, u'\u03A9') + u"\r\n"), true,
         Repeat(kOmega, 93)},
        {"99 characters of pairs",
         Utf16File(u"LABEL=" +
                   [] {
                       std::u16string t;
                       for (int i = 0; i < 200; ++i)
                           t += u"\U0001F600";
                       return t;
                   }()),
         true, Repeat("\xF0\x9F\x98\x80", 93)},
        {"rest of a long line is not a line", Utf16File(std::u16string(150, u'\u03A9') + u"LABEL=hidden\r\n"), false,
         ""},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files["autorun.inf"] = c.inf;
        std::string label;
        EXPECT_EQ(vk::ReadLabelEntry(files, label), c.found) << c.name;
        EXPECT_EQ(label, c.label) << c.name;
    }
}

TEST(AutorunInfText, UnicodeReadsBackAsWritten) {
    vk::DiscSettings s = AllOn();
    s.m_strTarget = kGreek + ".htm";
    s.m_strSplashName = kJapanese + " logo.jpg";
    s.m_strIconName = kOmega + ".ico";
    MemoryFiles files;
    files.files["autorun.inf"] = vk::AutorunInfText(s, nullptr);
    EXPECT_EQ(files.files["autorun.inf"].substr(0, 2), "\xFF\xFE");
    vk::LaunchConfig config = vk::ReadLaunchConfig({}, files);
    EXPECT_EQ(ValuesOf(config), (Values{kGreek + ".htm", "1", "0", kJapanese + "_logo.jpg", "intro.wav"}));
    EXPECT_EQ(vk::ReadIconEntry(files), kOmega + ".ico");
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
        {"", 0},
        {"0", 0},
        {"3", 3},
        {"  7", 7},
        {"\t2", 2},
        {"+1", 1},
        {"-2", -2},
        {"12abc", 12},
        {"abc", 0},
        {"1.5", 1},
        {"- 1", 0},
        {"--1", 0},
        {"007", 7},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::AtoiRule(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
