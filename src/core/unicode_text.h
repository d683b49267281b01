// UTF-8 and UTF-16 for text read from and written to files; what is not valid becomes
// U+FFFD, so no input can stop a reader.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/text_lines.h"

namespace vk {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// UTF-16 bytes, little- or big-endian, appended to out as UTF-8. Answers the bytes used: a high
// surrogate or half a code unit at the end waits for more, unless last (then each becomes
// U+FFFD, as an unpaired surrogate always does).
size_t AppendUtf16Bytes(std::string& out, std::string_view bytes, bool bigEndian, bool last);
// Appends one code point; one outside Unicode or a surrogate becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t c);
bool IsValidUtf8(std::string_view text);
// The first `count` characters (code points) of the text.
std::string FirstCharacters(std::string_view utf8, size_t count);

// "FF FE" then the text as UTF-16 little-endian: the form of a Unicode text file that the
// Windows profile functions read.
std::string Utf16LeFileBytes(std::string_view utf8);

// How a text file's first bytes say it is encoded.
enum class TextForm {
    Ansi,    // no byte-order mark: the ANSI code page
    Utf8,    // EF BB BF
    Utf16Le, // FF FE
};

// Hands out a file's text without its byte-order mark: UTF-8 for the Unicode forms, the bytes
// as they are for an ANSI file. A final odd byte and an unpaired surrogate of a UTF-16 file
// become U+FFFD.
class DecodedText : public ByteSource {
public:
    explicit DecodedText(ByteSource& raw);
    TextForm Form() const { return m_form; }
    size_t Read(char* buffer, size_t size) override;

private:
    bool Refill();
    void DecodeUtf16();

    ByteSource& m_raw;
    TextForm m_form = TextForm::Ansi;
    std::string m_pending; // read but not yet decoded
    std::string m_out;     // decoded, not yet handed out
    size_t m_outPos = 0;
    bool m_rawEnd = false;
};

} // namespace vk
