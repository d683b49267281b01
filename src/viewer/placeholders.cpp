#include "viewer/placeholders.h"

#include "app/ascii_case.h"

namespace vk {

std::string ExpandPlaceholders(const std::string& text, FolderLookup& folders) {
    if (text.find('{') == std::string::npos || text.find('}') == std::string::npos)
        return text;
    std::string result;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("{}", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start) {
            const std::string piece = text.substr(start, end - start);
            const std::string word = Lower(piece);
            std::string folder;
            if (word == "root") {
                if (folders.Find(KnownFolder::System, folder))
                    result += folder.substr(0, 2);
            } else if (word == "windows" || word == "system" || word == "desktop" || word == "programfiles") {
                const KnownFolder which = word == "windows"  ? KnownFolder::Windows
                                          : word == "system" ? KnownFolder::System
                                          : word == "desktop" ? KnownFolder::Desktop
                                                              : KnownFolder::ProgramFiles;
                if (folders.Find(which, folder))
                    result += folder;
            } else {
                result += piece;
            }
        }
        start = end + 1;
    }
    return result;
}

} // namespace vk
