// Shows a page or movie of the disc in the built-in viewer and returns when it closes. When
// the control that the file needs is not installed, the shell opens the file instead.
#pragma once
#include <string>

#include "viewer/viewer.h"

namespace vk {

void OpenInViewer(const std::string& path, const std::string& iconPath, int windowSize, ViewerKind kind);

} // namespace vk
