#include "designer/builder_core.h"

#include "designer/scanner_core.h"

namespace vk {
namespace {

const char* CopyAdvice(CopyKind kind) {
    switch (kind) {
    case CopyKind::Target:
        return "\n\nPlease verify the file exists and is not currently opened in another program.";
    case CopyKind::Program:
        return "\n\nPlease verify the file exists and is not currently opened in another program.\nPlease also "
               "verify that any long sound effect has stopped playing before creating a new presentation.";
    case CopyKind::Extra:
        break;
    }
    return "\n\nPlease verify the file actually exists and is not currently opened in another program.";
}

bool HasPageName(const std::string& path) {
    std::string lower = path;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower.find(".htm") != std::string::npos || lower.find(".html") != std::string::npos;
}

// Copies source into the folder under name; a name that would land outside the folder is
// never tried and fails like any other copy.
bool CopyInto(BuildHost& host, CopyKind kind, const std::string& source, const std::string& folder,
              const std::string& name, const std::string& programFolder) {
    const std::string dest = folder + name;
    host.SetWorkingFolder(programFolder);
    if (!ClimbsOutOfFolder(name) && host.Copy(source, dest))
        return true;
    host.Tell(CopyFailureMessage(kind, source, dest));
    return false;
}

} // namespace

std::string CreateFolderMessage(const std::string& folder) {
    return "There was a problem creating the following directory:\n" + folder +
           "\n\nPlease check your permissions on your desktop.";
}

std::string CopyFailureMessage(CopyKind kind, const std::string& source, const std::string& dest) {
    return "There was a problem copying " + source + " to " + dest + CopyAdvice(kind);
}

std::string DoneQuestion(const std::string& folder) {
    return "Your files have been created and placed in " + folder +
           "\n\nSimply burn the included files, and all images used within those files (such as HTML graphics), "
           "to your CD-ROM root directory for auto-play.\n\nWould you like to preview your CD-ROM Auto-Play now?";
}

std::string PreviewParameters(const std::string& openValue) {
    size_t space = openValue.find(' ');
    return space == std::string::npos ? std::string() : openValue.substr(space + 1);
}

BuildOutcome RunBuild(const BuildSettings& s, BuildHost& host) {
    if (s.target.find(' ') != std::string::npos) {
        host.Tell(kSpacesMessage);
        host.FocusTargetName();
        return BuildOutcome::Refused;
    }
    std::string desktop;
    if (!host.DesktopFolder(desktop) || desktop.empty()) {
        host.Tell(kNoDesktopMessage);
        return BuildOutcome::NoDesktop;
    }
    const std::string folder = desktop + "\\" + kOutputFolderName;
    host.RemoveOldFolder(folder);
    if (!host.CreateFolder(folder))
        host.Tell(CreateFolderMessage(folder));
    host.SetWorkingFolder(s.programFolder);
    const std::string out = folder + "\\";

    if (!s.target.empty() && s.target[0] != '\\' && host.Exists(s.targetPath) &&
        !CopyInto(host, CopyKind::Target, s.targetPath, out, s.target, s.programFolder))
        return BuildOutcome::Stopped;

    DiscSettings disc;
    disc.target = s.target;
    disc.browser = s.browser;
    disc.windowSize = s.windowSize;
    disc.splash = s.splash;
    disc.splashName = s.splashName;
    disc.sound = s.sound;
    disc.soundName = s.soundName;
    disc.icon = s.icon;
    disc.iconName = s.iconName;
    const std::string openValue = host.WriteAutorunInf(folder, disc);
    host.WriteTextFile(out + kNoteName, kNoteText);

    if (!CopyInto(host, CopyKind::Program, s.exePath, out, kLauncherName, s.programFolder))
        return BuildOutcome::Stopped;
    if (s.splash && !s.splashName.empty() &&
        !CopyInto(host, CopyKind::Extra, s.splashPath, out, UnderscoreSpaces(s.splashName), s.programFolder))
        return BuildOutcome::Stopped;
    if (s.sound && !s.soundName.empty() &&
        !CopyInto(host, CopyKind::Extra, s.soundPath, out, UnderscoreSpaces(s.soundName), s.programFolder))
        return BuildOutcome::Stopped;
    // The name of the launcher itself means: show the program's own icon, copy nothing.
    if (s.icon && !s.iconName.empty() && s.iconName != kLauncherName &&
        !CopyInto(host, CopyKind::Extra, s.iconPath, out, UnderscoreSpaces(s.iconName), s.programFolder))
        return BuildOutcome::Stopped;

    if (HasPageName(s.targetPath))
        host.ScanPage(s.targetPath, out);

    if (!host.Ask(DoneQuestion(out)))
        return BuildOutcome::Declined;
    host.StartPreview(out + kLauncherName, PreviewParameters(openValue), out);
    return BuildOutcome::Previewed;
}

} // namespace vk
