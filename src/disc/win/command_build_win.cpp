#include "disc/win/command_build_win.h"

#include <windows.h>

#include "core/win/code_page_win.h"
#include "core/win/launch_config_win.h"
#include "core/win/module_path.h"
#include "core/paths.h"
#include "disc/win/build_host_win.h"
#include "disc/command_build.h"
#include "disc/win/scanner_win.h"
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
        Rewrite(std::string());
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

    // Columns of the console, 0 when this is not one.
    size_t Width() const {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (!m_console || !::GetConsoleScreenBufferInfo(m_handle, &info))
            return 0;
        return static_cast<size_t>(info.dwSize.X > 0 ? info.dwSize.X : 80);
    }
    // The console's last line rewritten in place; empty clears it.
    void Rewrite(const std::string& line) {
        if (!m_console || (line.empty() && !m_lineUp))
            return;
        fw::WString wide = L"\r" + fw::Widen(line);
        // A console without escapes is cleared by blanks to the width of the line before.
        const size_t shown = wide.size();
        if (shown < m_lineWidth + 1)
            wide.append(m_lineWidth + 1 - shown, L' ');
        if (line.empty())
            wide += L"\r";
        DWORD written = 0;
        ::WriteConsoleW(m_handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
        m_lineUp = !line.empty();
        m_lineWidth = line.empty() ? 0 : shown - 1;
    }

private:
    HANDLE m_handle = nullptr;
    bool m_console = false;
    bool m_lineUp = false;
    size_t m_lineWidth = 0;
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
    ScanFiles& Disk() override { return m_disk; }
    CodePage& Ansi() override { return m_ansi; }

    bool WriteImage(const std::string& folder, const std::string& file, const std::string&, const std::string& label,
                    ImageProgress& progress, ImageListing* listing, std::string& error) override {
        return WriteFolderImage(folder, file, label, &progress, error, listing);
    }
    size_t TerminalWidth() override { return m_out.Width(); }
    void ShowProgressLine(const std::string& line) override { m_out.Rewrite(line); }
    unsigned long long Milliseconds() override { return ::GetTickCount(); }

private:
    Output m_out;
    Output m_err;
    std::string m_startFolder;
    WinDisk m_disk;
    AnsiCodePage m_ansi;
};

} // namespace

int RunCommandBuildOnWindows(const std::vector<std::string>& options) {
    WinCommandHost host;
    return RunCommandBuild(options, "Vintrosk.exe design --build", false, host);
}

} // namespace vk
