#include "viewer/page_actions_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/module_path.h"
#include "designer/wait_dlg.h"
#include "viewer/page_actions.h"

namespace vk {
namespace {

class WinCopies : public CopyEffects {
public:
    WinCopies(CWaitDlg& wait, HWND owner, std::string caption)
        : m_wait(wait), m_owner(owner), m_caption(std::move(caption)) {}
    void ShowProgress(const std::string& text) override { m_wait.SetItemText(IDC_WAIT_TEXT, text); }
    void CreateFolder(const std::string& folder) override { ::CreateDirectoryA(folder.c_str(), nullptr); }
    bool CopyFile(const std::string& source, const std::string& destination) override {
        return ::CopyFileA(source.c_str(), destination.c_str(), FALSE) != FALSE;
    }
    void ReportFailure(const std::string& message) override {
        ::MessageBoxA(m_owner, message.c_str(), m_caption.c_str(), MB_OK | MB_ICONHAND);
    }

private:
    CWaitDlg& m_wait;
    HWND m_owner;
    std::string m_caption;
};

std::string WindowTitle(HWND window) {
    char title[1000] = {};
    ::GetWindowTextA(window, title, sizeof title);
    return title;
}

// Refuses an over-long argument with a message; true when it was refused.
bool RefuseTooLong(const std::string& text, PageActionHost& host) {
    if (!ActionTextTooLong(text))
        return false;
    ::MessageBoxA(host.ActionOwner(), ActionTooLongMessage(text.size()).c_str(),
                  CopyCaption(host.ActionCaption()).c_str(), MB_OK | MB_ICONHAND);
    return true;
}

void CopyFiles(const std::string& argument, PageActionHost& host) {
    if (RefuseTooLong(argument, host))
        return;
    WinFolders folders;
    const std::string list = ExpandPlaceholders(argument, folders);
    if (RefuseTooLong(list, host))
        return;
    const std::string caption = CopyCaption(host.ActionCaption());
    CWaitDlg wait;
    wait.Create(IDD_WAIT, host.ActionOwner());
    wait.ShowWindow(SW_SHOW);
    wait.SetItemText(IDC_WAIT_LABEL, "Copying files:");
    WinCopies copies(wait, host.ActionOwner(), caption);
    const bool allCopied = RunCopyList(list, copies);
    wait.DestroyWindow();
    if (allCopied)
        ::MessageBoxA(host.ActionOwner(), "All files have been copied.", caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

} // namespace

bool WinFolders::Find(KnownFolder folder, std::string& path) {
    char buffer[MAX_PATH + 1] = {};
    if (folder == KnownFolder::System) {
        UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
        if (length == 0 || length >= sizeof buffer)
            return false;
    } else {
        const int csidl = folder == KnownFolder::Windows   ? CSIDL_WINDOWS
                          : folder == KnownFolder::Desktop ? CSIDL_DESKTOP
                                                           : CSIDL_PROGRAM_FILES;
        if (!::SHGetSpecialFolderPathA(nullptr, buffer, csidl, FALSE))
            return false;
    }
    path = buffer;
    return true;
}

bool RunPageActions(const std::string& url, PageActionHost& host) {
    const std::vector<ActionRequest> requests = FindPageActions(url);
    for (const ActionRequest& request : requests) {
        if (KindOf(request.action).takesArgument && !request.hasArgument)
            continue;
        switch (request.action) {
        case PageAction::MessageBox:
            if (!RefuseTooLong(request.argument, host))
                ::MessageBoxA(host.ActionOwner(), request.argument.c_str(), WindowTitle(host.ActionOwner()).c_str(),
                              MB_OK | MB_ICONINFORMATION);
            break;
        case PageAction::Quit:
            host.QuitViewer();
            break;
        case PageAction::Run:
            if (!RefuseTooLong(request.argument, host)) {
                const RunCommand run = SplitRunArgument(request.argument);
                ::ShellExecuteA(nullptr, nullptr, run.file.c_str(), run.parameters.c_str(), nullptr, SW_SHOWNORMAL);
            }
            break;
        case PageAction::Browse:
            ::ShellExecuteA(nullptr, nullptr, "explorer", DriveRootOf(ModulePath()).c_str(), nullptr, SW_SHOWNORMAL);
            break;
        case PageAction::Copy:
            CopyFiles(request.argument, host);
            break;
        }
    }
    return !requests.empty();
}

} // namespace vk
