// Create CD: builds "CD-ROM Distributable Files" on the desktop from the designer's settings
// and offers to preview the disc.
#pragma once

class CDesignerDlg;

namespace vk {

// The designer's OnOK. Reads the controls into the dialog's members first. Returns at once
// while another build is still running (the scan lets messages through).
void BuildDistribution(CDesignerDlg& dlg);

} // namespace vk
