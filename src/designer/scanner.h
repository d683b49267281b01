// The linked-file scanner's rules: how a page line splits into tokens, which tokens name a
// linked local file, and the scan that copies those files flat into the output folder and
// follows linked pages. File access goes through ScanHost, which the Win32 shell implements.
// Pages are decoded to UTF-8 first (app/text_decode.h); names and paths here are UTF-8.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/text_decode.h"
#include "app/text_lines.h"

namespace vk {

// The characters that separate tokens; runs of them count as one.
constexpr std::string_view kLinkDelimiters = " =><\"'#?,";
// A page is read in pieces of at most this many bytes of UTF-8, never cutting a character;
// each piece counts as a line.
constexpr size_t kScanPiece = 999;
constexpr unsigned kPagePauseMs = 100;

// Walks the link values of one line in order. The position survives between calls, so a
// scan can stop at a linked page, scan that page, and come back for the rest of the line.
class LinkCursor {
public:
    void Reset(std::string line);
    // The next link value: the token after SRC or HREF (empty when the line ends there),
    // or a token naming a .jpg or .gif, with ACTION_RUN replaced by the token after it.
    bool Next(std::string& value);

private:
    bool NextToken(std::string_view& token);

    std::string m_line;
    size_t m_pos = 0;
};

// All link values of a line, in order.
std::vector<std::string> LinkValues(const std::string& line);

enum class LinkKind {
    Skip,   // a web address, mail or script link, a placeholder folder, or no file name
    Climbs, // would land outside the output folder, or names a drive or another volume
    File,   // copy it
};
// pageFolder is the linked page's folder with its trailing backslash, or "\". For a File,
// name receives the value as it goes behind the page folder and the output folder: as
// written, or with a leading slash (a link from the site's root) and "." and ".." steps
// resolved, when it has them.
LinkKind ClassifyLink(const std::string& pageFolder, const std::string& value, std::string* name = nullptr);

// True when a name, put behind a folder, would name something outside that folder: a ".."
// step with either slash, a rooted path, or a drive or stream colon.
bool ClimbsOutOfFolder(std::string_view name);

// pagePath up to and including its last backslash; "\" when it has none.
std::string PageFolder(const std::string& pagePath);

// Source paths of files a scan could not copy, in the order first found, without duplicates.
class MissingFileList {
public:
    void Add(const std::string& path);
    void Clear();
    bool Empty() const { return m_items.empty(); }
    const std::vector<std::string>& Items() const { return m_items; }

private:
    std::vector<std::string> m_items;
    std::unordered_set<std::string> m_seen;
};

// The value a link names once its %XX escapes are decoded: false when an escape names a
// control character, which no file name holds (the link is then listed as missing, as
// written, unless it would be skipped anyway).
bool LinkTarget(const std::string& value, std::string& target);

// AnsiToUtf8 reads a page that is neither declared nor valid UTF-8; without an override it
// reads Windows-1252.
class ScanHost : public FileSource, public AnsiDecoder {
public:
    // Copies, overwriting the destination; clears its read-only attribute on success.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // Once per page, before it is read: show it, let waiting messages through, pause.
    virtual void PageStarting(const std::string& pagePath, unsigned pauseMs) = 0;
    // At the end of a top-level scan that found missing files.
    virtual void ShowMissing(const std::vector<std::string>& missing) = 0;
};

class LinkScanner {
public:
    LinkScanner(ScanHost& host, MissingFileList& missing, unsigned pauseMs = kPagePauseMs)
        : m_host(host), m_missing(missing), m_pauseMs(pauseMs) {}

    // Copies what pagePath links to into destFolder (which ends in a backslash) and follows
    // linked pages. A top-level scan starts a fresh missing list and shows it at the end.
    void Scan(const std::string& pagePath, const std::string& destFolder, bool topLevel);

private:
    struct Page;
    bool Enter(const std::string& pagePath, bool topLevel, std::vector<std::unique_ptr<Page>>& stack);

    ScanHost& m_host;
    MissingFileList& m_missing;
    unsigned m_pauseMs;
    // Pages read in this top-level scan: each is read at most once, so the scan always ends.
    std::unordered_set<std::string> m_visited;
};

} // namespace vk
