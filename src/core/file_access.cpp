#include "core/file_access.h"

namespace vk {

std::string LastStep(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    // "\x" and "C:\x" keep their root.
    return slash == 0 || (slash == 2 && path[1] == ':') ? path.substr(0, slash + 1) : path.substr(0, slash);
}

bool ListTree(FileAccess& files, const std::string& folder, std::vector<std::string>& fileNames,
              std::vector<std::string>& folderNames, std::string& error) {
    // Breadth first without recursion: a deep tree costs no stack.
    std::vector<std::string> pending{std::string()};
    std::vector<FolderEntry> entries;
    for (size_t next = 0; next < pending.size(); ++next) {
        const std::string relative = pending[next];
        entries.clear();
        if (!files.List(relative.empty() ? folder : folder + "\\" + relative, entries, error))
            return false;
        for (const FolderEntry& entry : entries) {
            const std::string name = relative.empty() ? entry.name : relative + "\\" + entry.name;
            if (entry.kind == PathKind::Folder) {
                pending.push_back(name);
                folderNames.push_back(name);
            } else {
                fileNames.push_back(name);
            }
        }
    }
    return true;
}

bool RemoveTree(FileAccess& files, const std::string& folder, std::string& error) {
    std::vector<std::string> fileNames, folderNames;
    if (!ListTree(files, folder, fileNames, folderNames, error))
        return false;
    for (const std::string& name : fileNames)
        if (!files.RemoveFile(folder + "\\" + name, error))
            return false;
    for (auto it = folderNames.rbegin(); it != folderNames.rend(); ++it)
        if (!files.RemoveFolder(folder + "\\" + *it, error))
            return false;
    return files.RemoveFolder(folder, error);
}

std::string UnusedName(FileAccess& files, const std::string& path, const std::string& suffix) {
    std::string name = path + suffix;
    for (int n = 2; files.Kind(name) != PathKind::None; ++n)
        name = path + suffix + std::to_string(n);
    return name;
}

} // namespace vk
