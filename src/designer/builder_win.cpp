#include "designer/builder_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/launch_config_win.h"
#include "app/product.h"
#include "designer/builder.h"
#include "designer/designer_dlg.h"
#include "designer/designer_ids.h"
#include "designer/scanner_win.h"
#include "designer/wait_dlg.h"
#include "framework/wide.h"

namespace vk {
namespace {


class WinBuildHost : public BuildHost {
public:
    explicit WinBuildHost(CDesignerDlg& dlg) : m_dlg(dlg) {}

    bool DesktopFolder(std::string& path) override {
        LPITEMIDLIST pidl = nullptr;
        if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl)) || !pidl)
            return false;
        wchar_t buffer[MAX_PATH] = {};
        const BOOL found = ::SHGetPathFromIDListW(pidl, buffer);
        ::CoTaskMemFree(pidl);
        path = fw::Narrow(buffer);
        return found && !path.empty();
    }
    bool Exists(const std::string& path) override { return FileExists(path); }
    void RemoveOldFolder(const std::string& folder) override {
        if (!FileExists(folder) || !::SetCurrentDirectoryW(fw::Widen(folder).c_str()))
            return;
        WIN32_FIND_DATAW entry;
        HANDLE find = ::FindFirstFileW(L"*.*", &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    continue; // "." and ".." too
                // Only ever delete inside the output folder, whatever the working folder is.
                wchar_t full[MAX_PATH] = {};
                const DWORD length = ::GetFullPathNameW(entry.cFileName, MAX_PATH, full, nullptr);
                if (length > 0 && length < MAX_PATH && fw::Narrow(full).find(kOutputFolderName) != std::string::npos) {
                    // A read-only leftover would otherwise stay and make its rewrite fail.
                    ClearReadOnly(fw::Narrow(entry.cFileName));
                    ::DeleteFileW(entry.cFileName);
                }
            } while (::FindNextFileW(find, &entry));
            ::FindClose(find);
        }
        if (::SetCurrentDirectoryW(L".."))
            ::RemoveDirectoryW(fw::Widen(kOutputFolderName).c_str());
    }
    bool CreateFolder(const std::string& folder) override {
        return ::CreateDirectoryW(fw::Widen(folder).c_str(), nullptr);
    }
    void SetWorkingFolder(const std::string& folder) override { ::SetCurrentDirectoryW(fw::Widen(folder).c_str()); }
    bool Copy(const std::string& from, const std::string& to) override { return CopyClearingReadOnly(from, to); }
    bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue) override {
        return vk::WriteAutorunInf(folder, settings, openValue);
    }
    bool WriteTextFile(const std::string& path, const std::string& text) override {
        return WriteWholeFile(path, text);
    }
    void ScanPage(const std::string& pagePath, const std::string& destFolder) override {
        CWaitDlg wait;
        if (wait.Create(CWaitDlg::IDD, m_dlg)) {
            wait.ShowWindow(SW_SHOW);
            wait.SetItemText(IDC_WAIT_TEXT, pagePath);
            m_dlg.m_pWaitDlg = &wait;
        }
        // The designer takes no input while the scan lets messages through.
        m_dlg.EnableWindow(FALSE);
        ScanLinkedFiles(pagePath, destFolder, true, m_dlg.m_pWaitDlg);
        m_dlg.EnableWindow(TRUE);
        if (m_dlg.m_pWaitDlg) {
            wait.ShowWindow(SW_HIDE);
            wait.DestroyWindow();
            m_dlg.m_pWaitDlg = nullptr;
        }
    }
    void Tell(const std::string& message) override {
        ::MessageBoxW(m_dlg, fw::Widen(message).c_str(), fw::Widen(kAppTitle).c_str(), MB_OK | MB_ICONINFORMATION);
    }
    bool Ask(const std::string& question) override {
        return ::MessageBoxW(m_dlg, fw::Widen(question).c_str(), fw::Widen(kAppTitle).c_str(),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    void FocusTargetName() override {
        m_dlg.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_dlg.GetDlgItem(IDC_TARGET_NAME)), TRUE);
    }
    void StartPreview(const std::string& exe, const std::string& parameters, const std::string& folder) override {
        m_dlg.ShowWindow(SW_MINIMIZE);
        ::ShellExecuteW(nullptr, nullptr, fw::Widen(exe).c_str(), fw::Widen(parameters).c_str(),
                        fw::Widen(folder).c_str(), SW_SHOWNORMAL);
    }

private:
    CDesignerDlg& m_dlg;
};

bool g_building = false;

} // namespace

void BuildDistribution(CDesignerDlg& dlg) {
    if (g_building)
        return;
    g_building = true;
    dlg.UpdateData(true);
    WinBuildHost host(dlg);
    RunBuild(dlg, host);
    g_building = false;
}

} // namespace vk
