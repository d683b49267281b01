// "Vintrosk.exe design --build": Create CD without the dialog, printing to the console the
// program was started from.
#pragma once
#include <string>
#include <vector>

namespace vk {

// Builds from the options after "design --build" and returns the exit code.
int RunCommandBuildOnWindows(const std::vector<std::string>& options);

} // namespace vk
