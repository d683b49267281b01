#include "app/module_path.h"

#include <windows.h>

namespace vk {

std::string ModulePath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string ModuleFolder() {
    std::string path = ModulePath();
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace vk
