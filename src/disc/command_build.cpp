#include "disc/command_build.h"

#include "core/ascii_case.h"
#include "core/paths.h"
#include "disc/disc_files.h"
#include "disc/progress_text.h"
#include "disc/disc_image.h"

namespace vk {
namespace {

constexpr const char* kWindowSizes[] = {"default", "640x480", "800x600", "full"};

// The disc's file of each file option, in the same order.
const DiscFile& FileOf(size_t f) { return DiscFiles()[f]; }

bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value, std::string& error) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "The option " + args[i] + " needs a value.";
        return false;
    }
    value = args[++i];
    return true;
}

std::string StripTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '\\' && path[path.size() - 2] != ':')
        path.pop_back();
    return path;
}

} // namespace

bool ParseCommandOptions(const std::vector<std::string>& args, bool launcherOption, CommandOptions& o,
                         std::string& error) {
    o = CommandOptions();
    std::vector<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        for (const std::string& earlier : seen)
            if (earlier == arg) {
                error = "The option " + arg + " is given twice.";
                return false;
            }
        seen.push_back(arg);
        bool known = false;
        for (size_t f = 0; f < kFileOptions && !known; ++f) {
            if (arg == FileOf(f).given) {
                if (!TakeValue(args, i, o.file[f], error))
                    return false;
                known = true;
            } else if (FileOf(f).none && arg == FileOf(f).none) {
                o.none[f] = true;
                known = true;
            }
            if (known && !o.file[f].empty() && o.none[f]) {
                error = std::string("The options ") + FileOf(f).given + " and " + FileOf(f).none +
                        " contradict each other.";
                return false;
            }
        }
        if (known)
            continue;
        std::string* value = arg == "--out"                          ? &o.out
                             : arg == "--image"                      ? &o.image
                             : arg == "--label"                      ? &o.label
                             : arg == "--launcher" && launcherOption ? &o.launcher
                                                                     : nullptr;
        if (value) {
            if (!TakeValue(args, i, *value, error))
                return false;
        } else if (arg == "--no-browser") {
            o.noBrowser = true;
        } else if (arg == "--allow-missing") {
            o.allowMissing = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--help") {
            o.help = true;
        } else if (arg == "--window-size") {
            std::string size;
            if (!TakeValue(args, i, size, error))
                return false;
            o.windowSize = -1;
            for (int n = 0; n < 4; ++n)
                if (Lower(size) == kWindowSizes[n])
                    o.windowSize = n;
            if (o.windowSize < 0) {
                error = "The window size " + size + " is not one of default, 640x480, 800x600 or full.";
                return false;
            }
        } else {
            error =
                arg.compare(0, 1, "-") == 0 ? "There is no option " + arg + "." : "Unexpected argument " + arg + ".";
            return false;
        }
    }
    if (!o.label.empty()) {
        if (o.image.empty()) {
            error = "The option --label names the disc image's volume label, so it needs --image.";
            return false;
        }
        const std::string problem = VolumeLabelProblem(o.label);
        if (!problem.empty()) {
            error = problem;
            return false;
        }
    }
    return true;
}

std::string CommandUsage(const std::string& command, bool launcherOption) {
    std::string text =
        "Usage: " + command +
        " [options]\n"
        "Builds the CD-ROM files (and, if asked, the disc image) from the designer's settings, without the "
        "dialog.\nWhat an option does not name is the designer's default.\n\n"
        "  --target FILE         the file to open from the disc, or \\ for the disc root\n"
        "  --splash FILE         the splash image\n"
        "  --no-splash           no splash image\n"
        "  --sound FILE          the start-up sound\n"
        "  --no-sound            no start-up sound\n"
        "  --icon FILE           the disc icon (default: the program's own)\n"
        "  --no-icon             no disc icon\n"
        "  --no-browser          open the target through the shell instead of the built-in viewer\n"
        "  --window-size SIZE    the viewer's size: default, 640x480, 800x600 or full\n"
        "  --out DIR             the output folder (default: CD-ROM Distributable Files on the desktop);\n"
        "                        it must be new, empty or made by an earlier build\n"
        "  --image FILE          also write the disc image (ISO 9660, Joliet and UDF)\n"
        "  --label NAME          the image's volume label (default: from the target's name)\n";
    if (launcherOption)
        text += "  --launcher FILE       the Windows program that goes on the disc as autorun.exe\n"
                "                        (default: Vintrosk.exe beside this program)\n";
    text += "  --allow-missing       missing linked files are a warning instead of a failure\n"
            "  --quiet               print only errors, warnings and missing files\n"
            "  --help                this text\n\n"
            "Exit codes: 0 done; 1 an error (the message says which file and why); 2 bad options;\n"
            "3 linked files missing (without --allow-missing).\n";
    return text;
}

bool CommandHost::Accept(const std::string& warnings) {
    PrintError("Warning: " + warnings);
    return true;
}

void CommandHost::Progress(const BuildProgress& progress) {
    if (m_quiet)
        return;
    const size_t columns = TerminalWidth();
    if (!columns) {
        // A log gets each page as it is read, and no line rewritten in place.
        if (progress.stage == BuildStage::Reading)
            Print("Reading " + progress.item);
        return;
    }
    // About ten times a second, and the first and last of each stage.
    const unsigned long long now = Milliseconds();
    if (m_lineShown && now - m_shownAt < 100 && !ProgressAtStageEnd(progress))
        return;
    m_shownAt = now;
    m_lineShown = true;
    ShowProgressLine(ProgressLine(progress, columns - 1));
}

void CommandHost::ImageStarting(const std::string& shown) {
    if (!m_quiet)
        Print("Writing the disc image " + shown);
}

void CommandHost::ShowMissing(const std::vector<MissingFile>& missing) {
    m_missing = missing.size();
    for (const MissingFile& file : missing)
        PrintError("Missing linked file: " + MissingEntryText(file));
}

bool CommandHost::ReplaceForeignFiles(const std::string& folder, const std::vector<std::string>& names) {
    PrintError(ForeignFilesMessage(folder, names, SIZE_MAX) +
               "\n\nThey are kept, and nothing was written. Please move them away, or name a new or empty folder "
               "with --out.");
    return false;
}

bool IsCommandBuild(const std::vector<std::string>& args) {
    return args.size() >= 2 && args[0] == "design" && args[1] == "--build";
}

int RunCommandBuild(const std::vector<std::string>& args, const std::string& command, bool launcherOption,
                    CommandHost& host) {
    CommandOptions o;
    std::string error;
    if (!ParseCommandOptions(args, launcherOption, o, error)) {
        host.PrintError(error);
        host.PrintError("Run " + command + " --help for the options.");
        return kExitBadOptions;
    }
    if (o.help) {
        host.Print(CommandUsage(command, launcherOption));
        return kExitDone;
    }

    DiscSettings s;
    s.m_strExePath = o.launcher.empty() ? host.DefaultLauncher() : host.FullPath(o.launcher);
    s.m_strProgramFolder = PageFolder(s.m_strExePath);
    if (s.m_strProgramFolder.size() > 1)
        s.m_strProgramFolder.pop_back();
    host.SetWorkingFolder(s.m_strProgramFolder);
    if (host.Access().Kind(s.m_strExePath) != PathKind::File) {
        host.PrintError("The program to copy as autorun.exe, " + s.m_strExePath + ", was not found." +
                        (launcherOption ? " Please name it with --launcher." : ""));
        return kExitError;
    }
    if (o.file[0] == "\\" || o.file[0] == "/") {
        s.m_strTarget = "\\";
        s.m_strTargetPath.clear();
    }
    for (size_t f = 0; f < kFileOptions; ++f) {
        const DiscFile& row = FileOf(f);
        if (row.on && o.none[f])
            s.*row.on = false;
        if (o.file[f].empty() || (f == 0 && s.m_strTarget == "\\"))
            continue;
        const PickedFile picked = ApplyPick(row.picker, host.FullPath(o.file[f]));
        s.*row.name = picked.name;
        s.*row.path = picked.path;
    }
    s.m_bBrowser = !o.noBrowser;
    s.m_nWindowSize = o.windowSize;

    // Every file the options name, or the defaults stand for, is there before anything is written.
    for (size_t f = 0; f < kFileOptions; ++f) {
        const DiscFile& row = FileOf(f);
        if ((row.on && !(s.*row.on)) || (f == 0 && s.m_strTarget == "\\") || IsProgramsOwnIcon(row, s))
            continue;
        if (host.Access().Kind(s.*row.path) == PathKind::None) {
            host.PrintError("The " + std::string(row.role) + " " + ResolveAgainst(s.m_strProgramFolder, s.*row.path) +
                            " was not found.");
            return kExitError;
        }
    }

    BuildRequest request;
    if (!o.out.empty())
        request.folder = StripTrailingSeparators(host.FullPath(o.out));
    if (!o.image.empty())
        request.image = host.FullPath(o.image);
    request.label = o.label;

    host.SetQuiet(o.quiet);
    if (!o.quiet)
        host.Print("Building the CD-ROM files" + (request.folder.empty() ? std::string() : " in " + request.folder));
    const BuildOutcome outcome = RunBuild(s, host, request);
    if (outcome != BuildOutcome::Declined)
        return kExitError;
    const size_t missing = host.MissingCount();
    if (missing && !o.allowMissing) {
        host.PrintError(std::to_string(missing) + " linked file(s) missing: the CD-ROM files are incomplete.");
        return kExitMissing;
    }
    if (!o.quiet)
        host.Print("Done.");
    return kExitDone;
}

} // namespace vk
