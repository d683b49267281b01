#include "designer/designer_options.h"

#include "designer/designer_ids.h"

namespace vk {

const std::vector<DesignerOption>& DesignerOptions() {
    // A table, laid out by hand.
    // clang-format off
    static const std::vector<DiscFile>& files = DiscFiles();
    static const std::vector<DesignerOption> options = {
        {&files[0], nullptr, 0, {0, 0}, IDC_SELECT_FILE, IDC_TARGET_NAME, nullptr,
         "Select the file or web page you wish to have launched.",
         "Filename of web page or executable you wish to have launched or autoplayed."},
        {&files[1], nullptr, IDC_SPLASH_OPTION, {IDC_SELECT_IMAGE, IDC_SPLASH_NAME}, IDC_SELECT_IMAGE,
         IDC_SPLASH_NAME, "Include a self-sizing graphical splash screen.",
         "Select an image to display as your splash screen.", nullptr},
        {&files[2], nullptr, IDC_SOUND_OPTION, {IDC_SELECT_SOUND, IDC_SOUND_NAME}, IDC_SELECT_SOUND,
         IDC_SOUND_NAME, "Include a sound effect as CD-ROM begins auto-playing.", "Select a sound effect to autoplay.",
         nullptr},
        {&files[3], nullptr, IDC_ICON_OPTION, {IDC_SELECT_ICON, IDC_ICON_NAME}, IDC_SELECT_ICON,
         IDC_ICON_NAME, "Include a custom icon to represent the CD-ROM.", "Select an icon to represent your CD-ROM.",
         nullptr},
        {nullptr, &DiscSettings::m_bBrowser, IDC_BROWSER_OPTION, {IDC_WINDOW_SIZE, 0}, 0, 0,
         "Use the internal web browser dialog rather than launching Microsoft Internet Explorer.", nullptr, nullptr},
    };
    // clang-format on
    return options;
}

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
