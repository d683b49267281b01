// The system's ANSI code page through Windows.
#pragma once
#include <string>

#include "core/code_page.h"

namespace vk {

class AnsiCodePage : public CodePage {
public:
    bool FromUtf8(std::string_view utf8, std::string& ansi) override;
    std::string ToUtf8(std::string_view ansi) override;
};

} // namespace vk
