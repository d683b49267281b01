// Fuzz target of the disc image writer's name mapping and directory records. The input is
// read as a label and a tree (names from an alphabet of the cases that matter: letter case,
// dots, blanks, accented, Greek, Japanese and astral characters, characters a disc refuses,
// bytes that are not UTF-8), built in memory and written as an image. The writer must refuse
// exactly the trees and labels a disc cannot hold; every image it writes must read back
// through libarchive (bsdtar's library) with the same names, bytes and dates, and through the
// tests' own reader with a primary tree of unique 8.3 names holding the same files; its UDF
// tree must read back through the tests' UDF reader with the whole names, bytes and volume
// label, and (in the replay, every 50th image) through udfinfo and 7-Zip forced to UDF.
//
// Built two ways: with libFuzzer (tools/fuzz_image.sh), and as a replay of a fixed series of
// generated inputs that ctest runs (VK_FUZZ_REPLAY).
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "core/unicode_text.h"
#include "disc/disc_image.h"
#include "iso_reader.h"
#include "memory_disc.h"
#include "udf_reader.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_pos < m_size; }
    unsigned Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    // A name of pieces from the alphabet: mostly short, at times up to 70 pieces; mostly of
    // what a disc holds, at times of what it refuses.
    std::string Name() {
        static const char* const kPieces[] = {
            "a",   "b", "Z", "x", "0", "9",  ".",    ".",    " ",        "_",          "-",
            "~",   "+", "'", "[", "é", "Ω",  "日本", "😀",    "LONGNAME", "long name ", "txt",
            "HTM", ";", "*", "?", ":", "\\", "\t",   "\xFF", "\xC3", // refused
        };
        constexpr unsigned kHeld = 23, kAll = sizeof kPieces / sizeof *kPieces;
        const unsigned length = Byte(), refusable = Byte() >= 252;
        std::string name;
        for (unsigned n = length < 248 ? length % 12 : length % 71; n; --n) {
            const unsigned pick = Byte();
            name += kPieces[refusable && pick >= 192 ? kHeld + pick % (kAll - kHeld) : pick % kHeld];
        }
        return name;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

[[noreturn]] void Fault(const std::string& what) {
    std::fprintf(stderr, "disc image fuzz: %s\n", what.c_str());
    std::abort();
}

bool IsoName(const std::string& id, bool folder) {
    auto d = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; };
    if (folder)
        return !id.empty() && id.size() <= 8 && std::all_of(id.begin(), id.end(), d);
    const size_t dot = id.find('.');
    if (dot == std::string::npos || id.size() < 3 || id.compare(id.size() - 2, 2, ";1") != 0)
        return false;
    const std::string name = id.substr(0, dot), ext = id.substr(dot + 1, id.size() - dot - 3);
    return !name.empty() && name.size() <= 8 && ext.size() <= 3 && std::all_of(name.begin(), name.end(), d) &&
           std::all_of(ext.begin(), ext.end(), d);
}

unsigned g_written = 0, g_entries = 0, g_sampled = 0; // for the replay's summary

#ifdef VK_FUZZ_REPLAY
// Whether a tool is on this machine (asked once each).
bool CanRun(const std::string& command) {
    static std::map<std::string, bool> known;
    auto it = known.find(command);
    if (it == known.end())
        it = known.emplace(command, std::system((command + " >/dev/null 2>&1").c_str()) == 0).first;
    return it->second;
}
#endif

long long Clamped(long long t) { return std::clamp(t, -2208988800LL, 5869583999LL); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // libarchive hands out names in the locale's encoding.
    static const bool utf8 = std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr;
    if (!utf8)
        Fault("no UTF-8 locale");
    Input in(data, size);
    MemoryDisc disc;
    const std::string label = in.Byte() % 4 ? "Label " + std::to_string(in.Byte()) : in.Name();
    bool refuse = !vk::VolumeLabelProblem(label).empty();

    // The tree: a walk that adds files, enters new folders and climbs back.
    std::string folder;
    unsigned depth = 1;                                                // the root's level
    std::map<std::string, std::pair<std::string, long long>> expected; // path: content, date
    std::set<std::string> folders;
    for (int entries = 0; in.More() && entries < 120; ++entries) {
        const unsigned op = in.Byte() % 8;
        if (op == 7) { // climb
            if (!folder.empty()) {
                const size_t slash = folder.rfind('/');
                folder = slash == std::string::npos ? "" : folder.substr(0, slash);
                --depth;
            }
            continue;
        }
        const std::string name = in.Name();
        const std::string path = folder.empty() ? name : folder + "/" + name;
        bool taken = false;
        for (const vk::DiscItem& item : disc.folders[folder])
            taken = taken || item.name == name;
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos || taken)
            continue;
        long long date = in.Byte();
        date = date << 8 | in.Byte();
        date = ((date << 8 | in.Byte()) - 0x800000) * 1000; // beyond 1900 and 2155 at times
        if (!vk::DiscNameProblem(name).empty())
            refuse = true;
        if (op >= 5 && depth < 12) { // a folder, entered
            disc.AddFolder(path, date);
            folders.insert(path);
            ++depth;
            folder = path;
            expected[path] = {"", Clamped(date)};
        } else {
            std::string content((in.Byte() % 16) * (op == 4 ? 997 : 61), '\0');
            for (size_t i = 0; i < content.size(); ++i)
                content[i] = static_cast<char>(i * 31 + entries);
            disc.Add(path, content, date);
            expected[path] = {content, Clamped(date)};
        }
    }
    disc.readStep = 1 + in.Byte() * 37;

    std::string error;
    const bool written = vk::WriteDiscImage(disc, label, error);
    if (written == refuse)
        Fault(written ? "wrote a tree or label that a disc cannot hold" : "refused a valid tree: " + error);
    if (!written)
        return 0;
    if (disc.image.size() % 2048)
        Fault("the image is not whole sectors");
    ++g_written;
    g_entries += static_cast<unsigned>(expected.size());

    // The Joliet tree holds each name whole or shortened: the paths it should read.
    std::map<std::string, std::pair<std::string, long long>> jolietExpected;
    for (const auto& [path, value] : expected) {
        std::string parent, shown;
        for (size_t start = 0; start <= path.size();) {
            const size_t end = std::min(path.find('/', start), path.size());
            const std::string name = path.substr(start, end - start);
            std::vector<std::pair<std::string, bool>> children;
            size_t index = 0;
            for (const vk::DiscItem& item : disc.folders[parent]) {
                if (item.name == name)
                    index = children.size();
                children.emplace_back(item.name, item.folder);
            }
            shown += (shown.empty() ? "" : "/") + vk::Utf16ToUtf8(vk::JolietNames(children)[index]);
            parent = parent.empty() ? name : parent + "/" + name;
            start = end + 1;
        }
        jolietExpected[shown] = value;
    }
    if (jolietExpected.size() != expected.size())
        Fault("two names of a folder share one Joliet name");

    // libarchive reads the Joliet tree.
    archive* a = archive_read_new();
    archive_read_support_format_iso9660(a);
    if (archive_read_open_memory(a, disc.image.data(), disc.image.size()) != ARCHIVE_OK)
        Fault(std::string("libarchive cannot open the image: ") + archive_error_string(a));
    std::map<std::string, std::pair<std::string, long long>> read;
    archive_entry* entry;
    int status;
    while ((status = archive_read_next_header(a, &entry)) == ARCHIVE_OK) {
        const char* utf8 = archive_entry_pathname_utf8(entry);
        std::string path = utf8 ? utf8 : "";
        while (!path.empty() && path.back() == '/')
            path.pop_back();
        std::string content;
        char buffer[8192];
        for (la_ssize_t got; (got = archive_read_data(a, buffer, sizeof buffer)) > 0;)
            content.append(buffer, static_cast<size_t>(got));
        if (path == ".") // the root itself
            continue;
        if (path.empty() || read.count(path))
            Fault("libarchive reads an empty or repeated name: " + path);
        read[path] = {content, archive_entry_mtime(entry)};
    }
    if (status != ARCHIVE_EOF)
        Fault(std::string("libarchive fails: ") + archive_error_string(a));
    archive_read_free(a);
    if (read != jolietExpected) {
        for (const auto& [path, value] : jolietExpected)
            if (!read.count(path) || read[path] != value)
                Fault("libarchive reads " + path + " otherwise or not at all");
        Fault("libarchive reads names the tree does not have: " + read.begin()->first);
    }

    // UDF holds every name whole, at any depth, with the same bytes.
    std::vector<UdfEntry> udf;
    UdfVolume volume;
    std::string udfWhy;
    if (!ReadUdfTree(disc.image, udf, volume, udfWhy))
        Fault("the UDF tree does not read back: " + udfWhy);
    if (volume.logicalVolumeId != label || volume.revision != 0x0102)
        Fault("the UDF volume is labelled " + volume.logicalVolumeId + " or of another revision");
    std::map<std::string, std::string> udfRead;
    for (const UdfEntry& entry : udf)
        if (entry.path != "/" && !udfRead.emplace(entry.path.substr(1), entry.folder ? "" : entry.bytes).second)
            Fault("UDF holds a name twice: " + entry.path);
    std::map<std::string, std::string> udfExpected;
    for (const auto& [path, value] : expected)
        udfExpected[path] = value.first;
    if (udfRead != udfExpected)
        Fault("UDF reads other names or bytes than the tree: " +
              (udfRead.empty() ? std::string("nothing") : udfRead.begin()->first));
#ifdef VK_FUZZ_REPLAY
    // Two readers nobody here wrote, on a sample: udfinfo reads the volume, 7-Zip lists as many
    // files and folders.
    if (g_written % 50 == 1 && CanRun("PATH=$PATH:/sbin:/usr/sbin command -v udfinfo") && CanRun("7z i")) {
        const std::string file = "disc_image_fuzz_sample.iso";
        if (FILE* out = std::fopen(file.c_str(), "wb")) {
            std::fwrite(disc.image.data(), 1, disc.image.size(), out);
            std::fclose(out);
        }
        if (std::system(("PATH=$PATH:/sbin:/usr/sbin udfinfo " + file + " >/dev/null 2>&1").c_str()) != 0)
            Fault("udfinfo cannot read a written image");
        if (std::system(("7z l -tUdf -slt " + file + " >disc_image_fuzz_sample.txt 2>&1").c_str()) != 0)
            Fault("7-Zip cannot list the UDF tree of a written image");
        size_t listed = 0;
        if (FILE* in = std::fopen("disc_image_fuzz_sample.txt", "r")) {
            char line[4096];
            while (std::fgets(line, sizeof line, in))
                listed += std::string(line).rfind("Path = ", 0) == 0;
            std::fclose(in);
        }
        if (listed != expected.size() + 1) // 7-Zip names the archive itself too
            Fault("7-Zip lists " + std::to_string(listed) + " UDF entries, the tree has " +
                  std::to_string(expected.size()));
        ++g_sampled;
    }
#endif

    // The tests' own reader: both trees well formed, the primary names 8.3 and unique, every
    // primary file the same extent as a Joliet file.
    std::map<std::string, IsoRecord> primary, joliet;
    std::string why;
    if (!IsoReader(disc.image).Walk(1, primary, why) || !IsoReader(disc.image).Walk(2, joliet, why))
        Fault("malformed directory: " + why);
    if (primary.size() != expected.size() || joliet.size() != expected.size())
        Fault("a tree holds another number of entries");
    std::set<std::pair<uint32_t, uint32_t>> extents;
    for (const auto& [path, record] : joliet)
        if (!record.folder && record.size)
            extents.insert({record.sector, record.size});
    for (const auto& [path, record] : primary) {
        if (!IsoName(path.substr(path.rfind('/') + 1), record.folder))
            Fault("not an 8.3 name: " + path);
        if (!record.folder && record.size && !extents.count({record.sector, record.size}))
            Fault("a primary file without its Joliet twin: " + path);
    }
    return 0;
}

#ifdef VK_FUZZ_REPLAY
// A fixed series of generated inputs, the same on every run.
int main() {
    uint32_t seed = 20261210;
    for (int run = 0; run < 2000; ++run) {
        std::string input(static_cast<size_t>(run % 400), '\0');
        for (char& c : input)
            c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::printf("2000 generated trees: %u images of %u entries in all written and read back, the rest refused; "
                "%u of them read by udfinfo and 7-Zip too\n",
                g_written, g_entries, g_sampled);
    // A series that no longer reaches the writer would show nothing.
    return g_written > 400 && g_entries > 4000 ? 0 : 1;
}
#endif
