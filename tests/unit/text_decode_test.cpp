// How a page's bytes become UTF-8 text, and how link values' %XX escapes decode.
#include <gtest/gtest.h>

#include <vector>

#include "core/text_decode.h"
#include "memory_files.h"

using vk::Escapes;
using vk::PageEncoding;

namespace {

const std::string kEAcuteUtf8 = "\xC3\xA9";

// Records what it was asked to convert; converts each byte as Latin-1 marked with brackets, so
// a test can see that this decoder, not the built-in table, did the work.
struct RecordingAnsi : vk::CodePage {
    std::vector<std::string> calls;
    bool FromUtf8(std::string_view, std::string&) override { return false; }
    std::string ToUtf8(std::string_view bytes) override {
        calls.emplace_back(bytes);
        std::string out = "[";
        for (unsigned char c : bytes)
            vk::AppendUtf8(out, c);
        return out + "]";
    }
};

std::string Utf16(const std::u16string& text, bool bigEndian, bool bom = true) {
    std::string out;
    auto put = [&](char16_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    if (bom)
        put(0xFEFF);
    for (char16_t u : text)
        put(u);
    return out;
}

TEST(PageEncoding, DetectedByMarkDeclarationOrValidity) {
    const struct {
        const char* name;
        std::string start;
        PageEncoding encoding;
        size_t bomSize;
    } cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF<p>", PageEncoding::Utf8, 3},
        {"UTF-16LE mark", "\xFF\xFE<\0", PageEncoding::Utf16Le, 2},
        {"UTF-16BE mark", "\xFE\xFF\0<", PageEncoding::Utf16Be, 2},
        {"a mark wins over a declaration", "\xEF\xBB\xBF<meta charset=windows-1252>\xE9", PageEncoding::Utf8, 3},
        {"meta charset", "<meta charset=\"windows-1252\"><p>caf\xC3\xA9", PageEncoding::Windows1252, 0},
        {"meta charset, single quotes and capitals", "<META CHARSET='ISO-8859-1'>", PageEncoding::Windows1252, 0},
        {"meta charset, bare and closed by slash", "<meta charset=latin1/>", PageEncoding::Windows1252, 0},
        {"http-equiv content type", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=us-ascii\">",
         PageEncoding::Windows1252, 0},
        {"http-equiv, blanks around =", "<meta content=\"text/html;charset = utf-8\" http-equiv=content-type>\xE9",
         PageEncoding::Utf8, 0},
        {"declared UTF-8 even with a bad byte", "<meta charset=utf-8>\xE9", PageEncoding::Utf8, 0},
        {"a declared UTF-16 page readable as ASCII is UTF-8", "<meta charset=utf-16>", PageEncoding::Utf8, 0},
        {"unknown charset: valid UTF-8", "<meta charset=koi8-r>caf\xC3\xA9", PageEncoding::Utf8, 0},
        {"unknown charset: invalid UTF-8", "<meta charset=koi8-r>caf\xE9", PageEncoding::Ansi, 0},
        {"a commented-out declaration counts for nothing", "<!-- <meta charset=windows-1252> -->caf\xC3\xA9",
         PageEncoding::Utf8, 0},
        {"charset outside a meta tag counts for nothing", "<p>charset=windows-1252</p>", PageEncoding::Utf8, 0},
        {"a declaration after the first 1024 bytes counts for nothing",
         std::string(1024, ' ') + "<meta charset=windows-1252>\xC3\xA9", PageEncoding::Utf8, 0},
        {"plain ASCII", "<img src=a.gif>", PageEncoding::Utf8, 0},
        {"empty", "", PageEncoding::Utf8, 0},
        {"valid UTF-8", "console_" + kEAcuteUtf8 + ".png \xCE\xB1 \xE6\x97\xA5 \xF0\x9F\x98\x80", PageEncoding::Utf8,
         0},
        {"one Latin-1 byte in UTF-8 text: ANSI", "caf\xC3\xA9 and caf\xE9", PageEncoding::Ansi, 0},
        {"overlong form", "\xC0\xAF", PageEncoding::Ansi, 0},
        {"encoded surrogate", "\xED\xA0\x80", PageEncoding::Ansi, 0},
        {"above U+10FFFF", "\xF4\x90\x80\x80", PageEncoding::Ansi, 0},
        {"cut at the end of the whole page", "caf\xC3", PageEncoding::Ansi, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const vk::PageEncodingGuess guess = vk::DetectPageEncoding(c.start);
        EXPECT_EQ(c.encoding, guess.encoding);
        EXPECT_EQ(c.bomSize, guess.bomSize);
    }
    // Only the page's first part: a character cut at its end is still valid.
    EXPECT_EQ(PageEncoding::Utf8, vk::DetectPageEncoding("caf\xC3", false).encoding);
    EXPECT_EQ(PageEncoding::Utf8, vk::DetectPageEncoding("\xF0\x9F\x98", false).encoding);
    EXPECT_EQ(PageEncoding::Ansi, vk::DetectPageEncoding("caf\xE9 ", false).encoding);
}

TEST(PageEncoding, PagesBecomeUtf8) {
    const struct {
        const char* name;
        std::string bytes;
        std::string text;
        PageEncoding encoding;
    } cases[] = {
        {"UTF-8 mark dropped",
         "\xEF\xBB\xBF"
         "a" +
             kEAcuteUtf8,
         "a" + kEAcuteUtf8, PageEncoding::Utf8},
        {"UTF-16LE with a pair", Utf16(u"\u00e9\u03b1\U0001F600\r\n", false),
         kEAcuteUtf8 + "\xCE\xB1\xF0\x9F\x98\x80\r\n", PageEncoding::Utf16Le},
        {"UTF-16BE", Utf16(u"<img src=\u65e5.gif>", true), "<img src=\xE6\x97\xA5.gif>", PageEncoding::Utf16Be},
        {"UTF-16 lone surrogates and an odd byte",
         Utf16(u"a\xD800"
               "b\xDC00",
               false) +
             "x",
         "a\xEF\xBF\xBD"
         "b\xEF\xBF\xBD\xEF\xBF\xBD",
         PageEncoding::Utf16Le},
        {"declared 1252: the C1 row", "<meta charset=windows-1252>\x80\x81\x8A\x9F\xE9",
         "<meta charset=windows-1252>\xE2\x82\xAC\xC2\x81\xC5\xA0\xC5\xB8" + kEAcuteUtf8, PageEncoding::Windows1252},
        {"declared UTF-8: a bad byte becomes U+FFFD", "<meta charset=utf-8>\xE9.gif",
         "<meta charset=utf-8>\xEF\xBF\xBD.gif", PageEncoding::Utf8},
        {"ANSI by default is Windows-1252", "console_\xE9.png", "console_" + kEAcuteUtf8 + ".png", PageEncoding::Ansi},
        {"a NUL stays a NUL", std::string("a\0b", 3), std::string("a\0b", 3), PageEncoding::Utf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        vk::Windows1252 ansi;
        PageEncoding encoding;
        EXPECT_EQ(c.text, vk::DecodePage(c.bytes, ansi, &encoding));
        EXPECT_EQ(c.encoding, encoding);
        // The scan's way: the bytes of a whole page at once, left as read.
        std::string converted;
        const std::string kept = c.bytes;
        EXPECT_EQ(c.text, vk::DecodeWholePage(std::string_view(kept), converted, ansi));
        EXPECT_EQ(c.bytes, kept);
    }
}

TEST(PageEncoding, OnlyUndeclaredInvalidPagesGoToTheAnsiCodePage) {
    RecordingAnsi ansi;
    EXPECT_EQ("\xC3\xA9\x61", vk::DecodePage("<meta charset=latin1>\xE9"
                                             "a",
                                             ansi)
                                  .substr(21));
    EXPECT_EQ(kEAcuteUtf8, vk::DecodePage(kEAcuteUtf8, ansi));
    EXPECT_TRUE(ansi.calls.empty());
    EXPECT_EQ("[" + kEAcuteUtf8 + "]", vk::DecodePage("\xE9", ansi));
    EXPECT_EQ(std::vector<std::string>{"\xE9"}, ansi.calls);
}

// A page longer than its deciding part is read as that part says; a character the part cuts
// does not make it the code page's, and what is invalid later becomes U+FFFD.
TEST(PageEncoding, ALongPageIsDecidedByItsStart) {
    const std::string alpha = "\xCE\xB1";
    const struct {
        std::string page;
        size_t decidedBy;
        vk::PageEncoding encoding;
        std::string end; // of the text
    } cases[] = {
        {std::string(2000, 'a') + "\xE9", 1500, vk::PageEncoding::Utf8, "a\xEF\xBF\xBD"},
        {std::string(2000, 'a') + "\xE9", 4000, vk::PageEncoding::Ansi, "a" + kEAcuteUtf8},
        {std::string(1499, 'a') + alpha + "b\xE9", 1500, vk::PageEncoding::Utf8, alpha + "b\xEF\xBF\xBD"},
        {std::string(1400, 'a') + "\xE9" + std::string(99, 'a') + alpha, 1500, vk::PageEncoding::Ansi,
         "a\xC3\x8E\xC2\xB1"},
        // Never less than where a declaration may stand.
        {std::string(900, 'a') + "\xE9", 10, vk::PageEncoding::Ansi, "a" + kEAcuteUtf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decidedBy);
        vk::Windows1252 ansi;
        std::string converted;
        vk::PageEncoding encoding = vk::PageEncoding::Utf16Be;
        const std::string text(vk::DecodeWholePage(c.page, converted, ansi, &encoding, c.decidedBy));
        EXPECT_EQ(c.encoding, encoding);
        ASSERT_GE(text.size(), c.end.size());
        EXPECT_EQ(c.end, text.substr(text.size() - c.end.size()));
    }
}

TEST(PageEncoding, AnyBytesGiveValidUtf8) {
    unsigned seed = 7;
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < 300; ++i) {
            seed = seed * 1103515245u + 12345u;
            bytes += static_cast<char>(seed >> 16);
        }
        for (const std::string& prefix : {std::string(), std::string("\xFF\xFE"), std::string("\xFE\xFF"),
                                          std::string("\xEF\xBB\xBF"), std::string("<meta charset=cp1252>")}) {
            vk::Windows1252 ansi;
            EXPECT_TRUE(vk::IsValidUtf8(vk::DecodePage(prefix + bytes, ansi)));
        }
        std::string out;
        if (vk::DecodePercentEscapes(bytes, out) == Escapes::Decoded) {
            EXPECT_TRUE(vk::IsValidUtf8(out));
        }
    }
}

TEST(PercentEscapes, DecodeAsUtf8OnlyWhenThatIsText) {
    const struct {
        const char* name;
        std::string value;
        Escapes result;
        std::string out;
    } cases[] = {
        {"no escapes", "console.png", Escapes::None, "console.png"},
        {"a lone percent", "100%.gif", Escapes::None, "100%.gif"},
        {"a percent without two hex digits", "a%2.gif%", Escapes::None, "a%2.gif%"},
        {"UTF-8 escapes", "console_%C3%A9.png", Escapes::Decoded, "console_" + kEAcuteUtf8 + ".png"},
        {"lower-case hex and a blank", "my%20pic%c3%a9.gif", Escapes::Decoded, "my pic" + kEAcuteUtf8 + ".gif"},
        {"Japanese", "%E6%97%A5%E6%9C%AC.gif", Escapes::Decoded, "\xE6\x97\xA5\xE6\x9C\xAC.gif"},
        {"escapes next to a raw UTF-8 name", kEAcuteUtf8 + "%20x.gif", Escapes::Decoded, kEAcuteUtf8 + " x.gif"},
        {"a plus stays", "a+b%2Egif", Escapes::Decoded, "a+b.gif"},
        {"escaped slash", "sub%2Fx.gif", Escapes::Decoded, "sub/x.gif"},
        {"escaped backslash", "%5C..%5Cx.gif", Escapes::Decoded, "\\..\\x.gif"},
        {"escaped dot-dot", "%2E%2E/x.gif", Escapes::Decoded, "../x.gif"},
        {"escaped colon", "C%3A%5Cx.gif", Escapes::Decoded, "C:\\x.gif"},
        {"an escaped percent decodes once", "a%2541.gif", Escapes::Decoded, "a%41.gif"},
        {"Latin-1 escape is not UTF-8: kept", "caf%E9.gif", Escapes::KeptAsWritten, "caf%E9.gif"},
        {"cut sequence: kept", "a%C3.gif", Escapes::KeptAsWritten, "a%C3.gif"},
        {"escaped overlong slash: kept", "%C0%AF..%C0%AFx.gif", Escapes::KeptAsWritten, "%C0%AF..%C0%AFx.gif"},
        {"NUL", "x.gif%00.txt", Escapes::Refused, "x.gif%00.txt"},
        {"newline", "a%0A.gif", Escapes::Refused, "a%0A.gif"},
        {"DEL", "a%7F.gif", Escapes::Refused, "a%7F.gif"},
        {"a control beside bad UTF-8 is still refused", "%00%FF.gif", Escapes::Refused, "%00%FF.gif"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "stale";
        EXPECT_EQ(c.result, vk::DecodePercentEscapes(c.value, out));
        EXPECT_EQ(c.out, out);
    }
}

TEST(LineReader, Utf8PiecesEndBeforeACutCharacter) {
    const std::string e = kEAcuteUtf8, jp = "\xE6\x97\xA5", face = "\xF0\x9F\x98\x80";
    const struct {
        const char* name;
        std::string data;
        std::vector<std::string> pieces;
    } cases[] = {
        {"ASCII as before", "abcdefghij", {"abcd", "efgh", "ij"}},
        {"two-byte character at the cut", "abc" + e + "d", {"abc", e + "d"}},
        {"three-byte character at the cut", "ab" + jp + "cd", {"ab", jp + "c", "d"}},
        {"four-byte character fills a piece", face + face, {face, face}},
        {"four-byte character at the cut", "a" + face + "b", {"a", face, "b"}},
        {"a character that ends exactly at the cut", "ab" + e + "cd", {"ab" + e, "cd"}},
        {"newline right after a held character", "abc" + e + "\r\nx", {"abc", e, "x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t chunk : {size_t(1), size_t(3), size_t(1000)}) {
            StringSource source(c.data, chunk);
            vk::LineReader reader(source, 5, vk::LongLines::SplitUtf8);
            std::vector<std::string> pieces;
            std::string piece;
            while (reader.Next(piece))
                pieces.push_back(piece);
            EXPECT_EQ(c.pieces, pieces);
        }
    }
}

} // namespace
