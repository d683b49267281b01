#include "core/text_decode.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "core/code_page.h"

namespace vk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

unsigned char Byte(std::string_view text, size_t i) { return static_cast<unsigned char>(text[i]); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '/'; }

size_t FindUpper(std::string_view text, std::string_view upper, size_t from) {
    for (size_t i = from; i + upper.size() <= text.size(); ++i)
        if (EqualsUpper(text.substr(i, upper.size()), upper))
            return i;
    return std::string_view::npos;
}

// The value after "charset" [blanks] "=" [blanks] [quote] in one tag's text, or empty.
std::string CharsetInTag(std::string_view tag) {
    for (size_t at = FindUpper(tag, "CHARSET", 0); at != std::string_view::npos;
         at = FindUpper(tag, "CHARSET", at + 1)) {
        size_t i = at + 7;
        while (i < tag.size() && IsSpace(tag[i]) && tag[i] != '/')
            ++i;
        if (i == tag.size() || tag[i] != '=')
            continue;
        ++i;
        while (i < tag.size() && IsSpace(tag[i]) && tag[i] != '/')
            ++i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\''))
            ++i;
        size_t end = i;
        while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '"' && tag[end] != '\'' && tag[end] != ';')
            ++end;
        if (end > i)
            return Lower(std::string(tag.substr(i, end - i)));
    }
    return {};
}

} // namespace

std::string DeclaredCharset(std::string_view start) {
    const std::string_view head = start.substr(0, std::min(start.size(), kCharsetSniffBytes));
    size_t i = 0;
    while (i < head.size()) {
        if (head.compare(i, 4, "<!--") == 0) { // a commented-out tag declares nothing
            const size_t end = head.find("-->", i + 4);
            if (end == std::string_view::npos)
                return {};
            i = end + 3;
            continue;
        }
        if (head[i] == '<' && i + 5 < head.size() && EqualsUpper(head.substr(i + 1, 4), "META") &&
            IsSpace(head[i + 5])) {
            const size_t end = head.find('>', i);
            const std::string_view tag = head.substr(i + 5, end == std::string_view::npos ? end : end - i - 5);
            std::string charset = CharsetInTag(tag);
            if (!charset.empty())
                return charset;
            if (end == std::string_view::npos)
                return {};
            i = end + 1;
            continue;
        }
        ++i;
    }
    return {};
}

bool EncodingOfCharset(std::string_view label, PageEncoding& encoding) {
    const std::string l = Lower(std::string(label));
    // A declaration of UTF-16 readable as ASCII means the page is not UTF-16: browsers read
    // such a page as UTF-8.
    for (const char* name : {"utf-8", "utf8", "unicode-1-1-utf-8", "utf-16", "utf-16le", "utf-16be", "unicode"})
        if (l == name) {
            encoding = PageEncoding::Utf8;
            return true;
        }
    for (const char* name : {"windows-1252", "cp1252", "x-cp1252", "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1",
                             "l1", "us-ascii", "ascii", "ansi_x3.4-1968"})
        if (l == name) {
            encoding = PageEncoding::Windows1252;
            return true;
        }
    return false;
}

size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty())
        return 0;
    const unsigned char c = Byte(text, 0);
    if (c < 0x80)
        return 1;
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF; // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            lo = 0xA0; // overlong
        if (c == 0xED)
            hi = 0x9F; // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            lo = 0x90;
        if (c == 0xF4)
            hi = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < n)
        return 0;
    for (size_t i = 1; i < n; ++i) {
        const unsigned char t = Byte(text, i);
        if (i == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF))
            return 0;
    }
    return n;
}

namespace {

// How many bytes at the end of text begin a UTF-8 sequence that the next bytes would finish.
size_t CutSequenceTail(std::string_view text) {
    for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const unsigned char c = Byte(text, text.size() - back);
        if (c < 0x80)
            return 0;
        if (c >= 0xC0) {
            const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            return need > back ? back : 0;
        }
    }
    return 0;
}

} // namespace

std::string Utf8FromUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8SequenceLength(bytes.substr(i, 4));
        if (n == 0) {
            AppendUtf8(out, kReplacement);
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    AppendUtf16Bytes(out, bytes, bigEndian, true);
    return out;
}

std::string Utf8FromWindows1252(std::string_view bytes) { return Windows1252().ToUtf8(bytes); }

PageEncodingGuess DetectPageEncoding(std::string_view start, bool whole) {
    if (start.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return {PageEncoding::Utf8, 3};
    if (start.compare(0, 2, "\xFF\xFE") == 0)
        return {PageEncoding::Utf16Le, 2};
    if (start.compare(0, 2, "\xFE\xFF") == 0)
        return {PageEncoding::Utf16Be, 2};
    PageEncoding declared;
    if (EncodingOfCharset(DeclaredCharset(start), declared))
        return {declared, 0};
    const std::string_view checked = whole ? start : start.substr(0, start.size() - CutSequenceTail(start));
    return {IsValidUtf8(checked) ? PageEncoding::Utf8 : PageEncoding::Ansi, 0};
}

namespace {

std::string ToUtf8(PageEncoding encoding, std::string_view text, CodePage& ansi) {
    switch (encoding) {
    case PageEncoding::Utf8:
        return Utf8FromUtf8(text);
    case PageEncoding::Utf16Le:
        return Utf8FromUtf16(text, false);
    case PageEncoding::Utf16Be:
        return Utf8FromUtf16(text, true);
    case PageEncoding::Windows1252:
        return Utf8FromWindows1252(text);
    case PageEncoding::Ansi:
        return text.empty() ? std::string() : ansi.ToUtf8(text);
    }
    return std::string();
}

} // namespace

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string_view DecodeWholePage(std::string_view bytes, std::string& converted, CodePage& ansi, PageEncoding* encoding,
                                 size_t decidedBy) {
    const size_t decide = std::max(decidedBy, kCharsetSniffBytes);
    const bool whole = bytes.size() < decide;
    const PageEncodingGuess guess = DetectPageEncoding(whole ? bytes : bytes.substr(0, decide), whole);
    if (encoding)
        *encoding = guess.encoding;
    const std::string_view text = bytes.substr(guess.bomSize);
    if (guess.encoding == PageEncoding::Utf8 && IsValidUtf8(text))
        return text;
    return converted = ToUtf8(guess.encoding, text, ansi);
}

std::string DecodePage(std::string_view bytes, CodePage& ansi, PageEncoding* encoding) {
    std::string converted;
    return std::string(DecodeWholePage(bytes, converted, ansi, encoding));
}

Escapes DecodePercentEscapes(std::string_view value, std::string& out) {
    std::string decoded;
    bool any = false, control = false;
    for (size_t i = 0; i < value.size(); ++i) {
        int hi, lo;
        if (value[i] == '%' && i + 2 < value.size() && (hi = HexValue(value[i + 1])) >= 0 &&
            (lo = HexValue(value[i + 2])) >= 0) {
            const int byte = hi * 16 + lo;
            control = control || byte < 0x20 || byte == 0x7F;
            decoded += static_cast<char>(byte);
            any = true;
            i += 2;
        } else {
            decoded += value[i];
        }
    }
    if (!any) {
        out.assign(value);
        return Escapes::None;
    }
    if (control) {
        out.assign(value);
        return Escapes::Refused;
    }
    if (!IsValidUtf8(decoded)) {
        out.assign(value);
        return Escapes::KeptAsWritten;
    }
    out = std::move(decoded);
    return Escapes::Decoded;
}

} // namespace vk
