// Baseline of the launcher-overhead measurement: a program that does nothing but hand its
// first argument to the shell, with the same call the launcher makes for a plain target.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc > 1) ShellExecuteA(nullptr, nullptr, __argv[1], "", "", SW_SHOWNORMAL);
  return 0;
}
