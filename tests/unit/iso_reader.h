// A small reader of ISO 9660 images for the tests: the descriptors, the path tables and the
// directory trees read straight from the bytes, with every bound checked, so a test sees
// what a disc drive would read rather than what the writer meant.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/unicode_text.h"

struct IsoRecord {
    std::string id; // raw identifier bytes (UCS-2 big-endian in the Joliet tree)
    uint32_t sector = 0, size = 0;
    bool folder = false;
    unsigned char date[7] = {};
};

class IsoReader {
public:
    explicit IsoReader(std::string image) : m_image(std::move(image)) {}

    // The descriptor of the tree: 1 primary, 2 Joliet. Empty when absent.
    std::string Descriptor(int type) const {
        for (size_t s = 16; (s + 1) * 2048 <= m_image.size(); ++s) {
            const std::string d = m_image.substr(s * 2048, 2048);
            if (d.compare(1, 6, "CD001\1") != 0 || static_cast<unsigned char>(d[0]) == 255)
                break;
            if (d[0] == type)
                return d;
        }
        return {};
    }

    static uint32_t Le(const std::string& s, size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(s[at + i]);
        return v;
    }
    static uint32_t Be(const std::string& s, size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = v << 8 | static_cast<unsigned char>(s[at + i]);
        return v;
    }

    // The records of a directory extent, "." and ".." included; false on a malformed record.
    bool Records(uint32_t sector, uint32_t size, std::vector<IsoRecord>& out, std::string& why) const {
        if (size % 2048 || (static_cast<uint64_t>(sector) * 2048 + size) > m_image.size())
            return Fail("directory extent outside the image", why);
        for (size_t at = 0; at < size;) {
            const size_t base = static_cast<size_t>(sector) * 2048 + at;
            const unsigned len = static_cast<unsigned char>(m_image[base]);
            if (len == 0) { // the rest of this sector is padding
                at = (at / 2048 + 1) * 2048;
                continue;
            }
            if (len < 34 || at % 2048 + len > 2048)
                return Fail("record crosses a sector or is too short", why);
            const std::string r = m_image.substr(base, len);
            IsoRecord rec;
            rec.sector = Le(r, 2, 4);
            rec.size = Le(r, 10, 4);
            if (Be(r, 6, 4) != rec.sector || Be(r, 14, 4) != rec.size)
                return Fail("both-endian fields disagree", why);
            rec.folder = r[25] & 2;
            const unsigned idLen = static_cast<unsigned char>(r[32]);
            if (33 + idLen > len || len != 33 + idLen + (idLen % 2 == 0))
                return Fail("identifier length does not match the record", why);
            rec.id = r.substr(33, idLen);
            for (int i = 0; i < 7; ++i)
                rec.date[i] = static_cast<unsigned char>(r[18 + i]);
            if (static_cast<uint64_t>(rec.sector) * 2048 + rec.size > m_image.size() && rec.size)
                return Fail("extent beyond the image", why);
            out.push_back(rec);
            at += len;
        }
        return true;
    }

    // Every path of a tree ("/"-joined identifiers, Joliet ones as UTF-8) with its record;
    // folders too.
    bool Walk(int type, std::map<std::string, IsoRecord>& out, std::string& why) const {
        const std::string d = Descriptor(type);
        if (d.empty())
            return Fail("no descriptor", why);
        IsoRecord root;
        root.sector = Le(d, 156 + 2, 4);
        root.size = Le(d, 156 + 10, 4);
        return WalkFolder(root, "", type == 2, 1, out, why);
    }

    // The path table's records in order: identifier, extent, parent number.
    struct PathEntry {
        std::string id;
        uint32_t sector;
        unsigned parent;
    };
    bool PathTable(int type, bool big, std::vector<PathEntry>& out, std::string& why) const {
        const std::string d = Descriptor(type);
        const uint32_t size = Le(d, 132, 4);
        const uint32_t sector = big ? Be(d, 148, 4) : Le(d, 140, 4);
        if (static_cast<uint64_t>(sector) * 2048 + size > m_image.size())
            return Fail("path table outside the image", why);
        const std::string t = m_image.substr(static_cast<size_t>(sector) * 2048, size);
        for (size_t at = 0; at < t.size();) {
            const unsigned len = static_cast<unsigned char>(t[at]);
            if (len == 0 || at + 8 + len > t.size())
                return Fail("path table record out of bounds", why);
            out.push_back({t.substr(at + 8, len), big ? Be(t, at + 2, 4) : Le(t, at + 2, 4),
                           big ? Be(t, at + 6, 2) : Le(t, at + 6, 2)});
            at += 8 + len + len % 2;
        }
        return true;
    }

    std::string Data(const IsoRecord& r) const { return m_image.substr(static_cast<size_t>(r.sector) * 2048, r.size); }

    static std::string Ucs2ToUtf8(const std::string& be);

private:
    static bool Fail(const char* what, std::string& why) {
        why = what;
        return false;
    }

    bool WalkFolder(const IsoRecord& folder, const std::string& path, bool joliet, int depth,
                    std::map<std::string, IsoRecord>& out, std::string& why) const {
        if (depth > 64)
            return Fail("folders nest too deep", why);
        std::vector<IsoRecord> records;
        if (!Records(folder.sector, folder.size, records, why))
            return false;
        if (records.size() < 2 || records[0].id != std::string(1, '\0') || records[1].id != "\1")
            return Fail("a directory without its \".\" and \"..\" records", why);
        if (records[0].sector != folder.sector)
            return Fail("\".\" names another extent", why);
        for (size_t i = 2; i < records.size(); ++i) {
            const std::string child = path + "/" + (joliet ? Ucs2ToUtf8(records[i].id) : records[i].id);
            if (!out.emplace(child, records[i]).second)
                return Fail("a name twice in one folder", why);
            if (records[i].folder && !WalkFolder(records[i], child, joliet, depth + 1, out, why))
                return false;
        }
        return true;
    }

    std::string m_image;
};

inline std::string IsoReader::Ucs2ToUtf8(const std::string& be) {
    std::u16string units;
    for (size_t i = 0; i + 1 < be.size(); i += 2)
        units += static_cast<char16_t>(Be(be, i, 2));
    return vk::Utf16ToUtf8(units);
}
