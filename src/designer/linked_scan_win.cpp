#include "designer/linked_scan_win.h"

#include <windows.h>

#include "controls/wait_dlg.h"
#include "core/win/code_page_win.h"
#include "designer/missing_files_dlg.h"
#include "disc/builder.h"
#include "disc/win/scanner_win.h"
#include "framework/app.h"

namespace vk {
namespace {

// The disk comes before the scan that watches it.
struct OwnDisk {
    WinDisk m_ownDisk;
};

// The pages go by in the wait window; the missing files show in their window at the end.
class WinScanHost : private OwnDisk, public WatchedScan, public ScanProgress {
public:
    explicit WinScanHost(CWaitDlg* waitDlg) : WatchedScan(m_ownDisk), m_waitDlg(waitDlg) {}
    // A page neither declared nor valid UTF-8 is in the machine's own code page.
    AnsiCodePage ansi;

    void PageStarting(const std::string& pagePath) override {
        if (m_waitDlg)
            m_waitDlg->SetItemText(IDC_WAIT_TEXT, pagePath);
        fw::PumpMessages();
    }
    void ShowMissing(const std::vector<MissingFile>& missing) override {
        if (Failed())
            return; // the build fails for it
        // Owned, like the wait window, by the designer that started the scan.
        CMissingFilesDlg dlg(m_waitDlg ? ::GetWindow(*m_waitDlg, GW_OWNER) : nullptr);
        dlg.m_pList = &missing;
        dlg.DoModal();
    }

private:
    CWaitDlg* m_waitDlg;
};

} // namespace

MissingFileList& MissingFiles() {
    static MissingFileList list;
    return list;
}

bool ScanLinkedFiles(const std::string& pagePath, const std::string& destFolder, bool topLevel, CWaitDlg* waitDlg,
                     std::string& failure) {
    WinScanHost host(waitDlg);
    LinkScanner(host, host.ansi, host, MissingFiles()).Scan(pagePath, destFolder, topLevel);
    if (host.Failed())
        failure = ScanCopyFailureMessage(host.FailedSource(), host.FailedDestination(), host.FailureReason());
    return !host.Failed();
}

} // namespace vk
