#include "designer/command_build_win.h"

#include <windows.h>

#include "app/code_page_win.h"
#include "app/launch_config_win.h"
#include "app/module_path.h"
#include "app/paths.h"
#include "designer/build_host_win.h"
#include "designer/command_build.h"
#include "designer/scanner_win.h"
#include "disc/folder_image.h"
#include "framework/wide.h"

namespace vk {
namespace {

// Standard output or error as the parent gave it: a pipe or file gets UTF-8, a console wide
// text. A program of the Windows subsystem has no console of its own, so with no handle given
// it writes to the console of the process that started it, if there is one.
class Output {
public:
    explicit Output(DWORD which) {
        m_handle = ::GetStdHandle(which);
        if (!m_handle || m_handle == INVALID_HANDLE_VALUE) {
            ::AttachConsole(ATTACH_PARENT_PROCESS);
            m_handle = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        }
        DWORD mode = 0;
        m_console = m_handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(m_handle, &mode);
    }
    void Line(const std::string& text) {
        if (!m_handle || m_handle == INVALID_HANDLE_VALUE)
            return;
        std::string lines;
        for (char c : text)
            lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
        lines += "\r\n";
        DWORD written = 0;
        if (m_console) {
            const fw::WString wide = fw::Widen(lines);
            ::WriteConsoleW(m_handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            ::WriteFile(m_handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        }
    }

private:
    HANDLE m_handle = nullptr;
    bool m_console = false;
};

class WinCommandHost : public WinBuildFiles<CommandHost> {
public:
    WinCommandHost() : m_out(STD_OUTPUT_HANDLE), m_err(STD_ERROR_HANDLE) {
        wchar_t folder[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, folder);
        m_startFolder = fw::Narrow(folder);
    }

    void Print(const std::string& text) override { m_out.Line(text); }
    void PrintError(const std::string& text) override { m_err.Line(text); }
    std::string FullPath(const std::string& path) override { return ResolveAgainst(m_startFolder, path); }
    std::string DefaultLauncher() override { return ModulePath(); }
    ScanHost& Disk() override { return m_disk; }

    bool WriteImage(const std::string& folder, const std::string& file, const std::string& shown,
                    const std::string& label, std::string& error) override {
        Print("Writing the disc image " + shown);
        return WriteFolderImage(folder, file, label, nullptr, error);
    }

private:
    Output m_out;
    Output m_err;
    std::string m_startFolder;
    WinDisk m_disk;
};

} // namespace

int RunCommandBuildOnWindows(const std::vector<std::string>& options) {
    WinCommandHost host;
    return RunCommandBuild(options, "Vintrosk.exe design --build", false, host);
}

} // namespace vk
