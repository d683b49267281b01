#include "disc/disc_files.h"

#include "disc/builder.h"

namespace vk {

const std::vector<DiscFile>& DiscFiles() {
    // A table, laid out by hand.
    // clang-format off
    static const std::vector<DiscFile> files = {
        {"file to open", nullptr, &DiscSettings::m_strTarget, &DiscSettings::m_strTargetPath,
         {"html", ".*", "Select the File to Auto-Play on CD-ROM",
          "All Files (*.*)|*.*|HTML Files (*.htm;*.html)|*.htm; *.html|Microsoft Word Files (*.doc)|*.doc|"
          "Adobe PDF Files (*.pdf)|*.pdf||",
          true},
         "--target", nullptr},
        {"splash image", &DiscSettings::m_bSplash, &DiscSettings::m_strSplashName, &DiscSettings::m_strSplashPath,
         {"splashscreens", ".*", "Select an Image to Display in CD-ROM Splash Screen",
          "GIF/JPG/BMP (*.gif;*.jpg;*.bmp;*.jpeg)|*.gif; *.jpg; *.bmp; *.jpeg||", false},
         "--splash", "--no-splash"},
        {"sound", &DiscSettings::m_bSound, &DiscSettings::m_strSoundName, &DiscSettings::m_strSoundPath,
         {"sounds\\", ".*", "Select a Sound to Play upon CD-ROM Startup", "Wav (*.wav)|*.wav||", false},
         "--sound", "--no-sound"},
        {"icon file", &DiscSettings::m_bIcon, &DiscSettings::m_strIconName, &DiscSettings::m_strIconPath,
         {"icons", ".ico", "Select an Icon for Your CD-ROM", "Ico/Bmp/Exe (*.ico;*.bmp;*.exe)|*.ico; *.bmp; *.exe||",
          false},
         "--icon", "--no-icon"},
    };
    // clang-format on
    return files;
}

const DiscFile& TargetFile() { return DiscFiles().front(); }

bool IsProgramsOwnIcon(const DiscFile& file, const DiscSettings& s) {
    return file.name == &DiscSettings::m_strIconName && UsesProgramIcon(s);
}

PickedFile ApplyPick(const FilePicker& picker, const std::string& fullPath) {
    size_t slash = fullPath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
    return {fullPath, picker.underscoreName ? UnderscoreSpaces(name) : name};
}

} // namespace vk
