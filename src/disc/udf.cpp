#include "disc/udf.h"

#include "core/unicode_text.h"
#include "disc/civil_time.h"

namespace vk::udf {
namespace {

constexpr size_t kBlock = 2048;

enum TagId : uint16_t {
    kPrimary = 1,
    kAnchor = 2,
    kImplementationUse = 4,
    kPartition = 5,
    kLogicalVolume = 6,
    kUnallocated = 7,
    kTerminating = 8,
    kIntegrity = 9,
    kFileSetTag = 256,
    kFileId = 257,
    kFileEntryTag = 261,
};

void Put(std::string& s, size_t at, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}

uint16_t Crc(const std::string& s, size_t from, size_t size) {
    uint16_t crc = 0;
    for (size_t i = from; i < from + size; ++i) {
        crc ^= static_cast<uint16_t>(static_cast<unsigned char>(s[i]) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

// Fills in the tag at the start of a descriptor of `size` bytes (at offset `at` of d), the CRC
// covering everything after the tag.
void Tag(std::string& d, size_t at, uint16_t id, uint32_t location, size_t size) {
    Put(d, at, id, 2);
    Put(d, at + 2, 2, 2); // the descriptor version of NSR02
    Put(d, at + 6, 0, 2);
    Put(d, at + 8, Crc(d, at + 16, size - 16), 2);
    Put(d, at + 10, size - 16, 2);
    Put(d, at + 12, location, 4);
    unsigned sum = 0;
    for (size_t i = 0; i < 16; ++i)
        if (i != 4)
            sum += static_cast<unsigned char>(d[at + i]);
    d[at + 4] = static_cast<char>(sum);
}

void Charspec(std::string& d, size_t at) {
    d[at] = 0; // CS0
    d.replace(at + 1, 23, "OSTA Compressed Unicode");
}

// An entity identifier; suffix bytes follow the 23 of the identifier.
void Regid(std::string& d, size_t at, const std::string& id, const std::string& suffix = std::string()) {
    d.replace(at + 1, id.size(), id);
    d.replace(at + 24, suffix.size(), suffix);
}

std::string RevisionSuffix() {
    return std::string{static_cast<char>(kRevision & 0xFF), static_cast<char>(kRevision >> 8)};
}

void Domain(std::string& d, size_t at) { Regid(d, at, "*OSTA UDF Compliant", RevisionSuffix()); }
void Implementation(std::string& d, size_t at) { Regid(d, at, "*Vintrosk!"); }

// A fixed-size field of compressed Unicode whose last byte holds the length used.
void Dstring(std::string& d, size_t at, size_t size, const std::string& utf8) {
    std::u16string text = Utf8ToUtf16(utf8);
    std::string bytes = CompressedName(text);
    while (bytes.size() > size - 1) {
        text.pop_back();
        if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
            text.pop_back(); // never half a pair
        bytes = CompressedName(text);
    }
    if (text.empty())
        return;
    d.replace(at, bytes.size(), bytes);
    d[at + size - 1] = static_cast<char>(bytes.size());
}

void Timestamp(std::string& d, size_t at, long long time) {
    const Civil c = ToCivil(time);
    Put(d, at, 0x1000, 2); // local time, offset 0: UTC
    Put(d, at + 2, static_cast<uint64_t>(c.year), 2);
    const int parts[] = {c.month, c.day, c.hour, c.minute, c.second};
    for (int i = 0; i < 5; ++i)
        d[at + 4 + i] = static_cast<char>(parts[i]);
}

void LongAd(std::string& d, size_t at, uint32_t bytes, uint32_t block) {
    Put(d, at, bytes, 4);
    Put(d, at + 4, block, 4);
    Put(d, at + 8, 0, 2); // the one partition
}

std::string Sector() { return std::string(kBlock, '\0'); }

} // namespace

std::string CompressedName(const std::u16string& name) {
    bool narrow = true;
    for (char16_t u : name)
        narrow = narrow && u < 0x100;
    std::string out(1, narrow ? 8 : 16);
    for (char16_t u : name) {
        if (!narrow)
            out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xFF);
    }
    return out;
}

std::string RecognitionSequence() {
    std::string s;
    for (const char* id : {"BEA01", "NSR02", "TEA01"}) {
        std::string d = Sector();
        d.replace(1, 5, id);
        d[6] = 1;
        s += d;
    }
    return s;
}

std::string Anchor(uint32_t sector, uint32_t mainSector, uint32_t reserveSector, uint32_t sequenceSectors) {
    std::string d = Sector();
    Put(d, 16, sequenceSectors * kBlock, 4);
    Put(d, 20, mainSector, 4);
    Put(d, 24, sequenceSectors * kBlock, 4);
    Put(d, 28, reserveSector, 4);
    Tag(d, 0, kAnchor, sector, 512);
    return d;
}

std::string DescriptorSequence(const Volume& v, uint32_t first) {
    std::string s;
    uint32_t number = 0;
    // Primary volume descriptor.
    std::string d = Sector();
    Put(d, 16, number++, 4);
    Dstring(d, 24, 32, v.label);
    Put(d, 56, 1, 2);
    Put(d, 58, 1, 2);
    Put(d, 60, 2, 2);
    Put(d, 62, 2, 2);
    Put(d, 64, 1, 4);
    Put(d, 68, 1, 4);
    // A volume set names itself by 16 hex digits first, from its time.
    char unique[17];
    for (int i = 0; i < 16; ++i)
        unique[i] = "0123456789ABCDEF"[(static_cast<unsigned long long>(v.time) >> (60 - 4 * i)) & 0xF];
    unique[16] = 0;
    Dstring(d, 72, 128, std::string(unique) + " " + v.label);
    Charspec(d, 200);
    Charspec(d, 264);
    Timestamp(d, 376, v.time);
    Implementation(d, 388);
    Tag(d, 0, kPrimary, first, 512);
    s += d;
    // Implementation use volume descriptor: the logical volume's information.
    d = Sector();
    Put(d, 16, number++, 4);
    Regid(d, 20, "*UDF LV Info", RevisionSuffix());
    Charspec(d, 52);
    Dstring(d, 116, 128, v.label);
    Implementation(d, 352);
    Tag(d, 0, kImplementationUse, first + 1, 512);
    s += d;
    // Partition descriptor: one read-only partition.
    d = Sector();
    Put(d, 16, number++, 4);
    Put(d, 20, 1, 2);
    Put(d, 22, 0, 2);
    Regid(d, 24, "+NSR02");
    Put(d, 184, 1, 4);
    Put(d, 188, v.partitionStart, 4);
    Put(d, 192, v.partitionBlocks, 4);
    Implementation(d, 196);
    Tag(d, 0, kPartition, first + 2, 512);
    s += d;
    // Logical volume descriptor, with its one type 1 partition map.
    d = Sector();
    Put(d, 16, number++, 4);
    Charspec(d, 20);
    Dstring(d, 84, 128, v.label);
    Put(d, 212, kBlock, 4);
    Domain(d, 216);
    LongAd(d, 248, kBlock, 0);
    Put(d, 264, 6, 4);
    Put(d, 268, 1, 4);
    Implementation(d, 272);
    Put(d, 432, 2 * kBlock, 4);
    Put(d, 436, v.integritySector, 4);
    d[440] = 1;
    d[441] = 6;
    Put(d, 442, 1, 2);
    Put(d, 444, 0, 2);
    Tag(d, 0, kLogicalVolume, first + 3, 446);
    s += d;
    // Unallocated space descriptor: none.
    d = Sector();
    Put(d, 16, number++, 4);
    Tag(d, 0, kUnallocated, first + 4, 24);
    s += d;
    d = Sector();
    Tag(d, 0, kTerminating, first + 5, 512);
    return s + d;
}

std::string IntegritySequence(const Volume& v) {
    std::string d = Sector();
    Timestamp(d, 16, v.time);
    Put(d, 28, 1, 4); // closed
    Put(d, 40, v.nextUniqueId, 8);
    Put(d, 72, 1, 4);
    Put(d, 76, 46, 4);
    Put(d, 80, 0, 4);
    Put(d, 84, v.partitionBlocks, 4);
    Implementation(d, 88);
    Put(d, 120, v.files, 4);
    Put(d, 124, v.folders, 4);
    Put(d, 128, kRevision, 2);
    Put(d, 130, kRevision, 2);
    Put(d, 132, kRevision, 2);
    Tag(d, 0, kIntegrity, v.integritySector, 134);
    std::string end = Sector();
    Tag(end, 0, kTerminating, v.integritySector + 1, 512);
    return d + end;
}

std::string FileSet(const Volume& v) {
    std::string d = Sector();
    Timestamp(d, 16, v.time);
    Put(d, 28, 3, 2);
    Put(d, 30, 3, 2);
    Put(d, 32, 1, 4);
    Put(d, 36, 1, 4);
    Charspec(d, 48);
    Dstring(d, 112, 128, v.label);
    Charspec(d, 240);
    Dstring(d, 304, 32, v.label);
    LongAd(d, 400, kBlock, v.rootEntryBlock);
    Domain(d, 416);
    Tag(d, 0, kFileSetTag, 0, 512);
    std::string end = Sector();
    Tag(end, 0, kTerminating, 1, 512);
    return d + end;
}

std::string FolderStream(uint32_t block, uint32_t parentEntryBlock, const std::vector<Child>& children) {
    std::string s;
    auto add = [&](const std::string& id, uint8_t characteristics, uint32_t entry) {
        const size_t at = s.size();
        const size_t size = (38 + id.size() + 3) / 4 * 4;
        s.resize(at + size, '\0');
        Put(s, at + 16, 1, 2);
        s[at + 18] = static_cast<char>(characteristics);
        s[at + 19] = static_cast<char>(id.size());
        LongAd(s, at + 20, kBlock, entry);
        s.replace(at + 38, id.size(), id);
        Tag(s, at, kFileId, block + static_cast<uint32_t>(at / kBlock), size);
    };
    add(std::string(), 0x0A, parentEntryBlock); // the parent: a folder
    for (const Child& child : children)
        add(CompressedName(child.name), child.folder ? 0x02 : 0x00, child.entryBlock);
    return s;
}

std::string FileEntry(uint32_t block, bool folder, const Extent& data, long long modified, uint64_t uniqueId,
                      uint16_t links) {
    std::string d = Sector();
    // The information control block tag: one direct entry (strategy 4), short allocation
    // descriptors.
    Put(d, 16 + 4, 4, 2);
    Put(d, 16 + 8, 1, 2);
    d[16 + 11] = static_cast<char>(folder ? 4 : 5);
    Put(d, 16 + 18, 0, 2);
    Put(d, 36, 0xFFFFFFFF, 4); // no owner
    Put(d, 40, 0xFFFFFFFF, 4);
    // Read for all, and search for folders; nothing may be written on a disc.
    Put(d, 44, folder ? 0x14A5 : 0x1084, 4);
    Put(d, 48, links, 2);
    Put(d, 56, data.bytes, 8);
    const uint64_t blocks = (data.bytes + kBlock - 1) >> 11;
    Put(d, 64, blocks, 8);
    for (size_t at : {72, 84, 96})
        Timestamp(d, at, modified);
    Put(d, 108, 1, 4);
    Implementation(d, 128);
    Put(d, 160, uniqueId, 8);
    // One extent holds less than 1 GB: a larger file takes several, whole blocks but the last.
    constexpr uint64_t kMostInExtent = 0x3FFFF800;
    size_t ads = 0;
    for (uint64_t done = 0; done < data.bytes; done += kMostInExtent, ++ads) {
        const uint64_t bytes = data.bytes - done < kMostInExtent ? data.bytes - done : kMostInExtent;
        Put(d, 176 + 8 * ads, bytes, 4);
        Put(d, 180 + 8 * ads, data.block + static_cast<uint32_t>(done >> 11), 4);
    }
    Put(d, 172, 8 * ads, 4);
    Tag(d, 0, kFileEntryTag, block, 176 + 8 * ads);
    return d;
}

} // namespace vk::udf
