// What the two link controls share: the hand cursor and the link font. Each control keeps its
// own rules for when it looks like a link.
#pragma once
#include <windows.h>

namespace vk {

// The hand of the help program, winhlp32.exe in the Windows folder, loaded once per process;
// the system's own hand where that program or its cursor is missing.
HCURSOR LinkHandCursor();

// A new font like `font`, underlined or not; null when it cannot be made. The caller deletes it.
HFONT CreateLinkFont(HFONT font, bool underline);

} // namespace vk
