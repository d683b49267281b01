#include "core/code_page.h"

#include "core/unicode_text.h"

namespace vk {
namespace {

// Bytes 0x80 to 0x9F; the unassigned ones keep their own value, as Windows converts them.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool ByteOf1252(char32_t c, char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == c) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

} // namespace

bool Windows1252::FromUtf8(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    if (!IsValidUtf8(utf8))
        return false;
    const std::u16string wide = Utf8ToUtf16(utf8);
    for (char16_t unit : wide) {
        char byte;
        if (!ByteOf1252(unit, byte)) // a surrogate is never in the table
            return false;
        ansi.push_back(byte);
    }
    return true;
}

std::string Windows1252::ToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (size_t i = 0; i < ansi.size(); ++i) {
        // Runs of ASCII, most of any page, go over as they are.
        size_t end = i;
        while (end < ansi.size() && static_cast<unsigned char>(ansi[end]) < 0x80)
            ++end;
        out.append(ansi, i, end - i);
        if (end == ansi.size())
            break;
        const unsigned char byte = static_cast<unsigned char>(ansi[end]);
        AppendUtf8(out, byte < 0xA0 ? kHigh1252[byte - 0x80] : byte);
        i = end;
    }
    return out;
}

} // namespace vk
