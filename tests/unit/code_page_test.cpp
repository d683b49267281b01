#include <gtest/gtest.h>

#include "core/code_page.h"

namespace {

TEST(Windows1252, FromUtf8) {
    struct Case {
        const char* name;
        std::string utf8;
        bool representable;
        std::string ansi;
    } cases[] = {
        {"ASCII unchanged", "index.htm", true, "index.htm"},
        {"empty", "", true, ""},
        {"Latin-1 letter", "caf\xC3\xA9.htm", true, "caf\xE9.htm"},
        {"euro sign from the 0x80 row", "\xE2\x82\xAC", true, "\x80"},
        {"last of the 0x80 row", "\xC5\xB8", true, "\x9F"},
        {"unassigned byte kept as its C1 control", "\xC2\x81\xC2\x9D", true, "\x81\x9D"},
        {"C1 control that 1252 assigns elsewhere", "\xC2\x80", false, ""},
        {"Greek", "\xCE\xA9.htm", false, ""},
        {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC.htm", false, ""},
        {"outside the BMP", "\xF0\x9F\x98\x80", false, ""},
        {"invalid UTF-8 is not guessed", "caf\xE9.htm", false, ""},
    };
    vk::Windows1252 page;
    for (const Case& c : cases) {
        std::string ansi = "stale";
        EXPECT_EQ(page.FromUtf8(c.utf8, ansi), c.representable) << c.name;
        if (c.representable) {
            EXPECT_EQ(ansi, c.ansi) << c.name;
        }
    }
}

TEST(Windows1252, EveryByteDecodesAndComesBack) {
    vk::Windows1252 page;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        std::string back;
        EXPECT_TRUE(page.FromUtf8(page.ToUtf8(byte), back)) << b;
        EXPECT_EQ(back, byte) << b;
    }
    EXPECT_EQ(page.ToUtf8("\x80\x99\xE9"), "\xE2\x82\xAC\xE2\x84\xA2\xC3\xA9");
}

} // namespace
