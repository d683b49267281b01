#include "controls/shell_open_win.h"

#include <shellapi.h>

#include "app/product.h"
#include "controls/shell_open.h"

int OpenWithShell(const std::string& address, int show) {
    const int shell = static_cast<int>(reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, show)));
    if (shell > 32)
        return shell;
    // The shell knows nothing to open it with: hand it to the browser that opens web pages.
    std::string documentClass, command;
    if (ReadRegDefault(HKEY_CLASSES_ROOT, ".htm", documentClass) != ERROR_SUCCESS)
        return shell;
    if (ReadRegDefault(HKEY_CLASSES_ROOT, vk::OpenCommandKey(documentClass), command) != ERROR_SUCCESS)
        return shell;
    return static_cast<int>(::WinExec(vk::BrowserCommandLine(command, address).c_str(), show));
}

void ReportOpenError(int code, HWND owner) {
    ::MessageBoxA(owner ? owner : ::GetActiveWindow(), vk::OpenErrorMessage(code).c_str(), vk::kAppTitle,
                  MB_OK | MB_ICONEXCLAMATION);
}

LONG ReadRegDefault(HKEY root, const std::string& subKey, std::string& value) {
    HKEY key;
    LONG status = ::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    char data[MAX_PATH];
    DWORD size = sizeof data;
    status = ::RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (status == ERROR_SUCCESS) {
        // A stored string need not end in a NUL.
        size_t length = 0;
        while (length < size && data[length])
            ++length;
        value.assign(data, length);
    }
    return status;
}
