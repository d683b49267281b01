// The files a disc takes from its maker (the file to open, the splash image, the sound, the
// icon) as one table: the settings each is kept in, how its file is picked and named, and its
// options on the command line. The designer shows them; the build and the command build read
// them. A new file of the disc is a row here and a field of DiscSettings.
#pragma once
#include <string>
#include <vector>

#include "core/launch_config.h"

namespace vk {

// How a file is picked, in the designer's file dialog and from the command line.
struct FilePicker {
    const char* subfolder;        // of the program's folder, where the dialog starts
    const char* defaultExtension; // ".*" for none
    const char* title;
    const char* filter;  // description|pattern pairs, ended by "||"
    bool underscoreName; // the shown name has "_" for every space
};

struct DiscFile {
    const char* role;       // in messages: "the splash image ..."
    bool DiscSettings::*on; // null: the file cannot be left out
    std::string DiscSettings::*name;
    std::string DiscSettings::*path; // where the picked file is read from
    FilePicker picker;
    const char* given; // the command-line option that names it
    const char* none;  // the one that leaves it out, or null
};

// In the order in which Create CD copies their files.
const std::vector<DiscFile>& DiscFiles();
const DiscFile& TargetFile();
// True for the icon when it means the launcher's own icon, which is not copied apart.
bool IsProgramsOwnIcon(const DiscFile& file, const DiscSettings& s);

struct PickedFile {
    std::string path; // the full path, untouched
    std::string name; // what the dialog shows
};
PickedFile ApplyPick(const FilePicker& picker, const std::string& fullPath);

} // namespace vk
