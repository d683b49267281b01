// The linked-file scanner's rules: which link values name a file of the site and where it
// goes, and the scan that copies those files into the output folder, folders kept, and follows
// linked pages and stylesheets. The scan reads and copies through ScanFiles (one for Windows,
// one for POSIX, the tests' in-memory disk), decodes undeclared pages in a CodePage, and tells
// a ScanProgress of each page and of the missing files.
// Pages are decoded to UTF-8 first (core/text_decode.h); names and paths here are UTF-8.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/text_decode.h"
#include "core/text_lines.h"
#include "disc/key_set.h"
#include "disc/page_links.h"

namespace vk {

// Values longer than this name no file of a site (a deep site with long names stays far below:
// Windows' long paths take up to 32,767 characters); they are listed, cut.
constexpr size_t kMaxLinkPath = 4096;
// The missing-files list shows at most this much of a path, then "...".
constexpr size_t kMaxListedPath = 260;

enum class LinkKind {
    Skip,    // not a file: a web, mail or script address, a placeholder folder, an anchor, a folder
    Outside, // names something outside the site: above it, a drive, a stream, another machine
    BadName, // a name no disc holds: a character or a device name Windows refuses, or too long
    File,    // a file of the site
};
struct ResolvedLink {
    LinkKind kind = LinkKind::Skip;
    // File: the path inside the site, steps joined by backslashes. Outside and BadName: what
    // the missing list shows, its folder spelling normalised the same way.
    std::string path;
};

// Resolves a link value as a browser, then Windows, would on a page at pageFolder (its folder
// inside the site, empty or ending in a backslash) of the site whose root folder is siteRoot
// (the start page's folder, as given): query and fragment dropped, %-escapes decoded, "/" and
// "\" both separators, "." and ".." applied, then each step's trailing dots and blanks trimmed
// (a step of nothing else is "."), and only then are the steps left judged. A value that starts
// with "/" is taken from the site root; a file: URL counts when it names a file inside siteRoot.
ResolvedLink ResolveLink(const std::string& siteRoot, const std::string& pageFolder, const std::string& value);

// True when a name, put behind a folder, would name something outside that folder, its steps
// read as ResolveLink reads them: more ".." steps than steps down, a rooted path, or a drive or
// stream colon.
bool ClimbsOutOfFolder(std::string_view name);

// Whether a scan reads the file for its own links, and as what: pages by their extension,
// stylesheets.
bool IsScanned(const std::string& path, DocKind& kind);

// pagePath up to and including its last backslash; "\" when it has none.
std::string PageFolder(const std::string& pagePath);

// Why a linked file is not on the disc.
enum class MissingReason {
    Absent,     // no such file
    Outside,    // outside the site's folder: above it, on a drive, a stream or another machine
    BadName,    // a name no disc holds: a character or a device name Windows refuses, or too long
    CaseTwin,   // another file of the site, met first, has the same name but for letter case
    CopyFailed, // there, but its copy failed; detail holds the system's reason when it is known
    FolderLoop, // a folder link back to a folder it is in: followed, it would never end
};

struct MissingFile {
    MissingFile(std::string path, MissingReason reason, std::string detail = std::string())
        : path(std::move(path)), reason(reason), detail(std::move(detail)) {}
    std::string path;
    MissingReason reason;
    std::string detail;
};
bool operator==(const MissingFile& a, const MissingFile& b);

// An entry as the missing-files dialog and the console show it: "PATH (not found)".
std::string MissingEntryText(const MissingFile& file);

// Source paths of files a scan could not copy and why, in the order first found, once each.
class MissingFileList {
public:
    // A path listed before, in any letter case, keeps its first entry.
    void Add(const std::string& path, MissingReason reason, const std::string& detail = std::string());
    void Clear();
    bool Empty() const { return m_items.empty(); }
    const std::vector<MissingFile>& Items() const { return m_items; }

private:
    std::vector<MissingFile> m_items;
    std::unordered_set<std::string> m_seen;
};

// The files a scan reads, copies and makes.
class ScanFiles : public FileSource {
public:
    enum class Found {
        Absent,     // no such file or folder
        Unreadable, // there, but it cannot be read: it reads as empty
        Read,       // bytes hold all of it
    };
    // Copies, overwriting the destination; clears its read-only attribute on success.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // All of a document the scan reads. Without an override: Exists, then Open.
    virtual Found ReadWhole(const std::string& name, std::string& bytes);
    // ReadWhole, and the file's date (seconds since 1970, UTC) where the read tells it; -1 where not.
    virtual Found ReadWholeDated(const std::string& name, std::string& bytes, long long& modified) {
        modified = -1;
        return ReadWhole(name, bytes);
    }
    // Copy and ReadWhole of the same file, so that a host can read it once for both; copied
    // tells whether the copy was made. Without an override: Copy, then ReadWhole.
    virtual Found CopyAndRead(const std::string& from, const std::string& to, std::string& bytes, bool& copied);
    // Why the last Copy or CopyAndRead that failed did, in the system's words; empty if unknown.
    virtual std::string CopyError() const { return {}; }
    // Creates one folder whose parent exists; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
};

// What a scan tells as it goes; each does nothing unless overridden.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    // Once per page, before its links are read.
    virtual void PageStarting(const std::string& /*pagePath*/) {}
    // A page's text, as its links are read from it (UTF-8), for a host that looks at more.
    virtual void PageDecoded(const std::string& /*pagePath*/, std::string_view /*text*/) {}
    // True when the scan should end where it is: its results are then incomplete.
    virtual bool Stopped() { return false; }
    // At the end of a top-level scan that found missing files.
    virtual void ShowMissing(const std::vector<MissingFile>& /*missing*/) {}
};

// All of a file through its source: Exists, then Open.
ScanFiles::Found ReadWholeFrom(FileSource& files, const std::string& name, std::string& bytes);

// A scan on a disk that notes the first copy that failed although its source could be read:
// a full disk or a folder that refuses writes is the build's failure, not a missing link.
class WatchedScan : public ScanFiles {
public:
    explicit WatchedScan(ScanFiles& disk) : m_disk(disk) {}
    bool Exists(const std::string& name) override { return m_disk.Exists(name); }
    std::unique_ptr<ByteSource> Open(const std::string& name) override { return m_disk.Open(name); }
    bool SameFile(const std::string& a, const std::string& b) override { return m_disk.SameFile(a, b); }
    bool MakeFolder(const std::string& path) override { return m_disk.MakeFolder(path); }
    Found ReadWhole(const std::string& name, std::string& bytes) override { return m_disk.ReadWhole(name, bytes); }
    bool Copy(const std::string& from, const std::string& to) override;
    Found CopyAndRead(const std::string& from, const std::string& to, std::string& bytes, bool& copied) override;

    bool Failed() const { return !m_reason.empty(); }
    // The first such copy: its source, destination and why.
    const std::string& FailedSource() const { return m_source; }
    const std::string& FailedDestination() const { return m_dest; }
    const std::string& FailureReason() const { return m_reason; }

private:
    void Note(const std::string& from, const std::string& to);
    ScanFiles& m_disk;
    std::string m_source, m_dest, m_reason;
};

class LinkScanner {
public:
    // ansi: the code page of pages that are neither declared nor valid UTF-8.
    LinkScanner(ScanFiles& files, CodePage& ansi, ScanProgress& progress, MissingFileList& missing)
        : m_files(files), m_ansi(ansi), m_progress(progress), m_missing(missing) {}

    // Copies what pagePath links to into destFolder (which ends in a backslash), each file at
    // its place relative to the page's folder, and follows linked pages and stylesheets. A
    // top-level scan starts a fresh missing list and shows it at the end.
    void Scan(const std::string& pagePath, const std::string& destFolder, bool topLevel);

private:
    struct Doc;
    class DocStack;
    // Reads the links of the document just read into m_page (found says how that went).
    void Enter(const std::string& relPath, const std::string& source, DocKind kind, ScanFiles::Found found,
               DocStack& stack);
    void Follow(const std::string& value, const std::string& pageFolder, DocStack& stack);
    bool MakeFolders(const std::string& relPath);
    bool InFolderMadeHere(const std::string& relPath) const;
    bool InFolderLoop(const std::string& relPath, const std::string& key);
    void NotCopied(const std::string& source, bool absent, const std::string& why);

    ScanFiles& m_files;
    CodePage& m_ansi;
    ScanProgress& m_progress;
    MissingFileList& m_missing;
    std::string m_start, m_root, m_dest;
    // Documents read in this top-level scan, by their path in the site: each is read at most
    // once, so the scan always ends.
    KeySet m_visited;
    // Files of the site already looked at in this scan, by their path in the site.
    KeySet m_done;
    // The spelling each path was first met under (the start page under its own), and every
    // spelling met: a new spelling of a path met before may name another file.
    std::unordered_map<std::string, std::string> m_firstSpelling;
    KeySet m_spellings;
    // Folders of the output folder known to exist in this scan, by their path in the site.
    KeySet m_folders;
    // Those of them this scan made: they hold only what this scan copied, so a file in one
    // needs no look whether it is already in the output folder.
    KeySet m_madeFolders;
    // Folders of the site entered in this scan, by their path in the site, and those found to
    // be folder links back to a folder they are in.
    KeySet m_sourceFolders, m_loopFolders;
    // Values already followed from a folder in this scan: navigation links repeat on every
    // page, and a second follow from the same folder finds the same answer.
    KeySet m_followed;
    // The page being read and, where it is not UTF-8, its text, in one buffer each for all:
    // no fresh memory to map for each page.
    std::string m_page, m_converted;
};

} // namespace vk
