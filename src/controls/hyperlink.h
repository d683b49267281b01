// The numbers behind the hyperlink control and the help window: how a link shrinks to its
// text, which colour it shows in, and the address of the help page inside the program.
#pragma once
#include <cstdint>
#include <string>

#include "framework/geometry.h"

namespace vk {

// The framework's geometry, in this code's own words.
using fw::Placement;
using fw::Rect;

// Static control styles that decide where the text sits.
constexpr uint32_t kStaticCenter = 0x1;
constexpr uint32_t kStaticRight = 0x2;
constexpr uint32_t kStaticCenterImage = 0x200;

// Where a link goes when it fits its text. window: its rectangle in its parent's client
// coordinates; border: window size less client size; text: the text's extent. The text keeps
// its alignment: left-aligned text keeps the left edge, centred text (SS_CENTER) the centre,
// right-aligned text (SS_RIGHT) the right edge; vertically the top edge, or the centre with
// SS_CENTERIMAGE.
Placement FitLinkToText(const Rect& window, int borderWidth, int borderHeight, int textWidth, int textHeight,
                        uint32_t style);

// Colours as 0x00BBGGRR, the system's COLORREF.
constexpr uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kLinkColour = Rgb(0, 0, 255);
constexpr uint32_t kActiveLinkColour = Rgb(0, 128, 128);
constexpr uint32_t kVisitedLinkColour = Rgb(128, 0, 128);

// Pressed or focused wins over visited, visited over a fresh link.
uint32_t LinkColour(bool active, bool visited);

// The res: address of the help page, HTML resource IDR_HELP_PAGE, inside the program file at
// this full path: whatever the program is called, the browser finds the page in the file itself.
// The path is percent-encoded as the res: protocol reads it ("#", "%", blanks and other
// characters that a URL path cannot hold), keeping its drive colon and backslashes.
std::string HelpPageAddress(const std::string& modulePath);

} // namespace vk
