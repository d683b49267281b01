// Baseline of the launcher-overhead measurement: a program that does nothing but hand its
// first argument to the shell, with the same call the launcher makes for a plain target. COM
// is initialised first, as the shell asks of every caller of ShellExecute and as the launcher
// does.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (__argc > 1)
        ShellExecuteA(nullptr, nullptr, __argv[1], "", "", SW_SHOWNORMAL);
    return 0;
}
