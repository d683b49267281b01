// Stand-in for a program that the launcher hands to the shell (and, copied as Powerpnt.exe,
// for the slide-show program): appends one line to recorded.txt beside itself -- its own file
// name, its command line, its working folder and the moment it started -- and exits.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LARGE_INTEGER count, freq;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&freq);

    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char* slash = strrchr(self, '\\');
    if (!slash)
        return 1;
    *slash = '\0';
    char workDir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, workDir);

    // One write per line, so that a reader never sees half a record as a whole one.
    const char* commandLine = GetCommandLineA();
    size_t size = strlen(slash + 1) + strlen(commandLine) + strlen(workDir) + 64;
    char* line = new char[size];
    int length = snprintf(line, size, "%s\t%s\t%s\t%.6f\r\n", slash + 1, commandLine, workDir,
                          static_cast<double>(count.QuadPart) / static_cast<double>(freq.QuadPart));

    char recordFile[MAX_PATH + 16];
    snprintf(recordFile, sizeof recordFile, "%s\\recorded.txt", self);
    HANDLE f = CreateFileA(recordFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(f, line, length, &written, nullptr);
    CloseHandle(f);
    delete[] line;
    return 0;
}
