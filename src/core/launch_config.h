// The launch argument list: read from the command line or from autorun.inf, and written
// into autorun.inf by the designer.
#pragma once
#include <string>
#include <vector>

#include "core/code_page.h"
#include "core/text_lines.h"

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

// The readers take autorun.inf in the ANSI code page `ansi`, or as Unicode when it starts with
// a UTF-16LE or UTF-8 byte-order mark, and return UTF-8. A Unicode line keeps as many
// characters (code points) as an ANSI line keeps bytes. The forms without `ansi` read an ANSI
// file as Windows-1252.

// args are the command-line arguments after the program name, in UTF-8.
LaunchConfig ReadLaunchConfig(const std::vector<std::string>& args, FileSource& files, CodePage& ansi);
LaunchConfig ReadLaunchConfig(const std::vector<std::string>& args, FileSource& files);
// The value of the first line holding "ICON=" in any letter case, or empty.
std::string ReadIconEntry(FileSource& files, CodePage& ansi);
std::string ReadIconEntry(FileSource& files);
// True with the text after the first "=" of the first line holding "LABEL" before an "=".
bool ReadLabelEntry(FileSource& files, std::string& label, CodePage& ansi);
bool ReadLabelEntry(FileSource& files, std::string& label);

// The designer's settings for one disc, with its defaults: what the dialog shows, what Create
// CD copies, and what autorun.inf says. Named as the designer's members, which they are.
struct DiscSettings {
    std::string m_strExePath;                             // the running program, copied as autorun.exe
    std::string m_strTarget = "1_Demo_General_Menu.html"; // the file to open, as named on the disc
    bool m_bSplash = true;
    std::string m_strSplashName = "default.jpg";
    std::string m_strSoundName = "default.wav";
    bool m_bSound = true;
    std::string m_strIconName = "autorun.exe"; // the launcher's own name: its own icon
    bool m_bIcon = true;
    bool m_bBrowser = true;
    int m_nWindowSize = 0;
    // Where each picked file is read from; the defaults are relative to the program's folder.
    std::string m_strTargetPath = "html\\1_Demo_General_Menu.html";
    std::string m_strSplashPath = "splashscreens/default.jpg";
    std::string m_strSoundPath = "sounds/default.wav";
    std::string m_strIconPath = "autorun.exe";
    std::string m_strProgramFolder; // without a trailing backslash
    bool m_bImage = false;          // also a disc image beside the output folder
};

// The exact bytes of autorun.inf for these settings, whose names are UTF-8: in the ANSI code
// page `ansi` when it can hold every name, else UTF-16LE with its byte-order mark, which is
// how Windows reads a Unicode .inf. openValue receives the text written behind "OPEN=", in
// UTF-8. The form without `ansi` writes Windows-1252.
std::string AutorunInfText(const DiscSettings& settings, std::string* openValue, CodePage& ansi);
std::string AutorunInfText(const DiscSettings& settings, std::string* openValue);

std::string UnderscoreSpaces(std::string name);

// The C library's atoi rule, saturated at the int range instead of overflowing.
int AtoiRule(const std::string& text);

} // namespace vk
