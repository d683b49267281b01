// Fuzz target of the linked-file scanner: the page reader, the decoders, the CSS reader and
// whole scans of a generated site with hostile values. Asserted: every copy and every folder
// made lies inside the output folder, every file named inside the site is a plain path of
// plain steps, each document is read at most once, and every scan ends. Built for libFuzzer by
// tools/fuzz_scanner.sh; built with VK_FUZZ_REPLAY it runs a fixed series of generated inputs
// under ctest.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "disc/page_links.h"
#include "disc/scanner.h"
#include "memory_files.h"

namespace {

const std::string kSite = "C:\\site\\";
const std::string kOut = "C:\\out\\";

void Check(bool ok, const char* what, const std::string& detail) {
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
        std::abort();
    }
}

std::string Key(std::string path) {
    for (char& c : path) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c == '/')
            c = '\\';
    }
    return path;
}

// A path below the output folder made only of plain steps, none ending in a dot or a blank
// that Windows would trim away.
void CheckInside(const std::string& path, const char* what) {
    Check(path.compare(0, kOut.size(), kOut) == 0, what, path);
    const std::string rest = path.substr(kOut.size());
    Check(!rest.empty() && rest.find(':') == std::string::npos && rest.find('/') == std::string::npos, what, path);
    for (size_t start = 0; start <= rest.size();) {
        const size_t end = std::min(rest.find('\\', start), rest.size());
        const std::string step = rest.substr(start, end - start);
        Check(!step.empty() && !vk::ClimbsOutOfFolder(step) && step.back() != '.' && step.back() != ' ', what, path);
        start = end + 1;
    }
}

class Host : public vk::ScanFiles {
public:
    std::map<std::string, std::string> files; // by key
    std::set<std::string> folders;
    std::map<std::string, int> reads;
    unsigned copies = 0;

    bool Exists(const std::string& name) override { return files.count(Key(name)) || folders.count(Key(name)); }
    std::unique_ptr<vk::ByteSource> Open(const std::string& name) override {
        auto it = files.find(Key(name));
        if (it == files.end())
            return nullptr;
        Check(++reads[Key(name)] == 1, "read twice", name);
        return std::make_unique<StringSource>(it->second, 7);
    }
    bool Copy(const std::string& from, const std::string& to) override {
        CheckInside(to, "copy outside the output folder");
        auto it = files.find(Key(from));
        const size_t slash = to.rfind('\\');
        if (it == files.end() || !folders.count(Key(to.substr(0, slash))))
            return false;
        files[Key(to)] = it->second;
        ++copies;
        return true;
    }
    bool MakeFolder(const std::string& path) override {
        CheckInside(path, "folder outside the output folder");
        folders.insert(Key(path));
        return true;
    }
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_pos < m_size; }
    unsigned Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // Text of pieces that pages, styles and hostile values are made of; now and then a raw byte.
    std::string Text(size_t pieces) {
        // A table, laid out by hand.
        // clang-format off
        static const char* const kPieces[] = {
            "<img src=\"", "<a href='", "<link href=", "\">", "'>", ">", "\"", "'", " ", "\n", "<style>", "</style>",
            "<script>", "</script>", "<!--", "-->", "<p style=\"", "url(", ")", "@import '", ";", "<body background=",
            "index.htm", "b.htm", "sub/", "sub\\", "c.css", "d.gif", "x", ".", "..", "../", "..\\", "%2e%2e/",
            "%2E%2E%5C", "%5c", "%00", "%2F", "C:\\", "c:", "\\\\srv\\s\\", "//", "file:///C:/site/", "file:///C:/",
            "file://srv/", "/", "\\", "#a.b", "?q=1", "&amp;", "&#47;", "&#x2e;", "&#46;&#46;/", "con", "aux.gif",
            "{root}", "ACTION_RUN=", "ACTION_COPY=", ",", "http:", "site/", "SITE\\", "é", "\t", "<", "&",
            "onmouseover=\"this.src='d.gif'\"", "</a>", "<!", "<?", "</", "<img src=\"d.gif\">",
            "<a href=\"b.htm\">", "<a href=\"sub/b.htm\">", "<link href=\"c.css\">", "<link href=\"sub/c.css\">",
            "<img src=\"../d.gif\">", "<img src=\"sub/d.gif\">", "url(d.gif)", "url(../sub/d.gif)", "<a href=x>",
            "<img src=\"", "<img src=\"", "<a href=\"", "<a href=\"", "%20", ". ", "|", "x|y/../"};
        // clang-format on
        std::string text;
        for (size_t k = 0; k < pieces && More(); ++k) {
            const unsigned b = Byte();
            if (b >= 250)
                text += static_cast<char>(Byte());
            else
                text += kPieces[b % (sizeof kPieces / sizeof *kPieces)];
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

unsigned g_scans = 0, g_copies = 0, g_files = 0;

void CheckValue(const std::string& value) {
    const vk::ResolvedLink link = vk::ResolveLink(kSite, "sub\\", value);
    if (link.kind == vk::LinkKind::File) {
        CheckInside(kOut + link.path, "resolved outside the site");
        ++g_files;
    }
    Check(link.kind == vk::LinkKind::Skip || link.path.size() <= vk::kMaxListedPath + 3 ||
              link.kind == vk::LinkKind::File,
          "listed uncut", link.path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    // The decoders and readers on their own, on a value and on raw text.
    const std::string value = input.Text(12);
    CheckValue(value);
    vk::DecodeCharRefs(value);
    vk::LinkValues values;
    vk::CssLinkValues(value, values);
    vk::DocumentLinkValues(value, vk::DocKind::Html, values);
    for (size_t k = 0; k < values.size(); ++k)
        CheckValue(std::string(values[k]));

    // A whole site of five documents made of the rest, with files outside it to be reached.
    Host host;
    host.folders = {"c:", "c:\\site", "c:\\site\\sub", "c:\\out"};
    for (const char* name : {"index.htm", "b.htm", "sub\\b.htm", "c.css", "sub\\c.css"})
        host.files[Key(kSite + name)] = input.Text(40);
    for (const char* name : {"d.gif", "sub\\d.gif", "x", "sub\\x"})
        host.files[Key(kSite + name)] = "file";
    for (const char* name : {"C:\\d.gif", "C:\\b.htm", "C:\\c.css", "C:\\x"})
        host.files[Key(name)] = "<img src=d.gif>";
    host.files[Key(kOut + "index.htm")] = "the target";
    vk::MissingFileList missing;
    vk::Windows1252 ansi;
    vk::ScanProgress quiet;
    vk::LinkScanner(host, ansi, quiet, missing).Scan(kSite + "index.htm", kOut, true);
    for (const auto& [name, content] : host.files)
        if (name.compare(0, 3, "c:\\") == 0 && name.compare(0, 7, "c:\\site") != 0 &&
            name.compare(0, 6, "c:\\out") != 0)
            Check(content != "the target", "written outside", name);
    ++g_scans;
    g_copies += host.copies;
    return 0;
}

#ifdef VK_FUZZ_REPLAY
// A fixed series of generated inputs, the same on every run.
int main() {
    uint32_t seed = 20261211;
    for (int run = 0; run < 3000; ++run) {
        std::string input(static_cast<size_t>(run % 600), '\0');
        for (char& c : input)
            c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::printf("%u generated sites scanned, %u files copied, %u values resolved inside\n", g_scans, g_copies, g_files);
    // A series that no longer reaches the copies would show nothing.
    return g_copies > 1000 && g_files > 100 ? 0 : 1;
}
#endif
