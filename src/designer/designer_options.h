// The designer dialog's options as one table, and its small rules, apart from its window. A
// new option is a row here, a field of DiscSettings, and its controls in the dialog template.
#pragma once
#include <string>
#include <vector>

#include "app/launch_config.h"

namespace vk {

// How a Select button asks for its file.
struct FilePicker {
    const char* subfolder;        // of the program's folder, where the dialog starts
    const char* defaultExtension; // ".*" for none
    const char* title;
    const char* filter;  // description|pattern pairs, ended by "||"
    bool underscoreName; // the shown name has "_" for every space
};

// One option of the designer: the controls that show it, the settings it keeps, and how its
// file is picked. An id of 0 or a null member means the option has no such part.
struct DesignerOption {
    const char* role; // in messages: "the splash image ..."
    int checkBox;     // turns the option on and off
    bool DiscSettings::*on;
    int enables[2]; // what the check box enables, 0 where unused
    int selectButton;
    FilePicker picker;
    int nameControl; // shows the file's name
    std::string DiscSettings::*name;
    std::string DiscSettings::*path; // where the picked file is read from
    const char* checkBoxTip;
    const char* selectTip;
    const char* nameTip;
};

// The file to open, the splash image, the sound, the icon and the built-in browser, in the
// order in which Create CD copies their files.
const std::vector<DesignerOption>& DesignerOptions();
const DesignerOption& TargetOption();
// The option of a check box or of a Select button, or null.
const DesignerOption* OptionOfCheckBox(int id);
const DesignerOption* OptionOfSelectButton(int id);

// The filter in the file dialog's form: pairs separated and ended by NULs, a double NUL last.
std::string DialogFilter(const char* barFilter);
// The extension as the file dialog takes it, without its dot; empty for none.
std::string DialogDefaultExtension(const char* extension);

struct PickedFile {
    std::string path; // the full path, untouched
    std::string name; // what the dialog shows
};
PickedFile ApplyPick(const FilePicker& picker, const std::string& fullPath);

// The tip of a control, or an empty text for controls without one.
const char* TooltipText(int controlId);

// The system menu command that opens the About box.
constexpr unsigned kAboutCommand = 0x0010;
inline bool IsAboutCommand(unsigned command) { return (command & 0xFFF0) == kAboutCommand; }

// The top-left corner of an icon centred in a client area, as a minimised window draws it.
inline int CentredIconEdge(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }

} // namespace vk
