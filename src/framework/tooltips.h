// A tooltip control that asks its owner dialog for the text of each child control
// (TTN_NEEDTEXT with the tool identified by its window handle).
#pragma once
#include "framework/wnd.h"

namespace fw {

class ToolTips : public Wnd {
public:
    // Creates the control and registers every child of the dialog as a tool.
    bool Enable(HWND dialog);
};

// The control id of a TTN_NEEDTEXT request's tool, or 0 when the tool is not a window.
int ToolTipControlId(const NMHDR* header);
// Answers a TTN_NEEDTEXT request, ANSI or wide, with a UTF-8 text converted to what it asks for.
void SetToolTipText(NMHDR* header, const char* text);

} // namespace fw
