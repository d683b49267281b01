#include "designer/builder_core.h"

#include <vector>

#include "app/ascii_case.h"
#include "app/paths.h"
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

bool HasPageName(const std::string& path) { return Lower(path).find(".htm") != std::string::npos; }

bool CopiesTarget(const BuildSettings& s) { return !s.target.empty() && s.target[0] != '\\'; }

// The file a name lands on inside the output folder, in one letter case, as Windows would
// open it: steps resolved, trailing dots and blanks dropped.
std::string LandingKey(const std::string& name) {
    std::string key = Lower(ResolveAgainst("C:\\out", name));
    while (!key.empty() && (key.back() == '.' || key.back() == ' '))
        key.pop_back();
    return key;
}

// A file of the user's that a build reads: its role in messages, the name its copy gets in
// the output folder (empty when it is read but not copied under a name of its own), and its
// path as the designer holds it.
struct PickedFile {
    const char* role;
    std::string name;
    std::string path;
    bool isTarget = false;
};

std::vector<PickedFile> PickedFiles(const BuildSettings& s) {
    std::vector<PickedFile> files;
    if (CopiesTarget(s))
        files.push_back({"file to open", s.target, s.targetPath, true});
    else if (HasPageName(s.targetPath))
        files.push_back({"file to open", "", s.targetPath}); // scanned all the same
    if (s.splash && !s.splashName.empty())
        files.push_back({"splash image", UnderscoreSpaces(s.splashName), s.splashPath});
    if (s.sound && !s.soundName.empty())
        files.push_back({"sound", UnderscoreSpaces(s.soundName), s.soundPath});
    if (s.icon && !s.iconName.empty() && !UsesProgramIcon(s))
        files.push_back({"icon file", UnderscoreSpaces(s.iconName), s.iconPath});
    files.push_back({"program", "", s.exePath});
    return files;
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

bool UsesProgramIcon(const BuildSettings& s) {
    if (s.iconName != kLauncherName)
        return false;
    // The designer's default, or the running program picked by hand: anything else named so
    // is another program, whose copy would replace the launcher.
    return s.iconPath == kLauncherName ||
           SamePath(ResolveAgainst(s.programFolder, s.iconPath), ResolveAgainst(s.programFolder, s.exePath));
}

std::string PickedFileProblem(const BuildSettings& s, const std::string& folder, bool& targetConcerned) {
    const std::vector<PickedFile> files = PickedFiles(s);
    const char* reserved[] = {kLauncherName, kAutorunInf, kNoteName};
    targetConcerned = false;
    for (const PickedFile& file : files)
        for (const char* own : reserved)
            if (!file.name.empty() && LandingKey(file.name) == LandingKey(own)) {
                targetConcerned = file.isTarget;
                return ReservedNameMessage(file.role, file.name);
            }
    for (size_t i = 0; i < files.size(); ++i)
        for (size_t j = i + 1; j < files.size(); ++j) {
            const PickedFile &a = files[i], &b = files[j];
            if (a.name.empty() || b.name.empty() || LandingKey(a.name) != LandingKey(b.name))
                continue;
            if (SamePath(ResolveAgainst(s.programFolder, a.path), ResolveAgainst(s.programFolder, b.path)))
                continue; // the same file twice lands as the same bytes
            targetConcerned = a.isTarget;
            return SameNameMessage(a.role, b.role, b.name);
        }
    for (const PickedFile& file : files) {
        const std::string full = ResolveAgainst(s.programFolder, file.path);
        if (IsInsideFolder(folder, full)) {
            targetConcerned = file.isTarget;
            return InsideOutputMessage(file.role, full, folder);
        }
    }
    return {};
}

std::string ReservedNameMessage(const std::string& role, const std::string& name) {
    return "The " + role + " " + name +
           " has the name of a file that Create CD writes itself (autorun.exe, autorun.inf or "
           "COPY_ALL_TO_CDROM_ROOT.txt), so it would replace that file on the CD-ROM.\n\nPlease rename the file or "
           "select a new one.";
}

std::string SameNameMessage(const std::string& role, const std::string& otherRole, const std::string& name) {
    return "The " + role + " and the " + otherRole + " would both be copied to the CD-ROM as " + name +
           ", and one would replace the other.\n\nPlease rename one of them or select another file.";
}

std::string InsideOutputMessage(const std::string& role, const std::string& path, const std::string& folder) {
    return "The " + role + " " + path + " lies inside " + folder +
           ", which Create CD empties before it copies anything, so the file would be lost.\n\nPlease move it out of "
           "that folder or select another file.";
}

std::string MissingTargetWarning(const std::string& path, const std::string& name, const std::string& folder) {
    return "The file to open, " + path + ", was not found, so it is not in " + folder +
           "\n\nThe CD-ROM will not start until you add " + name + " to that folder.";
}

std::string WriteFailureMessage(const std::string& path) {
    return "There was a problem writing " + path +
           "\n\nPlease verify that no folder or read-only file of that name is in the way, that the file is not "
           "currently opened in another program, and that the disk is not full.";
}

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
    bool targetConcerned = false;
    const std::string problem = PickedFileProblem(s, folder, targetConcerned);
    if (!problem.empty()) {
        host.Tell(problem);
        if (targetConcerned)
            host.FocusTargetName();
        return BuildOutcome::Refused;
    }
    host.RemoveOldFolder(folder);
    if (!host.CreateFolder(folder))
        host.Tell(CreateFolderMessage(folder));
    host.SetWorkingFolder(s.programFolder);
    const std::string out = folder + "\\";

    // A target that is not there yet is left out: the user may add it to the folder by hand.
    const bool targetMissing = CopiesTarget(s) && !host.Exists(s.targetPath);
    if (CopiesTarget(s) && !targetMissing &&
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
    std::string openValue;
    if (!host.WriteAutorunInf(folder, disc, openValue)) {
        host.Tell(WriteFailureMessage(out + kAutorunInf));
        return BuildOutcome::Stopped;
    }
    if (!host.WriteTextFile(out + kNoteName, kNoteText)) {
        host.Tell(WriteFailureMessage(out + kNoteName));
        return BuildOutcome::Stopped;
    }

    if (!CopyInto(host, CopyKind::Program, s.exePath, out, kLauncherName, s.programFolder))
        return BuildOutcome::Stopped;
    if (s.splash && !s.splashName.empty() &&
        !CopyInto(host, CopyKind::Extra, s.splashPath, out, UnderscoreSpaces(s.splashName), s.programFolder))
        return BuildOutcome::Stopped;
    if (s.sound && !s.soundName.empty() &&
        !CopyInto(host, CopyKind::Extra, s.soundPath, out, UnderscoreSpaces(s.soundName), s.programFolder))
        return BuildOutcome::Stopped;
    if (s.icon && !s.iconName.empty() && !UsesProgramIcon(s) &&
        !CopyInto(host, CopyKind::Extra, s.iconPath, out, UnderscoreSpaces(s.iconName), s.programFolder))
        return BuildOutcome::Stopped;

    if (HasPageName(s.targetPath))
        host.ScanPage(s.targetPath, out);
    if (targetMissing)
        host.Tell(MissingTargetWarning(ResolveAgainst(s.programFolder, s.targetPath), s.target, out));

    if (!host.Ask(DoneQuestion(out)))
        return BuildOutcome::Declined;
    host.StartPreview(out + kLauncherName, PreviewParameters(openValue), out);
    return BuildOutcome::Previewed;
}

} // namespace vk
