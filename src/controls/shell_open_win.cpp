#include "controls/shell_open_win.h"

#include <shellapi.h>

#include "core/product.h"
#include "controls/shell_open.h"
#include "framework/handles.h"
#include "framework/wide.h"

namespace {

// WinExec in wide text, with its answers: 33 once the program waits for input (or 30 s have
// passed), else the system's error code, 11 for any code above 31.
int RunCommandLine(const std::string& commandLine, int show) {
    fw::WString line = fw::Widen(commandLine);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        const DWORD error = ::GetLastError();
        return error > 31 ? ERROR_BAD_FORMAT : static_cast<int>(error);
    }
    const fw::KernelHandle thread(process.hThread), owned(process.hProcess);
    ::WaitForInputIdle(process.hProcess, 30000);
    return 33;
}

} // namespace

int OpenWithShell(const std::string& address, int show) {
    const int shell = static_cast<int>(reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", fw::Widen(address).c_str(), nullptr, nullptr, show)));
    if (shell > 32)
        return shell;
    // The shell knows nothing to open it with: hand it to the browser that opens web pages.
    std::string documentClass, command;
    if (ReadRegDefault(HKEY_CLASSES_ROOT, ".htm", documentClass) != ERROR_SUCCESS)
        return shell;
    if (ReadRegDefault(HKEY_CLASSES_ROOT, vk::OpenCommandKey(documentClass), command) != ERROR_SUCCESS)
        return shell;
    return RunCommandLine(vk::BrowserCommandLine(command, address), show);
}

void ReportOpenError(int code, HWND owner) {
    ShowOpenError(vk::OpenErrorMessage(code), owner ? owner : ::GetActiveWindow());
}

void ShowOpenError(const std::string& text, HWND owner) {
    ::MessageBoxW(owner, fw::Widen(text).c_str(), fw::Widen(vk::kAppTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

LONG ReadRegDefault(HKEY root, const std::string& subKey, std::string& value) {
    HKEY key;
    LONG status = ::RegOpenKeyExW(root, fw::Widen(subKey).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    wchar_t data[MAX_PATH];
    DWORD size = sizeof data;
    status =
        ::RegQueryValueExW(fw::RegistryKey(key).Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    if (status == ERROR_SUCCESS) {
        // A stored string need not end in a NUL.
        size_t length = 0;
        while (length < size / sizeof *data && data[length])
            ++length;
        value = fw::Narrow(data, length);
    }
    return status;
}
