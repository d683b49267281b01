// The linked-file scanner with the designer's wait and missing-files windows: a copy of what a
// page links to, shown page by page.
#pragma once
#include <string>

#include "disc/scanner.h"

class CWaitDlg;

namespace vk {

// The process-wide list of files that the last top-level scan could not copy.
MissingFileList& MissingFiles();

// Copies every local file that pagePath links to into destFolder (which ends in a backslash),
// following linked pages. Shows each page in waitDlg's text, when there is one, and lets
// waiting messages through once per page. A top-level scan ends with the missing-files
// dialog when something could not be copied. False, with the message, when a copy failed
// although its source was there (a full disk, say): the build fails, and no list is shown.
bool ScanLinkedFiles(const std::string& pagePath, const std::string& destFolder, bool topLevel, CWaitDlg* waitDlg,
                     std::string& failure);

} // namespace vk
