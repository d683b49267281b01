#include "core/win/module_path.h"

#include "framework/wide.h"

namespace vk {

std::string ModulePath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fw::Narrow(path);
}

std::string ModuleFolder() {
    std::string path = ModulePath();
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace vk
