// Text at the Win32 edge: the program keeps UTF-8 in std::string everywhere and calls the wide
// (W) functions of the system, converting here and only here.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

// A UTF-16 string of its own traits type: libstdc++ ships std::wstring ready-made in one large
// object, which a static link would pull in whole; this one brings only what is used.
struct WideTraits : std::char_traits<wchar_t> {};
using WString = std::basic_string<wchar_t, WideTraits>;

inline WString Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    WString wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

// A file path for the wide file functions. A path as long as MAX_PATH or more (a deep site with
// long names) is made full and given the "\\?\" prefix, which lifts the limit.
inline WString WidePath(std::string_view utf8) {
    WString wide = Widen(utf8);
    if (wide.size() < MAX_PATH - 12 || wide.compare(0, 4, L"\\\\?\\") == 0)
        return wide;
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    WString full(size, L'\0');
    const DWORD got = size ? ::GetFullPathNameW(wide.c_str(), size, &full[0], nullptr) : 0;
    if (got == 0 || got >= size)
        return wide;
    full.resize(got);
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC" + full.substr(1);
    return L"\\\\?\\" + full;
}

inline std::string Narrow(const wchar_t* text, size_t length) {
    if (!text || length == 0)
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

inline std::string Narrow(const wchar_t* text) { return text ? Narrow(text, ::lstrlenW(text)) : std::string(); }
inline std::string Narrow(const WString& text) { return Narrow(text.data(), text.size()); }

} // namespace fw
