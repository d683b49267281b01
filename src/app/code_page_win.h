// The system's ANSI code page through Windows.
#pragma once
#include <string>
#include <vector>

#include "app/code_page.h"

namespace vk {

class AnsiCodePage : public CodePage {
public:
    bool FromUtf8(std::string_view utf8, std::string& ansi) override;
    std::string ToUtf8(std::string_view ansi) override;
};

// UTF-8 and the wide text of the W functions; null-terminated, in a vector for the reason
// given in framework/ansi_wide.h.
std::vector<wchar_t> WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(const wchar_t* wide, int length = -1);

} // namespace vk
