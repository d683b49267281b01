// The tests' UDF reader (udf_reader.h) on images that Debian's own tools made: empty volumes
// from mkudffs in each way it lays out a folder, a bridge image from genisoimage of a small
// tree, and damaged copies of it, which must be reported and never read as sound.
#include "udf_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// mkudffs lies in /usr/sbin, outside a plain user's PATH.
int Shell(const std::string& command) { return std::system(("PATH=\"$PATH:/usr/sbin:/sbin\"; " + command).c_str()); }
bool Have(const std::string& tool) { return Shell("command -v " + tool + " >/dev/null 2>&1") == 0; }

uint64_t Le(const std::string& s, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}
void PutLe(std::string& s, size_t at, int bytes, uint64_t v) {
    for (int i = 0; i < bytes; ++i, v >>= 8)
        s[at + i] = static_cast<char>(v & 0xFF);
}

// Where descriptors of one tag identifier start (on `align`-byte steps), found by their tag
// checksum, as a damaged copy is made at a chosen place.
std::vector<size_t> Tags(const std::string& image, unsigned id, size_t align) {
    std::vector<size_t> found;
    for (size_t at = 0; at + 16 <= image.size(); at += align) {
        unsigned sum = 0;
        for (size_t i = 0; i < 16; ++i)
            sum += i == 4 ? 0 : static_cast<unsigned char>(image[at + i]);
        if (Le(image, at, 2) == id && sum % 256 == static_cast<unsigned char>(image[at + 4]) && sum)
            found.push_back(at);
    }
    return found;
}

// A descriptor changed on purpose made sound again: its CRC and checksum recomputed, so that
// only the change itself is left for the reader to find.
void Checksum(std::string& image, size_t at) {
    unsigned sum = 0;
    for (size_t i = 0; i < 16; ++i)
        sum += i == 4 ? 0 : static_cast<unsigned char>(image[at + i]);
    image[at + 4] = static_cast<char>(sum);
}
void Retag(std::string& image, size_t at) {
    PutLe(image, at + 8, 2, UdfCrc(image, at + 16, Le(image, at + 10, 2)));
    Checksum(image, at);
}

// The file identifier whose raw name (compression byte first) is `name`.
size_t Fid(const std::string& image, const std::string& name) {
    for (size_t at : Tags(image, 257, 4))
        if (image.compare(at + 38 + Le(image, at + 36, 2), image[at + 19] & 0xFF, name) == 0 &&
            static_cast<size_t>(image[at + 19] & 0xFF) == name.size())
            return at;
    ADD_FAILURE() << "no file identifier named " << name;
    return 0;
}

std::string Bytes(size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    return s;
}

class UdfImages : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vk-udf-reader-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // A small tree: Latin-1 names (compression 8) and Greek and Japanese ones (16), a name of
    // 100 characters, a zero-byte file, a file over several blocks, a folder four deep, and one
    // whose identifiers fill more than a block; imaged by genisoimage with UDF and Joliet.
    std::string Bridge() {
        const std::string src = dir + "/src";
        Put(src, "autorun.inf", "[autorun]\r\nOPEN=autorun.exe\r\n");
        Put(src, "café.html", "<html>café</html>");
        Put(src, "日本", "Japanese");
        Put(src, "Ελληνικά.txt", "Greek");
        Put(src, std::string(96, 'L') + ".txt", "long");
        Put(src, "empty", "");
        Put(src, "docs/big.bin", Bytes(5000, 1));
        Put(src, "docs/a/b/c/deep.txt", "deep");
        for (int i = 10; i < 40; ++i)
            Put(src, "many/a file with a fairly long name, number " + std::to_string(i) + ".txt", Bytes(i, i));
        const std::string image = dir + "/bridge.iso";
        EXPECT_EQ(Shell("genisoimage -quiet -udf -J -joliet-long -input-charset utf-8 -V BRIDGE -o '" + image + "' '" +
                        src + "'"),
                  0);
        return ReadAll(image);
    }
    void Put(const std::string& root, const std::string& path, const std::string& bytes) {
        for (size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1))
            expected["/" + path.substr(0, slash)] = {true, ""};
        expected["/" + path] = {false, bytes};
        ASSERT_EQ(Shell("mkdir -p \"$(dirname '" + root + "/" + path + "')\""), 0);
        std::ofstream(root + "/" + path, std::ios::binary) << bytes;
    }

    std::string dir;
    std::map<std::string, std::pair<bool, std::string>> expected; // path: folder, bytes
};

TEST(UdfCrc, KnownValues) {
    const struct {
        std::string bytes;
        uint16_t crc;
    } cases[] = {
        {"", 0},
        {"\x70\x6A\x77", 0x3299}, // the worked example of the ECMA-167 tag CRC
        {"123456789", 0x31C3},    // the usual check value of this CRC
        {std::string(1, '\0'), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UdfCrc(c.bytes, 0, c.bytes.size()), c.crc) << c.bytes;
}

// mkudffs can only make empty volumes here (adding files would need the kernel's UDF driver),
// but it lays the root folder out in each way a writer may: embedded in its file entry, by
// short or long allocation descriptors, in a file entry or an extended one (2.01).
TEST_F(UdfImages, EmptyVolumesOfMkudffs) {
    if (!Have("mkudffs"))
        GTEST_SKIP() << "mkudffs (udftools) is missing: scripts/setup.sh installs it";
    const struct {
        std::string options;
        unsigned revision;
        const char* nsr;
        const char* error; // a part of the message, or nullptr when the volume reads
    } cases[] = {
        {"--media-type=hd --udfrev=1.02 --ad=inicb", 0x0102, "NSR02", nullptr},
        {"--media-type=hd --udfrev=1.02 --ad=short", 0x0102, "NSR02", nullptr},
        {"--media-type=dvd --udfrev=1.02 --ad=long", 0x0102, "NSR02", nullptr},
        {"--media-type=hd --udfrev=1.50 --ad=short", 0x0150, "NSR02", nullptr},
        {"--media-type=hd --udfrev=2.01 --ad=inicb", 0x0201, "NSR03", nullptr},
        {"--media-type=hd --udfrev=2.01 --ad=long", 0x0201, "NSR03", nullptr},
        // A virtual allocation table, for write-once discs, is not what a pressed disc holds.
        {"--media-type=cdr --udfrev=2.01", 0x0201, "NSR03", "partition map"},
    };
    for (const auto& c : cases) {
        const std::string image = dir + "/empty.udf";
        std::remove(image.c_str());
        ASSERT_EQ(Shell("mkudffs --utf8 --new-file " + c.options + " --blocksize=2048 --label=Empty'Ü' '" + image +
                        "' 3000 >/dev/null"),
                  0)
            << c.options;
        std::vector<UdfEntry> entries;
        UdfVolume volume;
        std::string error;
        const bool read = ReadUdfTree(ReadAll(image), entries, volume, error);
        if (c.error) {
            EXPECT_FALSE(read) << c.options;
            EXPECT_NE(error.find(c.error), std::string::npos) << c.options << ": " << error;
            continue;
        }
        ASSERT_TRUE(read) << c.options << ": " << error;
        EXPECT_TRUE(entries.empty()) << c.options;
        EXPECT_EQ(volume.logicalVolumeId, "EmptyÜ") << c.options;
        EXPECT_EQ(volume.volumeId, "EmptyÜ") << c.options;
        EXPECT_EQ(volume.revision, c.revision) << c.options;
        EXPECT_EQ(volume.nsr, c.nsr) << c.options;
        EXPECT_EQ(volume.anchors, (std::vector<uint32_t>{256, 2999})) << c.options;
    }
}

TEST_F(UdfImages, BridgeImageOfGenisoimage) {
    if (!Have("genisoimage"))
        GTEST_SKIP() << "genisoimage is missing: scripts/setup.sh installs it";
    const std::string image = Bridge();
    std::vector<UdfEntry> entries;
    UdfVolume volume;
    std::string error;
    ASSERT_TRUE(ReadUdfTree(image, entries, volume, error)) << error;
    std::map<std::string, std::pair<bool, std::string>> read;
    for (const UdfEntry& e : entries) {
        EXPECT_TRUE(read.emplace(e.path, std::pair(e.folder, e.bytes)).second) << e.path;
        EXPECT_FALSE(e.hidden) << e.path;
        if (!e.folder) {
            EXPECT_EQ(e.size, e.bytes.size()) << e.path;
        }
    }
    EXPECT_EQ(read, expected);
    // Folders come before what they hold.
    for (size_t i = 0; i < entries.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(entries[j].path.rfind(entries[i].path + "/", 0), 0u) << entries[j].path;
    EXPECT_EQ(volume.logicalVolumeId, "BRIDGE");
    EXPECT_EQ(volume.volumeId, "BRIDGE");
    EXPECT_EQ(volume.revision, 0x0102u);
    EXPECT_EQ(volume.nsr, "NSR02");
    EXPECT_EQ(volume.anchors.front(), 256u);
    EXPECT_EQ(volume.anchors.back(), image.size() / 2048 - 1);
}

// Each damaged copy of the bridge image either reads with the change seen (flags the reader
// honours) or is refused with a message saying what is wrong; none crashes or reads as sound.
TEST_F(UdfImages, DamagedCopiesAreReported) {
    if (!Have("genisoimage"))
        GTEST_SKIP() << "genisoimage is missing: scripts/setup.sh installs it";
    const std::string sound = Bridge();
    const std::string japanese = std::string("\x10\x65\xE5\x67\x2C", 5); // "日本" in compression 16
    const auto fe = [&](const std::string& image, uint64_t size) {
        for (size_t at : Tags(image, 261, 2048))
            if (Le(image, at + 56, 8) == size)
                return at;
        return size_t{0};
    };
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
        const char* error; // a part of the message, or nullptr when the copy reads
        std::function<void(const std::vector<UdfEntry>&)> check;
    } cases[] = {
        {"a CRC byte of the anchor flipped (so its checksum fails too)", [](std::string& s) { s[256 * 2048 + 8] ^= 1; },
         "checksum", nullptr},
        {"the anchor's checksum right but its CRC wrong",
         [](std::string& s) { s[256 * 2048 + 8] ^= 1, Checksum(s, 256 * 2048); }, "descriptor CRC", nullptr},
        {"a byte of the logical volume descriptor changed",
         [](std::string& s) { s[Tags(s, 6, 2048).front() + 100] ^= 0x20; }, "descriptor CRC", nullptr},
        {"a byte of a name changed", [&](std::string& s) { s[Fid(s, japanese) + 40] ^= 1; }, "descriptor CRC", nullptr},
        {"a byte of a file entry changed", [&](std::string& s) { s[fe(s, 5000) + 60] ^= 1; }, "descriptor CRC",
         nullptr},
        {"the image cut inside its partition", [](std::string& s) { s.resize(280 * 2048); },
         "past the end of the image", nullptr},
        {"the image cut inside its first anchor", [](std::string& s) { s.resize(200 * 2048); }, "anchor", nullptr},
        {"the image not whole sectors", [](std::string& s) { s.pop_back(); }, "whole number of sectors", nullptr},
        {"no NSR02 in the recognition sequence", [](std::string& s) { s.replace(s.find("NSR02"), 5, "NSR99"); },
         "recognition sequence", nullptr},
        {"the last anchor pointing elsewhere",
         [](std::string& s) {
             const size_t last = Tags(s, 2, 2048).back();
             PutLe(s, last + 20, 4, Le(s, last + 20, 4) + 1);
             Retag(s, last);
         },
         "points elsewhere", nullptr},
        {"the main sequence without its terminating descriptor",
         [](std::string& s) { s.replace(Tags(s, 8, 2048).front(), 2048, 2048, '\0'); }, "no terminating descriptor",
         nullptr},
        {"the reserve sequence with another label",
         [](std::string& s) {
             const size_t reserve = Tags(s, 6, 2048).back();
             s[reserve + 85] = 'X';
             Retag(s, reserve);
         },
         "reserve volume descriptor sequence differs", nullptr},
        {"a folder leading back to the root",
         [&](std::string& s) {
             const size_t fsd = Tags(s, 256, 2048).front(), docs = Fid(s, "\x08"
                                                                          "docs");
             PutLe(s, docs + 24, 4, Le(s, fsd + 400 + 4, 4));
             Retag(s, docs);
         },
         "met twice", nullptr},
        {"a file's extent beyond its partition",
         [&](std::string& s) {
             const size_t at = fe(s, 5000);
             PutLe(s, at + 176 + Le(s, at + 168, 4) + 4, 4, 0x7FFFFFF0);
             Retag(s, at);
         },
         "beyond its partition", nullptr},
        {"a file entry at another block than its tag says",
         [&](std::string& s) {
             const size_t at = fe(s, 5000);
             PutLe(s, at + 12, 4, Le(s, at + 12, 4) + 1);
             Retag(s, at);
         },
         "the tag says block", nullptr},
        {"a name with a lone surrogate",
         [&](std::string& s) {
             const size_t at = Fid(s, japanese);
             s[at + 41] = '\xD8';
             Retag(s, at);
         },
         "unpaired surrogate", nullptr},
        {"a file identifier calling a file a folder",
         [&](std::string& s) {
             const size_t at = Fid(s, "\x08"
                                      "empty");
             s[at + 18] |= 2;
             Retag(s, at);
         },
         "disagree on being a folder", nullptr},
        {"a name in compression 8 where it was 16: read byte by byte",
         [&](std::string& s) {
             const size_t at = Fid(s, japanese);
             s[at + 38] = 8;
             Retag(s, at);
         },
         nullptr,
         [](const std::vector<UdfEntry>& entries) {
             bool found = false;
             for (const UdfEntry& e : entries)
                 found |= e.path == "/e\xC3\xA5g,";
             EXPECT_TRUE(found) << "no /eåg,";
         }},
        {"a file marked hidden: still listed, as hidden",
         [&](std::string& s) {
             const size_t at = Fid(s, "\x08"
                                      "empty");
             s[at + 18] |= 1;
             Retag(s, at);
         },
         nullptr,
         [](const std::vector<UdfEntry>& entries) {
             for (const UdfEntry& e : entries)
                 EXPECT_EQ(e.hidden, e.path == "/empty") << e.path;
         }},
        {"a file marked deleted: gone",
         [&](std::string& s) {
             const size_t at = Fid(s, "\x08"
                                      "empty");
             s[at + 18] |= 4;
             Retag(s, at);
         },
         nullptr,
         [](const std::vector<UdfEntry>& entries) {
             for (const UdfEntry& e : entries)
                 EXPECT_NE(e.path, "/empty");
         }},
    };
    for (const auto& c : cases) {
        std::string image = sound;
        c.damage(image);
        std::vector<UdfEntry> entries;
        std::string error;
        const bool read = ReadUdfTree(image, entries, error);
        if (c.error) {
            EXPECT_FALSE(read) << c.what;
            EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
        } else {
            EXPECT_TRUE(read) << c.what << ": " << error;
            c.check(entries);
        }
    }
}

} // namespace
