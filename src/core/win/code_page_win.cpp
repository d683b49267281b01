#include "core/win/code_page_win.h"

#include <windows.h>

#include "core/unicode_text.h"
#include "framework/wide.h"

namespace vk {

bool AnsiCodePage::FromUtf8(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    if (!IsValidUtf8(utf8))
        return false;
    // A system whose ANSI page is UTF-8 holds every name as it is.
    if (::GetACP() == CP_UTF8) {
        ansi.assign(utf8);
        return true;
    }
    const fw::WString wide = fw::Widen(utf8);
    const int length = static_cast<int>(wide.size());
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
    fw::WString wide(size, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], size);
    return fw::Narrow(wide);
}

} // namespace vk
