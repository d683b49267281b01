#include "designer/scanner_win.h"

#include <windows.h>

#include "app/code_page_win.h"
#include "app/launch_config_win.h"
#include "designer/missing_files_dlg.h"
#include "designer/wait_dlg.h"
#include "framework/app.h"
#include "framework/wide.h"

namespace vk {
namespace {

class WinScanHost : public WinDisk {
public:
    explicit WinScanHost(CWaitDlg* waitDlg) : m_waitDlg(waitDlg) {}

    void PageStarting(const std::string& pagePath, unsigned pauseMs) override {
        if (m_waitDlg)
            m_waitDlg->SetItemText(IDC_WAIT_TEXT, pagePath);
        fw::PumpMessages();
        ::Sleep(pauseMs);
    }
    void ShowMissing(const std::vector<MissingFile>& missing) override {
        // Owned, like the wait window, by the designer that started the scan.
        CMissingFilesDlg dlg(m_waitDlg ? ::GetWindow(*m_waitDlg, GW_OWNER) : nullptr);
        dlg.m_pList = &missing;
        dlg.DoModal();
    }

private:
    CWaitDlg* m_waitDlg;
};

} // namespace

bool WinDisk::Exists(const std::string& name) { return FileExists(name); }
std::unique_ptr<ByteSource> WinDisk::Open(const std::string& name) { return m_files.Open(name); }
bool WinDisk::Copy(const std::string& from, const std::string& to) { return CopyClearingReadOnly(from, to); }
bool WinDisk::MakeFolder(const std::string& path) {
    return ::CreateDirectoryW(fw::Widen(path).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}
std::string WinDisk::AnsiToUtf8(std::string_view bytes) { return m_codePage.ToUtf8(bytes); }

MissingFileList& MissingFiles() {
    static MissingFileList list;
    return list;
}

void ScanLinkedFiles(const std::string& pagePath, const std::string& destFolder, bool topLevel,
                     CWaitDlg* waitDlg) {
    WinScanHost host(waitDlg);
    LinkScanner(host, MissingFiles()).Scan(pagePath, destFolder, topLevel);
}

} // namespace vk
