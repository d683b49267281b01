#include "launcher/autoplay.h"

#include <cstdint>

#include "core/ascii_case.h"
#include "controls/shell_open.h"

namespace vk {

bool ContainsAny(const std::string& text, std::initializer_list<const char*> needles) {
    for (const char* needle : needles)
        if (text.find(needle) != std::string::npos)
            return true;
    return false;
}

std::string DiscViewerMark(const std::string& folder) {
    std::string key = Upper(folder);
    for (char& c : key)
        if (c == '/')
            c = '\\';
    while (!key.empty() && key.back() == '\\')
        key.pop_back();
    // FNV-1a, 64 bits: two folders of one machine meeting in it is out of the question.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : key)
        hash = (hash ^ c) * 1099511628211ull;
    std::string mark = "VINTROSK_VIEWER_";
    for (int shift = 60; shift >= 0; shift -= 4)
        mark += "0123456789ABCDEF"[(hash >> shift) & 0xF];
    return mark;
}

StartupPath ChooseStartupPath(const LaunchConfig& config) {
    if (!config.found)
        return StartupPath::NoConfig;
    if (config.count == 0)
        return StartupPath::DesignerNoCheck;
    if (config.target == "design")
        return StartupPath::Designer;
    return StartupPath::Launcher;
}

AutoplayPlan PlanAutoplay(const LaunchConfig& config) {
    AutoplayPlan plan;
    if (config.count >= 4) {
        const std::string fourth = Lower(config.splashOrSound);
        const std::string fifth = Lower(config.sound);
        if (config.count == 5 && ContainsAny(fifth, {".wav"}))
            plan.soundPath = fifth;
        if (ContainsAny(fourth, {".gif", ".bmp", ".jpg"}))
            plan.splashPath = fourth;
        // One device alias carries one sound: a sound at position 5 keeps it.
        else if (ContainsAny(fourth, {".wav"}) && plan.soundPath.empty())
            plan.soundPath = fourth;
    }

    const std::string& target = config.target;
    if (target == "none")
        return plan;
    const std::string lower = Lower(target);
    const std::optional<ViewerKind> kind = ViewerKindOf(target);
    if (config.browserFlag == "1" && kind) {
        plan.open = OpenWith::Viewer;
        plan.viewerFile = target;
        plan.windowSize = AtoiRule(config.windowSize);
        plan.viewerKind = *kind;
        return plan;
    }
    plan.open = OpenWith::Shell;
    plan.shellFile = target;
    if (ContainsAny(lower, {".ppt"})) {
        plan.shellFile = "Powerpnt.exe";
        plan.shellParams = "/s " + target;
    }
    return plan;
}

std::string OwnProgramMessage(const std::string& target) {
    return "This CD-ROM is set to open " + target +
           ", which is its own start-up program, so there is nothing to open.\n\nThe CD-ROM's autorun.inf must name "
           "another file to open.";
}

std::string ShellFailureMessage(const std::string& target, const AutoplayPlan& plan, int code) {
    return OpenFileErrorMessage(target, code, plan.shellFile == target ? nullptr : plan.shellFile.c_str());
}

std::vector<std::string> ShellCandidates(const std::string& target) {
    std::vector<std::string> names{target};
    const size_t nameStart = target.find_last_of("\\/:") + 1;
    if (nameStart < target.size() && target.find('.', nameStart) == std::string::npos)
        names.push_back(target + ".exe");
    return names;
}

} // namespace vk
