// The linked-file scanner on the real file system, with its wait and missing-files dialogs.
#pragma once
#include <string>

#include "app/launch_config_win.h"
#include "designer/scanner.h"

class CWaitDlg;

namespace vk {

// The process-wide list of files that the last top-level scan could not copy.
MissingFileList& MissingFiles();

// Copies every local file that pagePath links to into destFolder (which ends in a backslash),
// following linked pages. Shows each page in waitDlg's text, when there is one, and lets
// waiting messages through once per page. A top-level scan ends with the missing-files
// dialog when something could not be copied.
void ScanLinkedFiles(const std::string& pagePath, const std::string& destFolder, bool topLevel,
                     CWaitDlg* waitDlg);

} // namespace vk
