// The running executable's own path and folder.
#pragma once
#include <string>

namespace vk {

std::string ModulePath();
// The path cut at its last backslash, without it.
std::string ModuleFolder();

} // namespace vk
