// The common controls and the Open dialog, loaded on first use: a DLL the program imports loads
// when the program starts, and the launcher that only hands a file to the shell needs neither.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

namespace fw {

// Loads the common controls and registers their window classes, once; before any dialog.
void EnsureCommonControls();

BOOL SetSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
LRESULT DefaultSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
BOOL OpenFileName(OPENFILENAMEW* ofn);

} // namespace fw
