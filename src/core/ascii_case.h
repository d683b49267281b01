// Letter case for the program's name and keyword tests. Only ASCII letters change, so a
// position found in a folded copy is the same position in the original text.
#pragma once
#include <string>
#include <string_view>

namespace vk {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string Lower(std::string text) {
    for (char& c : text)
        c = LowerAscii(c);
    return text;
}

inline std::string Upper(std::string text) {
    for (char& c : text)
        c = UpperAscii(c);
    return text;
}

// True when text, upper-cased, is exactly upper (given in upper case).
inline bool EqualsUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (UpperAscii(text[i]) != upper[i])
            return false;
    return true;
}

// True when a and b differ at most in letter case.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// True when text, upper-cased, contains upper (given in upper case).
inline bool ContainsUpper(std::string_view text, std::string_view upper) {
    for (size_t i = 0; i + upper.size() <= text.size(); ++i)
        if (EqualsUpper(text.substr(i, upper.size()), upper))
            return true;
    return false;
}

} // namespace vk
