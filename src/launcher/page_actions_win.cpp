#include "launcher/page_actions_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <iterator>

#include "core/win/module_path.h"
#include "controls/wait_dlg.h"
#include "framework/handles.h"
#include "framework/wide.h"
#include "launcher/page_actions.h"

namespace vk {
namespace {

void Tell(HWND owner, const std::string& text, const std::string& caption, UINT icon) {
    ::MessageBoxW(owner, fw::Widen(text).c_str(), fw::Widen(caption).c_str(), MB_OK | icon);
}

class DcTextWidth : public TextWidth {
public:
    explicit DcTextWidth(HDC dc) : m_dc(dc) {}
    int Of(const std::string& text) const override {
        const fw::WString wide = fw::Widen(text);
        SIZE size = {};
        ::GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return size.cx;
    }

private:
    HDC m_dc;
};

class WinCopies : public CopyEffects {
public:
    WinCopies(CWaitDlg& wait, HWND owner, std::string caption)
        : m_wait(wait), m_owner(owner), m_caption(std::move(caption)) {}
    // Measured in the text's own font and width, at whatever scale the window has; painted at
    // once, since no message is handled until the copies are done.
    void ShowProgress(const std::string& source, const std::string& destination) override {
        HWND text = m_wait.GetDlgItem(IDC_WAIT_TEXT);
        RECT area = {};
        ::GetClientRect(text, &area);
        {
            const fw::WindowDc dc(text);
            const fw::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(text, WM_GETFONT, 0, 0)));
            m_wait.SetItemText(IDC_WAIT_TEXT, CopyProgressText(source, destination, area.right, DcTextWidth(dc.Get())));
        }
        ::RedrawWindow(m_wait, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    void CreateFolder(const std::string& folder) override { ::CreateDirectoryW(fw::Widen(folder).c_str(), nullptr); }
    bool CopyFile(const std::string& source, const std::string& destination) override {
        return ::CopyFileW(fw::Widen(source).c_str(), fw::Widen(destination).c_str(), FALSE) != FALSE;
    }
    void ReportFailure(const std::string& message) override { Tell(m_owner, message, m_caption, MB_ICONHAND); }

private:
    CWaitDlg& m_wait;
    HWND m_owner;
    std::string m_caption;
};

std::string WindowTitle(HWND window) {
    wchar_t title[1000] = {};
    ::GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    return fw::Narrow(title);
}

// Refuses an over-long argument with a message; true when it was refused.
bool RefuseTooLong(const std::string& text, PageActionHost& host) {
    if (!ActionTextTooLong(text))
        return false;
    Tell(host.ActionOwner(), ActionTooLongMessage(text.size()), CopyCaption(host.ActionCaption()), MB_ICONHAND);
    return true;
}

void CopyFiles(const std::string& argument, PageActionHost& host) {
    if (RefuseTooLong(argument, host))
        return;
    const std::string refusal = UnknownPlaceholderRefusal(argument);
    if (!refusal.empty()) {
        Tell(host.ActionOwner(), refusal, CopyCaption(host.ActionCaption()), MB_ICONHAND);
        return;
    }
    WinFolders folders;
    const std::string list = ExpandPlaceholders(argument, folders);
    if (RefuseTooLong(list, host))
        return;
    const std::string caption = CopyCaption(host.ActionCaption());
    CWaitDlg wait(host.ActionOwner());
    wait.Create();
    wait.ShowWindow(SW_SHOW);
    wait.SetItemText(IDC_WAIT_LABEL, "Copying files:");
    WinCopies copies(wait, host.ActionOwner(), caption);
    const bool allCopied = RunCopyList(list, copies);
    wait.DestroyWindow();
    if (allCopied)
        Tell(host.ActionOwner(), "All files have been copied.", caption, MB_ICONINFORMATION);
}

} // namespace

bool WinFolders::Find(KnownFolder folder, std::string& path) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (folder == KnownFolder::System) {
        const UINT length = ::GetSystemDirectoryW(buffer, static_cast<UINT>(std::size(buffer)));
        if (length == 0 || length >= std::size(buffer))
            return false;
    } else {
        const int csidl = folder == KnownFolder::Windows   ? CSIDL_WINDOWS
                          : folder == KnownFolder::Desktop ? CSIDL_DESKTOP
                                                           : CSIDL_PROGRAM_FILES;
        if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE))
            return false;
    }
    path = fw::Narrow(buffer);
    return true;
}

bool RunPageActions(const std::string& url, PageActionHost& host) {
    const std::vector<ActionRequest> requests = FindPageActions(url);
    for (const ActionRequest& request : requests) {
        if (KindOf(request.action).takesArgument && !request.hasArgument)
            continue;
        switch (request.action) {
        case PageAction::Message:
            if (!RefuseTooLong(request.argument, host))
                Tell(host.ActionOwner(), request.argument, WindowTitle(host.ActionOwner()), MB_ICONINFORMATION);
            break;
        case PageAction::Quit:
            host.QuitViewer();
            break;
        case PageAction::Run:
            if (!RefuseTooLong(request.argument, host)) {
                const RunCommand run = SplitRunArgument(request.argument);
                ::ShellExecuteW(nullptr, nullptr, fw::Widen(run.file).c_str(), fw::Widen(run.parameters).c_str(),
                                nullptr, SW_SHOWNORMAL);
            }
            break;
        case PageAction::Browse:
            ::ShellExecuteW(nullptr, nullptr, L"explorer", fw::Widen(DriveRootOf(ModulePath())).c_str(), nullptr,
                            SW_SHOWNORMAL);
            break;
        case PageAction::Copy:
            CopyFiles(request.argument, host);
            break;
        }
    }
    return !requests.empty();
}

} // namespace vk
