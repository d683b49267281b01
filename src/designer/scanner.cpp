#include "designer/scanner.h"

#include <windows.h>

#include "app/launch_config_win.h"
#include "app/startup.h"
#include "designer/missing_files_dlg.h"
#include "designer/wait_dlg.h"

namespace vk {
namespace {

class WinScanHost : public ScanHost {
public:
    explicit WinScanHost(CWaitDlg* waitDlg) : m_waitDlg(waitDlg) {}

    bool Exists(const std::string& name) override { return FileExists(name); }
    std::unique_ptr<ByteSource> Open(const std::string& name) override { return m_files.Open(name); }
    bool Copy(const std::string& from, const std::string& to) override {
        if (!::CopyFileA(from.c_str(), to.c_str(), FALSE))
            return false;
        ClearReadOnly(to);
        return true;
    }
    void PageStarting(const std::string& pagePath, unsigned pauseMs) override {
        if (m_waitDlg)
            ::SetDlgItemTextA(*m_waitDlg, CWaitDlg::IDC_TEXT, pagePath.c_str());
        PumpMessages();
        ::Sleep(pauseMs);
    }
    void ShowMissing(const std::vector<std::string>& missing) override {
        // Owned, like the wait window, by the designer that started the scan.
        CMissingFilesDlg dlg(m_waitDlg ? ::GetWindow(*m_waitDlg, GW_OWNER) : nullptr);
        dlg.m_pList = &missing;
        dlg.DoModal();
    }

private:
    CWaitDlg* m_waitDlg;
    WinFiles m_files;
};

} // namespace

void ClearReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

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
