#include "app/code_page_win.h"

#include <windows.h>

#include <cwchar>

#include "app/unicode_text.h"

namespace vk {

std::vector<wchar_t> WideFromUtf8(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    std::vector<wchar_t> wide(units.begin(), units.end());
    wide.push_back(L'\0');
    return wide;
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
    const std::vector<wchar_t> wide = WideFromUtf8(utf8);
    const int length = static_cast<int>(wide.size()) - 1;
    if (length == 0)
        return true;
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
    std::vector<wchar_t> wide(size);
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), size);
    return Utf8FromWide(wide.data(), size);
}

} // namespace vk
