// What start-up and the autoplay sequence decide from a launch configuration, apart from
// the windows and threads that carry it out.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "core/launch_config.h"
#include "launcher/viewer.h"

namespace vk {

enum class StartupPath {
    NoConfig,        // information message, then end
    DesignerNoCheck, // autorun.inf with nothing after ".exe"
    Designer,        // first value exactly "design"
    Launcher,
};

StartupPath ChooseStartupPath(const LaunchConfig& config);

enum class OpenWith { Nothing, Viewer, Shell };

struct AutoplayPlan {
    std::string soundPath;  // lower-cased; empty when no sound starts
    std::string splashPath; // lower-cased; empty when no splash shows
    OpenWith open = OpenWith::Nothing;
    // Viewer: the target as given (the caller puts the executable's folder before it).
    std::string viewerFile;
    int windowSize = 0;
    ViewerKind viewerKind = ViewerKind::Page;
    // Shell: file and parameters for the default verb.
    std::string shellFile;
    std::string shellParams;
};

AutoplayPlan PlanAutoplay(const LaunchConfig& config);

// Shown instead of handing the launcher's own program file to the shell, which would start
// another launcher that does the same, without end.
std::string OwnProgramMessage(const std::string& target);
// Shown when the shell cannot open the target (no program for its type, a file that is not
// there): the open-error text for the shell's code, naming the target and, for a slide show,
// the program it was handed to.
std::string ShellFailureMessage(const std::string& target, const AutoplayPlan& plan, int code);
// The names under which the shell may find a target: as given, and with ".exe" when its file
// name has no extension.
std::vector<std::string> ShellCandidates(const std::string& target);

bool ContainsAny(const std::string& text, std::initializer_list<const char*> needles);

// The name that marks the viewer of the disc whose launcher lies in `folder`: the named mutex
// a launcher holds while its viewer shows, and the property of the viewer's window by which a
// second launcher of that disc finds it. Launchers of other discs get other names. Slash
// kinds, trailing separators and ASCII letter case do not count; the folder is hashed, since
// a mutex name may hold no backslash and has a length limit.
std::string DiscViewerMark(const std::string& folder);

} // namespace vk
