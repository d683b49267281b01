// What the viewer window decides from numbers and strings: what it shows a file as, its size
// and place by the window-size index, its minimum tracking size and its first title.
#pragma once
#include <optional>
#include <string>

#include "framework/dpi_scale.h"

namespace vk {

// The framework's geometry, in this code's own words.
using fw::ScaleToDpi;
using fw::Size;

// What the viewer shows a file as; each kind has its own control in the viewer window.
enum class ViewerKind {
    Page,  // the Web Browser control
    Movie, // the Media Player control
};

// The kind by the file's name, in any letter case; none when the viewer does not show it.
std::optional<ViewerKind> ViewerKindOf(const std::string& file);

// The smallest size, in pixels at the given dpi, to which the user may drag the window.
Size MinTrackSize(ViewerKind kind, int dpi);
// The system's minimum tracking size, replaced only when both values are set.
void ApplyMinTrack(Size minTrack, Size& systemMinTrack);

enum class ViewerPlacement {
    Keep,       // the template's size, centred by the template
    Centred,    // this outer size, then centred on the work area
    FullScreen, // this outer rectangle: caption and border kept, right and bottom on the screen's edges
};

struct ScreenMetrics {
    int horzRes, vertRes; // the display's size
    int cxBorder, cyBorder;
};

struct WindowPlan {
    ViewerPlacement placement = ViewerPlacement::Keep;
    int x = 0, y = 0, width = 0, height = 0;
};

// Index 0 "Default", 1 "640x480", 2 "800x600", 3 "Full Screen"; any other value is Default.
// The named sizes are what the user sees at 100 %: they grow with the screen's dpi. Full
// screen is the screen's own size, in its pixels.
WindowPlan PlanWindowSize(int index, const ScreenMetrics& screen, int dpi);

// The movie's file name: the text after the path's last backslash, when that stands after
// the first character.
bool MovieFileName(const std::string& path, std::string& name);

// The title before the browser reports a page title: a label of autorun.inf, else for a
// movie its file name. False leaves the window's (empty) caption as it is.
bool InitialTitle(ViewerKind kind, const std::string& path, bool hasLabel, const std::string& label,
                  std::string& title);

} // namespace vk
