#include <gtest/gtest.h>

#include "core/unicode_text.h"
#include "memory_files.h"

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

// UTF-16LE bytes of a literal, built without the code under test.
std::string Le(std::u16string_view text) {
    std::string out;
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

TEST(UnicodeText, Utf8AndUtf16) {
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"ASCII", "a.htm", u"a.htm"},
        {"Greek", "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xAE", u"\u039A\u03B1\u03BB\u03AE"},
        {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"surrogate pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        {"empty", "", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vk::Utf8ToUtf16(c.utf8), c.utf16) << c.name;
        EXPECT_EQ(vk::Utf16ToUtf8(c.utf16), c.utf8) << c.name;
        EXPECT_TRUE(vk::IsValidUtf8(c.utf8)) << c.name;
    }
}

TEST(UnicodeText, InvalidInputBecomesReplacement) {
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"lone continuation byte",
         "a\x80"
         "b",
         u"a\uFFFDb"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"cut-off sequence at the end", "a\xE6\x97", u"a\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"ANSI byte", "caf\xE9", u"caf\uFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vk::Utf8ToUtf16(c.utf8), c.utf16) << c.name;
        EXPECT_FALSE(vk::IsValidUtf8(c.utf8)) << c.name;
    }
    EXPECT_EQ(vk::Utf16ToUtf8(u"a\xD83D"
                              "b"),
              "a" + kFffd + "b");
    EXPECT_EQ(vk::Utf16ToUtf8(u"\xDE00\xD83D"), kFffd + kFffd);
}

TEST(UnicodeText, FirstCharacters) {
    EXPECT_EQ(vk::FirstCharacters("abc", 2), "ab");
    EXPECT_EQ(vk::FirstCharacters("\xCE\xA9\xCE\xA9\xCE\xA9", 2), "\xCE\xA9\xCE\xA9");
    EXPECT_EQ(vk::FirstCharacters("\xF0\x9F\x98\x80z", 1), "\xF0\x9F\x98\x80");
    EXPECT_EQ(vk::FirstCharacters("ab", 5), "ab");
    EXPECT_EQ(vk::FirstCharacters("\xE6\x97", 5), kFffd + kFffd);
}

TEST(UnicodeText, Utf16LeFileBytes) {
    EXPECT_EQ(vk::Utf16LeFileBytes("a\xCE\xA9\r\n"), std::string("\xFF\xFE") + Le(u"a\u03A9\r\n"));
    EXPECT_EQ(vk::Utf16LeFileBytes(""), "\xFF\xFE");
}

TEST(DecodedText, FormsAndDamagedFiles) {
    struct Case {
        const char* name;
        std::string bytes;
        vk::TextForm form;
        std::string text;
    } cases[] = {
        {"empty file", "", vk::TextForm::Ansi, ""},
        {"one byte", "a", vk::TextForm::Ansi, "a"},
        {"ANSI bytes as they are", "[autorun]\r\nICON=caf\xE9\r\n", vk::TextForm::Ansi,
         "[autorun]\r\nICON=caf\xE9\r\n"},
        {"FF alone", "\xFF", vk::TextForm::Ansi, "\xFF"},
        {"UTF-16LE mark only", "\xFF\xFE", vk::TextForm::Utf16Le, ""},
        {"UTF-16LE", "\xFF\xFE" + Le(u"\u03A9\r\nb"), vk::TextForm::Utf16Le, "\xCE\xA9\r\nb"},
        {"pair", "\xFF\xFE" + Le(u"\xD83D\xDE00"), vk::TextForm::Utf16Le, "\xF0\x9F\x98\x80"},
        {"odd byte count", "\xFF\xFE" + Le(u"ab") + "c", vk::TextForm::Utf16Le, "ab" + kFffd},
        {"mark and half a unit", "\xFF\xFE\x41", vk::TextForm::Utf16Le, kFffd},
        {"high surrogate at the end", "\xFF\xFE" + Le(u"a\xD83D"), vk::TextForm::Utf16Le, "a" + kFffd},
        {"high surrogate and half a unit", "\xFF\xFE" + Le(u"\xD83D") + "x", vk::TextForm::Utf16Le, kFffd + kFffd},
        {"high surrogate before a letter", "\xFF\xFE" + Le(u"\xD83Dz"), vk::TextForm::Utf16Le, kFffd + "z"},
        {"two high surrogates", "\xFF\xFE" + Le(u"\xD83D\xD83D\xDE00"), vk::TextForm::Utf16Le,
         kFffd + "\xF0\x9F\x98\x80"},
        {"low surrogate alone", "\xFF\xFE" + Le(u"a\xDE00z"), vk::TextForm::Utf16Le, "a" + kFffd + "z"},
        {"NUL kept", "\xFF\xFE" + Le(std::u16string(u"a\0b", 3)), vk::TextForm::Utf16Le, std::string("a\0b", 3)},
        {"UTF-8 mark",
         "\xEF\xBB\xBF"
         "\xCE\xA9",
         vk::TextForm::Utf8, "\xCE\xA9"},
        {"UTF-8 mark only", "\xEF\xBB\xBF", vk::TextForm::Utf8, ""},
        {"start of a UTF-8 mark is ANSI", "\xEF\xBB", vk::TextForm::Ansi, "\xEF\xBB"},
        {"big-endian mark is not read as Unicode", "\xFE\xFF", vk::TextForm::Ansi, "\xFE\xFF"},
    };
    for (size_t chunk : {size_t(1), size_t(3), size_t(1) << 20}) {
        for (const Case& c : cases) {
            StringSource raw(c.bytes, chunk);
            vk::DecodedText text(raw);
            EXPECT_EQ(text.Form(), c.form) << c.name;
            std::string all;
            char buffer[2];
            while (size_t n = text.Read(buffer, sizeof buffer))
                all.append(buffer, n);
            EXPECT_EQ(all, c.text) << c.name << ", chunk " << chunk;
            EXPECT_EQ(text.Read(buffer, sizeof buffer), 0u) << c.name;
        }
    }
}

TEST(DecodedText, ReadFailureEndsTheText) {
    StringSource raw("\xFF\xFE" + Le(u"ab\xD83D\xDE00"), 1 << 20, 5);
    vk::DecodedText text(raw);
    char buffer[16];
    std::string all;
    while (size_t n = text.Read(buffer, sizeof buffer))
        all.append(buffer, n);
    EXPECT_EQ(all, "a" + kFffd); // "b" is cut in half by the failure
}

} // namespace
