#include "disc/builder.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/ascii_case.h"
#include "core/launch_config.h"
#include "core/paths.h"
#include "disc/build_copy.h"
#include "disc/disc_files.h"
#include "disc/scanner.h"
#include "disc/disc_image.h"

namespace vk {
namespace {

const char* CopyAdvice(CopyKind kind) {
    switch (kind) {
    case CopyKind::Target:
        return "\n\nPlease verify the file exists and is not currently opened in another program.";
    case CopyKind::Program:
        return "\n\nPlease verify the file exists and is not currently opened in another program.\nPlease also "
               "verify that any long sound effect has stopped playing before creating a new presentation.";
    case CopyKind::Extra:
        break;
    }
    return "\n\nPlease verify the file actually exists and is not currently opened in another program.";
}

bool HasPageName(const std::string& path) { return Lower(path).find(".htm") != std::string::npos; }

bool CopiesTarget(const DiscSettings& s) { return !s.m_strTarget.empty() && s.m_strTarget[0] != '\\'; }

// The file a name lands on inside the output folder, in one letter case, as Windows would
// open it: steps resolved, trailing dots and blanks dropped.
std::string LandingKey(const std::string& name) {
    std::string key = Lower(ResolveAgainst("C:\\out", name));
    while (!key.empty() && (key.back() == '.' || key.back() == ' '))
        key.pop_back();
    return key;
}

// A file of the user's that a build reads: its role in messages, the name its copy gets in
// the output folder (empty when it is read but not copied under a name of its own), and its
// path as the designer holds it.
struct UserFile {
    const char* role;
    std::string name;
    std::string path;
    bool isTarget = false;
};

// The options whose file is copied under the option's own name, after the program: an
// option that is on, has a name, and (for the icon) does not mean the launcher's own icon.
std::vector<const DiscFile*> CopiedOptions(const DiscSettings& s) {
    std::vector<const DiscFile*> copied;
    for (const DiscFile& option : DiscFiles()) {
        if (!option.on || !(s.*option.on) || (s.*option.name).empty() || IsProgramsOwnIcon(option, s))
            continue;
        copied.push_back(&option);
    }
    return copied;
}

std::vector<UserFile> UserFiles(const DiscSettings& s) {
    std::vector<UserFile> files;
    const char* target = TargetFile().role;
    if (CopiesTarget(s))
        files.push_back({target, s.m_strTarget, s.m_strTargetPath, true});
    else if (HasPageName(s.m_strTargetPath))
        files.push_back({target, "", s.m_strTargetPath}); // scanned all the same
    for (const DiscFile* option : CopiedOptions(s))
        files.push_back({option->role, UnderscoreSpaces(s.*option->name), s.*option->path});
    files.push_back({"program", "", s.m_strExePath});
    return files;
}

// Copies source into the folder under name; a name that would land outside the folder is
// never tried and fails like any other copy. Messages name the copy at its place in shown, the
// folder the user knows; a copy the user cancelled is not told.
bool CopyInto(BuildHost& host, CopyKind kind, const std::string& source, const std::string& folder,
              const std::string& shown, const std::string& name, const std::string& programFolder,
              CopyTracker& tracker) {
    host.SetWorkingFolder(programFolder);
    if (!tracker.Start(ResolveAgainst(programFolder, source)))
        return false;
    std::string error;
    unsigned long long size = 0;
    if (!ClimbsOutOfFolder(name) && host.Access().FileSize(source, size) &&
        host.Access().CopyWatched(source, folder + name, tracker, error)) {
        tracker.Done(size, false);
        return true;
    }
    if (host.Cancelled())
        return false;
    // A source that is not there is the message's own subject; any other failure says why.
    if (host.Access().Kind(source) != PathKind::File)
        error.clear();
    host.Tell(CopyFailureMessage(kind, source, shown + name, error));
    return false;
}

// The image's progress, told to the host; the user's cancel stops the image.
class ImageTracker : public ImageProgress {
public:
    ImageTracker(BuildHost& host, const std::string& image) : m_host(host) {
        m_progress.stage = BuildStage::Imaging;
        m_progress.item = image;
    }
    bool Advance(unsigned long long done, unsigned long long total) override {
        m_progress.bytes = done;
        m_progress.bytesTotal = total;
        m_host.Progress(m_progress);
        return !m_host.Cancelled();
    }

private:
    BuildHost& m_host;
    BuildProgress m_progress;
};

// The scan that a build would make, run on the files as they are: each copy is only noted,
// and a name noted once counts as present, as a copied file would.
class PlanScanHost : public ScanFiles, public ScanProgress {
public:
    PlanScanHost(BuildHost& host, BuildStage stage, const std::string& programFolder, const std::string& out,
                 DiscPlan& plan, bool checkModes)
        : m_host(host), m_programFolder(programFolder), m_out(Lower(out)), m_plan(plan), m_checkModes(checkModes) {
        m_progress.stage = stage;
    }

    bool Exists(const std::string& name) override {
        const std::string key = Lower(name);
        if (key.compare(0, m_out.size(), m_out) == 0)
            return m_planned.count(key.substr(m_out.size())) > 0;
        return m_host.Files().Exists(name);
    }
    void AlreadyThere(const std::string& path) { m_planned.insert(Lower(path.substr(m_out.size()))); }
    std::unique_ptr<ByteSource> Open(const std::string& name) override { return m_host.Files().Open(name); }
    Found ReadWhole(const std::string& name, std::string& bytes) override {
        return m_host.ReadPage(name, bytes, m_modified);
    }
    bool SameFile(const std::string& a, const std::string& b) override { return m_host.Files().SameFile(a, b); }
    bool Copy(const std::string& from, const std::string& to) override {
        FolderEntry file;
        if (!m_host.Access().Details(from, file) || file.kind != PathKind::File) {
            const PathKind kind = m_host.Access().Kind(from);
            m_error = kind == PathKind::Folder ? "it is a folder" : kind == PathKind::Other ? "it is not a file" : "";
            return false;
        }
        Note(from, to, file.size, file.modified);
        return true;
    }
    // A page's size is that of what was read: no second look at the file.
    Found CopyAndRead(const std::string& from, const std::string& to, std::string& bytes, bool& copied) override {
        const Found found = ReadWhole(from, bytes);
        copied = found == Found::Read;
        FolderEntry file;
        if (!copied)
            copied = Copy(from, to);
        else if (!m_plan.dated || m_modified >= 0)
            Note(from, to, bytes.size(), m_modified >= 0 ? m_modified : 0);
        else if ((copied = m_host.Access().Details(from, file)))
            Note(from, to, bytes.size(), file.modified);
        return found;
    }
    std::string CopyError() const override { return m_error; }
    bool MakeFolder(const std::string&) override { return true; }
    void PageStarting(const std::string& pagePath) override {
        ++m_progress.pages;
        m_progress.item = pagePath;
        m_host.Progress(m_progress);
    }
    void PageDecoded(const std::string& pagePath, std::string_view text) override {
        DocKind kind = DocKind::Html;
        // Stylesheets have no document mode.
        if (m_checkModes && IsScanned(pagePath, kind) && kind == DocKind::Html && !DeclaresDocumentMode(text))
            m_plan.undeclared.push_back(pagePath);
    }
    bool Stopped() override { return m_host.Cancelled(); }

private:
    void Note(const std::string& from, const std::string& to, unsigned long long size, long long modified) {
        const std::string name = to.substr(m_out.size());
        m_planned.insert(Lower(name));
        DocKind kind = DocKind::Html;
        const bool page = IsScanned(name, kind);
        m_plan.files.push_back({name, ResolveAgainst(m_programFolder, from), size, page, modified});
        m_plan.bytes += size;
        m_plan.pages += page;
    }

    BuildHost& m_host;
    std::string m_programFolder;
    std::string m_out;
    DiscPlan& m_plan;
    bool m_checkModes;
    BuildProgress m_progress;
    std::string m_error;
    long long m_modified = -1;                 // of the page read last
    std::unordered_set<std::string> m_planned; // names inside the output folder, in lower case
};

// Bytes a set of files takes: on a disk of 4 KB clusters, the common size, and in the image,
// whose sectors are 2 KB and whose folders and names take some more.
unsigned long long BytesOnDisk(const std::vector<PlannedFile>& files, unsigned long long unit) {
    unsigned long long total = 0;
    for (const PlannedFile& file : files)
        total += (file.size + unit - 1) / unit * unit + (unit == kDiscSector ? 256 : unit);
    return total;
}

// Free space where the folder and the image go, against what they take; the image counts on
// the folder's volume too when both share it.
void CheckSpace(BuildHost& host, const std::string& folder, const std::string& image,
                const std::vector<PlannedFile>& files, std::vector<Finding>& findings) {
    struct Need {
        std::string place, volume;
        unsigned long long needed = 0, available = 0;
        bool known = false;
    } needs[2];
    const std::string places[2] = {ParentOf(folder), image.empty() ? std::string() : ParentOf(image)};
    const unsigned long long sizes[2] = {BytesOnDisk(files, 4096), BytesOnDisk(files, kDiscSector) + (1 << 20)};
    for (int i = 0; i < 2; ++i) {
        if (places[i].empty())
            continue;
        needs[i].place = places[i];
        needs[i].needed = sizes[i];
        needs[i].known = host.Access().FreeSpace(places[i], needs[i].available, needs[i].volume);
    }
    if (needs[0].known && needs[1].known && needs[0].volume == needs[1].volume) {
        needs[0].needed += needs[1].needed;
        needs[1].known = false;
    }
    for (const Need& need : needs)
        if (need.known && need.needed > need.available)
            findings.insert(findings.begin(), {Severity::Error, SpaceMessage(need.place, need.needed, need.available)});
}

// Why the image may not be written where asked: it would replace what is not an earlier
// image, or lie among the files that go on the disc.
void CheckImagePlace(BuildHost& host, const DiscSettings& s, const std::string& out, const std::string& image,
                     std::vector<Finding>& findings) {
    const std::string full = ResolveAgainst(s.m_strProgramFolder, image);
    if (IsInsideFolder(ResolveAgainst(s.m_strProgramFolder, out.substr(0, out.size() - 1)), full)) {
        findings.insert(findings.begin(), {Severity::Error, ImageInsideOutputMessage(image, out)});
        return;
    }
    if (HasPageName(s.m_strTargetPath)) {
        std::string site = PageFolder(ResolveAgainst(s.m_strProgramFolder, s.m_strTargetPath));
        site.pop_back();
        if (IsInsideFolder(site, full)) {
            findings.insert(findings.begin(), {Severity::Error, ImageInsideSiteMessage(image, site)});
            return;
        }
    }
    const PathKind kind = host.Access().Kind(image);
    if (kind == PathKind::None)
        return;
    std::string head;
    if (kind == PathKind::File) {
        if (std::unique_ptr<ByteSource> file = host.Access().Open(image)) {
            head.resize(kImageHeadBytes);
            size_t got = 0;
            for (size_t n; got < head.size() && (n = file->Read(&head[got], head.size() - got)) > 0;)
                got += n;
            head.resize(got);
        }
    }
    if (!IsImageOfOurs(head))
        findings.insert(findings.begin(), {Severity::Error, ImageNotReplacedMessage(image, kind == PathKind::Folder)});
}

// The errors and warnings of the planned disc: its names, depth and size, the space it takes,
// where its image goes, and the viewer's pages without a document mode.
std::vector<Finding> CheckBeforeWriting(const DiscSettings& s, const std::string& out, const std::string& image,
                                        const DiscPlan& plan, BuildHost& host) {
    std::vector<Finding> findings = CheckPlannedFiles(plan.files, !image.empty());
    if (!image.empty()) {
        for (const PlannedFile& file : plan.files) {
            const std::string tooLarge = ImageFileSizeProblem(file.size);
            if (!tooLarge.empty())
                findings.insert(findings.begin(),
                                {Severity::Error, "The file " + file.source +
                                                      " cannot go into the disc image: " + tooLarge +
                                                      ".\n\nPlease leave the image out or select a smaller file."});
        }
        CheckImagePlace(host, s, out, image, findings);
    }
    CheckSpace(host, out.substr(0, out.size() - 1), image, plan.files, findings);
    for (const std::string& page : plan.undeclared)
        findings.push_back({Severity::Warning, NoDocumentModeWarning(ResolveAgainst(s.m_strProgramFolder, page))});
    return findings;
}

// The files of a folder seen through a FileSource from its root.
class FolderFiles : public FileSource {
public:
    FolderFiles(FileSource& files, const std::string& root) : m_files(files), m_root(root) {}
    bool Exists(const std::string& name) override { return m_files.Exists(m_root + name); }
    std::unique_ptr<ByteSource> Open(const std::string& name) override { return m_files.Open(m_root + name); }

private:
    FileSource& m_files;
    std::string m_root;
};

// What stands at the output folder's place before a build, and which of its files no build
// wrote. An earlier build's folder is read as the disc it is: its own autorun.inf names the
// files the build copied under their own names, and a scan of its start page, inside the
// folder, finds the linked files; every other file is someone else's.
struct Survey {
    PathKind kind = PathKind::None;
    std::vector<std::string> foreign; // paths inside the folder
    std::string error;                // the folder could not be read
};

Survey SurveyOutputFolder(BuildHost& host, const std::string& folder) {
    Survey survey;
    FileAccess& fs = host.Access();
    survey.kind = fs.Kind(folder);
    if (survey.kind != PathKind::Folder)
        return survey;
    std::vector<std::string> files, folders;
    if (!ListTree(fs, folder, files, folders, survey.error))
        return survey;
    std::unordered_set<std::string> built;
    const std::string root = folder + "\\";
    if (fs.Kind(root + kAutorunInf) == PathKind::File && fs.Kind(root + kNoteName) == PathKind::File) {
        FolderFiles disc(host.Files(), root);
        const LaunchConfig config = ReadLaunchConfig({}, disc);
        for (const std::string& name : {std::string(kAutorunInf), std::string(kNoteName), std::string(kLauncherName),
                                        config.target, config.splashOrSound, config.sound, ReadIconEntry(disc)})
            if (!name.empty())
                built.insert(Lower(name));
        if (HasPageName(config.target) && !ClimbsOutOfFolder(config.target)) {
            const std::string noted = "<the earlier disc>\\";
            DiscPlan earlier;
            PlanScanHost scan(host, BuildStage::Surveying, folder, noted, earlier, false);
            LinkScanner(scan, host.Ansi(), scan, earlier.missing).Scan(root + config.target, noted, true);
            for (const PlannedFile& file : earlier.files)
                built.insert(Lower(file.name));
        }
    }
    for (const std::string& name : files)
        if (!built.count(Lower(name)))
            survey.foreign.push_back(name);
    return survey;
}

// Removes what a failed build made beside the output folder.
void Discard(BuildHost& host, const std::string& staging, const std::string& imagePart) {
    std::string ignored;
    if (!staging.empty())
        RemoveTree(host.Access(), staging, ignored);
    if (!imagePart.empty() && host.Access().Kind(imagePart) == PathKind::File)
        host.Access().RemoveFile(imagePart, ignored);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

ScanFiles::Found BuildHost::ReadPage(const std::string& name, std::string& bytes, long long& modified) {
    modified = -1;
    return ReadWholeFrom(Files(), name, bytes);
}

bool PlanDisc(const DiscSettings& s, const std::string& out, BuildHost& host, DiscPlan& plan) {
    auto add = [&](const std::string& name, const std::string& source) {
        unsigned long long size = 0;
        if (host.Access().FileSize(source, size))
            plan.files.push_back({name, ResolveAgainst(s.m_strProgramFolder, source), size});
    };
    if (CopiesTarget(s))
        add(s.m_strTarget, s.m_strTargetPath);
    plan.files.push_back({kAutorunInf, out + kAutorunInf, AutorunInfText(s, nullptr).size()});
    plan.files.push_back({kNoteName, out + kNoteName, std::string(kNoteText).size()});
    add(kLauncherName, s.m_strExePath);
    for (const DiscFile* option : CopiedOptions(s))
        add(UnderscoreSpaces(s.*option->name), s.*option->path);
    for (const PlannedFile& file : plan.files)
        plan.bytes += file.size;
    plan.linked = plan.files.size();
    if (HasPageName(s.m_strTargetPath)) {
        // Linked pages open in the viewer only when the target does.
        PlanScanHost scan(host, BuildStage::Reading, s.m_strProgramFolder, out, plan, s.m_bBrowser);
        // A link to a file the build writes itself (the target, autorun.exe) finds it there, as
        // the copy would: the site's file of that name never replaces it.
        for (const PlannedFile& file : plan.files)
            scan.AlreadyThere(out + file.name);
        LinkScanner(scan, host.Ansi(), scan, plan.missing).Scan(s.m_strTargetPath, out, true);
    }
    return !host.Cancelled();
}

bool UsesProgramIcon(const DiscSettings& s) {
    if (s.m_strIconName != kLauncherName)
        return false;
    // The designer's default, or the running program picked by hand: anything else named so
    // is another program, whose copy would replace the launcher.
    return s.m_strIconPath == kLauncherName || SamePath(ResolveAgainst(s.m_strProgramFolder, s.m_strIconPath),
                                                        ResolveAgainst(s.m_strProgramFolder, s.m_strExePath));
}

std::string PickedFileProblem(const DiscSettings& s, const std::string& folder, bool& targetConcerned) {
    const std::vector<UserFile> files = UserFiles(s);
    const char* reserved[] = {kLauncherName, kAutorunInf, kNoteName};
    targetConcerned = false;
    for (const UserFile& file : files)
        for (const char* own : reserved)
            if (!file.name.empty() && LandingKey(file.name) == LandingKey(own)) {
                targetConcerned = file.isTarget;
                return ReservedNameMessage(file.role, file.name);
            }
    for (size_t i = 0; i < files.size(); ++i)
        for (size_t j = i + 1; j < files.size(); ++j) {
            const UserFile &a = files[i], &b = files[j];
            if (a.name.empty() || b.name.empty() || LandingKey(a.name) != LandingKey(b.name))
                continue;
            if (SamePath(ResolveAgainst(s.m_strProgramFolder, a.path), ResolveAgainst(s.m_strProgramFolder, b.path)))
                continue; // the same file twice lands as the same bytes
            targetConcerned = a.isTarget;
            return SameNameMessage(a.role, b.role, b.name);
        }
    for (const UserFile& file : files) {
        const std::string full = ResolveAgainst(s.m_strProgramFolder, file.path);
        if (IsInsideFolder(folder, full)) {
            targetConcerned = file.isTarget;
            return InsideOutputMessage(file.role, full, folder);
        }
    }
    return {};
}

std::string ReservedNameMessage(const std::string& role, const std::string& name) {
    return "The " + role + " " + name +
           " has the name of a file that Create CD writes itself (autorun.exe, autorun.inf or "
           "COPY_ALL_TO_CDROM_ROOT.txt), so it would replace that file on the CD-ROM.\n\nPlease rename the file or "
           "select a new one.";
}

std::string SameNameMessage(const std::string& role, const std::string& otherRole, const std::string& name) {
    return "The " + role + " and the " + otherRole + " would both be copied to the CD-ROM as " + name +
           ", and one would replace the other.\n\nPlease rename one of them or select another file.";
}

std::string InsideOutputMessage(const std::string& role, const std::string& path, const std::string& folder) {
    return "The " + role + " " + path + " lies inside " + folder +
           ", which Create CD empties before it copies anything, so the file would be lost.\n\nPlease move it out of "
           "that folder or select another file.";
}

std::string MissingTargetWarning(const std::string& path, const std::string& name, const std::string& folder) {
    return "The file to open, " + path + ", was not found, so it is not in " + folder +
           "\n\nThe CD-ROM will not start until you add " + name + " to that folder.";
}

std::string WriteFailureMessage(const std::string& path) {
    return "There was a problem writing " + path +
           "\n\nPlease verify that no folder or read-only file of that name is in the way, that the file is not "
           "currently opened in another program, and that the disk is not full.";
}

std::string ImageFailureMessage(const std::string& error) {
    return "There was a problem writing the disc image: " + error +
           "\n\nNothing was changed: the earlier CD-ROM files and disc image, if any, are kept. Please check the disk "
           "and try again.";
}

std::string ImageInsideOutputMessage(const std::string& image, const std::string& folder) {
    return "The disc image " + image + " would lie inside " + folder +
           ", the folder it is made of.\n\nPlease write it somewhere else.";
}

std::string OutputFolderMessage(const std::string& folder) {
    return "There was a problem creating the output folder " + folder +
           "\n\nPlease check that the folder above it exists and that you may write there.";
}

std::string CreateFolderMessage(const std::string& folder) {
    return "There was a problem creating the following directory:\n" + folder +
           "\n\nPlease check your permissions on your desktop.";
}

std::string CopyFailureMessage(CopyKind kind, const std::string& source, const std::string& dest,
                               const std::string& reason) {
    return "There was a problem copying " + source + " to " + dest + (reason.empty() ? "" : ": " + reason + ".") +
           CopyAdvice(kind);
}

std::string ScanCopyFailureMessage(const std::string& source, const std::string& dest, const std::string& reason) {
    return "There was a problem copying " + source + " to " + dest + ": " + reason +
           ".\n\nThe CD-ROM files were not created; the earlier ones, if any, are kept. Please check the disk and "
           "try again.";
}

std::string OutputIsFileMessage(const std::string& folder) {
    return "The output folder " + folder +
           " is a file, not a folder, so the CD-ROM files cannot go there.\n\nPlease move or rename that file, or "
           "choose another folder.";
}

std::string ForeignFilesMessage(const std::string& folder, const std::vector<std::string>& names, size_t most) {
    std::string text = "The folder " + folder + " holds files that Create CD did not make:\n";
    for (size_t i = 0; i < names.size() && i < most; ++i)
        text += "\n    " + names[i];
    if (names.size() > most)
        text += "\n    ... and " + std::to_string(names.size() - most) + " more";
    return text;
}

std::string ReplaceFolderMessage(const std::string& folder, const std::string& reason) {
    return "There was a problem replacing the folder " + folder + " with the new CD-ROM files: " + reason +
           ".\n\nThe earlier files are kept as they were. Please close any program that uses a file in that folder "
           "(a preview of the CD-ROM that still plays its sound, say) and try again.";
}

std::string OldFolderLeftMessage(const std::string& old, const std::string& reason) {
    return "The new CD-ROM files are in place, but the earlier ones could not all be removed from " + old + ": " +
           reason + ".\n\nYou may delete that folder yourself.";
}

std::string ImageNotReplacedMessage(const std::string& image, bool folder) {
    return (folder ? "There is a folder " + image + " where the disc image would go"
                   : "The file " + image + " is not a disc image that Create CD wrote") +
           ", so it is not replaced and nothing was written.\n\nPlease name a new file or an earlier disc image.";
}

std::string ImageInsideSiteMessage(const std::string& image, const std::string& site) {
    return "The disc image " + image + " would lie inside " + site +
           ", the folder of the pages that go on the CD-ROM.\n\nPlease write it somewhere else.";
}

std::string SpaceMessage(const std::string& place, unsigned long long needed, unsigned long long available) {
    const auto mb = [](unsigned long long bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20); };
    return "There is not enough free space in " + place + " for the CD-ROM files: they need " + mb(needed) +
           " MB, and " + mb(available) + " MB are free.\n\nPlease free some space or choose another place.";
}

std::string DoneQuestion(const std::string& folder) {
    return "Your files have been created and placed in " + folder +
           "\n\nSimply burn the included files, and all images used within those files (such as HTML graphics), "
           "to your CD-ROM root directory for auto-play.\n\nWould you like to preview your CD-ROM Auto-Play now?";
}

std::string PreviewParameters(const std::string& openValue) {
    size_t space = openValue.find(' ');
    return space == std::string::npos ? std::string() : openValue.substr(space + 1);
}

BuildOutcome RunBuild(const DiscSettings& s, BuildHost& host, const BuildRequest& request) {
    if (s.m_strTarget.find(' ') != std::string::npos) {
        host.Tell(kSpacesMessage);
        host.FocusTargetName();
        return BuildOutcome::Refused;
    }
    std::string folder = request.folder;
    if (folder.empty()) {
        std::string desktop;
        if (!host.DesktopFolder(desktop) || desktop.empty()) {
            host.Tell(kNoDesktopMessage);
            return BuildOutcome::NoDesktop;
        }
        folder = desktop + "\\" + kOutputFolderName;
    }
    const std::string image = !request.image.empty() ? request.image : s.m_bImage ? folder + ".iso" : "";
    bool targetConcerned = false;
    const std::string problem = PickedFileProblem(s, folder, targetConcerned);
    if (!problem.empty()) {
        host.Tell(problem);
        if (targetConcerned)
            host.FocusTargetName();
        return BuildOutcome::Refused;
    }
    host.SetWorkingFolder(s.m_strProgramFolder);
    FileAccess& fs = host.Access();

    // Nothing is written before every check has passed, and nothing of the user's is lost.
    const Survey survey = SurveyOutputFolder(host, folder);
    if (survey.kind == PathKind::File || survey.kind == PathKind::Other) {
        host.Tell(OutputIsFileMessage(folder));
        return BuildOutcome::Refused;
    }
    if (!survey.error.empty()) {
        host.Tell(ReplaceFolderMessage(folder, survey.error));
        return BuildOutcome::Refused;
    }
    if (host.Cancelled())
        return BuildOutcome::Cancelled;
    DiscPlan plan;
    plan.dated = !image.empty();
    if (!PlanDisc(s, folder + "\\", host, plan))
        return BuildOutcome::Cancelled;
    const std::vector<Finding> findings = CheckBeforeWriting(s, folder + "\\", image, plan, host);
    const std::string errors = JoinFindings(findings, Severity::Error, host.MostFindingsShown());
    if (!errors.empty()) {
        host.Tell(errors);
        return BuildOutcome::Refused;
    }
    const bool recycle = !survey.foreign.empty();
    if (recycle && !host.ReplaceForeignFiles(folder, survey.foreign))
        return BuildOutcome::Refused;
    const std::string warnings = JoinFindings(findings, Severity::Warning, host.MostFindingsShown());
    if (!warnings.empty() && !host.Accept(warnings))
        return BuildOutcome::Refused;

    // The disc is built beside the output folder and takes its place only when whole, so a
    // build that fails leaves the earlier disc as it was.
    const std::string staging = UnusedName(fs, folder, ".part");
    std::string error;
    if (!fs.MakeFolder(staging, error)) {
        host.Tell(request.folder.empty() ? CreateFolderMessage(folder) : OutputFolderMessage(folder));
        return BuildOutcome::Stopped;
    }
    host.SetWorkingFolder(s.m_strProgramFolder);
    const std::string out = folder + "\\";
    const std::string building = staging + "\\";
    auto stop = [&](const std::string& imagePart = std::string()) {
        Discard(host, staging, imagePart);
        host.SetWorkingFolder(s.m_strProgramFolder);
        return host.Cancelled() ? BuildOutcome::Cancelled : BuildOutcome::Stopped;
    };
    CopyTracker tracker(host, plan);

    // A target that is not there yet is left out: the user may add it to the folder by hand.
    const bool targetMissing = CopiesTarget(s) && fs.Kind(s.m_strTargetPath) == PathKind::None;
    if (CopiesTarget(s) && !targetMissing &&
        !CopyInto(host, CopyKind::Target, s.m_strTargetPath, building, out, s.m_strTarget, s.m_strProgramFolder,
                  tracker))
        return stop();

    std::string openValue;
    if (!tracker.Start(out + kAutorunInf))
        return stop();
    if (!host.WriteAutorunInf(staging, s, openValue, error)) {
        host.Tell(WriteFailureMessage(out + kAutorunInf));
        return stop();
    }
    tracker.Done(AutorunInfText(s, nullptr).size(), false);
    if (!tracker.Start(out + kNoteName))
        return stop();
    if (!fs.WriteWhole(building + kNoteName, kNoteText, error)) {
        host.Tell(WriteFailureMessage(out + kNoteName));
        return stop();
    }
    tracker.Done(std::string(kNoteText).size(), false);

    if (!CopyInto(host, CopyKind::Program, s.m_strExePath, building, out, kLauncherName, s.m_strProgramFolder, tracker))
        return stop();
    for (const DiscFile* option : CopiedOptions(s))
        if (!CopyInto(host, CopyKind::Extra, s.*option->path, building, out, UnderscoreSpaces(s.*option->name),
                      s.m_strProgramFolder, tracker))
            return stop();
    host.SetWorkingFolder(s.m_strProgramFolder);
    const NamesOnDisc names(plan);
    if (!MakeFolders(host, names, building, out))
        return stop();

    // The image is written on a second thread while the site's files are copied, where the host
    // has one: it lists the plan, and reads each file once its copy is whole.
    std::string imagePart;
    const std::string label = request.label.empty() ? DefaultVolumeLabel(s.m_strTarget) : request.label;
    if (!image.empty()) {
        imagePart = UnusedName(fs, image, ".new");
        host.ImageStarting(image);
    }
    std::unique_ptr<PlannedListing> listing;
    std::unique_ptr<ImageBeside> beside;
    if (!image.empty()) {
        listing = std::make_unique<PlannedListing>(fs, staging, plan, names);
        beside = std::make_unique<ImageBeside>(host, staging, imagePart, image, label, *listing);
    }
    const bool imageBeside = beside && host.StartBeside(*beside);
    const bool copied = CopyLinked(host, plan, names, building, out, tracker, imageBeside ? listing.get() : nullptr);
    if (imageBeside) {
        if (!copied)
            beside->Stop();
        BuildProgress shown;
        shown.stage = BuildStage::Imaging;
        shown.item = image;
        while (!host.WaitBeside(20)) {
            shown.bytes = beside->Done();
            shown.bytesTotal = beside->Total();
            host.Progress(shown);
            if (host.Cancelled())
                beside->Stop();
        }
    }
    if (!copied)
        return stop(imagePart);
    if (!plan.missing.Empty())
        host.ShowMissing(plan.missing.Items());
    if (targetMissing)
        host.Tell(MissingTargetWarning(ResolveAgainst(s.m_strProgramFolder, s.m_strTargetPath), s.m_strTarget, out));

    if (!image.empty() && !host.Cancelled()) {
        bool written = imageBeside && beside->Written();
        error = imageBeside ? beside->Error() : std::string();
        // A file of the plan that could not be copied after all leaves the planned image short:
        // it is written again from the folder as it is.
        if (!imageBeside || (!written && listing->Incomplete())) {
            host.SetWorkingFolder(s.m_strProgramFolder);
            ImageTracker progress(host, image);
            written = host.WriteImage(staging, imagePart, image, label, progress, nullptr, error);
        }
        if (!written && !host.Cancelled())
            host.Tell(ImageFailureMessage(Replaced(Replaced(error, imagePart, image), staging, folder)));
        if (!written)
            return stop(imagePart);
    }
    if (host.Cancelled())
        return stop(imagePart);

    // The swap: the earlier folder steps aside, the new one takes its name, the earlier one goes.
    std::string old;
    if (survey.kind == PathKind::Folder) {
        old = UnusedName(fs, folder, ".old");
        if (!fs.Rename(folder, old, false, error)) {
            host.Tell(ReplaceFolderMessage(folder, error));
            return stop(imagePart);
        }
    }
    if (!fs.Rename(staging, folder, false, error)) {
        std::string ignored;
        if (!old.empty())
            fs.Rename(old, folder, false, ignored);
        host.Tell(ReplaceFolderMessage(folder, error));
        return stop(imagePart);
    }
    std::string imageError;
    const bool imagePlaced = imagePart.empty() || fs.Rename(imagePart, image, true, imageError);
    if (!old.empty()) {
        const bool gone = recycle ? fs.Recycle(old, error) : RemoveTree(fs, old, error);
        if (!gone)
            host.Tell(OldFolderLeftMessage(old, error));
    }
    host.SetWorkingFolder(s.m_strProgramFolder);
    if (!imagePlaced) {
        host.Tell(WriteFailureMessage(image));
        Discard(host, std::string(), imagePart);
        return BuildOutcome::Stopped;
    }

    if (!host.Ask(DoneQuestion(out)))
        return BuildOutcome::Declined;
    host.StartPreview(out + kLauncherName, PreviewParameters(openValue), out);
    return BuildOutcome::Previewed;
}

} // namespace vk
