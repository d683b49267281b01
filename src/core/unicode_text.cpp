#include "core/unicode_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The code point at i, moving i past it; an invalid sequence yields U+FFFD and moves one
// byte, so the rest of the text is still read. valid is cleared on such a sequence.
char32_t NextCodePoint(std::string_view s, size_t& i, bool& valid) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    size_t length = 0;
    char32_t c = 0;
    char32_t least = 0; // below this the sequence is overlong
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    }
    if (length == 0 || i + length > s.size()) {
        ++i;
        valid = false;
        return kReplacement;
    }
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            valid = false;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || IsSurrogate(c)) {
        ++i;
        valid = false;
        return kReplacement;
    }
    i += length;
    return c;
}

// The one UTF-16 decoder. count code units, unit(i) the i-th: surrogates are paired, an
// unpaired one becomes U+FFFD. A high surrogate that ends the units waits for more unless
// last. Answers the units used.
template <class Unit>
size_t DecodeUtf16(std::string& out, size_t count, Unit unit, bool last) {
    size_t i = 0;
    while (i < count) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 == count && !last)
                break; // its partner may come with the next bytes
            const char32_t low = i + 1 < count ? unit(i + 1) : 0;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, u); // an unpaired surrogate becomes U+FFFD there
        ++i;
    }
    return i;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || IsSurrogate(c))
        c = kReplacement;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    bool valid = true;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i, valid);
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    DecodeUtf16(
        out, utf16.size(), [&](size_t i) { return static_cast<char32_t>(utf16[i]); }, true);
    return out;
}

size_t AppendUtf16Bytes(std::string& out, std::string_view bytes, bool bigEndian, bool last) {
    auto unit = [&](size_t i) -> char32_t {
        const unsigned a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    size_t used = 2 * DecodeUtf16(out, bytes.size() / 2, unit, last);
    if (last && used < bytes.size()) {
        AppendUtf8(out, kReplacement); // half a code unit at the end
        used = bytes.size();
    }
    return used;
}

bool IsValidUtf8(std::string_view text) {
    bool valid = true;
    for (size_t i = 0; i < text.size() && valid;) {
        // Runs of ASCII, the most of any page, eight bytes at a time.
        uint64_t eight;
        while (i + 8 <= text.size() && (std::memcpy(&eight, text.data() + i, 8), (eight & 0x8080808080808080ull) == 0))
            i += 8;
        if (i < text.size())
            NextCodePoint(text, i, valid);
    }
    return valid;
}

std::string FirstCharacters(std::string_view utf8, size_t count) {
    std::string out;
    bool valid = true;
    for (size_t i = 0, n = 0; i < utf8.size() && n < count; ++n)
        AppendUtf8(out, NextCodePoint(utf8, i, valid));
    return out;
}

std::string Utf16LeFileBytes(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(utf8)) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

DecodedText::DecodedText(ByteSource& raw) : m_raw(raw) {
    // A reader may hand out one byte at a time: gather enough to know the form.
    char head[3];
    size_t got = 0;
    while (got < sizeof head) {
        const size_t n = m_raw.Read(head + got, sizeof head - got);
        if (n == 0) {
            m_rawEnd = true;
            break;
        }
        got += n;
    }
    m_pending.assign(head, got);
    if (got >= 2 && m_pending.compare(0, 2, "\xFF\xFE") == 0) {
        m_form = TextForm::Utf16Le;
        m_pending.erase(0, 2);
    } else if (got == 3 && m_pending == "\xEF\xBB\xBF") {
        m_form = TextForm::Utf8;
        m_pending.clear();
    }
}

size_t DecodedText::Read(char* buffer, size_t size) {
    if (m_form != TextForm::Utf16Le) {
        if (!m_pending.empty()) {
            const size_t n = std::min(size, m_pending.size());
            std::memcpy(buffer, m_pending.data(), n);
            m_pending.erase(0, n);
            return n;
        }
        if (m_rawEnd)
            return 0;
        const size_t n = m_raw.Read(buffer, size);
        m_rawEnd = n == 0;
        return n;
    }
    while (m_outPos == m_out.size())
        if (!Refill())
            return 0;
    const size_t n = std::min(size, m_out.size() - m_outPos);
    std::memcpy(buffer, m_out.data() + m_outPos, n);
    m_outPos += n;
    return n;
}

bool DecodedText::Refill() {
    m_out.clear();
    m_outPos = 0;
    if (m_rawEnd && m_pending.empty())
        return false;
    if (!m_rawEnd) {
        char chunk[4096];
        const size_t n = m_raw.Read(chunk, sizeof chunk);
        if (n == 0)
            m_rawEnd = true;
        else
            m_pending.append(chunk, n);
    }
    DecodeUtf16();
    return true;
}

void DecodedText::DecodeUtf16() { m_pending.erase(0, AppendUtf16Bytes(m_out, m_pending, false, m_rawEnd)); }

} // namespace vk
