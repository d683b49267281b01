#include "app/launch_config.h"

#include <climits>

#include "app/ascii_case.h"

namespace vk {
namespace {

std::string* ValueSlot(LaunchConfig& config, int index) {
    std::string* slots[] = {&config.target, &config.browserFlag, &config.windowSize,
                            &config.splashOrSound, &config.sound};
    return slots[index];
}

void Store(LaunchConfig& config, const std::string& value) {
    if (config.count < 5)
        *ValueSlot(config, config.count++) = value;
}

} // namespace

LaunchConfig ReadLaunchConfig(const std::vector<std::string>& args, FileSource& files) {
    LaunchConfig config;
    if (!args.empty()) {
        config.found = true;
        for (const std::string& arg : args)
            Store(config, arg);
        return config;
    }
    if (!files.Exists(kAutorunInf))
        return config;
    std::unique_ptr<ByteSource> file = files.Open(kAutorunInf);
    if (!file)
        return config;
    LineReader reader(*file, kLineBuffer);
    std::string line;
    if (!reader.Next(line) || !reader.Next(line))
        return config;
    size_t exe = line.find(".exe");
    if (exe == std::string::npos)
        return config;
    config.found = true;
    const std::string rest = line.substr(exe + 4);
    size_t pos = 0;
    while (config.count < 5) {
        pos = rest.find_first_not_of(' ', pos);
        if (pos == std::string::npos)
            break;
        size_t end = rest.find(' ', pos);
        if (end == std::string::npos)
            end = rest.size();
        Store(config, rest.substr(pos, end - pos));
        pos = end;
    }
    return config;
}

std::string ReadIconEntry(FileSource& files) {
    if (!files.Exists(kAutorunInf))
        return {};
    std::unique_ptr<ByteSource> file = files.Open(kAutorunInf);
    if (!file)
        return {};
    LineReader reader(*file, kLineBuffer);
    std::string line;
    while (reader.Next(line)) {
        std::string upper = line;
        for (char& c : upper)
            c = UpperAscii(c);
        size_t at = upper.find("ICON=");
        if (at != std::string::npos)
            return line.substr(at + 5);
    }
    return {};
}

bool ReadLabelEntry(FileSource& files, std::string& label) {
    label.clear();
    std::unique_ptr<ByteSource> file = files.Open(kAutorunInf);
    if (!file)
        return false;
    LineReader reader(*file, kLabelBuffer);
    std::string line;
    while (reader.Next(line)) {
        // Only the key counts: a splash or icon named LABEL.JPG is no label line.
        const size_t eq = line.find('=');
        if (eq != std::string::npos && line.find("LABEL") < eq) {
            label = line.substr(eq + 1);
            return true;
        }
    }
    return false;
}

std::string AutorunInfText(const DiscSettings& s, std::string* openValue) {
    std::string open = "autorun.exe ";
    open += s.m_strTarget.empty() ? "none" : s.m_strTarget;
    open += s.m_bBrowser ? " 1" : " 0";
    open += " " + std::to_string(s.m_nWindowSize);
    if (s.m_bSplash && !s.m_strSplashName.empty())
        open += " " + UnderscoreSpaces(s.m_strSplashName);
    if (s.m_bSound && !s.m_strSoundName.empty())
        open += " " + UnderscoreSpaces(s.m_strSoundName);
    std::string text = "[autorun]\r\nOPEN=" + open + "\r\n";
    if (s.m_bIcon)
        text += "ICON=" + UnderscoreSpaces(s.m_strIconName) + "\r\n";
    if (openValue)
        *openValue = open;
    return text;
}

std::string UnderscoreSpaces(std::string name) {
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return name;
}

int AtoiRule(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

} // namespace vk
