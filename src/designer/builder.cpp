#include "designer/builder.h"

#include <memory>
#include <unordered_set>
#include <vector>

#include "app/ascii_case.h"
#include "app/paths.h"
#include "designer/designer_options.h"
#include "designer/scanner.h"
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
std::vector<const DesignerOption*> CopiedOptions(const DiscSettings& s) {
    std::vector<const DesignerOption*> copied;
    for (const DesignerOption& option : DesignerOptions()) {
        if (!option.on || !option.name || !(s.*option.on) || (s.*option.name).empty())
            continue;
        if (option.name == &DiscSettings::m_strIconName && UsesProgramIcon(s))
            continue;
        copied.push_back(&option);
    }
    return copied;
}

std::vector<UserFile> UserFiles(const DiscSettings& s) {
    std::vector<UserFile> files;
    const char* target = TargetOption().role;
    if (CopiesTarget(s))
        files.push_back({target, s.m_strTarget, s.m_strTargetPath, true});
    else if (HasPageName(s.m_strTargetPath))
        files.push_back({target, "", s.m_strTargetPath}); // scanned all the same
    for (const DesignerOption* option : CopiedOptions(s))
        files.push_back({option->role, UnderscoreSpaces(s.*option->name), s.*option->path});
    files.push_back({"program", "", s.m_strExePath});
    return files;
}

// Copies source into the folder under name; a name that would land outside the folder is
// never tried and fails like any other copy.
bool CopyInto(BuildHost& host, CopyKind kind, const std::string& source, const std::string& folder,
              const std::string& name, const std::string& programFolder) {
    const std::string dest = folder + name;
    host.SetWorkingFolder(programFolder);
    if (!ClimbsOutOfFolder(name) && host.Copy(source, dest))
        return true;
    host.Tell(CopyFailureMessage(kind, source, dest));
    return false;
}

// The scan that a build would make, run on the files as they are: each copy is only noted,
// and a name noted once counts as present, as a copied file would.
class PlanScanHost : public ScanHost {
public:
    PlanScanHost(BuildHost& host, const std::string& programFolder, const std::string& out,
                 std::vector<PlannedFile>& files, std::vector<std::string>& pages)
        : m_host(host), m_programFolder(programFolder), m_out(Lower(out)), m_files(files), m_pages(pages) {}

    bool Exists(const std::string& name) override {
        const std::string key = Lower(name);
        if (key.compare(0, m_out.size(), m_out) == 0)
            return m_planned.count(key) > 0;
        return m_host.Files().Exists(name);
    }
    std::unique_ptr<ByteSource> Open(const std::string& name) override { return m_host.Files().Open(name); }
    bool SameFile(const std::string& a, const std::string& b) override { return m_host.Files().SameFile(a, b); }
    std::string AnsiToUtf8(std::string_view bytes) override { return m_host.Ansi().AnsiToUtf8(bytes); }
    bool Copy(const std::string& from, const std::string& to) override {
        unsigned long long size = 0;
        if (!m_host.FileSize(from, size))
            return false;
        m_planned.insert(Lower(to));
        m_files.push_back({to.substr(m_out.size()), ResolveAgainst(m_programFolder, from), size});
        return true;
    }
    bool MakeFolder(const std::string&) override { return true; }
    void PageStarting(const std::string& pagePath, unsigned) override {
        DocKind kind = DocKind::Html;
        if (IsScanned(pagePath, kind) && kind == DocKind::Html)  // stylesheets have no document mode
            m_pages.push_back(pagePath);
    }
    void ShowMissing(const std::vector<MissingFile>&) override {}

private:
    BuildHost& m_host;
    std::string m_programFolder;
    std::string m_out;
    std::vector<PlannedFile>& m_files;
    std::vector<std::string>& m_pages;
    std::unordered_set<std::string> m_planned;
};

// The planned disc's names, depth and size, and the viewer's pages without a document mode:
// false when an error stops the build or the user declines the warnings.
bool CheckBeforeWriting(const DiscSettings& s, const std::string& out, const std::string& image, BuildHost& host) {
    std::vector<PlannedFile> files;
    std::vector<std::string> pages;
    PlanDisc(s, out, host, files, pages);
    std::vector<Finding> findings = CheckPlannedFiles(files);
    if (!image.empty() && IsInsideFolder(ResolveAgainst(s.m_strProgramFolder, out.substr(0, out.size() - 1)),
                                         ResolveAgainst(s.m_strProgramFolder, image)))
        findings.insert(findings.begin(), {Severity::Error, ImageInsideOutputMessage(image, out)});
    for (const std::string& page : pages) {
        std::unique_ptr<ByteSource> raw = host.Files().Open(page);
        if (!raw)
            continue;
        DecodedPage decoded(std::move(raw), host.Ansi());
        std::string text;
        char buffer[4096];
        for (size_t n; (n = decoded.Read(buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        if (!DeclaresDocumentMode(text))
            findings.push_back({Severity::Warning, NoDocumentModeWarning(ResolveAgainst(s.m_strProgramFolder, page))});
    }
    const std::string errors = JoinFindings(findings, Severity::Error, host.MostFindingsShown());
    if (!errors.empty()) {
        host.Tell(errors);
        return false;
    }
    const std::string warnings = JoinFindings(findings, Severity::Warning, host.MostFindingsShown());
    return warnings.empty() || host.Accept(warnings);
}

} // namespace

void PlanDisc(const DiscSettings& s, const std::string& out, BuildHost& host, std::vector<PlannedFile>& files,
              std::vector<std::string>& viewerPages) {
    auto add = [&](const std::string& name, const std::string& source) {
        unsigned long long size = 0;
        if (host.FileSize(source, size))
            files.push_back({name, ResolveAgainst(s.m_strProgramFolder, source), size});
    };
    if (CopiesTarget(s))
        add(s.m_strTarget, s.m_strTargetPath);
    files.push_back({kAutorunInf, out + kAutorunInf, AutorunInfText(s, nullptr).size()});
    files.push_back({kNoteName, out + kNoteName, std::string(kNoteText).size()});
    add(kLauncherName, s.m_strExePath);
    for (const DesignerOption* option : CopiedOptions(s))
        add(UnderscoreSpaces(s.*option->name), s.*option->path);
    std::vector<std::string> pages;
    if (HasPageName(s.m_strTargetPath)) {
        PlanScanHost scan(host, s.m_strProgramFolder, out, files, pages);
        MissingFileList missing;
        LinkScanner(scan, missing, 0).Scan(s.m_strTargetPath, out, true);
    }
    // Linked pages open in the viewer only when the target does.
    if (s.m_bBrowser)
        viewerPages = pages;
}

bool UsesProgramIcon(const DiscSettings& s) {
    if (s.m_strIconName != kLauncherName)
        return false;
    // The designer's default, or the running program picked by hand: anything else named so
    // is another program, whose copy would replace the launcher.
    return s.m_strIconPath == kLauncherName ||
           SamePath(ResolveAgainst(s.m_strProgramFolder, s.m_strIconPath), ResolveAgainst(s.m_strProgramFolder, s.m_strExePath));
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
           "\n\nThe CD-ROM files themselves were created; please check the disk and try again.";
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

std::string CopyFailureMessage(CopyKind kind, const std::string& source, const std::string& dest) {
    return "There was a problem copying " + source + " to " + dest + CopyAdvice(kind);
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
    if (!CheckBeforeWriting(s, folder + "\\", image, host))
        return BuildOutcome::Refused;
    host.RemoveOldFolder(folder);
    if (!host.CreateFolder(folder)) {
        if (request.folder.empty()) {
            host.Tell(CreateFolderMessage(folder));
        } else if (!host.Exists(folder)) {
            // A folder named on purpose stops the build: nothing could go into it.
            host.Tell(OutputFolderMessage(folder));
            return BuildOutcome::Stopped;
        }
    }
    host.SetWorkingFolder(s.m_strProgramFolder);
    const std::string out = folder + "\\";

    // A target that is not there yet is left out: the user may add it to the folder by hand.
    const bool targetMissing = CopiesTarget(s) && !host.Exists(s.m_strTargetPath);
    if (CopiesTarget(s) && !targetMissing &&
        !CopyInto(host, CopyKind::Target, s.m_strTargetPath, out, s.m_strTarget, s.m_strProgramFolder))
        return BuildOutcome::Stopped;

    std::string openValue;
    if (!host.WriteAutorunInf(folder, s, openValue)) {
        host.Tell(WriteFailureMessage(out + kAutorunInf));
        return BuildOutcome::Stopped;
    }
    if (!host.WriteTextFile(out + kNoteName, kNoteText)) {
        host.Tell(WriteFailureMessage(out + kNoteName));
        return BuildOutcome::Stopped;
    }

    if (!CopyInto(host, CopyKind::Program, s.m_strExePath, out, kLauncherName, s.m_strProgramFolder))
        return BuildOutcome::Stopped;
    for (const DesignerOption* option : CopiedOptions(s))
        if (!CopyInto(host, CopyKind::Extra, s.*option->path, out, UnderscoreSpaces(s.*option->name),
                      s.m_strProgramFolder))
            return BuildOutcome::Stopped;

    if (HasPageName(s.m_strTargetPath))
        host.ScanPage(s.m_strTargetPath, out);
    if (targetMissing)
        host.Tell(MissingTargetWarning(ResolveAgainst(s.m_strProgramFolder, s.m_strTargetPath), s.m_strTarget, out));

    if (!image.empty()) {
        std::string error;
        host.SetWorkingFolder(s.m_strProgramFolder);
        if (!host.WriteImage(folder, image, request.label.empty() ? DefaultVolumeLabel(s.m_strTarget) : request.label,
                             error)) {
            host.Tell(ImageFailureMessage(error));
            return BuildOutcome::Stopped;
        }
    }

    if (!host.Ask(DoneQuestion(out)))
        return BuildOutcome::Declined;
    host.StartPreview(out + kLauncherName, PreviewParameters(openValue), out);
    return BuildOutcome::Previewed;
}

} // namespace vk
