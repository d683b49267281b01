// Opening an address, file or folder the way a link does: through the shell, or else with the
// web browser registered for web pages; and telling the user why it could not be opened.
#pragma once
#include <windows.h>

#include <string>

// Above 32 is success; anything else is the error code of ShellExecute or, when the browser
// was tried, of WinExec.
int OpenWithShell(const std::string& address, int show);

// "Can't open link:" and the cause, in a message box owned by owner (the active window when
// null).
void ReportOpenError(int code, HWND owner = nullptr);
// The same message box with a text of the caller's, owned by owner (none when null).
void ShowOpenError(const std::string& text, HWND owner);

// The default value of a registry key, read for querying only; ERROR_SUCCESS or the failure.
LONG ReadRegDefault(HKEY root, const std::string& subKey, std::string& value);
