#include "designer/scanner.h"

#include "app/ascii_case.h"

namespace vk {
namespace {

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool IsPageName(std::string_view value) { return ContainsUpper(value, ".HTM"); }

// The same page reached by another letter case or slash is the same file on Windows.
std::string VisitKey(const std::string& pagePath) {
    std::string key = Lower(pagePath);
    for (char& c : key)
        if (c == '/')
            c = '\\';
    return key;
}

} // namespace

void LinkCursor::Reset(std::string line) {
    m_line = std::move(line);
    m_pos = 0;
}

bool LinkCursor::NextToken(std::string_view& token) {
    size_t start = m_line.find_first_not_of(kLinkDelimiters, m_pos);
    if (start == std::string::npos) {
        m_pos = m_line.size();
        return false;
    }
    size_t end = m_line.find_first_of(kLinkDelimiters, start);
    if (end == std::string::npos)
        end = m_line.size();
    token = std::string_view(m_line).substr(start, end - start);
    m_pos = end;
    return true;
}

bool LinkCursor::Next(std::string& value) {
    std::string_view token;
    while (NextToken(token)) {
        std::string_view v;
        if (EqualsUpper(token, "SRC") || EqualsUpper(token, "HREF")) {
            if (!NextToken(v))
                v = {};
        } else if (ContainsUpper(token, ".JPG") || ContainsUpper(token, ".GIF")) {
            v = token;
        } else {
            continue;
        }
        if (EqualsUpper(v, "ACTION_RUN") && !NextToken(v))
            v = {};
        value.assign(v);
        return true;
    }
    return false;
}

std::vector<std::string> LinkValues(const std::string& line) {
    LinkCursor cursor;
    cursor.Reset(line);
    std::vector<std::string> values;
    std::string value;
    while (cursor.Next(value))
        values.push_back(value);
    return values;
}

bool ClimbsOutOfFolder(std::string_view name) {
    if (name.empty())
        return false;
    if (name[0] == '\\' || name[0] == '/' || Contains(name, ":"))
        return true;
    // A step made of dots (Windows drops trailing dots and blanks) with two or more of them
    // leaves the folder.
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = name.size();
        std::string_view step = name.substr(start, end - start);
        size_t dots = 0;
        bool onlyDots = !step.empty();
        for (char c : step) {
            if (c == '.')
                ++dots;
            else if (c != ' ')
                onlyDots = false;
        }
        if (onlyDots && dots >= 2)
            return true;
        start = end + 1;
    }
    return false;
}

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// The value as a name inside the folder, or false when it leaves the folder or names a
// drive, a stream or another volume ("\\server\share", "//host").
bool NameInsideFolder(const std::string& value, std::string& name) {
    if (Contains(value, ":") || (value.size() >= 2 && IsSlash(value[0]) && IsSlash(value[1])))
        return false;
    const bool rooted = !value.empty() && IsSlash(value[0]);
    bool rebuilt = rooted;
    std::vector<std::string> steps;
    size_t start = rooted ? 1 : 0;
    while (start <= value.size()) {
        size_t end = start;
        while (end < value.size() && !IsSlash(value[end]))
            ++end;
        const std::string step = value.substr(start, end - start);
        start = end + 1;
        if (step == ".") {
            rebuilt = true;
        } else if (step == "..") {
            if (steps.empty())
                return false;
            steps.pop_back();
            rebuilt = true;
        } else if (step.empty()) {
            // "a//b" is "a\\b" to Windows
        } else if (ClimbsOutOfFolder(step)) {
            return false; // "...", ". ." and the like: Windows would read them as ".."
        } else {
            steps.push_back(step);
        }
    }
    if (!rebuilt) {
        name = value;
        return true;
    }
    name.clear();
    for (const std::string& step : steps)
        name += (name.empty() ? "" : "\\") + step;
    return true;
}

} // namespace

LinkKind ClassifyLink(const std::string& pageFolder, const std::string& value, std::string* name) {
    const std::string lower = Lower(pageFolder + value);
    if (Contains(lower, "http"))
        return LinkKind::Skip;
    size_t dot = value.find('.');
    if (dot == std::string::npos || dot + 1 == value.size())
        return LinkKind::Skip;
    for (const char* word : {"mailto", "javascript", "{desktop}", "{programfiles}", "{system}", "{root}"})
        if (Contains(lower, word))
            return LinkKind::Skip;
    std::string inside;
    if (!NameInsideFolder(value, inside))
        return LinkKind::Climbs;
    if (inside.empty() || IsSlash(inside.back()))
        return LinkKind::Skip; // a folder, not a file
    if (name)
        *name = inside;
    return LinkKind::File;
}

bool LinkTarget(const std::string& value, std::string& target) {
    return DecodePercentEscapes(value, target) != Escapes::Refused;
}

std::string PageFolder(const std::string& pagePath) {
    size_t slash = pagePath.rfind('\\');
    return slash == std::string::npos ? std::string("\\") : pagePath.substr(0, slash + 1);
}

void MissingFileList::Add(const std::string& path) {
    if (m_seen.insert(path).second)
        m_items.push_back(path);
}

void MissingFileList::Clear() {
    m_items.clear();
    m_seen.clear();
}

// One page being read. Pages wait on a stack of their own, not on the call stack, so a long
// chain of linked pages cannot exhaust it.
struct LinkScanner::Page {
    Page(std::string folder_, std::unique_ptr<ByteSource> raw, AnsiDecoder& ansi)
        : folder(std::move(folder_)), source(std::move(raw), ansi),
          reader(source, kScanPiece + 1, LongLines::SplitUtf8) {}

    std::string folder;
    DecodedPage source;
    LineReader reader;
    LinkCursor cursor;
};

bool LinkScanner::Enter(const std::string& pagePath, bool topLevel, std::vector<std::unique_ptr<Page>>& stack) {
    if (!m_visited.insert(VisitKey(pagePath)).second)
        return false;
    if (Contains(pagePath, "../")) {
        m_missing.Add(pagePath);
        return false;
    }
    if (!m_host.Exists(pagePath))
        return false;
    m_host.PageStarting(pagePath, m_pauseMs);
    std::unique_ptr<ByteSource> source = m_host.Open(pagePath);
    if (topLevel)
        m_missing.Clear();
    if (source) // a page that cannot be opened reads as empty
        stack.push_back(std::make_unique<Page>(PageFolder(pagePath), std::move(source), m_host));
    return true;
}

void LinkScanner::Scan(const std::string& pagePath, const std::string& destFolder, bool topLevel) {
    if (topLevel)
        m_visited.clear();
    std::vector<std::unique_ptr<Page>> stack;
    if (!Enter(pagePath, topLevel, stack))
        return;
    std::string value, piece;
    while (!stack.empty()) {
        Page& page = *stack.back();
        if (!page.cursor.Next(value)) {
            if (page.reader.Next(piece))
                page.cursor.Reset(piece);
            else
                stack.pop_back();
            continue;
        }
        std::string target, name;
        if (!LinkTarget(value, target)) {
            if (ClassifyLink(page.folder, value) != LinkKind::Skip)
                m_missing.Add(page.folder + value);
            continue;
        }
        // Classified after decoding, so an escaped slash, dot or colon is held to the same
        // rules as a written one.
        const LinkKind kind = ClassifyLink(page.folder, target, &name);
        if (kind == LinkKind::Skip)
            continue;
        if (kind == LinkKind::Climbs) {
            m_missing.Add(page.folder + target);
            continue;
        }
        const std::string source = page.folder + name;
        const std::string dest = destFolder + name;
        if (m_host.Exists(dest))
            continue; // already in the output folder, and so already scanned if a page
        if (!m_host.Copy(source, dest))
            m_missing.Add(source);
        if (IsPageName(name))
            Enter(source, false, stack);
    }
    if (topLevel && !m_missing.Empty())
        m_host.ShowMissing(m_missing.Items());
}

} // namespace vk
