// Text between the ANSI code page and UTF-16, for the few system interfaces that only speak
// one of them (COM, tooltips asked for wide text, string resources read in place).
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Null-terminated. A vector rather than std::wstring: the library's wide string code would
// add tens of kilobytes to a program that otherwise never needs it.
inline std::vector<wchar_t> AnsiToWide(std::string_view text) {
    const int size = text.empty()
                         ? 0
                         : ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(size > 0 ? size + 1 : 1, L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

inline std::string WideToAnsi(const wchar_t* text, size_t length) {
    if (!text || length == 0)
        return {};
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string ansi(size > 0 ? size : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &ansi[0], size, nullptr, nullptr);
    return ansi;
}

} // namespace fw
