#include "designer/designer_options.h"

#include "designer/designer_ids.h"

namespace vk {

const std::vector<DesignerOption>& DesignerOptions() {
    // A table, laid out by hand.
    // clang-format off
    static const std::vector<DesignerOption> options = {
        {"file to open", 0, nullptr, {0, 0}, IDC_SELECT_FILE,
         {"html", ".*", "Select the File to Auto-Play on CD-ROM",
          "All Files (*.*)|*.*|HTML Files (*.htm;*.html)|*.htm; *.html|Microsoft Word Files (*.doc)|*.doc|"
          "Adobe PDF Files (*.pdf)|*.pdf||",
          true},
         IDC_TARGET_NAME, &DiscSettings::m_strTarget, &DiscSettings::m_strTargetPath, nullptr,
         "Select the file or web page you wish to have launched.",
         "Filename of web page or executable you wish to have launched or autoplayed."},
        {"splash image", IDC_SPLASH_OPTION, &DiscSettings::m_bSplash, {IDC_SELECT_IMAGE, IDC_SPLASH_NAME},
         IDC_SELECT_IMAGE,
         {"splashscreens", ".*", "Select an Image to Display in CD-ROM Splash Screen",
          "GIF/JPG/BMP (*.gif;*.jpg;*.bmp;*.jpeg)|*.gif; *.jpg; *.bmp; *.jpeg||", false},
         IDC_SPLASH_NAME, &DiscSettings::m_strSplashName, &DiscSettings::m_strSplashPath,
         "Include a self-sizing graphical splash screen.", "Select an image to display as your splash screen.",
         nullptr},
        {"sound", IDC_SOUND_OPTION, &DiscSettings::m_bSound, {IDC_SELECT_SOUND, IDC_SOUND_NAME}, IDC_SELECT_SOUND,
         {"sounds\\", ".*", "Select a Sound to Play upon CD-ROM Startup", "Wav (*.wav)|*.wav||", false},
         IDC_SOUND_NAME, &DiscSettings::m_strSoundName, &DiscSettings::m_strSoundPath,
         "Include a sound effect as CD-ROM begins auto-playing.", "Select a sound effect to autoplay.", nullptr},
        {"icon file", IDC_ICON_OPTION, &DiscSettings::m_bIcon, {IDC_SELECT_ICON, IDC_ICON_NAME}, IDC_SELECT_ICON,
         {"icons", ".ico", "Select an Icon for Your CD-ROM", "Ico/Bmp/Exe (*.ico;*.bmp;*.exe)|*.ico; *.bmp; *.exe||",
          false},
         IDC_ICON_NAME, &DiscSettings::m_strIconName, &DiscSettings::m_strIconPath,
         "Include a custom icon to represent the CD-ROM.", "Select an icon to represent your CD-ROM.", nullptr},
        {"built-in browser", IDC_BROWSER_OPTION, &DiscSettings::m_bBrowser, {IDC_WINDOW_SIZE, 0}, 0, {}, 0, nullptr,
         nullptr, "Use the internal web browser dialog rather than launching Microsoft Internet Explorer.", nullptr,
         nullptr},
    };
    // clang-format on
    return options;
}

const DesignerOption& TargetOption() { return DesignerOptions().front(); }

const DesignerOption* OptionOfCheckBox(int id) {
    for (const DesignerOption& option : DesignerOptions())
        if (option.checkBox && option.checkBox == id)
            return &option;
    return nullptr;
}

const DesignerOption* OptionOfSelectButton(int id) {
    for (const DesignerOption& option : DesignerOptions())
        if (option.selectButton && option.selectButton == id)
            return &option;
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

const char* TooltipText(int controlId) {
    for (const DesignerOption& option : DesignerOptions()) {
        if (option.checkBox && option.checkBox == controlId && option.checkBoxTip)
            return option.checkBoxTip;
        if (option.selectButton && option.selectButton == controlId && option.selectTip)
            return option.selectTip;
        if (option.nameControl && option.nameControl == controlId && option.nameTip)
            return option.nameTip;
    }
    // The buttons that belong to no option.
    switch (controlId) {
    case 1:
        return "Compile your autoplay CD-ROM files for testing and burn.";
    case IDC_HELP_BUTTON:
        return "Help on creating autoplay CD-ROMs.";
    case IDC_PLAY_SOUND:
        return "Preview the sound effect to autoplay.";
    case IDC_IMAGE_OPTION:
        return "Also write a disc image of the CD-ROM files beside their folder, ready to burn.";
    default:
        return "";
    }
}

} // namespace vk
