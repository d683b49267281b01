#include "designer/designer_rules.h"

#include "app/launch_config.h"

namespace vk {

const FilePicker* PickerFor(int buttonId) {
    static const FilePicker pickers[] = {
        {1000, "html", ".*", "Select the File to Auto-Play on CD-ROM",
         "All Files (*.*)|*.*|HTML Files (*.htm;*.html)|*.htm; *.html|Microsoft Word Files (*.doc)|*.doc|"
         "Adobe PDF Files (*.pdf)|*.pdf||",
         true},
        {1016, "splashscreens", ".*", "Select an Image to Display in CD-ROM Splash Screen",
         "GIF/JPG/BMP (*.gif;*.jpg;*.bmp;*.jpeg)|*.gif; *.jpg; *.bmp; *.jpeg||", false},
        {1020, "sounds\\", ".*", "Select a Sound to Play upon CD-ROM Startup", "Wav (*.wav)|*.wav||", false},
        {1022, "icons", ".ico", "Select an Icon for Your CD-ROM", "Ico/Bmp/Exe (*.ico;*.bmp;*.exe)|*.ico; *.bmp; *.exe||",
         false},
    };
    for (const FilePicker& picker : pickers)
        if (picker.button == buttonId)
            return &picker;
    return nullptr;
}

std::string DialogFilter(const char* barFilter) {
    std::string filter = barFilter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    // A filter without the closing bars still ends in the double NUL the dialog needs.
    filter.append(2, '\0');
    return filter;
}

std::string DialogDefaultExtension(const char* extension) {
    std::string ext = extension ? extension : "";
    if (!ext.empty() && ext[0] == '.')
        ext.erase(0, 1);
    // ".*" means any extension, so nothing is appended to a name typed without one.
    return ext == "*" ? std::string() : ext;
}

PickedFile ApplyPick(const FilePicker& picker, const std::string& fullPath) {
    size_t slash = fullPath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
    return {fullPath, picker.underscoreName ? UnderscoreSpaces(name) : name};
}

const int* ControlsOfOption(int checkBoxId) {
    static const int splash[] = {1016, 1018, 0};
    static const int sound[] = {1020, 1019, 0};
    static const int icon[] = {1022, 1023, 0};
    static const int browser[] = {1028, 0};
    switch (checkBoxId) {
    case 1015: return splash;
    case 1017: return sound;
    case 1021: return icon;
    case 1026: return browser;
    default: return nullptr;
    }
}

const char* TooltipText(int controlId) {
    switch (controlId) {
    case 1: return "Compile your autoplay CD-ROM files for testing and burn.";
    case 1000: return "Select the file or web page you wish to have launched.";
    case 1005: return "Filename of web page or executable you wish to have launched or autoplayed.";
    case 1006: return "Help on creating autoplay CD-ROMs.";
    case 1015: return "Include a self-sizing graphical splash screen.";
    case 1016: return "Select an image to display as your splash screen.";
    case 1017: return "Include a sound effect as CD-ROM begins auto-playing.";
    case 1020: return "Select a sound effect to autoplay.";
    case 1021: return "Include a custom icon to represent the CD-ROM.";
    case 1022: return "Select an icon to represent your CD-ROM.";
    case 1024: return "Preview the sound effect to autoplay.";
    case 1026: return "Use the internal web browser dialog rather than launching Microsoft Internet Explorer.";
    default: return "";
    }
}

} // namespace vk
