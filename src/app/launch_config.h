// The launch argument list: read from the command line or from autorun.inf, and written
// into autorun.inf by the designer.
#pragma once
#include <string>
#include <vector>

#include "app/text_lines.h"

namespace vk {

struct LaunchConfig {
    bool found = false;
    int count = 0; // 0 to 5
    std::string target;
    std::string browserFlag;
    std::string windowSize;
    std::string splashOrSound;
    std::string sound;
};

constexpr const char* kAutorunInf = "autorun.inf";
constexpr size_t kLineBuffer = 1000;
constexpr size_t kLabelBuffer = 100;

// args are the command-line arguments after the program name.
LaunchConfig ReadLaunchConfig(const std::vector<std::string>& args, FileSource& files);
// The value of the first line holding "ICON=" in any letter case, or empty.
std::string ReadIconEntry(FileSource& files);
// True with the text after the first "=" of the first line holding "LABEL" before an "=".
bool ReadLabelEntry(FileSource& files, std::string& label);

// What the designer puts on the disc.
struct DiscSettings {
    std::string target;
    bool browser = false;
    int windowSize = 0;
    bool splash = false;
    std::string splashName;
    bool sound = false;
    std::string soundName;
    bool icon = false;
    std::string iconName;
};

// The exact bytes of autorun.inf for these settings; openValue receives the text written
// behind "OPEN=".
std::string AutorunInfText(const DiscSettings& settings, std::string* openValue);

std::string UnderscoreSpaces(std::string name);

// The C library's atoi rule, saturated at the int range instead of overflowing.
int AtoiRule(const std::string& text);

} // namespace vk
