// Create CD: the order of a build, which files go into the output folder under which names,
// and what the user is told. Everything that touches the system goes through BuildHost,
// which the Win32 shell implements.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/file_access.h"
#include "core/launch_config.h"
#include "core/text_decode.h"
#include "disc/preflight.h"
#include "disc/scanner.h"
#include "disc/folder_image.h"

namespace vk {

constexpr const char* kOutputFolderName = "CD-ROM Distributable Files";
constexpr const char* kNoteName = "COPY_ALL_TO_CDROM_ROOT.txt";
constexpr const char* kNoteText =
    "Copy all the included files to your CD-ROM root directory to enable CD Auto-Play.\r\n"
    "It is safe to erase this file.\r\n";
constexpr const char* kLauncherName = "autorun.exe";

constexpr const char* kSpacesMessage =
    "The filename can not contain any spaces. Spaces in filenames can cause problems when burning on a "
    "CD-ROM.\nPlease rename the file or select a new one.";
constexpr const char* kNoDesktopMessage =
    "Your desktop folder could not be found, so the CD-ROM files were not created.\n\nPlease check that your "
    "user profile has a desktop folder.";

// Asked after ForeignFilesMessage in the designer.
constexpr const char* kRecycleQuestion =
    "\n\nCreate CD replaces the whole folder. Move the folder, with these files, to the Recycle Bin and create the "
    "CD-ROM files all the same?";

enum class CopyKind { Target, Program, Extra };

// Refusals made before anything on disk is touched, and the warnings of a build that goes on.
std::string ReservedNameMessage(const std::string& role, const std::string& name);
std::string SameNameMessage(const std::string& role, const std::string& otherRole, const std::string& name);
std::string InsideOutputMessage(const std::string& role, const std::string& path, const std::string& folder);
// folder ends in a backslash.
std::string MissingTargetWarning(const std::string& path, const std::string& name, const std::string& folder);
std::string WriteFailureMessage(const std::string& path);
std::string ImageFailureMessage(const std::string& error);
std::string ImageInsideOutputMessage(const std::string& image, const std::string& folder);

// Why these settings cannot be built into folder (the output folder, no trailing backslash)
// without losing or replacing a file, or empty when they can. targetConcerned tells whether
// the file to open is the cause.
std::string PickedFileProblem(const DiscSettings& settings, const std::string& folder, bool& targetConcerned);
// True when the icon option means the launcher's own icon, so no icon file is copied.
bool UsesProgramIcon(const DiscSettings& settings);

std::string CreateFolderMessage(const std::string& folder);
std::string OutputIsFileMessage(const std::string& folder);
// The files in folder that no build wrote, at most `most` of them named.
std::string ForeignFilesMessage(const std::string& folder, const std::vector<std::string>& names, size_t most);
std::string ReplaceFolderMessage(const std::string& folder, const std::string& reason);
std::string OldFolderLeftMessage(const std::string& old, const std::string& reason);
std::string ImageNotReplacedMessage(const std::string& image, bool folder);
std::string ImageInsideSiteMessage(const std::string& image, const std::string& site);
std::string SpaceMessage(const std::string& place, unsigned long long needed, unsigned long long available);
std::string ScanCopyFailureMessage(const std::string& source, const std::string& dest, const std::string& reason);
std::string OutputFolderMessage(const std::string& folder);
// reason: the system's words, when it gave any.
std::string CopyFailureMessage(CopyKind kind, const std::string& source, const std::string& dest,
                               const std::string& reason = std::string());
// folder ends in a backslash.
std::string DoneQuestion(const std::string& folder);
// The launch argument list: the OPEN= value after its first space.
std::string PreviewParameters(const std::string& openValue);

// Where a build is, for a progress display. Counts are of what is done so far; a total of 0 is
// not known yet (the pages are counted as they are read).
enum class BuildStage {
    Surveying, // reading the earlier CD-ROM files in the output folder
    Reading,   // reading the pages for their links, before anything is written
    Copying,   // writing the CD-ROM files
    Imaging,   // writing the disc image
};
struct BuildProgress {
    BuildStage stage = BuildStage::Reading;
    std::string item; // the page being read or the file being copied, as the user knows it
    size_t pages = 0, pagesTotal = 0;
    size_t files = 0, filesTotal = 0;
    unsigned long long bytes = 0, bytesTotal = 0;
};

// Work a build may hand to a thread of its own.
class BuildWork {
public:
    virtual ~BuildWork() = default;
    virtual void Run() = 0;
};

class BuildHost {
public:
    virtual ~BuildHost() = default;
    // False when the desktop's file-system path cannot be had.
    virtual bool DesktopFolder(std::string& path) = 0;
    // The files a build reads and writes.
    virtual FileAccess& Access() = 0;
    virtual void SetWorkingFolder(const std::string& folder) = 0;
    // Writes folder\autorun.inf and the value written behind "OPEN="; false with the reason
    // when the file could not be written whole.
    virtual bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue,
                                 std::string& error) = 0;
    // Often during a build; a display shows it at its own pace. Between two calls the host may
    // let the user's input through.
    virtual void Progress(const BuildProgress&) {}
    // True once the user has asked the build to stop; it then ends leaving the earlier disc.
    virtual bool Cancelled() { return false; }
    // The linked files that are not on the disc and why, once the files are written.
    virtual void ShowMissing(const std::vector<MissingFile>& missing) = 0;
    virtual void Tell(const std::string& message) = 0;
    virtual bool Ask(const std::string& question) = 0;
    virtual void FocusTargetName() = 0;
    // Minimises the designer and starts exe with these parameters in folder.
    virtual void StartPreview(const std::string& exe, const std::string& parameters, const std::string& folder) = 0;
    // The output folder holds files no build wrote (paths inside it): true to build all the
    // same, the old folder then going to the Recycle Bin. The designer asks; a command refuses.
    virtual bool ReplaceForeignFiles(const std::string& folder, const std::vector<std::string>& names) = 0;

    // For the checks made before anything is written: the files as the build reads them
    // (relative names against the working folder) and the code page of undeclared pages.
    virtual FileSource& Files() = 0;
    virtual CodePage& Ansi() = 0;
    // All of a page the build reads for its links, and its date where the read tells it (-1
    // where not). Without an override: through Files().
    virtual ScanFiles::Found ReadPage(const std::string& name, std::string& bytes, long long& modified);
    // Shows the warnings of those checks; true to build all the same.
    virtual bool Accept(const std::string& warnings) = 0;
    // How many findings of a kind one message shows (a message box must fit the screen).
    virtual size_t MostFindingsShown() { return SIZE_MAX; }
    // Writes the disc image of folder to file, which the user knows as shown; false with a
    // message naming the file, or when progress said to stop. With a listing, the folder is
    // still being filled: the listing gives its entries and says when each file is whole.
    virtual bool WriteImage(const std::string& folder, const std::string& file, const std::string& shown,
                            const std::string& label, ImageProgress& progress, ImageListing* listing,
                            std::string& error) = 0;
    // Before the image is written (beside the copy, or after it); shown: its path as the user
    // knows it.
    virtual void ImageStarting(const std::string& /*shown*/) {}
    // Starts work on a thread beside the build; false where the host has none (the build then
    // does the work in its turn). At most one at a time.
    virtual bool StartBeside(BuildWork&) { return false; }
    // Waits up to ms for the work started; true once it has ended, its thread with it.
    virtual bool WaitBeside(unsigned /*ms*/) { return true; }
};

// Where a build goes, beyond the designer's settings.
struct BuildRequest {
    std::string folder; // the output folder, no trailing backslash; empty for the desktop's
    std::string image;  // also the disc image, here; empty for none (or beside the folder, by the setting)
    std::string label;  // the image's volume label; empty for the one the target gives
};

enum class BuildOutcome {
    Refused,   // a picked file cannot go on the disc as it is; nothing touched
    NoDesktop, // nothing touched
    Stopped,   // a copy or a write failed and was reported
    Cancelled, // the user stopped it; the earlier disc is as it was
    Declined,  // built; no preview
    Previewed, // built; preview started
};

BuildOutcome RunBuild(const DiscSettings& settings, BuildHost& host, const BuildRequest& request = {});

// What a build writes, found before anything is written; each page is read once, here, and the
// copy works from this.
struct DiscPlan {
    // Every file of the disc; those of the site's scan from `linked` on, in the scan's order.
    std::vector<PlannedFile> files;
    size_t linked = 0;
    size_t pages = 0; // files read for their links
    unsigned long long bytes = 0;
    MissingFileList missing;
    // Whether each file's date is noted (an image written while the files are copied needs them).
    bool dated = false;
    // Pages the built-in viewer would show that declare no document mode, as the scan read them.
    std::vector<std::string> undeclared;
};

// The disc these settings put in folder (which ends in a backslash); relative paths against the
// working folder. False when the user cancelled it.
bool PlanDisc(const DiscSettings& settings, const std::string& folder, BuildHost& host, DiscPlan& plan);

} // namespace vk
