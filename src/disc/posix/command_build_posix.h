// Create CD without the dialog on a POSIX file system, for the Linux program. The core's paths
// are "\"-separated; this host turns them into "/" paths at every call and back.
#pragma once
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "disc/command_build.h"
#include "disc/posix/scanner_posix.h"

namespace vk {

// A message for a POSIX reader: the backslashes of paths as slashes (the one in the list of
// characters a disc cannot hold stays).
std::string PosixMessage(std::string message);

class PosixCommandHost : public CommandHost {
public:
    // launcher: the default program to copy as autorun.exe, as a POSIX path.
    PosixCommandHost(std::string launcher, FILE* out = stdout, FILE* err = stderr);

    void Print(const std::string& text) override;
    void PrintError(const std::string& text) override;
    std::string FullPath(const std::string& path) override;
    std::string DefaultLauncher() override { return m_launcher; }
    ScanFiles& Disk() override { return m_disk; }
    CodePage& Ansi() override { return m_ansi; }
    FileAccess& Access() override { return m_files; }

    bool DesktopFolder(std::string& path) override;
    void SetWorkingFolder(const std::string& folder) override;
    bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue,
                         std::string& error) override;
    bool WriteImage(const std::string& folder, const std::string& file, const std::string& shown,
                    const std::string& label, ImageProgress& progress, ImageListing* listing,
                    std::string& error) override;
    bool StartBeside(BuildWork& work) override;
    bool WaitBeside(unsigned ms) override;
    ~PosixCommandHost() override { WaitBeside(~0u); }
    size_t TerminalWidth() override;
    void ShowProgressLine(const std::string& line) override;
    unsigned long long Milliseconds() override;

private:
    std::string m_launcher;
    std::string m_startFolder; // the current folder at start, in the core's form
    FILE* m_out;
    FILE* m_err;
    bool m_lineUp = false; // a progress line stands on the terminal
    std::thread m_beside;
    std::atomic<bool> m_besideDone{true};
    PosixDisk m_disk;
    // Undeclared pages are read as Windows-1252, the usual code page of the pages of a Windows disc.
    Windows1252 m_ansi;
    PosixFileAccess m_files;
};

} // namespace vk
