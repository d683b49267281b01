// Pages in any encoding: which encoding a page's bytes are in, their conversion to UTF-8, and
// the percent-escapes of link values. Text inside the core is UTF-8 from here on.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "core/unicode_text.h"

namespace vk {

enum class PageEncoding {
    Utf8,
    Utf16Le,
    Utf16Be,
    Windows1252, // declared as windows-1252, iso-8859-1, latin1 or us-ascii, as browsers read them
    Ansi,        // the system's code page: the bytes were neither declared nor valid UTF-8
};

struct PageEncodingGuess {
    PageEncoding encoding;
    size_t bomSize; // bytes of byte-order mark to drop
};

// Browsers look for a declaration only this far into a page.
constexpr size_t kCharsetSniffBytes = 1024;
// A page longer than this is decided by this much of its start: validating a page of hundreds
// of MB to choose between UTF-8 and the code page would tell nothing more.
constexpr size_t kPageBlock = 64u << 20;

// By byte-order mark, else by a <meta> charset in the first kCharsetSniffBytes, else UTF-8 when
// the bytes are valid UTF-8, else Ansi. When `whole` is false, start is only the page's first
// part, and a UTF-8 sequence cut at its end still counts as valid.
PageEncodingGuess DetectPageEncoding(std::string_view start, bool whole = true);

// The charset a <meta> tag declares in the first kCharsetSniffBytes, lower-cased; empty if none.
std::string DeclaredCharset(std::string_view start);

// The encoding a charset label names, or false for labels not recognised.
bool EncodingOfCharset(std::string_view label, PageEncoding& encoding);

// Length of the valid UTF-8 sequence starting at text[0], or 0 when there is none.
size_t Utf8SequenceLength(std::string_view text);

// Each invalid byte becomes U+FFFD.
std::string Utf8FromUtf8(std::string_view bytes);
// Unpaired surrogates and an odd last byte become U+FFFD.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian);
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D (undefined) become U+0081 and so on, as Windows and browsers
// map them.
std::string Utf8FromWindows1252(std::string_view bytes);

// All of a page's bytes as UTF-8: a view into bytes where they are UTF-8 already, else into
// converted. encoding, when given, receives how the page was read. A page longer than
// decidedBy is decided by its first decidedBy bytes (at least kCharsetSniffBytes), where a
// character cut at the end does not count against UTF-8.
std::string_view DecodeWholePage(std::string_view bytes, std::string& converted, CodePage& ansi,
                                 PageEncoding* encoding = nullptr, size_t decidedBy = kPageBlock);
// The same as a string of its own (for tests and small texts).
std::string DecodePage(std::string_view bytes, CodePage& ansi, PageEncoding* encoding = nullptr);

enum class Escapes {
    None,          // no %XX in the value
    Decoded,       // the escapes were UTF-8; out holds the decoded value
    KeptAsWritten, // the escapes were not UTF-8 text; out holds the value as written
    Refused,       // an escape names a control character (NUL, CR, LF ...); out as written
};
// Decodes %XX escapes (either letter case) as UTF-8 bytes. A "%" not followed by two hex
// digits stays as it is; "+" is not a blank in a file name.
Escapes DecodePercentEscapes(std::string_view value, std::string& out);

} // namespace vk
