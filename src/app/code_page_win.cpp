#include "app/code_page_win.h"

#include <windows.h>

#include <cwchar>

#include "app/unicode_text.h"

namespace vk {

std::wstring WideFromUtf8(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string Utf8FromWide(const wchar_t* wide, int length) {
    const size_t size = length < 0 ? std::wcslen(wide) : static_cast<size_t>(length);
    return Utf16ToUtf8(std::u16string(wide, wide + size));
}

bool AnsiCodePage::FromUtf8(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    if (!IsValidUtf8(utf8))
        return false;
    // A system whose ANSI page is UTF-8 holds every name as it is.
    if (::GetACP() == CP_UTF8) {
        ansi.assign(utf8);
        return true;
    }
    const std::wstring wide = WideFromUtf8(utf8);
    if (wide.empty())
        return true;
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    // No best fit: a near look-alike would name a file that is not on the disc.
    const int size =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return false;
    ansi.resize(size);
    usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, &ansi[0], size, nullptr, &usedDefault);
    return !usedDefault;
}

std::string AnsiCodePage::ToUtf8(std::string_view ansi) {
    if (ansi.empty())
        return {};
    const int length = static_cast<int>(ansi.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring wide(size, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], size);
    return Utf8FromWide(wide.data(), size);
}

} // namespace vk
