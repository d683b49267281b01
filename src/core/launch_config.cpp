#include "core/launch_config.h"

#include <climits>

#include "core/ascii_case.h"
#include "core/unicode_text.h"

namespace vk {
namespace {

std::string* ValueSlot(LaunchConfig& config, int index) {
    std::string* slots[] = {&config.target, &config.browserFlag, &config.windowSize, &config.splashOrSound,
                            &config.sound};
    return slots[index];
}

void Store(LaunchConfig& config, const std::string& value) {
    if (config.count < 5)
        *ValueSlot(config, config.count++) = value;
}

// The lines of autorun.inf in UTF-8. An ANSI line is cut to the buffer in bytes before it is
// decoded, exactly as before; a Unicode line is decoded first and cut in characters, so a
// name in any script keeps as many characters as a Western one.
class InfLines {
public:
    InfLines(ByteSource& raw, size_t bufferSize, CodePage& ansi)
        : m_text(raw), m_ansi(ansi), m_keep(bufferSize - 1),
          m_lines(m_text, m_text.Form() == TextForm::Ansi ? bufferSize : kMaxUtf8Bytes * m_keep + 1) {}
    bool Next(std::string& line) {
        if (!m_lines.Next(line))
            return false;
        line = m_text.Form() == TextForm::Ansi ? m_ansi.ToUtf8(line) : FirstCharacters(line, m_keep);
        return true;
    }

private:
    static constexpr size_t kMaxUtf8Bytes = 4; // per character
    DecodedText m_text;
    CodePage& m_ansi;
    size_t m_keep;
    LineReader m_lines;
};

Windows1252& Page1252() {
    static Windows1252 page;
    return page;
}

} // namespace

LaunchConfig ReadLaunchConfig(const std::vector<std::string>& args, FileSource& files) {
    return ReadLaunchConfig(args, files, Page1252());
}

std::string ReadIconEntry(FileSource& files) { return ReadIconEntry(files, Page1252()); }

bool ReadLabelEntry(FileSource& files, std::string& label) { return ReadLabelEntry(files, label, Page1252()); }

std::string AutorunInfText(const DiscSettings& settings, std::string* openValue) {
    return AutorunInfText(settings, openValue, Page1252());
}

LaunchConfig ReadLaunchConfig(const std::vector<std::string>& args, FileSource& files, CodePage& ansi) {
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
    InfLines reader(*file, kLineBuffer, ansi);
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

std::string ReadIconEntry(FileSource& files, CodePage& ansi) {
    if (!files.Exists(kAutorunInf))
        return {};
    std::unique_ptr<ByteSource> file = files.Open(kAutorunInf);
    if (!file)
        return {};
    InfLines reader(*file, kLineBuffer, ansi);
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

bool ReadLabelEntry(FileSource& files, std::string& label, CodePage& ansi) {
    label.clear();
    std::unique_ptr<ByteSource> file = files.Open(kAutorunInf);
    if (!file)
        return false;
    InfLines reader(*file, kLabelBuffer, ansi);
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

std::string AutorunInfText(const DiscSettings& s, std::string* openValue, CodePage& ansi) {
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
    std::string bytes;
    if (!ansi.FromUtf8(text, bytes))
        bytes = Utf16LeFileBytes(text);
    return bytes;
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
