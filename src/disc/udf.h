// The UDF 1.02 side of a bridge disc image: the descriptors, each built whole as bytes with its
// tag, checksum and CRC, from values the image writer has laid out. ECMA-167 names the fields;
// the OSTA UDF rules choose their values (compressed Unicode names, the "*OSTA UDF Compliant"
// domain, one read-only partition).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vk::udf {

constexpr uint16_t kRevision = 0x0102;
// Bytes of a name as a File Identifier holds it: the compression byte and the characters.
constexpr size_t kNameBytesMax = 255;

// A name in OSTA compressed Unicode: 8 bits a character when every one fits, else 16.
std::string CompressedName(const std::u16string& name);

// An extent of the partition: bytes from a logical block on.
struct Extent {
    uint32_t block = 0;
    uint64_t bytes = 0;
};

// The volume's identity and time, shared by its descriptors.
struct Volume {
    std::string label;  // UTF-8
    long long time = 0; // seconds since 1970, UTC
    uint32_t partitionStart = 0;
    uint32_t partitionBlocks = 0;
    uint32_t integritySector = 0;
    uint32_t rootEntryBlock = 0;
    uint32_t files = 0, folders = 0;
    uint64_t nextUniqueId = 16;
};

// The volume recognition sequence after the ISO 9660 descriptors: three sectors.
std::string RecognitionSequence();
// The anchor at sector 256 and the last sector, pointing at both volume descriptor sequences.
std::string Anchor(uint32_t sector, uint32_t mainSector, uint32_t reserveSector, uint32_t sequenceSectors);
// A volume descriptor sequence of six sectors, its tags located from firstSector.
std::string DescriptorSequence(const Volume& volume, uint32_t firstSector);
// The integrity sequence: the closed integrity descriptor and a terminator, two sectors.
std::string IntegritySequence(const Volume& volume);
// The file set descriptor and its terminator, at logical blocks 0 and 1: two sectors.
std::string FileSet(const Volume& volume);

// One entry of a folder's identifier stream.
struct Child {
    std::u16string name;
    bool folder = false;
    uint32_t entryBlock = 0;
};
// The identifier stream of a folder whose stream starts at block: its parent first.
std::string FolderStream(uint32_t block, uint32_t parentEntryBlock, const std::vector<Child>& children);
// The file entry of a file or folder at block, its data in the extent (none for an empty file).
std::string FileEntry(uint32_t block, bool folder, const Extent& data, long long modified, uint64_t uniqueId,
                      uint16_t links);

} // namespace vk::udf
