// The system's ANSI code page through Windows.
#pragma once
#include <string>

#include "core/code_page.h"
#include "core/text_decode.h"

namespace vk {

class AnsiCodePage : public CodePage {
public:
    bool FromUtf8(std::string_view utf8, std::string& ansi) override;
    std::string ToUtf8(std::string_view ansi) override;
};

// Undeclared pages read in the system's ANSI code page.
class AnsiPageDecoder : public AnsiDecoder {
public:
    std::string AnsiToUtf8(std::string_view bytes) override { return m_codePage.ToUtf8(bytes); }

private:
    AnsiCodePage m_codePage;
};

} // namespace vk
