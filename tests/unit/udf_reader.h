// A small reader of the UDF side of a disc image for the tests: the anchors, the volume
// descriptors, the file set and the directory tree read straight from the bytes, with every
// bound and every descriptor tag (checksum, CRC, location) checked, so a test sees what a
// drive's UDF driver would read rather than what the writer meant. Sectors of 2048 bytes and
// plain (type 1) partition maps only: what a pressed or burnt CD or DVD carries.
#pragma once
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/unicode_text.h"

struct UdfEntry {
    std::string path; // "/" then the names in UTF-8 joined by "/", as IsoReader::Walk has them
    bool folder = false;
    bool hidden = false; // listed all the same, as a reader showing hidden files lists it
    uint64_t size = 0;   // the entry's information length
    std::string bytes;   // a file's data
};

struct UdfVolume {
    std::string volumeId;        // the primary volume descriptor's
    std::string logicalVolumeId; // the logical volume descriptor's: the label Windows shows
    std::string fileSetId;
    unsigned revision = 0;         // of the logical volume's domain identifier: 0x0102 for 1.02
    std::string nsr;               // "NSR02" or "NSR03", from the volume recognition sequence
    std::vector<uint32_t> anchors; // the sectors holding a sound anchor
};

// CRC-ITU-T as descriptor tags use it: polynomial 0x1021, initial value 0, no reflection.
inline uint16_t UdfCrc(const std::string& bytes, size_t at, size_t length) {
    uint16_t crc = 0;
    for (size_t i = at; i < at + length; ++i) {
        crc = static_cast<uint16_t>(crc ^ static_cast<unsigned char>(bytes[i]) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
    return crc;
}

class UdfReader {
public:
    static constexpr size_t kSector = 2048;

    explicit UdfReader(const std::string& image) : m_image(image) {}

    bool Read(std::vector<UdfEntry>& entries, UdfVolume& volume, std::string& why) {
        entries.clear();
        volume = {};
        if (m_image.size() % kSector)
            return Fail("the image is not a whole number of sectors", why);
        if (!Recognition(volume, why) || !Anchors(volume, why))
            return false;
        Sequence main, reserve;
        if (!ReadSequence(m_mainVds, "main", main, why) || !ReadSequence(m_reserveVds, "reserve", reserve, why))
            return false;
        if (main.volumeId != reserve.volumeId || main.logicalVolumeId != reserve.logicalVolumeId ||
            main.partitions != reserve.partitions || main.maps != reserve.maps || !(main.fileSet == reserve.fileSet))
            return Fail("the reserve volume descriptor sequence differs from the main one", why);
        m_vds = main;
        volume.volumeId = main.volumeId;
        volume.logicalVolumeId = main.logicalVolumeId;
        volume.revision = main.revision;

        // The file set descriptor, then the tree from its root.
        std::string block;
        if (!Block(main.fileSet, 1, "the file set descriptor", block, why) ||
            !Tag(block, 0, 256, main.fileSet.block, 512, "the file set descriptor", why))
            return false;
        if (!Dstring(block, 304, 32, volume.fileSetId, why))
            return Fail("the file set identifier: " + why, why);
        Address root;
        LongAd(block, 400, root);
        m_folders.clear();
        UdfEntry top;
        if (!Node(root, root, "", 0, top, entries, why))
            return false;
        return top.folder || Fail("the root is not a folder", why);
    }

private:
    struct Address {
        uint32_t block = 0;
        uint16_t partition = 0; // the reference: an index into the logical volume's maps
        uint32_t length = 0;
        bool operator==(const Address& o) const { return block == o.block && partition == o.partition; }
        bool operator<(const Address& o) const { return std::pair(partition, block) < std::pair(o.partition, o.block); }
    };
    struct Partition {
        uint16_t number = 0;
        uint32_t start = 0, length = 0;
        bool operator==(const Partition& o) const {
            return number == o.number && start == o.start && length == o.length;
        }
    };
    struct Sequence {
        std::string volumeId, logicalVolumeId;
        unsigned revision = 0;
        std::vector<Partition> partitions;
        std::vector<uint16_t> maps; // the partition number of each map
        Address fileSet;
    };

    const std::string& m_image;
    std::pair<uint32_t, uint32_t> m_mainVds, m_reserveVds; // sector, length in bytes
    Sequence m_vds;
    std::set<Address> m_folders; // against a tree that loops back into itself

    static bool Fail(const std::string& what, std::string& why) {
        why = what;
        return false;
    }
    static uint64_t Le(const std::string& s, size_t at, int bytes) {
        uint64_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(s[at + i]);
        return v;
    }
    static void LongAd(const std::string& s, size_t at, Address& a) {
        a.length = static_cast<uint32_t>(Le(s, at, 4));
        a.block = static_cast<uint32_t>(Le(s, at + 4, 4));
        a.partition = static_cast<uint16_t>(Le(s, at + 8, 2));
    }

    // A descriptor tag at `at` of `s`: its identifier, checksum and location, and a CRC over at
    // least the `size` bytes the descriptor takes.
    static bool Tag(const std::string& s, size_t at, unsigned id, uint32_t location, size_t size,
                    const std::string& what, std::string& why) {
        const std::string where = what + " (block " + std::to_string(location) + ")";
        if (at + 16 > s.size())
            return Fail(where + " is cut short", why);
        unsigned sum = 0;
        for (size_t i = 0; i < 16; ++i)
            sum += i == 4 ? 0 : static_cast<unsigned char>(s[at + i]);
        if (sum % 256 != static_cast<unsigned char>(s[at + 4]))
            return Fail(where + ": the tag checksum does not match", why);
        if (Le(s, at, 2) != id)
            return Fail(where + ": a tag of identifier " + std::to_string(Le(s, at, 2)) + ", not " + std::to_string(id),
                        why);
        if (Le(s, at + 2, 2) != 2 && Le(s, at + 2, 2) != 3)
            return Fail(where + ": descriptor version " + std::to_string(Le(s, at + 2, 2)), why);
        if (Le(s, at + 12, 4) != location)
            return Fail(where + ": the tag says block " + std::to_string(Le(s, at + 12, 4)), why);
        const size_t crcLength = Le(s, at + 10, 2);
        if (at + 16 + crcLength > s.size() || 16 + crcLength < size)
            return Fail(where + ": the CRC length does not cover the descriptor", why);
        if (UdfCrc(s, at + 16, crcLength) != Le(s, at + 8, 2))
            return Fail(where + ": the descriptor CRC does not match", why);
        return true;
    }

    // A sector of the image as it lies, by absolute number.
    bool Sector(uint64_t sector, const std::string& what, std::string& out, std::string& why) const {
        if ((sector + 1) * kSector > m_image.size())
            return Fail(what + " lies beyond the image (sector " + std::to_string(sector) + ")", why);
        out = m_image.substr(sector * kSector, kSector);
        return true;
    }

    // `count` logical blocks of a partition from `a.block` on.
    bool Block(const Address& a, uint64_t count, const std::string& what, std::string& out, std::string& why) const {
        if (a.partition >= m_vds.maps.size())
            return Fail(what + " names partition reference " + std::to_string(a.partition) + ", not in the map", why);
        const Partition* p = nullptr;
        for (const Partition& q : m_vds.partitions)
            p = q.number == m_vds.maps[a.partition] ? &q : p;
        if (!p)
            return Fail(what + " lies in a partition no descriptor describes", why);
        if (a.block + count > p->length)
            return Fail(what + " lies beyond its partition (block " + std::to_string(a.block) + ")", why);
        const uint64_t sector = static_cast<uint64_t>(p->start) + a.block;
        if ((sector + count) * kSector > m_image.size())
            return Fail(what + " lies beyond the image (block " + std::to_string(a.block) + ")", why);
        out = m_image.substr(sector * kSector, count * kSector);
        return true;
    }

    // OSTA compressed Unicode: 8 (one byte a character) or 16 (UTF-16 big-endian), as UTF-8.
    static bool Cs0(const std::string& b, std::string& out, std::string& why) {
        out.clear();
        if (b.empty())
            return true;
        std::u16string units;
        const unsigned id = static_cast<unsigned char>(b[0]);
        if (id == 8) {
            for (size_t i = 1; i < b.size(); ++i)
                units += static_cast<char16_t>(static_cast<unsigned char>(b[i]));
        } else if (id == 16 && b.size() % 2 == 1) {
            for (size_t i = 1; i < b.size(); i += 2)
                units +=
                    static_cast<char16_t>(static_cast<unsigned char>(b[i]) << 8 | static_cast<unsigned char>(b[i + 1]));
        } else {
            return Fail("compression " + std::to_string(id) + " over " + std::to_string(b.size()) + " bytes", why);
        }
        for (size_t i = 0; i < units.size(); ++i) {
            const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF, low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
            if (low || (high && (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)))
                return Fail("an unpaired surrogate", why);
            i += high;
        }
        out = vk::Utf16ToUtf8(units);
        return true;
    }
    // A fixed field whose last byte says how many of its bytes are used.
    static bool Dstring(const std::string& s, size_t at, size_t field, std::string& out, std::string& why) {
        const size_t used = static_cast<unsigned char>(s[at + field - 1]);
        if (used > field - 1)
            return Fail("a string longer than its field", why);
        return Cs0(s.substr(at, used), out, why);
    }

    // The standard identifiers from sector 16 on: after the ISO 9660 descriptors, BEA01, NSR02
    // or NSR03, TEA01 tell a drive there is UDF to read.
    bool Recognition(UdfVolume& volume, std::string& why) const {
        std::string ids;
        for (size_t s = 16; (s + 1) * kSector <= m_image.size(); ++s) {
            const std::string id = m_image.substr(s * kSector + 1, 5);
            if (id != "CD001" && id != "BEA01" && id != "NSR02" && id != "NSR03" && id != "TEA01" && id != "BOOT2")
                break;
            ids += id + " ";
            if (volume.nsr.empty() && (id == "NSR02" || id == "NSR03"))
                volume.nsr = id;
        }
        const size_t bea = ids.find("BEA01"), nsr = ids.find("NSR0", bea), tea = ids.find("TEA01", nsr);
        if (bea == std::string::npos || nsr == std::string::npos || tea == std::string::npos)
            return Fail("no BEA01, NSR0x, TEA01 recognition sequence (found: " + ids + ")", why);
        return true;
    }

    // The anchor at 256 must be sound; one at N - 256 or N (the last sector), when there is
    // one, must be sound and point to the same sequences.
    bool Anchors(UdfVolume& volume, std::string& why) {
        const uint64_t last = m_image.size() / kSector - 1;
        std::vector<uint64_t> places{256};
        if (last >= 512 + 1)
            places.push_back(last - 256);
        if (last > 256)
            places.push_back(last);
        for (uint64_t s : places) {
            std::string a;
            if (!Sector(s, "the anchor volume descriptor pointer", a, why))
                return false;
            if (s != 256 && Le(a, 0, 2) != 2)
                continue; // none here
            if (!Tag(a, 0, 2, static_cast<uint32_t>(s), 512, "the anchor volume descriptor pointer", why))
                return false;
            const auto main = std::pair(static_cast<uint32_t>(Le(a, 20, 4)), static_cast<uint32_t>(Le(a, 16, 4)));
            const auto reserve = std::pair(static_cast<uint32_t>(Le(a, 28, 4)), static_cast<uint32_t>(Le(a, 24, 4)));
            if (s == 256) {
                m_mainVds = main;
                m_reserveVds = reserve;
            } else if (main != m_mainVds || reserve != m_reserveVds) {
                return Fail("the anchor at sector " + std::to_string(s) + " points elsewhere than the one at 256", why);
            }
            volume.anchors.push_back(static_cast<uint32_t>(s));
        }
        if (m_mainVds.second < 16 * kSector || m_reserveVds.second < 16 * kSector)
            return Fail("a volume descriptor sequence extent shorter than 16 sectors", why);
        if (m_mainVds.first == m_reserveVds.first)
            return Fail("the main and reserve volume descriptor sequences are one", why);
        return true;
    }

    // A volume descriptor sequence up to its terminating descriptor.
    bool ReadSequence(std::pair<uint32_t, uint32_t> extent, const std::string& which, Sequence& out,
                      std::string& why) const {
        bool primary = false, logical = false;
        for (uint32_t i = 0; i < extent.second / kSector; ++i) {
            const uint32_t s = extent.first + i;
            std::string d;
            if (!Sector(s, "the " + which + " volume descriptor sequence", d, why))
                return false;
            const unsigned id = static_cast<unsigned>(Le(d, 0, 2));
            if (id == 0 && d == std::string(kSector, '\0'))
                break; // an unrecorded sector ends the sequence before its terminator
            static const char* const kNames[] = {"?",
                                                 "the primary volume descriptor",
                                                 "?",
                                                 "?",
                                                 "the implementation use volume descriptor",
                                                 "the partition descriptor",
                                                 "the logical volume descriptor",
                                                 "the unallocated space descriptor",
                                                 "the terminating descriptor"};
            if (id < 1 || id > 8 || id == 2 || id == 3)
                return Fail("the " + which + " volume descriptor sequence holds a descriptor of tag " +
                                std::to_string(id) + " at sector " + std::to_string(s),
                            why);
            const std::string what = std::string(kNames[id]) + " of the " + which + " sequence";
            size_t size = 512;
            if (id == 6)
                size = 440 + Le(d, 264, 4);
            else if (id == 7)
                size = 24 + 8 * Le(d, 20, 4);
            if (size > kSector)
                return Fail(what + " does not fit its sector", why);
            if (!Tag(d, 0, id, s, size, what, why))
                return false;
            if (id == 1) {
                primary = true;
                if (!Dstring(d, 24, 32, out.volumeId, why))
                    return Fail("the volume identifier: " + why, why);
            } else if (id == 5) {
                if (d.compare(25, 6, "+NSR02") && d.compare(25, 6, "+NSR03"))
                    return Fail(what + " holds " + d.substr(25, 6) + ", not +NSR02 or +NSR03", why);
                out.partitions.push_back({static_cast<uint16_t>(Le(d, 22, 2)), static_cast<uint32_t>(Le(d, 188, 4)),
                                          static_cast<uint32_t>(Le(d, 192, 4))});
                if ((uint64_t{out.partitions.back().start} + out.partitions.back().length) * kSector > m_image.size())
                    return Fail(what + ": the partition runs past the end of the image", why);
            } else if (id == 6) {
                logical = true;
                if (!Dstring(d, 84, 128, out.logicalVolumeId, why))
                    return Fail("the logical volume identifier: " + why, why);
                if (Le(d, 212, 4) != kSector)
                    return Fail(what + ": logical blocks of " + std::to_string(Le(d, 212, 4)) + " bytes", why);
                if (d.compare(217, 19, "*OSTA UDF Compliant"))
                    return Fail(what + ": the domain is not *OSTA UDF Compliant", why);
                out.revision = static_cast<unsigned>(Le(d, 216 + 24, 2));
                LongAd(d, 248, out.fileSet);
                for (size_t at = 440, n = 0; n < Le(d, 268, 4); ++n) {
                    if (at + 6 > size || d[at] != 1 || d[at + 1] != 6)
                        return Fail(what + ": a partition map not of type 1, which this reader does not follow", why);
                    out.maps.push_back(static_cast<uint16_t>(Le(d, at + 4, 2)));
                    at += 6;
                }
            } else if (id == 8) {
                if (!primary || !logical || out.partitions.empty())
                    return Fail(
                        "the " + which +
                            " volume descriptor sequence lacks a primary, partition or logical volume descriptor",
                        why);
                return true;
            }
        }
        return Fail("the " + which + " volume descriptor sequence has no terminating descriptor", why);
    }

    // One file or folder: its ICB at `icb`, listed under `path` (the root has ""), its folder's
    // ICB `parent`.
    bool Node(const Address& icb, const Address& parent, const std::string& path, int depth, UdfEntry& entry,
              std::vector<UdfEntry>& entries, std::string& why) {
        const std::string what = "the file entry of " + (path.empty() ? std::string("/") : path);
        std::string fe;
        if (!Block(icb, 1, what, fe, why))
            return false;
        const unsigned id = static_cast<unsigned>(Le(fe, 0, 2));
        const size_t header = id == 266 ? 216 : 176; // an extended file entry (UDF 2.00 on) is longer
        const size_t eaLength = Le(fe, header - 8, 4), adLength = Le(fe, header - 4, 4);
        if (eaLength > kSector || adLength > kSector || header + eaLength + adLength > kSector)
            return Fail(what + ": its extended attributes and allocation descriptors overrun the block", why);
        if (!Tag(fe, 0, id == 266 ? 266 : 261, icb.block, header + eaLength + adLength, what, why))
            return false;
        if (Le(fe, 16 + 4, 2) != 4)
            return Fail(what + ": ICB strategy " + std::to_string(Le(fe, 16 + 4, 2)) + ", not 4", why);
        const unsigned type = static_cast<unsigned char>(fe[16 + 11]);
        if (type != 4 && type != 5)
            return Fail(what + ": file type " + std::to_string(type) + ", neither a folder (4) nor a file (5)", why);
        entry.folder = type == 4;
        entry.size = Le(fe, 56, 8);
        if (entry.size > m_image.size())
            return Fail(what + ": longer than the image", why);

        // The data, with the block each byte came from (the location its FIDs' tags name).
        std::string data;
        std::vector<std::pair<size_t, uint32_t>> blocks; // offset in data, first block there
        const unsigned adType = Le(fe, 16 + 18, 2) & 7;
        const size_t ads = header + eaLength;
        if (adType == 3) {
            if (adLength != entry.size)
                return Fail(what + ": embedded data of " + std::to_string(adLength) + " bytes", why);
            data = fe.substr(ads, adLength);
            blocks.push_back({0, icb.block});
        } else if (adType == 0 || adType == 1) {
            const size_t step = adType == 0 ? 8 : 16;
            if (adLength % step)
                return Fail(what + ": allocation descriptors of a broken length", why);
            for (size_t at = ads; at < ads + adLength && data.size() < entry.size; at += step) {
                const uint32_t raw = static_cast<uint32_t>(Le(fe, at, 4)), length = raw & 0x3FFFFFFF;
                if (length == 0)
                    break;
                Address extent{static_cast<uint32_t>(Le(fe, at + 4, 4)), icb.partition, length};
                if (adType == 1)
                    LongAd(fe, at, extent), extent.length = length;
                if (raw >> 30 == 3)
                    return Fail(what + ": continued allocation descriptors, which this reader does not follow", why);
                if (raw >> 30) { // allocated or not, but unrecorded: reads as zeros
                    data.append(std::min<uint64_t>(length, entry.size - data.size()), '\0');
                    continue;
                }
                std::string bytes;
                if (!Block(extent, (length + kSector - 1) / kSector, what + "'s data", bytes, why))
                    return false;
                blocks.push_back({data.size(), extent.block});
                data += bytes.substr(0, length);
            }
            if (data.size() < entry.size)
                return Fail(what + ": extents shorter than its length", why);
            data.resize(entry.size);
        } else {
            return Fail(what + ": allocation descriptors of type " + std::to_string(adType), why);
        }
        if (!entry.folder) {
            entry.bytes = std::move(data);
            return true;
        }

        if (depth > 1000 || !m_folders.insert(icb).second)
            return Fail(what + ": a folder met twice on the way down", why);
        std::set<std::string> names;
        bool first = true;
        for (size_t at = 0; at < data.size();) {
            if (at + 38 > data.size())
                return Fail(what + ": a file identifier cut short", why);
            const unsigned flags = static_cast<unsigned char>(data[at + 18]);
            const size_t nameLength = static_cast<unsigned char>(data[at + 19]), iuLength = Le(data, at + 36, 2);
            const size_t size = 38 + iuLength + nameLength, padded = (size + 3) / 4 * 4;
            if (at + size > data.size())
                return Fail(what + ": a file identifier runs past the folder", why);
            uint32_t location = 0;
            for (const auto& [offset, block] : blocks)
                if (offset <= at)
                    location = static_cast<uint32_t>(block + (at - offset) / kSector);
            if (!Tag(data, at, 257, location, size, "a file identifier in " + path + "/", why))
                return false;
            UdfEntry child;
            Address target;
            LongAd(data, at + 20, target);
            const std::string raw = data.substr(at + 38 + iuLength, nameLength);
            at += padded;
            if (flags & 8) { // the parent: first, and pointing to the folder above
                if (!first || !(target == parent))
                    return Fail(what + ": its parent entry is not first or points elsewhere", why);
                first = false;
                continue;
            }
            if (first)
                return Fail(what + ": no parent entry first", why);
            if (flags & 4) // deleted
                continue;
            std::string name;
            if (!Cs0(raw, name, why))
                return Fail("a name in " + path + "/: " + why, why);
            if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
                return Fail("an empty name or one with \"/\" or NUL in " + path + "/", why);
            if (!names.insert(name).second)
                return Fail("the name " + path + "/" + name + " twice", why);
            child.path = path + "/" + name;
            child.hidden = flags & 1;
            const size_t index = entries.size();
            entries.push_back({});
            if (!Node(target, icb, child.path, depth + 1, child, entries, why))
                return false;
            if (child.folder != ((flags & 2) != 0))
                return Fail(child.path + ": its identifier and its file entry disagree on being a folder", why);
            entries[index] = std::move(child);
        }
        if (first)
            return Fail(what + ": no parent entry", why);
        return true;
    }
};

// Every file and folder of the UDF tree, folders before what they hold; false with why on
// anything a reader would stumble over.
inline bool ReadUdfTree(const std::string& image, std::vector<UdfEntry>& entries, UdfVolume& volume,
                        std::string& error) {
    return UdfReader(image).Read(entries, volume, error);
}
inline bool ReadUdfTree(const std::string& image, std::vector<UdfEntry>& entries, std::string& error) {
    UdfVolume volume;
    return ReadUdfTree(image, entries, volume, error);
}
