// Create CD: builds "CD-ROM Distributable Files" on the desktop from the designer's settings
// and offers to preview the disc.
#pragma once
#include <string>

class CDesignerDlg;

namespace vk {

// The designer's OnOK. Reads the controls into the dialog's members first. Returns at once
// while another build is still running (the scan lets messages through).
void BuildDistribution(CDesignerDlg& dlg);

// The desktop's file-system path; false when it cannot be had.
bool DesktopPath(std::string& path);

} // namespace vk
