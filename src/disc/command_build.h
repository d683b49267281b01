// Create CD without the dialog: the options shared by "Vintrosk.exe design --build" and the
// Linux program "vintrosk build", their exit codes, and the build they run through a host that
// prints where the designer would show a message box.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "disc/builder.h"
#include "disc/scanner.h"

namespace vk {

enum ExitCode {
    kExitDone = 0,
    kExitError = 1, // the message names the file and why
    kExitBadOptions = 2,
    kExitMissing = 3, // linked files missing, without --allow-missing
};

// The options with a file, in the order of the disc's files (DiscFiles): the file to open,
// splash, sound, icon.
constexpr size_t kFileOptions = 4;

struct CommandOptions {
    std::array<std::string, kFileOptions> file; // as given; empty when not given
    std::array<bool, kFileOptions> none{};      // --no-splash and the like
    bool noBrowser = false;
    int windowSize = 0; // the designer's list: default, 640x480, 800x600, full
    std::string out, image, label, launcher;
    bool allowMissing = false;
    bool quiet = false;
    bool help = false;
};

// False with a message on an unknown, repeated or contradicting option, a missing or bad
// value, or anything that is not an option. launcherOption accepts --launcher.
bool ParseCommandOptions(const std::vector<std::string>& args, bool launcherOption, CommandOptions& options,
                         std::string& error);
// The --help text: usage, options and exit codes.
std::string CommandUsage(const std::string& command, bool launcherOption);

// Paths in the core's form ("\"-separated); a POSIX host turns them round at its edge.
class CommandHost : public BuildHost {
public:
    virtual void Print(const std::string& text) = 0;      // a line on standard output
    virtual void PrintError(const std::string& text) = 0; // a line on standard error
    // path against the current folder.
    virtual std::string FullPath(const std::string& path) = 0;
    // The launcher a build copies when --launcher is not given. Its folder is the program's
    // folder, where the designer's default sample files are read from.
    virtual std::string DefaultLauncher() = 0;
    // The real files, for the scan that reads the pages.
    virtual ScanFiles& Disk() = 0;
    // Columns of the terminal that standard output is, or 0 when it is not one: then no
    // progress line is shown.
    virtual size_t TerminalWidth() { return 0; }
    // Rewrites the progress line in place; Print and PrintError clear it first.
    virtual void ShowProgressLine(const std::string&) {}
    // A clock for the line's pace.
    virtual unsigned long long Milliseconds() { return 0; }

    void Tell(const std::string& message) override { PrintError(message); }
    bool Ask(const std::string&) override { return false; }
    bool Accept(const std::string& warnings) override;
    void FocusTargetName() override {}
    void StartPreview(const std::string&, const std::string&, const std::string&) override {}
    void Progress(const BuildProgress& progress) override;
    void ImageStarting(const std::string& shown) override;
    void ShowMissing(const std::vector<MissingFile>& missing) override;
    bool ReplaceForeignFiles(const std::string& folder, const std::vector<std::string>& names) override;
    FileSource& Files() override { return Disk(); }
    ScanFiles::Found ReadPage(const std::string& name, std::string& bytes, long long& modified) override {
        return Disk().ReadWholeDated(name, bytes, modified);
    }

    size_t MissingCount() const { return m_missing; }
    // Only errors, warnings and missing files are printed.
    void SetQuiet(bool quiet) { m_quiet = quiet; }
    bool Quiet() const { return m_quiet; }

private:
    size_t m_missing = 0;
    bool m_quiet = false;
    unsigned long long m_shownAt = 0;
    bool m_lineShown = false;
};

// True for "design --build ...": the one command line that builds without the dialog.
bool IsCommandBuild(const std::vector<std::string>& args);

// Parses args, builds, and returns the exit code; command names the program in --help.
int RunCommandBuild(const std::vector<std::string>& args, const std::string& command, bool launcherOption,
                    CommandHost& host);

} // namespace vk
