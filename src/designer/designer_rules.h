// The designer dialog's fixed tables and small rules, apart from its window.
#pragma once
#include <string>

namespace vk {

struct FilePicker {
    int button;
    const char* subfolder;
    const char* defaultExtension;
    const char* title;
    const char* filter; // description|pattern pairs, ended by "||"
    bool underscoreName;
};

// The picker of a Select button, or null.
const FilePicker* PickerFor(int buttonId);
// The filter in the file dialog's form: pairs separated and ended by NULs, a double NUL last.
std::string DialogFilter(const char* barFilter);
// The extension as the file dialog takes it, without its dot; empty for none.
std::string DialogDefaultExtension(const char* extension);

struct PickedFile {
    std::string path; // the full path, untouched
    std::string name; // what the dialog shows
};
PickedFile ApplyPick(const FilePicker& picker, const std::string& fullPath);

// The controls that an option check box enables; ends with 0. Null for other ids.
const int* ControlsOfOption(int checkBoxId);

// The tip of a control, or an empty text for controls without one.
const char* TooltipText(int controlId);

// The system menu command that opens the About box.
constexpr unsigned kAboutCommand = 0x0010;
inline bool IsAboutCommand(unsigned command) { return (command & 0xFFF0) == kAboutCommand; }

// The top-left corner of an icon centred in a client area, as a minimised window draws it.
inline int CentredIconEdge(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }

} // namespace vk
