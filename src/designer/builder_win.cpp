#include "designer/builder_win.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "core/win/code_page_win.h"
#include "core/win/launch_config_win.h"
#include "core/product.h"
#include "disc/win/build_host_win.h"
#include "designer/build_wait_dlg.h"
#include "disc/builder.h"
#include "designer/designer_dlg.h"
#include "designer/designer_ids.h"
#include "designer/missing_files_dlg.h"
#include "disc/progress_text.h"
#include "disc/win/scanner_win.h"
#include "disc/folder_image.h"
#include "framework/app.h"
#include "framework/common_controls.h"
#include "framework/wide.h"

namespace vk {
namespace {

class WinBuildHost : public WinBuildFiles<BuildHost> {
public:
    explicit WinBuildHost(CDesignerDlg& dlg) : m_dlg(dlg) {}
    ~WinBuildHost() override { CloseWait(); }

    // The build runs on the designer's thread: each call shows the progress about ten times a
    // second and lets waiting messages through about fifty times, which keeps the window
    // painted and Cancel heard.
    void Progress(const BuildProgress& progress) override {
        if (m_cancelled)
            return; // the build is on its way out
        const DWORD now = ::GetTickCount();
        const bool newStage = !m_wait || static_cast<int>(progress.stage) != m_stage;
        if (!m_wait)
            OpenWait();
        if (m_wait && (newStage || now - m_shownAt >= 100 || ProgressAtStageEnd(progress))) {
            m_wait->Show(progress);
            m_shownAt = now;
            m_stage = static_cast<int>(progress.stage);
        }
        if (newStage || now - m_pumpedAt >= 20) {
            Pump();
            m_pumpedAt = now;
        }
    }
    // Once asked, the window goes at once: what the build still does (removing what it made
    // beside the earlier disc) needs no more of the user's time.
    bool Cancelled() override {
        if (!m_cancelled && m_wait && m_wait->CancelAsked())
            CloseWait();
        return m_cancelled;
    }
    void ShowMissing(const std::vector<MissingFile>& missing) override {
        CloseWait();
        CMissingFilesDlg dlg(m_dlg);
        dlg.m_pList = &missing;
        dlg.DoModal();
    }
    bool ReplaceForeignFiles(const std::string& folder, const std::vector<std::string>& names) override {
        CloseWait();
        return ::MessageBoxW(m_dlg, fw::Widen(ForeignFilesMessage(folder, names, 5) + kRecycleQuestion).c_str(),
                             fw::Widen(kAppTitle).c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    }
    void Tell(const std::string& message) override {
        CloseWait();
        ::MessageBoxW(m_dlg, fw::Widen(message).c_str(), fw::Widen(kAppTitle).c_str(), MB_OK | MB_ICONINFORMATION);
    }
    bool Ask(const std::string& question) override {
        CloseWait();
        return ::MessageBoxW(m_dlg, fw::Widen(question).c_str(), fw::Widen(kAppTitle).c_str(),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    void FocusTargetName() override {
        m_dlg.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_dlg.GetDlgItem(IDC_TARGET_NAME)), TRUE);
    }
    void StartPreview(const std::string& exe, const std::string& parameters, const std::string& folder) override {
        CloseWait();
        m_dlg.ShowWindow(SW_MINIMIZE);
        ::ShellExecuteW(nullptr, nullptr, fw::Widen(exe).c_str(), fw::Widen(parameters).c_str(),
                        fw::Widen(folder).c_str(), SW_SHOWNORMAL);
    }

    FileSource& Files() override { return m_disk; }
    CodePage& Ansi() override { return m_ansi; }
    ScanFiles::Found ReadPage(const std::string& name, std::string& bytes, long long& modified) override {
        return m_disk.ReadWholeDated(name, bytes, modified);
    }
    size_t MostFindingsShown() override { return 5; }
    bool Accept(const std::string& warnings) override {
        CloseWait();
        return ::MessageBoxW(m_dlg, fw::Widen(AcceptWarningsQuestion(warnings)).c_str(), fw::Widen(kAppTitle).c_str(),
                             MB_YESNO | MB_ICONWARNING) == IDYES;
    }
    bool WriteImage(const std::string& folder, const std::string& file, const std::string&, const std::string& label,
                    ImageProgress& progress, ImageListing* listing, std::string& error) override {
        return WriteFolderImage(folder, file, label, &progress, error, listing);
    }

private:
    void OpenWait() {
        fw::EnsureCommonControls();
        m_wait = std::make_unique<CBuildWaitDlg>(m_dlg);
        if (!m_wait->Create()) {
            m_wait.reset();
            return;
        }
        m_wait->ShowWindow(SW_SHOW);
        m_dlg.m_pWaitDlg = m_wait.get();
        // The designer takes no input while the build lets messages through.
        m_dlg.EnableWindow(FALSE);
    }
    void CloseWait() {
        if (!m_wait)
            return;
        m_cancelled = m_cancelled || m_wait->CancelAsked();
        // The designer first, so that it is the window activated when the wait window goes.
        m_dlg.EnableWindow(TRUE);
        m_wait->DestroyWindow();
        m_wait.reset();
        m_dlg.m_pWaitDlg = nullptr;
    }
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // For the loop that ends the program, once the build has ended.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_cancelled = true;
                return;
            }
            if (m_wait && ::IsDialogMessageW(*m_wait, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    CDesignerDlg& m_dlg;
    WinDisk m_disk;
    AnsiCodePage m_ansi;
    std::unique_ptr<CBuildWaitDlg> m_wait;
    bool m_cancelled = false;
    int m_stage = -1;
    DWORD m_shownAt = 0, m_pumpedAt = 0;
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
