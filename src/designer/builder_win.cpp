#include "designer/builder_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/code_page_win.h"
#include "app/launch_config_win.h"
#include "app/product.h"
#include "designer/build_host_win.h"
#include "designer/builder.h"
#include "designer/designer_dlg.h"
#include "designer/designer_ids.h"
#include "designer/scanner_win.h"
#include "designer/wait_dlg.h"
#include "disc/folder_image.h"
#include "framework/app.h"
#include "framework/wide.h"

namespace vk {
namespace {

// The image's progress in the wait window, a step per whole percent.
class WaitProgress : public ImageProgress {
public:
    WaitProgress(CWaitDlg& wait, const std::string& image) : m_wait(wait), m_image(image) {}
    void Advance(unsigned long long done, unsigned long long total) override {
        const int percent = total ? static_cast<int>(done * 100 / total) : 100;
        if (percent == m_percent)
            return;
        m_percent = percent;
        m_wait.SetItemText(IDC_WAIT_TEXT, m_image + "\n" + std::to_string(percent) + " %");
        fw::PumpMessages();
    }

private:
    CWaitDlg& m_wait;
    std::string m_image;
    int m_percent = -1;
};

class WinBuildHost : public WinBuildFiles<BuildHost> {
public:
    explicit WinBuildHost(CDesignerDlg& dlg) : m_dlg(dlg) {}

    bool ScanPage(const std::string& pagePath, const std::string& destFolder, std::string& failure) override {
        CWaitDlg wait;
        if (wait.Create(CWaitDlg::IDD, m_dlg)) {
            wait.ShowWindow(SW_SHOW);
            wait.SetItemText(IDC_WAIT_TEXT, pagePath);
            m_dlg.m_pWaitDlg = &wait;
        }
        // The designer takes no input while the scan lets messages through.
        m_dlg.EnableWindow(FALSE);
        const bool copied = ScanLinkedFiles(pagePath, destFolder, true, m_dlg.m_pWaitDlg, failure);
        m_dlg.EnableWindow(TRUE);
        if (m_dlg.m_pWaitDlg) {
            wait.ShowWindow(SW_HIDE);
            wait.DestroyWindow();
            m_dlg.m_pWaitDlg = nullptr;
        }
        return copied;
    }
    bool ReplaceForeignFiles(const std::string& folder, const std::vector<std::string>& names) override {
        return ::MessageBoxW(m_dlg, fw::Widen(ForeignFilesMessage(folder, names, 5) + kRecycleQuestion).c_str(),
                             fw::Widen(kAppTitle).c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
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

    FileSource& Files() override { return m_readFiles; }
    AnsiDecoder& Ansi() override { return m_codePage; }
    size_t MostFindingsShown() override { return 5; }
    bool Accept(const std::string& warnings) override {
        return ::MessageBoxW(m_dlg, fw::Widen(AcceptWarningsQuestion(warnings)).c_str(), fw::Widen(kAppTitle).c_str(),
                             MB_YESNO | MB_ICONWARNING) == IDYES;
    }
    bool WriteImage(const std::string& folder, const std::string& file, const std::string& image,
                    const std::string& label, std::string& error) override {
        CWaitDlg wait;
        const bool shown = wait.Create(CWaitDlg::IDD, m_dlg);
        if (shown) {
            wait.SetItemText(IDC_WAIT_LABEL, "Writing the disc image:");
            wait.SetItemText(IDC_WAIT_TEXT, image);
            wait.ShowWindow(SW_SHOW);
        }
        m_dlg.EnableWindow(FALSE);
        WaitProgress progress(wait, image);
        const bool written = WriteFolderImage(folder, file, label, shown ? &progress : nullptr, error);
        m_dlg.EnableWindow(TRUE);
        if (shown)
            wait.DestroyWindow();
        return written;
    }

private:
    CDesignerDlg& m_dlg;
    WinFiles m_readFiles;
    AnsiPageDecoder m_codePage;
};

bool g_building = false;

} // namespace

bool DesktopPath(std::string& path) {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl)) || !pidl)
        return false;
    wchar_t buffer[MAX_PATH] = {};
    const BOOL found = ::SHGetPathFromIDListW(pidl, buffer);
    ::CoTaskMemFree(pidl);
    path = fw::Narrow(buffer);
    return found && !path.empty();
}

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
