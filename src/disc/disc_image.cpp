#include "disc/disc_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/ascii_case.h"
#include "core/unicode_text.h"
#include "disc/civil_time.h"
#include "disc/udf.h"

namespace vk {
namespace {

constexpr size_t kSector = 2048;
// Where each part of the image lies: the ISO 9660 descriptors from 16, UDF's recognition
// sequence after them, its two descriptor sequences and its integrity sequence, its anchor at
// 256; the partition starts after it and holds everything else, so both file systems share
// the file data.
constexpr uint32_t kRecognitionSector = 19;
constexpr uint32_t kMainSequence = 32, kReserveSequence = 48, kSequenceSectors = 16;
constexpr uint32_t kIntegritySector = 64;
constexpr uint32_t kAnchorSector = 256;
constexpr uint32_t kPartitionStart = 257;
constexpr size_t kChunk = 1 << 20;

std::string Decimal(unsigned n) {
    std::string digits;
    do
        digits.insert(digits.begin(), static_cast<char>('0' + n % 10));
    while (n /= 10);
    return digits;
}

// Upper-case d-characters (A-Z, 0-9, "_") of the text, each other character as one "_".
std::string DChars(const std::string& utf8, size_t max) {
    std::string out;
    for (size_t i = 0; i < utf8.size() && out.size() < max; ++i) {
        const char c = UpperAscii(utf8[i]);
        if ((c & 0xC0) == 0x80)
            continue; // the rest of a character already counted
        out += (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : '_';
    }
    return out;
}

// The problem of a name or label as Joliet holds it: text of 1 to max UTF-16 units without
// control characters or * / : ; ? \ (";" would read as a version number).
std::string TextProblem(const std::string& text, size_t max, const char* what) {
    std::string why;
    if (text.empty())
        why = " is empty";
    else if (!IsValidUtf8(text))
        why = " is not valid UTF-8 text";
    else if (Utf8ToUtf16(text).size() > max)
        why = " is longer than the " + Decimal(static_cast<unsigned>(max)) + " characters a disc allows";
    else if (std::any_of(text.begin(), text.end(),
                         [](char c) { return static_cast<unsigned char>(c) < 0x20 || std::strchr("*/:;?\\", c); }))
        why = " holds a character a disc cannot hold (* / : ; ? \\ or a control character)";
    return why.empty() ? why : what + why;
}

// A name split for sorting: the part before the last dot of a file name and the part after.
// Folders have no extension, nor has a name whose only dot is its first character.
template <class S>
struct SortKey {
    S name, ext;
};

template <class S>
SortKey<S> KeyOf(const S& id, bool folder) {
    const size_t dot = folder ? S::npos : id.rfind('.');
    if (dot == S::npos || dot == 0)
        return {id, S()};
    return {id.substr(0, dot), id.substr(dot + 1)};
}

// Each part compared with the shorter one padded with blanks, as the format orders records.
template <class S>
int PaddedCompare(const S& a, const S& b) {
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const unsigned x = i < a.size() ? static_cast<unsigned>(a[i]) & 0xFFFF : 0x20;
        const unsigned y = i < b.size() ? static_cast<unsigned>(b[i]) & 0xFFFF : 0x20;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

template <class S>
bool KeyLess(const SortKey<S>& a, const SortKey<S>& b) {
    const int byName = PaddedCompare(a.name, b.name);
    return byName ? byName < 0 : PaddedCompare(a.ext, b.ext) < 0;
}

struct Node {
    std::string path; // relative, "/"-separated
    DiscItem item;
    size_t parent = 0;
    unsigned level = 1;              // folders: the root is 1
    SortKey<std::u16string> key[2];  // each tree's name, the 8.3 one in ASCII
    std::vector<size_t> children[2]; // folders: children in each tree's order
    uint32_t sector = 0;             // files: data; folders: primary directory
    uint32_t jolietSector = 0;       // folders: Joliet directory
    uint32_t bytes[2] = {0, 0};      // folders: directory sizes
    uint16_t number[2] = {0, 0};     // folders: path table numbers
    std::u16string joliet;           // the Joliet name: the whole name, or shortened
    uint32_t entryBlock = 0;         // UDF file entry, a block of the partition
    uint32_t streamBlock = 0;        // folders: UDF identifier stream
    uint32_t streamBytes = 0;
};

enum Tree { kIso = 0, kJoliet = 1 };

void Put(std::string& s, size_t at, uint32_t v, int bytes, bool big) {
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>(v >> (8 * (big ? bytes - 1 - i : i)));
}

void PutBoth(std::string& s, size_t at, uint32_t v, int bytes) {
    Put(s, at, v, bytes, false);
    Put(s, at + bytes, v, bytes, true);
}

class ImageWriter {
public:
    ImageWriter(DiscHost& host, std::string& error) : m_host(host), m_error(error) {}
    bool Run(const std::string& label);

private:
    bool List();
    bool Fail(const std::string& path, const std::string& why) {
        m_error = m_host.Shown(path) + why;
        return false;
    }
    void NameChildren(Node& folder);
    std::vector<size_t> FolderOrder(Tree tree) const;
    std::string Directory(const Node& folder, Tree tree) const;
    std::string PathTable(Tree tree, bool big) const;
    std::string Descriptor(Tree tree, const std::string& label) const;
    std::string Record(const Node& node, Tree tree, const std::string& id) const;
    bool Emit(std::string bytes); // padded to whole sectors
    bool CopyFile(const Node& file);
    bool CopyFileDirect(const Node& file);
    bool Flush();
    std::string UdfStream(const Node& folder) const;
    uint32_t DirSector(const Node& n, Tree tree) const { return tree == kIso ? n.sector : n.jolietSector; }

    DiscHost& m_host;
    std::string& m_error;
    std::vector<Node> m_nodes;
    std::vector<size_t> m_folders[2]; // in path table order
    long long m_volumeTime = 0;
    unsigned long long m_total = 0, m_done = 0;
    uint32_t m_pathTableBytes[2] = {0, 0};
    uint32_t m_pathTableSector[2][2] = {{0, 0}, {0, 0}};
    uint32_t m_sectors = 0;
    std::string m_buffer;  // file data on its way, one for all files
    std::string m_pending; // descriptors, folders and entries not yet written
};

bool ImageWriter::List() {
    m_nodes.emplace_back();
    m_nodes[0].item.folder = true;
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        if (!m_nodes[i].item.folder)
            continue;
        std::vector<DiscItem> items;
        if (!m_host.List(m_nodes[i].path, items, m_error))
            return false;
        for (DiscItem& item : items) {
            Node n;
            n.path = m_nodes[i].path.empty() ? item.name : m_nodes[i].path + "/" + item.name;
            const std::string problem = DiscNameProblem(item.name);
            if (!problem.empty())
                return Fail(n.path, ": " + problem + ".");
            const std::string tooLarge = item.folder ? std::string() : ImageFileSizeProblem(item.size);
            if (!tooLarge.empty())
                return Fail(n.path, ": " + tooLarge + ".");
            m_volumeTime = std::max(m_volumeTime, item.modified);
            m_total += item.folder ? 0 : item.size;
            n.parent = i;
            n.level = m_nodes[i].level + 1;
            n.item = std::move(item);
            m_nodes[i].children[kJoliet].push_back(m_nodes.size());
            m_nodes.push_back(std::move(n));
        }
        NameChildren(m_nodes[i]);
    }
    return true;
}

// Gives every child an 8.3 name unique in the folder and sorts the children of both trees.
// Names that need only upper case choose first, so "autorun.inf" is always AUTORUN.INF; the
// rest, in the Joliet order, take a numbered name when theirs is taken.
void ImageWriter::NameChildren(Node& folder) {
    struct ByName {
        const std::vector<Node>& nodes;
        Tree tree;
        bool operator()(size_t a, size_t b) const { return KeyLess(nodes[a].key[tree], nodes[b].key[tree]); }
    };
    std::vector<size_t>& joliet = folder.children[kJoliet];
    std::vector<std::pair<std::string, bool>> names;
    for (size_t i : joliet)
        names.emplace_back(m_nodes[i].item.name, m_nodes[i].item.folder);
    const std::vector<std::u16string> shown = JolietNames(names);
    for (size_t k = 0; k < joliet.size(); ++k) {
        Node& n = m_nodes[joliet[k]];
        n.joliet = shown[k];
        n.key[kJoliet] = KeyOf(n.joliet, n.item.folder);
    }
    std::sort(joliet.begin(), joliet.end(), ByName{m_nodes, kJoliet});
    std::vector<std::string> taken; // sorted
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i : joliet) {
            Node& n = m_nodes[i];
            const SortKey<std::string> key = KeyOf(n.item.name, n.item.folder);
            std::string name = DChars(key.name, 8);
            const std::string ext = DChars(key.ext, 3);
            if ((name == Upper(key.name) && ext == Upper(key.ext)) != (pass == 0))
                continue;
            for (unsigned number = 1;; ++number) {
                const auto at = std::lower_bound(taken.begin(), taken.end(), name + "." + ext);
                if (at == taken.end() || *at != name + "." + ext) {
                    taken.insert(at, name + "." + ext);
                    break;
                }
                const std::string suffix = "_" + Decimal(number);
                name = DChars(key.name, 8 - suffix.size()) + suffix;
            }
            n.key[kIso] = {std::u16string(name.begin(), name.end()), std::u16string(ext.begin(), ext.end())};
        }
    folder.children[kIso] = joliet;
    std::sort(folder.children[kIso].begin(), folder.children[kIso].end(), ByName{m_nodes, kIso});
}

// Folders level by level, each level's in the order of their parents, then by name: the order
// of the path table, whose numbers the records of the next level refer to.
std::vector<size_t> ImageWriter::FolderOrder(Tree tree) const {
    std::vector<size_t> order{0};
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t child : m_nodes[order[i]].children[tree])
            if (m_nodes[child].item.folder)
                order.push_back(child);
    return order;
}

std::string ImageWriter::Record(const Node& node, Tree tree, const std::string& id) const {
    std::string r(33 + id.size() + (id.size() % 2 == 0), '\0');
    r[0] = static_cast<char>(r.size());
    PutBoth(r, 2, node.item.folder ? DirSector(node, tree) : node.item.size ? node.sector : 0, 4);
    PutBoth(r, 10, node.item.folder ? node.bytes[tree] : static_cast<uint32_t>(node.item.size), 4);
    const Civil c = ToCivil(&node == &m_nodes[0] ? m_volumeTime : node.item.modified);
    const int parts[] = {c.year - 1900, c.month, c.day, c.hour, c.minute, c.second};
    for (int i = 0; i < 6; ++i)
        r[18 + i] = static_cast<char>(parts[i]); // [24], the offset from GMT, stays 0: UTC
    r[25] = node.item.folder ? 2 : 0;
    PutBoth(r, 28, 1, 2);
    r[32] = static_cast<char>(id.size());
    r.replace(33, id.size(), id);
    return r;
}

std::string Utf16Be(const std::u16string& text) {
    std::string out;
    for (char16_t u : text) {
        out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xFF);
    }
    return out;
}

std::string Ascii(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::string Id(const Node& n, Tree tree) {
    const SortKey<std::u16string>& k = n.key[tree];
    if (tree == kJoliet)
        return Utf16Be(n.joliet);
    return n.item.folder ? Ascii(k.name) : Ascii(k.name) + "." + Ascii(k.ext) + ";1";
}

std::string ImageWriter::Directory(const Node& folder, Tree tree) const {
    std::string dir = Record(folder, tree, std::string(1, '\0')) + Record(m_nodes[folder.parent], tree, "\1");
    for (size_t i : folder.children[tree]) {
        const Node& n = m_nodes[i];
        const std::string r = Record(n, tree, Id(n, tree));
        if (dir.size() / kSector != (dir.size() + r.size() - 1) / kSector) // no record crosses a sector
            dir.resize((dir.size() / kSector + 1) * kSector, '\0');
        dir += r;
    }
    return dir;
}

std::string ImageWriter::PathTable(Tree tree, bool big) const {
    std::string table;
    for (size_t i : m_folders[tree]) {
        const Node& n = m_nodes[i];
        const std::string id = i == 0 ? std::string(1, '\0') : Id(n, tree);
        std::string r(8 + id.size() + id.size() % 2, '\0');
        r[0] = static_cast<char>(id.size());
        Put(r, 2, DirSector(n, tree), 4, big);
        Put(r, 6, m_nodes[n.parent].number[tree], 2, big);
        r.replace(8, id.size(), id);
        table += r;
    }
    return table;
}

std::string ImageWriter::Descriptor(Tree tree, const std::string& label) const {
    std::string d(kSector, '\0');
    const bool joliet = tree == kJoliet;
    // Identifier fields: blanks, in UCS-2 on the Joliet side.
    auto text = [&](size_t at, size_t size, const std::string& value) {
        const std::u16string units = joliet ? Utf8ToUtf16(value) : std::u16string(value.begin(), value.end());
        for (size_t i = 0; i < (joliet ? size / 2 : size); ++i) {
            const char16_t u = i < units.size() ? units[i] : u' ';
            if (joliet)
                Put(d, at + 2 * i, u, 2, true);
            else
                d[at + i] = static_cast<char>(u);
        }
    };
    d[0] = joliet ? 2 : 1;
    d.replace(1, 6, "CD001\1");
    text(8, 32, "");
    text(40, 32, joliet ? label : DChars(label, 32));
    PutBoth(d, 80, m_sectors, 4);
    if (joliet)
        d.replace(88, 3, "%/E"); // UCS-2 level 3
    PutBoth(d, 120, 1, 2);
    PutBoth(d, 124, 1, 2);
    PutBoth(d, 128, kSector, 2);
    PutBoth(d, 132, m_pathTableBytes[tree], 4);
    Put(d, 140, m_pathTableSector[tree][0], 4, false);
    Put(d, 148, m_pathTableSector[tree][1], 4, true);
    d.replace(156, 34, Record(m_nodes[0], tree, std::string(1, '\0')));
    for (size_t at : {190, 318, 446})
        text(at, 128, "");
    text(574, 128, joliet ? "Vintrosk!" : "VINTROSK!");
    for (size_t at : {702, 739, 776})
        text(at, 37, "");
    const Civil c = ToCivil(m_volumeTime);
    std::string date = "YYYYMMDDhhmmss00";
    const int parts[] = {c.year / 100, c.year % 100, c.month, c.day, c.hour, c.minute, c.second};
    for (int i = 0; i < 7; ++i) {
        date[2 * i] = static_cast<char>('0' + parts[i] / 10);
        date[2 * i + 1] = static_cast<char>('0' + parts[i] % 10);
    }
    d.replace(813, 16, date); // created, and [830] modified; their [829], [846] offsets: UTC
    d.replace(830, 16, date);
    d.replace(847, 16, "0000000000000000"); // no expiry
    d.replace(864, 16, "0000000000000000"); // effective at once
    d[881] = 1;
    return d;
}

// Written in pieces of about a chunk: a folder of many files has a sector of its own for each.
bool ImageWriter::Emit(std::string bytes) {
    bytes.resize((bytes.size() + kSector - 1) / kSector * kSector, '\0');
    m_pending += bytes;
    return m_pending.size() < kChunk || Flush();
}

bool ImageWriter::Flush() {
    const bool ok = m_pending.empty() || m_host.Write(m_pending.data(), m_pending.size(), m_error);
    m_pending.clear();
    return ok;
}

bool ImageWriter::CopyFile(const Node& file) {
    if (!m_host.Open(file.path, m_error))
        return false;
    if (m_host.CopiesDirect())
        return CopyFileDirect(file);
    std::string& buffer = m_buffer;
    buffer.resize(kChunk + kSector);
    unsigned long long left = file.item.size;
    bool ok = true;
    while (ok) {
        // One byte more than is left, to see a file that has grown.
        const long long got =
            m_host.Read(&buffer[0], static_cast<size_t>(std::min<unsigned long long>(left + 1, kChunk)), m_error);
        if (got < 0 || static_cast<unsigned long long>(got) > left) {
            ok = got < 0 ? false : Fail(file.path, ": the file changed while the disc image was written.");
            break;
        }
        if (got == 0) {
            ok = left == 0 || Fail(file.path, ": the file changed while the disc image was written.");
            break;
        }
        left -= got;
        m_done += got;
        const size_t padded = got + (left ? 0 : (kSector - file.item.size % kSector) % kSector);
        std::fill(buffer.begin() + got, buffer.begin() + padded, '\0');
        ok = m_host.Write(buffer.data(), padded, m_error);
        m_host.Advance(m_done, m_total);
    }
    m_host.Close();
    return ok;
}

// The file's bytes copied by the host in steps, the last asking one byte more to see a file
// that has grown, then the sector's padding: the same image as through the buffer.
bool ImageWriter::CopyFileDirect(const Node& file) {
    unsigned long long left = file.item.size;
    bool ok = true;
    for (bool last = false; ok && !last;) {
        const unsigned long long step = std::min<unsigned long long>(left, 8 * kChunk);
        last = step == left;
        const long long got = m_host.CopyDirect(step + (last ? 1 : 0), m_error);
        if (got < 0)
            ok = false;
        else if (static_cast<unsigned long long>(got) != step)
            ok = Fail(file.path, ": the file changed while the disc image was written.");
        left -= ok ? step : 0;
        m_done += ok ? step : 0;
        m_host.Advance(m_done, m_total);
    }
    const size_t padding = (kSector - file.item.size % kSector) % kSector;
    ok = ok && (!padding || m_host.SkipZeros(padding, m_error));
    m_host.Close();
    return ok;
}

bool ImageWriter::Run(const std::string& label) {
    const std::string problem = VolumeLabelProblem(label);
    if (!problem.empty()) {
        m_error = problem;
        return false;
    }
    if (!List())
        return false;
    m_host.Advance(0, m_total);
    uint32_t next = kPartitionStart + 2; // the file set descriptor and its terminator
    for (Tree tree : {kIso, kJoliet}) {
        m_folders[tree] = FolderOrder(tree);
        if (m_folders[tree].size() > 0xFFFF)
            return Fail("", ": more folders than a disc holds (65535).");
        for (size_t k = 0; k < m_folders[tree].size(); ++k)
            m_nodes[m_folders[tree][k]].number[tree] = static_cast<uint16_t>(k + 1);
        m_pathTableBytes[tree] = static_cast<uint32_t>(PathTable(tree, false).size());
        for (bool big : {false, true}) {
            m_pathTableSector[tree][big] = next;
            next += (m_pathTableBytes[tree] + kSector - 1) / kSector;
        }
    }
    for (Tree tree : {kIso, kJoliet})
        for (size_t i : m_folders[tree]) {
            Node& n = m_nodes[i];
            n.bytes[tree] = static_cast<uint32_t>((Directory(n, tree).size() + kSector - 1) / kSector * kSector);
            (tree == kIso ? n.sector : n.jolietSector) = next;
            next += n.bytes[tree] / kSector;
        }
    // UDF: a file entry for each file and folder, folder by folder in the Joliet order (never the
    // order of the listing, so the same tree gives the same bytes), then each folder's
    // identifier stream.
    std::vector<size_t> entries{0};
    for (size_t f : m_folders[kJoliet])
        for (size_t child : m_nodes[f].children[kJoliet])
            entries.push_back(child);
    for (size_t i : entries)
        m_nodes[i].entryBlock = next++ - kPartitionStart;
    for (size_t i : m_folders[kJoliet]) {
        Node& n = m_nodes[i];
        n.streamBytes = static_cast<uint32_t>(UdfStream(n).size());
        n.streamBlock = next - kPartitionStart;
        next += (n.streamBytes + kSector - 1) / kSector;
    }
    std::vector<size_t> files;
    for (size_t f : m_folders[kIso])
        for (size_t i : m_nodes[f].children[kIso])
            if (!m_nodes[i].item.folder && m_nodes[i].item.size) {
                files.push_back(i);
                m_nodes[i].sector = next;
                next += static_cast<uint32_t>((m_nodes[i].item.size + kSector - 1) / kSector);
            }
    const uint32_t lastAnchor = next;
    m_sectors = next + 1;

    udf::Volume volume;
    volume.label = label;
    volume.time = m_volumeTime;
    volume.partitionStart = kPartitionStart;
    volume.partitionBlocks = lastAnchor - kPartitionStart;
    volume.integritySector = kIntegritySector;
    volume.rootEntryBlock = m_nodes[0].entryBlock;
    volume.folders = static_cast<uint32_t>(m_folders[kJoliet].size());
    volume.files = static_cast<uint32_t>(m_nodes.size()) - volume.folders;
    volume.nextUniqueId = 16 + m_nodes.size();

    std::string head(16 * kSector, '\0');
    head += Descriptor(kIso, label) + Descriptor(kJoliet, label);
    head += std::string(kSector, '\0');
    head.replace(head.size() - kSector, 7,
                 "\xFF"
                 "CD001\1");
    head += udf::RecognitionSequence();
    head.resize(kMainSequence * kSector, '\0');
    head += udf::DescriptorSequence(volume, kMainSequence);
    head.resize(kReserveSequence * kSector, '\0');
    head += udf::DescriptorSequence(volume, kReserveSequence);
    head.resize(kIntegritySector * kSector, '\0');
    head += udf::IntegritySequence(volume);
    head.resize(kAnchorSector * kSector, '\0');
    head += udf::Anchor(kAnchorSector, kMainSequence, kReserveSequence, kSequenceSectors);
    head += udf::FileSet(volume);
    bool ok = Emit(head);
    for (Tree tree : {kIso, kJoliet})
        for (bool big : {false, true})
            ok = ok && Emit(PathTable(tree, big));
    for (Tree tree : {kIso, kJoliet})
        for (size_t i : m_folders[tree])
            ok = ok && Emit(Directory(m_nodes[i], tree));
    for (size_t k = 0; k < entries.size() && ok; ++k) {
        const size_t i = entries[k];
        const Node& n = m_nodes[i];
        uint16_t links = 1;
        if (n.item.folder)
            for (size_t child : n.children[kJoliet])
                links += m_nodes[child].item.folder;
        const udf::Extent data = n.item.folder ? udf::Extent{n.streamBlock, n.streamBytes}
                                               : udf::Extent{n.item.size ? n.sector - kPartitionStart : 0, n.item.size};
        ok = Emit(udf::FileEntry(n.entryBlock, n.item.folder, data, i == 0 ? m_volumeTime : n.item.modified,
                                 k == 0 ? 0 : 15 + k, links));
    }
    for (size_t i : m_folders[kJoliet])
        ok = ok && Emit(UdfStream(m_nodes[i]));
    ok = ok && Flush();
    for (size_t i : files)
        ok = ok && CopyFile(m_nodes[i]);
    return ok && Emit(udf::Anchor(lastAnchor, kMainSequence, kReserveSequence, kSequenceSectors)) && Flush();
}

// A folder's UDF identifier stream: its children under their whole names.
std::string ImageWriter::UdfStream(const Node& folder) const {
    std::vector<udf::Child> children;
    for (size_t i : folder.children[kJoliet])
        children.push_back({Utf8ToUtf16(m_nodes[i].item.name), m_nodes[i].item.folder, m_nodes[i].entryBlock});
    return udf::FolderStream(folder.streamBlock, m_nodes[folder.parent].entryBlock, children);
}

} // namespace

std::string DefaultVolumeLabel(const std::string& targetName) {
    std::string stem = targetName.substr(targetName.find_last_of("/\\") + 1);
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0)
        stem.resize(dot);
    const std::string label = DChars(stem, kVolumeLabelMax);
    return label.find_first_not_of('_') == std::string::npos ? "VINTROSK" : label;
}

std::string VolumeLabelProblem(const std::string& label) {
    if (label.find_first_not_of(' ') == std::string::npos)
        return "The volume label is empty.";
    const std::string problem = TextProblem(label, kVolumeLabelMax, "The volume label");
    return problem.empty() ? problem : problem + ".";
}

std::string ImageFileSizeProblem(unsigned long long size) {
    return size > kImageFileMax ? "the file is larger than the 4 GB a disc image holds in one file" : std::string();
}

bool IsImageOfOurs(const std::string& head) {
    const size_t pvd = 16 * kSector;
    return head.size() >= pvd + kSector && head[pvd] == 1 && head.compare(pvd + 1, 5, "CD001") == 0 &&
           head.compare(pvd + 574, 9, "VINTROSK!") == 0;
}

std::string DiscNameProblem(const std::string& name) {
    std::string why = TextProblem(name, SIZE_MAX, "the name");
    if (why.empty() && udf::CompressedName(Utf8ToUtf16(name)).size() > udf::kNameBytesMax)
        why = "the name is longer than a disc holds (" + Decimal(udf::kNameBytesMax - 1) + " Latin characters, or " +
              Decimal((udf::kNameBytesMax - 1) / 2) + " of other scripts)";
    return why;
}

bool JolietHoldsName(const std::string& name) { return Utf8ToUtf16(name).size() <= kJolietNameMax; }

std::string DiscLevelProblem(unsigned level) {
    if (level <= kMaxFolderLevels)
        return {};
    return "the folder lies deeper than the " + Decimal(kMaxFolderLevels) +
           " folder levels that systems reading only ISO 9660 or Joliet are sure to reach (the disc's root is the "
           "first)";
}

std::vector<std::u16string> JolietNames(const std::vector<std::pair<std::string, bool>>& children) {
    std::vector<std::u16string> names(children.size());
    std::vector<std::u16string> taken; // folded to lower case, sorted
    auto fold = [](std::u16string name) {
        for (char16_t& u : name)
            if (u >= u'A' && u <= u'Z')
                u = static_cast<char16_t>(u - u'A' + u'a');
        return name;
    };
    auto take = [&](const std::u16string& name) {
        const std::u16string key = fold(name);
        const auto at = std::lower_bound(taken.begin(), taken.end(), key);
        if (at != taken.end() && *at == key)
            return false;
        taken.insert(at, key);
        return true;
    };
    // Names Joliet holds keep them; the others are shortened after, around what is taken.
    for (size_t i = 0; i < children.size(); ++i) {
        const std::u16string whole = Utf8ToUtf16(children[i].first);
        if (whole.size() <= kJolietNameMax) {
            names[i] = whole;
            take(whole);
        }
    }
    for (size_t i = 0; i < children.size(); ++i) {
        const std::u16string whole = Utf8ToUtf16(children[i].first);
        if (whole.size() <= kJolietNameMax)
            continue;
        const size_t dot = children[i].second ? std::u16string::npos : whole.rfind(u'.');
        const std::u16string ext =
            dot != std::u16string::npos && whole.size() - dot <= 16 ? whole.substr(dot) : std::u16string();
        for (unsigned number = 1;; ++number) {
            const std::string digits = "~" + Decimal(number);
            std::u16string stem = whole.substr(0, kJolietNameMax - ext.size() - digits.size());
            if (!stem.empty() && stem.back() >= 0xD800 && stem.back() <= 0xDBFF)
                stem.pop_back(); // never half a pair
            const std::u16string name = stem + std::u16string(digits.begin(), digits.end()) + ext;
            if (take(name)) {
                names[i] = name;
                break;
            }
        }
    }
    return names;
}

bool WriteDiscImage(DiscHost& host, const std::string& label, std::string& error) {
    return ImageWriter(host, error).Run(label);
}

} // namespace vk
