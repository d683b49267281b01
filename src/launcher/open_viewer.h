// Shows a page or movie of the disc in the built-in viewer and returns when it closes. When
// the control that the file needs is not installed, the shell opens the file instead.
#pragma once
#include <string>

#include "framework/wide.h"
#include "launcher/viewer.h"

namespace vk {

// mark: a property name the viewer's window carries while it shows (none when empty).
void OpenInViewer(const std::string& path, const std::string& iconPath, int windowSize, ViewerKind kind,
                  const fw::WString& mark = fw::WString());

} // namespace vk
