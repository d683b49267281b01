// The designer dialog's options as one table of its controls, and its small rules, apart from
// its window. A new option is a row here, its controls in the dialog template, and (for a file)
// a row of the disc's files.
#pragma once
#include <string>
#include <vector>

#include "disc/disc_files.h"

namespace vk {

// One option of the designer: the controls that show it and the disc's file it picks, if
// any. An id of 0 means the option has no such control.
struct DesignerOption {
    const DiscFile* file;   // null for an option without a file (the built-in browser)
    bool DiscSettings::*on; // the check box's setting, where the option has no file
    int checkBox;           // turns the option on and off
    int enables[2];         // what the check box enables, 0 where unused
    int selectButton;
    int nameControl; // shows the file's name
    const char* checkBoxTip;
    const char* selectTip;
    const char* nameTip;
};

// The file to open, the splash image, the sound, the icon and the built-in browser.
const std::vector<DesignerOption>& DesignerOptions();
// The setting the option's check box turns on and off; null where it has none.
inline auto CheckedSetting(const DesignerOption& option) -> bool DiscSettings::* {
    return option.file ? option.file->on : option.on;
}
// The option of a check box or of a Select button, or null.
const DesignerOption* OptionOfCheckBox(int id);
const DesignerOption* OptionOfSelectButton(int id);

// The filter in the file dialog's form: pairs separated and ended by NULs, a double NUL last.
std::string DialogFilter(const char* barFilter);
// The extension as the file dialog takes it, without its dot; empty for none.
std::string DialogDefaultExtension(const char* extension);

// The tip of a control, or an empty text for controls without one.
const char* TooltipText(int controlId);

// The system menu command that opens the About box.
constexpr unsigned kAboutCommand = 0x0010;
inline bool IsAboutCommand(unsigned command) { return (command & 0xFFF0) == kAboutCommand; }

// The top-left corner of an icon centred in a client area, as a minimised window draws it.
inline int CentredIconEdge(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }

} // namespace vk
