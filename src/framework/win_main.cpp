// The process's entry: common controls, then the one application object's InitInstance.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <exception>

#include "framework/app.h"

// The program throws nothing itself; a plain abort keeps libstdc++'s demangling terminate
// handler (about 77 KB) out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (fw::WinApp* app = fw::WinApp::Current())
        app->InitInstance();
    return 0;
}
