#include "framework/common_controls.h"

namespace fw {
namespace {

// Loading twice from two threads at once would only count the module twice.
HMODULE g_commonControls = nullptr;
HMODULE g_commonDialogs = nullptr;

HMODULE CommonControls() {
    if (!g_commonControls) {
        // The program's manifest selects version 6 here, as it did for the import.
        HMODULE module = ::LoadLibraryW(L"comctl32.dll");
        if (!module)
            return nullptr;
        using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        if (auto init = reinterpret_cast<Init>(
                reinterpret_cast<void (*)()>(::GetProcAddress(module, "InitCommonControlsEx")))) {
            INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
            init(&controls);
        }
        g_commonControls = module;
    }
    return g_commonControls;
}

template <class Function>
Function Entry(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}

} // namespace

void EnsureCommonControls() { CommonControls(); }

BOOL SetSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    using F = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
    static F f = Entry<F>(CommonControls(), "SetWindowSubclass");
    return f ? f(hwnd, proc, id, data) : FALSE;
}

LRESULT DefaultSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    using F = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
    static F f = Entry<F>(CommonControls(), "DefSubclassProc");
    return f ? f(hwnd, msg, wp, lp) : 0;
}

BOOL RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    using F = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
    static F f = Entry<F>(CommonControls(), "RemoveWindowSubclass");
    return f ? f(hwnd, proc, id) : FALSE;
}

BOOL OpenFileName(OPENFILENAMEW* ofn) {
    if (!g_commonDialogs)
        g_commonDialogs = ::LoadLibraryW(L"comdlg32.dll");
    using F = BOOL(WINAPI*)(OPENFILENAMEW*);
    F f = Entry<F>(g_commonDialogs, "GetOpenFileNameW");
    return f ? f(ofn) : FALSE;
}

} // namespace fw
