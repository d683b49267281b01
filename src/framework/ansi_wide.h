// Text between the ANSI code page and UTF-16, for the few system interfaces that only speak
// one of them (COM, tooltips asked for wide text, string resources read in place).
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

inline std::wstring AnsiToWide(std::string_view text) {
    if (text.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

inline std::string WideToAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(size > 0 ? size : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0], size, nullptr, nullptr);
    return ansi;
}

} // namespace fw
