// The system's ANSI code page as the core sees it: the Win32 shell asks Windows, the tests use
// Windows-1252 (the page of the Wine prefix).
#pragma once
#include <string>
#include <string_view>

namespace vk {

class CodePage {
public:
    virtual ~CodePage() = default;
    // False when some character has no byte sequence of its own in the page (a best-fit
    // substitute does not count); ansi is then unspecified.
    virtual bool FromUtf8(std::string_view utf8, std::string& ansi) = 0;
    // Every byte sequence decodes to something; bytes the page leaves undefined are not lost.
    virtual std::string ToUtf8(std::string_view ansi) = 0;
};

// Windows-1252 as Windows converts it: its five unassigned bytes map to the C1 controls of
// the same value and back.
class Windows1252 : public CodePage {
public:
    bool FromUtf8(std::string_view utf8, std::string& ansi) override;
    std::string ToUtf8(std::string_view ansi) override;
};

} // namespace vk
