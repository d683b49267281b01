#include "launcher/viewer.h"

#include "core/ascii_case.h"

namespace vk {

std::optional<ViewerKind> ViewerKindOf(const std::string& file) {
    // The first part found decides, so a name with ".htm" anywhere in it is a page.
    static const struct {
        const char* part;
        ViewerKind kind;
    } kByName[] = {
        {".htm", ViewerKind::Page},   {".avi", ViewerKind::Movie}, {".wmv", ViewerKind::Movie},
        {".mpeg", ViewerKind::Movie}, {".mpg", ViewerKind::Movie},
    };
    const std::string lower = Lower(file);
    for (const auto& entry : kByName)
        if (lower.find(entry.part) != std::string::npos)
            return entry.kind;
    return std::nullopt;
}

Size MinTrackSize(ViewerKind kind, int dpi) {
    Size track = {450, 300};
    switch (kind) {
    case ViewerKind::Movie:
        track = {150, 150};
        break;
    case ViewerKind::Page:
        break;
    }
    return ScaleToDpi(track, dpi);
}

void ApplyMinTrack(Size minTrack, Size& systemMinTrack) {
    if (minTrack.cx != 0 && minTrack.cy != 0)
        systemMinTrack = minTrack;
}

WindowPlan PlanWindowSize(int index, const ScreenMetrics& screen, int dpi) {
    WindowPlan plan;
    switch (index) {
    case 1:
        plan = {ViewerPlacement::Centred, 0, 0, ScaleToDpi(640, dpi), ScaleToDpi(480, dpi)};
        break;
    case 2:
        plan = {ViewerPlacement::Centred, 0, 0, ScaleToDpi(800, dpi), ScaleToDpi(600, dpi)};
        break;
    case 3:
        // Border and caption stay, just off the top-left corner of the screen.
        plan = {ViewerPlacement::FullScreen, -(screen.cxBorder + 1), -(screen.cyBorder + 1),
                screen.horzRes + screen.cxBorder + 1, screen.vertRes + screen.cyBorder + 1};
        break;
    default:
        break;
    }
    return plan;
}

bool MovieFileName(const std::string& path, std::string& name) {
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash == 0)
        return false;
    name = path.substr(slash + 1);
    return true;
}

bool InitialTitle(ViewerKind kind, const std::string& path, bool hasLabel, const std::string& label,
                  std::string& title) {
    if (hasLabel) {
        title = label;
        return true;
    }
    switch (kind) {
    case ViewerKind::Movie:
        return MovieFileName(path, title);
    case ViewerKind::Page:
        break;
    }
    return false;
}

} // namespace vk
