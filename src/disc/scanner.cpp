#include "disc/scanner.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "core/paths.h"

namespace vk {
namespace {

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool StartsWithUpper(std::string_view text, std::string_view upper) {
    return text.size() >= upper.size() && EqualsUpper(text.substr(0, upper.size()), upper);
}

bool EndsWithLower(const std::string& lower, std::string_view end) {
    return lower.size() >= end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0;
}

std::string Backslashed(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string CutForList(const std::string& path) {
    return path.size() <= kMaxListedPath ? path : path.substr(0, kMaxListedPath) + "...";
}

// Device names are no files: "con.gif" would write to the console.
bool IsDeviceName(std::string_view step) {
    std::string base = Upper(std::string(step.substr(0, step.find('.'))));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

// Windows drops a step's trailing dots and blanks: "a. " is "a", and ". .", "..." and ". "
// are nothing, a "." step.
std::string_view Trimmed(std::string_view step) {
    const size_t last = step.find_last_not_of(". ");
    return last == std::string_view::npos ? std::string_view() : step.substr(0, last + 1);
}

// A step no disc holds: a device name, a control or a character Windows refuses in a name.
bool IsValidStep(std::string_view step) {
    if (IsDeviceName(step))
        return false;
    for (char c : step)
        if (static_cast<unsigned char>(c) < 0x20 || Contains("<>\"|?*:", std::string_view(&c, 1)))
            return false;
    return true;
}

struct Step {
    std::string_view name;
    bool fromValue; // the root's and the page folder's own steps need no check
};

// path (decoded) taken from pageFolder, or from the site root when it starts with a slash.
// Steps are applied to the whole path, the site root's own included, so "../en/x.htm" from
// the root of a folder "en" comes back inside; a step that ".." takes away again is never
// judged, so "x|y/../a.gif" is a.gif.
ResolvedLink InSite(const std::string& siteRoot, const std::string& pageFolder, const std::string& path) {
    ResolvedLink link;
    if (path.size() > kMaxLinkPath) {
        link.kind = LinkKind::BadName;
        link.path = CutForList(Backslashed(siteRoot + pageFolder + path));
        return link;
    }
    // A colon in a later step is only a character no name holds, which ".." may take away.
    const size_t first = std::min(path.find_first_not_of("\\/"), path.size());
    const size_t firstEnd = std::min(path.find_first_of("\\/", first), path.size());
    if (Contains(std::string_view(path).substr(first, firstEnd - first), ":") ||
        (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]))) {
        link.kind = LinkKind::Outside; // a drive, a stream, or another machine's share
        link.path = CutForList(Backslashed(path));
        return link;
    }
    std::vector<std::string_view> root;
    ForEachStep(siteRoot, true, [&](std::string_view step) {
        if (!step.empty())
            root.push_back(step);
    });
    std::vector<Step> steps;
    for (std::string_view step : root)
        steps.push_back({step, false});
    // A drive ("C:") or a share ("\\\\server\\share") is never climbed out of.
    const size_t lead = siteRoot.find_first_not_of('\\');
    const std::string prefix = siteRoot.substr(0, std::min(lead, siteRoot.size()));
    const size_t floor = prefix.size() >= 2 ? 2 : (!root.empty() && Contains(root[0], ":")) ? 1 : 0;
    if (path.empty() || !IsSlash(path[0]))
        ForEachStep(pageFolder, true, [&](std::string_view step) {
            if (!step.empty())
                steps.push_back({step, false});
        });
    size_t ups = 0; // ".." above a relative root
    bool folder = false;
    ForEachStep(path, false, [&](std::string_view step) {
        switch (KindOfStep(step)) {
        case StepKind::Here:
            folder = true;
            break;
        case StepKind::Up:
            folder = true;
            if (!StepUp(steps, floor) && prefix.empty() && floor == 0)
                ++ups;
            break;
        case StepKind::Name:
            // A step trimmed to nothing is a "." that leaves the value naming what it follows.
            if (!Trimmed(step).empty()) {
                folder = false;
                steps.push_back({Trimmed(step), true});
            }
            break;
        }
    });
    if (folder || steps.empty())
        return link; // a folder, not a file
    bool valid = true;
    for (const Step& step : steps)
        valid = valid && (!step.fromValue || IsValidStep(step.name));
    const std::string_view name = steps.back().name;
    const size_t dot = name.find('.');
    if (valid && (dot == std::string_view::npos || dot + 1 == name.size()))
        return link; // no file name
    bool inside = ups == 0 && steps.size() > root.size();
    for (size_t k = 0; inside && k < root.size(); ++k)
        inside = EqualsIgnoringCase(steps[k].name, root[k]);
    std::string joined;
    for (size_t k = inside && valid ? root.size() : 0; k < steps.size(); ++k)
        joined.append(joined.empty() ? "" : "\\").append(steps[k].name);
    if (!inside || !valid) {
        link.kind = inside ? LinkKind::BadName : LinkKind::Outside;
        std::string up;
        for (size_t k = 0; k < ups; ++k)
            up += "..\\";
        link.path = CutForList(prefix + up + joined);
        return link;
    }
    link.kind = LinkKind::File;
    link.path = joined;
    return link;
}

// A file: URL's path; inside the site it resolves as a path from the site's root.
ResolvedLink FileUrl(const std::string& siteRoot, const std::string& url) {
    std::string decoded;
    ResolvedLink link;
    if (DecodePercentEscapes(url.substr(5), decoded) == Escapes::Refused)
        return {LinkKind::BadName, CutForList(url)};
    link.kind = LinkKind::Outside;
    std::string path = Backslashed(decoded);
    if (path.compare(0, 2, "\\\\") == 0) {
        const size_t slash = path.find('\\', 2);
        const std::string host = Lower(path.substr(2, slash == std::string::npos ? std::string::npos : slash - 2));
        if (host.empty() || host == "localhost")
            path = slash == std::string::npos ? std::string() : path.substr(slash);
    }
    if (path.size() >= 3 && path[0] == '\\' && path[2] == ':')
        path.erase(0, 1); // "/C:/x"
    const std::string root = Lower(Backslashed(siteRoot));
    if (root.size() > 1 && path.size() > root.size() && Lower(path.substr(0, root.size())) == root)
        return InSite(siteRoot, "", "\\" + path.substr(root.size()));
    link.path = CutForList(path);
    return link;
}

// The files a page action uses from the disc: the program ACTION_RUN starts and the sources of
// ACTION_COPY, each from the disc's root. False when the value is no page action.
bool ActionFiles(const std::string& value, std::vector<std::string>& files) {
    if (!StartsWithUpper(value, "ACTION_"))
        return false;
    if (StartsWithUpper(value, "ACTION_RUN=")) {
        std::string program = value.substr(11);
        program.erase(0, program.find_first_not_of(' '));
        files.push_back("/" + program.substr(0, program.find(' ')));
    } else if (StartsWithUpper(value, "ACTION_COPY=")) {
        const std::string list = value.substr(12);
        bool source = true;
        for (size_t start = 0; start <= list.size(); source = !source) {
            const size_t comma = std::min(list.find(',', start), list.size());
            std::string piece = list.substr(start, comma - start);
            start = comma + 1;
            piece.erase(0, piece.find_first_not_of(' '));
            if (source && !piece.empty())
                files.push_back("/" + piece);
        }
    }
    return true;
}

// Where the part of a value that names a file ends: at its fragment, since links to the
// anchors of one page (a manual has thousands) all name the same file. Values come with their
// character references decoded, so every "#" left is the browser's. Action links stay whole.
size_t FileEnd(const std::string& value) {
    return StartsWithUpper(value, "ACTION_") ? value.size() : std::min(value.find('#'), value.size());
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

bool IsScanned(const std::string& path, DocKind& kind) {
    const std::string lower = Lower(path);
    if (Contains(lower, ".htm") || EndsWithLower(lower, ".xhtml") || EndsWithLower(lower, ".shtml")) {
        kind = DocKind::Html;
        return true;
    }
    if (EndsWithLower(lower, ".css")) {
        kind = DocKind::Css;
        return true;
    }
    return false;
}

ResolvedLink ResolveLink(const std::string& siteRoot, const std::string& pageFolder, const std::string& value) {
    // Browsers drop blanks around a value and tabs and line breaks inside it.
    std::string v;
    const size_t first = value.find_first_not_of(" \t\r\n\f");
    const size_t last = value.find_last_not_of(" \t\r\n\f");
    if (first != std::string::npos)
        for (size_t k = first; k <= last; ++k)
            if (value[k] != '\t' && value[k] != '\r' && value[k] != '\n')
                v += value[k];
    if (v.find('{') != std::string::npos)
        for (const char* word : {"{DESKTOP}", "{PROGRAMFILES}", "{SYSTEM}", "{ROOT}"})
            if (ContainsUpper(v, word))
                return {};
    v.erase(std::min(v.find_first_of("#?"), v.size()));
    if (v.empty())
        return {}; // an anchor in the page itself
    // A scheme of two or more letters is an address, not a file; one letter is a drive.
    const size_t colon = v.find(':');
    const std::string lower = Lower(v.substr(0, colon == std::string::npos ? 0 : colon + 1));
    if (colon != std::string::npos && colon >= 2 &&
        lower.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789+-.") >= colon && lower[0] >= 'a' &&
        lower[0] <= 'z') {
        if (lower.compare(0, 5, "file:") == 0)
            return FileUrl(siteRoot, v);
        return {};
    }
    std::string decoded;
    if (DecodePercentEscapes(v, decoded) == Escapes::Refused)
        return {LinkKind::BadName, CutForList(siteRoot + pageFolder + v)};
    return InSite(siteRoot, pageFolder, decoded);
}

bool ClimbsOutOfFolder(std::string_view name) {
    if (name.empty())
        return false;
    if (IsSlash(name[0]) || Contains(name, ":"))
        return true;
    std::vector<std::string_view> steps;
    bool climbs = false;
    ForEachStep(name, false, [&](std::string_view step) {
        switch (KindOfStep(step)) {
        case StepKind::Here:
            break;
        case StepKind::Up:
            climbs = !StepUp(steps) || climbs;
            break;
        case StepKind::Name:
            if (!Trimmed(step).empty())
                steps.push_back(step);
            break;
        }
    });
    return climbs;
}

std::string PageFolder(const std::string& pagePath) {
    size_t slash = pagePath.rfind('\\');
    return slash == std::string::npos ? std::string("\\") : pagePath.substr(0, slash + 1);
}

bool operator==(const MissingFile& a, const MissingFile& b) {
    return a.path == b.path && a.reason == b.reason && a.detail == b.detail;
}

std::string MissingEntryText(const MissingFile& file) {
    const char* reason = "not found";
    switch (file.reason) {
    case MissingReason::Absent:
        break;
    case MissingReason::Outside:
        reason = "outside the site";
        break;
    case MissingReason::BadName:
        reason = "invalid name";
        break;
    case MissingReason::CaseTwin:
        reason = "letter-case twin of another file";
        break;
    case MissingReason::CopyFailed:
        reason = "copy failed";
        break;
    case MissingReason::FolderLoop:
        reason = "folder link in a loop";
        break;
    }
    return file.path + " (" + reason + (file.detail.empty() ? "" : ": " + file.detail) + ")";
}

// Windows names a file in any letter case, so one file is listed once.
void MissingFileList::Add(const std::string& path, MissingReason reason, const std::string& detail) {
    if (m_seen.insert(Lower(path)).second)
        m_items.push_back({path, reason, detail});
}

void MissingFileList::Clear() {
    m_items.clear();
    m_seen.clear();
}

ScanFiles::Found ReadWholeFrom(FileSource& files, const std::string& name, std::string& bytes) {
    bytes.clear();
    if (!files.Exists(name))
        return ScanFiles::Found::Absent;
    std::unique_ptr<ByteSource> raw = files.Open(name);
    if (!raw)
        return ScanFiles::Found::Unreadable;
    char buffer[1 << 16];
    for (size_t got; (got = raw->Read(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    return ScanFiles::Found::Read;
}

ScanFiles::Found ScanFiles::ReadWhole(const std::string& name, std::string& bytes) {
    return ReadWholeFrom(*this, name, bytes);
}

ScanFiles::Found ScanFiles::CopyAndRead(const std::string& from, const std::string& to, std::string& bytes,
                                        bool& copied) {
    copied = Copy(from, to);
    return ReadWhole(from, bytes);
}

bool WatchedScan::Copy(const std::string& from, const std::string& to) {
    const bool copied = m_disk.Copy(from, to);
    if (!copied && !Failed() && m_disk.Open(from))
        Note(from, to);
    return copied;
}

ScanFiles::Found WatchedScan::CopyAndRead(const std::string& from, const std::string& to, std::string& bytes,
                                          bool& copied) {
    const Found found = m_disk.CopyAndRead(from, to, bytes, copied);
    if (!copied && !Failed() && found == Found::Read)
        Note(from, to);
    return found;
}

void WatchedScan::Note(const std::string& from, const std::string& to) {
    m_source = from;
    m_dest = to;
    m_reason = m_disk.CopyError();
    if (m_reason.empty())
        m_reason = "the copy failed";
}

// A document waiting for the rest of its links to be followed. It is read whole and closed
// before its first link is followed, so one file is open at a time whatever the depth, and
// only its link values are kept.
struct LinkScanner::Doc {
    std::string folder; // inside the site, empty or ending in a backslash
    LinkValues values;
    size_t next = 0;
};

// The documents being followed, the last on top. A level left keeps its memory for the next
// document entered at that depth, so a scan needs none of its own for each page.
class LinkScanner::DocStack {
public:
    bool Empty() const { return m_depth == 0; }
    Doc& Top() { return m_docs[m_depth - 1]; }
    void Pop() { --m_depth; }
    Doc& Push() {
        if (m_depth == m_docs.size())
            m_docs.emplace_back();
        Doc& doc = m_docs[m_depth++];
        doc.values.clear();
        doc.next = 0;
        return doc;
    }

private:
    std::vector<Doc> m_docs;
    size_t m_depth = 0;
};

void LinkScanner::Enter(const std::string& relPath, const std::string& source, DocKind kind, ScanFiles::Found found,
                        DocStack& stack) {
    if (found == ScanFiles::Found::Absent)
        return;
    m_progress.PageStarting(source);
    if (!stack.Empty() && stack.Top().next == stack.Top().values.size())
        stack.Pop(); // nothing of it is left to follow
    Doc& doc = stack.Push();
    doc.folder = FolderOf(relPath);
    if (found == ScanFiles::Found::Read) {
        const std::string_view text = DecodeWholePage(m_page, m_converted, m_ansi);
        m_progress.PageDecoded(source, text);
        DocumentLinkValues(text, kind, doc.values);
    }
}

bool LinkScanner::MakeFolders(const std::string& relPath) {
    const size_t last = relPath.rfind('\\');
    if (last == std::string::npos)
        return true;
    // Folders already there in this scan need no second look.
    if (m_folders.Contains(Lower(relPath.substr(0, last))))
        return true;
    if (!m_files.Exists(m_root + relPath))
        return false; // no empty folders for a file that is not there
    for (size_t slash = relPath.find('\\'); slash != std::string::npos; slash = relPath.find('\\', slash + 1)) {
        const std::string key = Lower(relPath.substr(0, slash));
        if (m_folders.Contains(key))
            continue;
        const std::string folder = m_dest + relPath.substr(0, slash);
        if (!m_files.Exists(folder)) {
            if (!m_files.MakeFolder(folder))
                return false;
            m_madeFolders.Insert(key);
        }
        m_folders.Insert(key);
    }
    return true;
}

bool LinkScanner::InFolderMadeHere(const std::string& relPath) const {
    const size_t last = relPath.rfind('\\');
    return last != std::string::npos && m_madeFolders.Contains(Lower(relPath.substr(0, last)));
}

// Looks at the folders of relPath (key: relPath in lower case) met for the first time in this
// scan: true when one of them is a folder link back to a folder it is in ("loop -> ."), which
// would be followed level after level. Such a folder is listed once and never entered.
bool LinkScanner::InFolderLoop(const std::string& relPath, const std::string& key) {
    const size_t last = relPath.rfind('\\');
    if (last == std::string::npos || m_sourceFolders.Contains(std::string_view(key).substr(0, last)))
        return false;
    for (size_t slash = relPath.find('\\'); slash <= last; slash = relPath.find('\\', slash + 1)) {
        const std::string_view folderKey = std::string_view(key).substr(0, slash);
        if (m_loopFolders.Contains(folderKey))
            return true;
        if (m_sourceFolders.Contains(folderKey))
            continue;
        const std::string folder = m_root + relPath.substr(0, slash);
        // SameFile answers "one file" where it cannot tell two apart (a host that folds letter
        // case, a folder it cannot open, a name that is not there): its answer counts only
        // where it tells this folder from the start page.
        bool loop = false;
        if (!m_files.SameFile(folder, m_start)) {
            loop = m_files.SameFile(folder, m_root);
            for (size_t up = relPath.find('\\'); !loop && up < slash; up = relPath.find('\\', up + 1))
                loop = m_files.SameFile(folder, m_root + relPath.substr(0, up));
        }
        if (loop) {
            m_loopFolders.Insert(folderKey);
            m_missing.Add(CutForList(folder), MissingReason::FolderLoop);
            return true;
        }
        m_sourceFolders.Insert(folderKey);
    }
    return false;
}

constexpr const char* kFolderNotMade = "its folder could not be made";
constexpr const char* kUnreadable = "it cannot be read";

// Lists a file whose copy failed: not there at all, or there and not copied, and why.
void LinkScanner::NotCopied(const std::string& source, bool absent, const std::string& why) {
    m_missing.Add(CutForList(source), absent ? MissingReason::Absent : MissingReason::CopyFailed,
                  absent ? std::string() : why);
}

void LinkScanner::Follow(const std::string& value, const std::string& pageFolder, DocStack& stack) {
    const ResolvedLink link = ResolveLink(m_root, pageFolder, value);
    if (link.kind == LinkKind::Skip)
        return;
    if (link.kind != LinkKind::File) {
        m_missing.Add(link.path, link.kind == LinkKind::Outside ? MissingReason::Outside : MissingReason::BadName);
        return;
    }
    // Each file is looked at once per scan: the second link to it finds the same answer.
    const std::string key = Lower(link.path);
    if (m_spellings.Insert(link.path)) {
        // A name in another letter case may be another file where the site was made; the disc,
        // read by Windows, holds only the one met first, so the other cannot be copied.
        const auto first = m_firstSpelling.emplace(key, link.path);
        if (!first.second && !m_files.SameFile(m_root + first.first->second, m_root + link.path)) {
            m_missing.Add(CutForList(m_root + link.path), MissingReason::CaseTwin);
            return;
        }
    }
    if (!m_done.Insert(key) || InFolderLoop(link.path, key))
        return;
    const std::string source = m_root + link.path;
    const std::string dest = m_dest + link.path;
    if (!InFolderMadeHere(link.path) && m_files.Exists(dest))
        return; // already in the output folder, and so already scanned if a page
    const bool made = MakeFolders(link.path);
    DocKind kind = DocKind::Html;
    if (!IsScanned(link.path, kind) || !m_visited.Insert(key)) {
        if (!made)
            NotCopied(source, !m_files.Exists(source), kFolderNotMade);
        else if (!m_files.Copy(source, dest))
            NotCopied(source, !m_files.Exists(source), m_files.CopyError());
        return;
    }
    bool copied = false;
    const ScanFiles::Found found =
        made ? m_files.CopyAndRead(source, dest, m_page, copied) : m_files.ReadWhole(source, m_page);
    if (!copied)
        NotCopied(source, found == ScanFiles::Found::Absent,
                  !made                             ? kFolderNotMade
                  : found == ScanFiles::Found::Read ? m_files.CopyError()
                                                    : kUnreadable);
    Enter(link.path, source, kind, found, stack);
}

void LinkScanner::Scan(const std::string& pagePath, const std::string& destFolder, bool topLevel) {
    if (topLevel)
        m_visited.Clear();
    m_done.Clear();
    m_firstSpelling.clear();
    m_spellings.Clear();
    m_folders.Clear();
    m_madeFolders.Clear();
    m_followed.Clear();
    m_sourceFolders.Clear();
    m_loopFolders.Clear();
    if (Contains(pagePath, "../")) {
        m_missing.Add(pagePath, MissingReason::Outside);
        return;
    }
    m_start = pagePath;
    m_root = PageFolder(pagePath);
    m_dest = destFolder;
    // A path without a backslash has the drive's root as its folder.
    const std::string relPath =
        pagePath.compare(0, m_root.size(), m_root) == 0 ? pagePath.substr(m_root.size()) : pagePath;
    const std::string startKey = Lower(relPath);
    if (!m_visited.Insert(startKey))
        return;
    // The page itself is on the disc: a file named like it in another letter case is not.
    m_firstSpelling.emplace(startKey, relPath);
    m_spellings.Insert(relPath);
    DocKind kind = DocKind::Html;
    if (!topLevel && !IsScanned(relPath, kind))
        return;
    const ScanFiles::Found found = m_files.ReadWhole(pagePath, m_page);
    if (found == ScanFiles::Found::Absent)
        return;
    if (topLevel)
        m_missing.Clear();
    DocStack stack;
    Enter(relPath, pagePath, kind, found, stack);
    std::vector<std::string> files;
    std::string key, value, folder;
    while (!stack.Empty() && !m_progress.Stopped()) {
        Doc& doc = stack.Top();
        if (doc.next == doc.values.size()) {
            stack.Pop();
            continue;
        }
        // Copies: following may enter a document in doc's place.
        const std::string_view next = doc.values[doc.next++];
        value.assign(next.data(), next.size());
        folder.assign(doc.folder);
        key.assign(folder).append(1, '\0').append(value, 0, FileEnd(value));
        if (!m_followed.Insert(key))
            continue;
        files.clear();
        if (!ActionFiles(value, files))
            Follow(value, folder, stack);
        for (const std::string& file : files)
            Follow(file, folder, stack);
    }
    if (topLevel && !m_missing.Empty() && !m_progress.Stopped())
        m_progress.ShowMissing(m_missing.Items());
}

} // namespace vk
