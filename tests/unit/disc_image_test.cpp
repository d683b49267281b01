#include "disc/disc_image.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/ascii_case.h"
#include "core/unicode_text.h"
#include "iso_reader.h"
#include "memory_disc.h"

namespace {

// Every name of a tree as a reader sees it (Joliet as UTF-8), with its record.
std::map<std::string, IsoRecord> Tree(const MemoryDisc& disc, int type) {
    std::map<std::string, IsoRecord> out;
    std::string why;
    EXPECT_TRUE(IsoReader(disc.image).Walk(type, out, why)) << why;
    return out;
}

std::vector<std::string> RootNames(const MemoryDisc& disc, int type) {
    std::vector<IsoRecord> records;
    std::string why;
    const std::string d = IsoReader(disc.image).Descriptor(type);
    if (d.empty())
        return {};
    EXPECT_TRUE(IsoReader(disc.image).Records(IsoReader::Le(d, 158, 4), IsoReader::Le(d, 166, 4), records, why)) << why;
    std::vector<std::string> names;
    for (size_t i = 2; i < records.size(); ++i)
        names.push_back(type == 1 ? records[i].id : IsoReader::Ucs2ToUtf8(records[i].id));
    return names;
}

bool Write(MemoryDisc& disc, std::string& error, const std::string& label = "LABEL") {
    return vk::WriteDiscImage(disc, label, error);
}

std::string Written(MemoryDisc& disc, const std::string& label = "LABEL") {
    std::string error;
    EXPECT_TRUE(Write(disc, error, label)) << error;
    return disc.image;
}

TEST(DiscLabel, DefaultFromTheTargetsName) {
    const struct {
        const char* target;
        const char* label;
    } cases[] = {
        {"index.htm", "INDEX"},
        {"C:\\Shows\\My Show.pps", "MY_SHOW"},
        {"html/1_Demo_General_Menu.html", "1_DEMO_GENERAL_M"}, // 16 characters at most
        {"\\", "VINTROSK"},                                    // the disc root
        {"", "VINTROSK"},
        {"Κατάλογος.htm", "VINTROSK"}, // nothing of it is a d-character
        {"café.htm", "CAF_"},
        {".profile", "_PROFILE"},
        {"archive.tar.gz", "ARCHIVE_TAR"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vk::DefaultVolumeLabel(c.target), c.label) << c.target;
        EXPECT_EQ(vk::VolumeLabelProblem(vk::DefaultVolumeLabel(c.target)), "") << c.target;
    }
}

TEST(DiscLabel, Problems) {
    const struct {
        const char* label;
        const char* problem; // a part of the message, or "" for a valid label
    } cases[] = {
        {"My Disc", ""},
        {"SIXTEEN_CHARS_XY", ""},
        {"Ελληνικός δίσκος", ""}, // 16 UTF-16 units
        {"", "empty"},
        {"   ", "empty"},
        {"SEVENTEEN_CHARS_X", "longer than the 16"},
        {"Fifteen chars! 😀", "longer than the 16"}, // the emoji takes two units
        {"a:b", "cannot hold"},
        {"a;b", "cannot hold"},
        {"a\\b", "cannot hold"},
        {"tab\there", "cannot hold"},
        {"bad \xff", "not valid UTF-8"},
    };
    for (const auto& c : cases) {
        const std::string problem = vk::VolumeLabelProblem(c.label);
        if (*c.problem == '\0')
            EXPECT_EQ(problem, "") << c.label;
        else
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.label << ": " << problem;
    }
}

TEST(DiscLabel, WrittenToBothDescriptors) {
    MemoryDisc disc;
    IsoReader reader(Written(disc, "Ελληνικά ok"));
    EXPECT_EQ(reader.Descriptor(1).substr(40, 32), std::string(9, '_') + "OK" + std::string(21, ' '));
    EXPECT_EQ(IsoReader::Ucs2ToUtf8(reader.Descriptor(2).substr(40, 32)), "Ελληνικά ok     ");
    EXPECT_EQ(reader.Descriptor(2).substr(88, 3), "%/E");

    std::string error;
    MemoryDisc refused;
    EXPECT_FALSE(Write(refused, error, "no:colons"));
    EXPECT_NE(error.find("volume label"), std::string::npos);
    EXPECT_EQ(refused.image, "");
}

TEST(DiscNames, NamesADiscHoldsAndTheirJolietNames) {
    // UDF holds 254 bytes of 8-bit characters or 127 UTF-16 units; Joliet 64 units whole.
    const struct {
        std::string name;
        bool holds, joliet;
    } cases[] = {
        {std::string(64, 'n'), true, true},
        {std::string(65, 'n'), true, false},
        {std::string(31, 'n') + "😀" + std::string(31, 'n'), true, true}, // 64 units
        {std::string(32, 'n') + "😀" + std::string(31, 'n'), true, false},
        {std::string(254, 'n'), true, false},
        {std::string(255, 'n'), false, false},
        {std::string(127 - 2, 'n') + "é" + "😀", false, false}, // 128 units: 16 bits a character
        {std::string(124, 'n') + "😀" + "n", true, false},      // 127 units
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vk::DiscNameProblem(c.name).empty(), c.holds) << c.name;
        EXPECT_EQ(vk::JolietHoldsName(c.name), c.joliet) << c.name;
    }
    EXPECT_NE(vk::DiscNameProblem(std::string(255, 'n')).find("longer than a disc holds"), std::string::npos);
    for (const char* bad : {"a*b", "a?b", "a:b", "a;1", "a\\b", "a/b", "new\nline"})
        EXPECT_NE(vk::DiscNameProblem(bad).find("cannot hold"), std::string::npos) << bad;

    // Shortened names keep their extension, never split a pair, and never take a name in use,
    // in any letter case.
    const std::string stem(70, 's');
    const std::string taken = std::string(58, 's') + "~1.htm";
    const std::vector<std::u16string> names = vk::JolietNames({{stem + ".htm", false},
                                                               {stem + "x.htm", false},
                                                               {vk::Upper(taken), false},
                                                               {stem, true},
                                                               {std::string(57, 'p') + "😀" + "tail.txt", false}});
    const std::u16string s58(58, u's');
    EXPECT_EQ(names[0], s58 + u"~2.htm");
    EXPECT_EQ(names[1], s58 + u"~3.htm");
    EXPECT_EQ(vk::Utf16ToUtf8(names[2]), vk::Upper(taken));
    EXPECT_EQ(names[3], std::u16string(62, u's') + u"~1");
    EXPECT_EQ(names[4], std::u16string(57, u'p') + u"~1.txt");
    for (const std::u16string& name : names)
        EXPECT_LE(name.size(), 64u);
}

// The 8.3 names of one folder's entries, in the order of the primary directory.
TEST(DiscNames, PrimaryNamesAreUnique83InUpperCase) {
    const struct {
        std::vector<std::string> files, folders;
        std::vector<std::string> primary;
    } cases[] = {
        {{"autorun.inf", "autorun.exe", "index.htm"}, {}, {"AUTORUN.EXE;1", "AUTORUN.INF;1", "INDEX.HTM;1"}},
        {{"page.html", "README", "a.b.c.d", "café.txt", "日本.txt", ".hidden"},
         {},
         {"A_B_C.D;1", "CAF_.TXT;1", "PAGE.HTM;1", "README.;1", "_HIDDEN.;1", "__.TXT;1"}},
        // The first in the Joliet order keeps the short name, the next are numbered.
        {{"Long file name two.txt", "Long file name one.txt", "Long file name three.txt"},
         {},
         {"LONG_FIL.TXT;1", "LONG_F_1.TXT;1", "LONG_F_2.TXT;1"}},
        // A name that needs only upper case keeps it even when a longer one sorts first.
        {{"A+B.txt", "a_b.txt"}, {}, {"A_B.TXT;1", "A_B_1.TXT;1"}},
        // Folders: no extension; a dot becomes "_"; a file "DOCS." and a folder "DOCS" collide.
        {{"DOCS"}, {"docs", "My Folder.d"}, {"DOCS.;1", "DOCS_1", "MY_FOLDE"}},
        // Ten and more of one short name.
        {{"abcdefghi1", "abcdefghi2", "abcdefghi3", "abcdefghi4", "abcdefghi5", "abcdefghi6", "abcdefghi7",
          "abcdefghi8", "abcdefghi9", "abcdefghi10", "abcdefghi11"},
         {},
         {"ABCDEFGH.;1", "ABCDEF_1.;1", "ABCDEF_2.;1", "ABCDEF_3.;1", "ABCDEF_4.;1", "ABCDEF_5.;1", "ABCDEF_6.;1",
          "ABCDEF_7.;1", "ABCDEF_8.;1", "ABCDEF_9.;1", "ABCDE_10.;1"}},
    };
    for (const auto& c : cases) {
        MemoryDisc disc;
        for (const std::string& f : c.files)
            disc.Add(f, f);
        for (const std::string& f : c.folders)
            disc.AddFolder(f);
        Written(disc);
        EXPECT_EQ(RootNames(disc, 1), c.primary) << c.files[0];
        // Each primary file holds the same bytes as its Joliet twin.
        auto primary = Tree(disc, 1), joliet = Tree(disc, 2);
        EXPECT_EQ(primary.size(), joliet.size());
        for (const auto& [name, record] : joliet) {
            if (record.folder)
                continue;
            EXPECT_EQ(std::count_if(primary.begin(), primary.end(),
                                    [&](const auto& p) {
                                        return p.second.sector == record.sector && p.second.size == record.size;
                                    }),
                      1)
                << name;
        }
    }
}

TEST(DiscNames, SortedAsTheFormatOrdersThem) {
    // Name first, padded with blanks, then extension; a folder's dot is part of its name.
    MemoryDisc disc;
    for (const char* f : {"a0", "a.b1", "a", "A", "a.b", "b", "B.TXT"})
        disc.Add(f);
    disc.AddFolder("a.d");
    Written(disc);
    EXPECT_EQ(RootNames(disc, 2), (std::vector<std::string>{"A", "B.TXT", "a", "a.b", "a.b1", "a.d", "a0", "b"}));
    // "A.B;1" before "A.B1;1", though ";" sorts after "1".
    EXPECT_EQ(RootNames(disc, 1),
              (std::vector<std::string>{"A.;1", "A.B;1", "A.B1;1", "A0.;1", "A_1.;1", "A_D", "B.;1", "B.TXT;1"}));
}

TEST(DiscImage, DatesOfFilesAndVolume) {
    const struct {
        long long time;
        std::vector<int> record; // years since 1900, month, day, hour, minute, second, offset
    } cases[] = {
        {0, {70, 1, 1, 0, 0, 0, 0}},
        {951782400, {100, 2, 29, 0, 0, 0, 0}}, // a leap day
        {1700000000, {123, 11, 14, 22, 13, 20, 0}},
        {-1, {69, 12, 31, 23, 59, 59, 0}},
        {-5000000000, {0, 1, 1, 0, 0, 0, 0}},       // before 1900: the earliest the record holds
        {7000000000, {255, 12, 31, 23, 59, 59, 0}}, // after 2155: the latest
    };
    for (const auto& c : cases) {
        MemoryDisc disc;
        disc.Add("file.txt", "x", c.time);
        Written(disc);
        for (int tree : {1, 2}) {
            const IsoRecord r = Tree(disc, tree).begin()->second;
            EXPECT_EQ(std::vector<int>(r.date, r.date + 7), c.record) << c.time;
        }
    }
    // The volume is dated by its newest entry, so the same tree gives the same image.
    MemoryDisc disc;
    disc.Add("old.txt", "x", 0);
    disc.Add("new.txt", "x", 951782400);
    disc.AddFolder("folder", 900000000);
    const std::string pvd = IsoReader(Written(disc)).Descriptor(1);
    EXPECT_EQ(pvd.substr(813, 17), std::string("2000022900000000") + '\0');
    EXPECT_EQ(pvd.substr(830, 17), std::string("2000022900000000") + '\0');
    EXPECT_EQ(pvd.substr(847, 17), std::string("0000000000000000") + '\0');
}

// Sizes around the sector and the writer's chunk, read in small uneven steps.
TEST(DiscImage, EveryFileByteForByte) {
    MemoryDisc disc;
    disc.readStep = 1000;
    std::map<std::string, std::string> contents;
    unsigned seed = 1;
    for (size_t size : {0u, 1u, 2047u, 2048u, 2049u, 1048576u, 1048577u + 3000u}) {
        std::string data(size, '\0');
        for (char& ch : data)
            ch = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
        const std::string name = "f" + std::to_string(size) + ".bin";
        disc.Add(name, data);
        contents[name] = data;
    }
    disc.AddFolder("sub");
    disc.Add("sub/empty", "");
    contents["sub/empty"] = "";
    const std::string image = Written(disc);
    ASSERT_EQ(image.size() % 2048, 0u);
    EXPECT_EQ(IsoReader::Le(IsoReader(image).Descriptor(1), 80, 4) * 2048ull, image.size());
    EXPECT_EQ(IsoReader::Le(IsoReader(image).Descriptor(2), 80, 4) * 2048ull, image.size());
    const auto joliet = Tree(disc, 2);
    for (const auto& [name, data] : contents) {
        ASSERT_TRUE(joliet.count("/" + name)) << name;
        EXPECT_TRUE(IsoReader(image).Data(joliet.at("/" + name)) == data) << name;
    }
    EXPECT_EQ(disc.opened, 0);
    // Progress in bytes of file data, ending at the total.
    ASSERT_FALSE(disc.progress.empty());
    EXPECT_EQ(disc.progress.front().first, 0u);
    EXPECT_EQ(disc.progress.back().first, disc.progress.back().second);
    EXPECT_TRUE(std::is_sorted(disc.progress.begin(), disc.progress.end()));
}

// Eight levels counting the root; a directory longer than one sector; the path tables of both
// trees in the order the format asks, read both ways round.
TEST(DiscImage, FoldersPathTablesAndDepth) {
    MemoryDisc disc;
    std::string path;
    for (int level = 2; level <= 8; ++level) {
        path += (path.empty() ? "" : "/") + std::string("Level ") + std::to_string(level);
        disc.AddFolder(path);
    }
    disc.Add(path + "/deepest.txt", "deep");
    disc.AddFolder("b");
    disc.AddFolder("a");
    disc.AddFolder("a/z");
    for (int i = 0; i < 60; ++i)
        disc.Add("a/A file with a rather long name, number " + std::to_string(i) + ".txt", "x");
    const std::string image = Written(disc);
    IsoReader reader(image);
    const auto joliet = Tree(disc, 2);
    EXPECT_EQ(joliet.size(), 7u + 1 + 2 + 1 + 60);
    EXPECT_EQ(reader.Data(joliet.at("/" + path + "/deepest.txt")), "deep");
    EXPECT_GT(joliet.at("/a").size, 2048u);
    EXPECT_EQ(Tree(disc, 1).size(), joliet.size());

    for (int tree : {1, 2}) {
        std::vector<IsoReader::PathEntry> little, big;
        std::string why;
        ASSERT_TRUE(reader.PathTable(tree, false, little, why)) << why;
        ASSERT_TRUE(reader.PathTable(tree, true, big, why)) << why;
        ASSERT_EQ(little.size(), 11u);
        std::vector<std::string> ids;
        for (size_t i = 0; i < little.size(); ++i) {
            EXPECT_EQ(little[i].sector, big[i].sector);
            EXPECT_EQ(little[i].parent, big[i].parent);
            ids.push_back(tree == 1 || i == 0 ? little[i].id : IsoReader::Ucs2ToUtf8(little[i].id));
        }
        // Level by level; within a level by parent, then by name.
        EXPECT_EQ(little[0].parent, 1u);
        if (tree == 1) {
            EXPECT_EQ(ids, (std::vector<std::string>{std::string(1, '\0'), "A", "B", "LEVEL_2", "Z", "LEVEL_3",
                                                     "LEVEL_4", "LEVEL_5", "LEVEL_6", "LEVEL_7", "LEVEL_8"}));
            EXPECT_EQ(little[4].parent, 2u);
            EXPECT_EQ(little[5].parent, 4u);
        } else {
            EXPECT_EQ(ids, (std::vector<std::string>{std::string(1, '\0'), "Level 2", "a", "b", "Level 3", "z",
                                                     "Level 4", "Level 5", "Level 6", "Level 7", "Level 8"}));
            EXPECT_EQ(little[4].parent, 2u);
            EXPECT_EQ(little[5].parent, 3u);
        }
        EXPECT_EQ(little[10].parent, 10u);
    }
}

TEST(DiscImage, SameTreeSameBytesInAnyListingOrder) {
    MemoryDisc a, b;
    const char* names[] = {"one.txt", "Two.TXT", "three", "Ελληνικά.txt", "a long name with spaces.html"};
    for (const char* n : names)
        a.Add(n, n);
    for (auto it = std::rbegin(names); it != std::rend(names); ++it)
        b.Add(*it, *it);
    EXPECT_TRUE(Written(a) == Written(b));
}

TEST(DiscImage, ErrorsNameTheFile) {
    const struct {
        const char* what;
        void (*arrange)(MemoryDisc&);
        std::string message; // a part of it
    } cases[] = {
        {"folder unreadable", [](MemoryDisc& d) { d.failList = "sub"; }, "/src/sub: permission denied."},
        {"file unreadable", [](MemoryDisc& d) { d.failOpen = "sub/file.txt"; },
         "/src/sub/file.txt: permission denied."},
        {"read fails", [](MemoryDisc& d) { d.failRead = "sub/file.txt"; }, "/src/sub/file.txt: permission denied."},
        {"disc full", [](MemoryDisc& d) { d.writeRoom = 25 * 2048; }, "image.iso: the disc is full."},
        {"file shrank", [](MemoryDisc& d) { d.sizeChange = -1; }, "changed while"},
        {"file grew", [](MemoryDisc& d) { d.sizeChange = 1; }, "changed while"},
        {"name too long", [](MemoryDisc& d) { d.Add("sub/" + std::string(255, 'n')); },
         "/src/sub/" + std::string(255, 'n') + ": the name is longer than a disc holds"},
        {"character", [](MemoryDisc& d) { d.Add("sub/what?.txt"); }, "/src/sub/what?.txt: the name holds a character"},
        {"too large",
         [](MemoryDisc& d) {
             d.folders["sub"].push_back({"huge.bin", false, 1ull << 32, 0});
         },
         "/src/sub/huge.bin: the file is larger than the 4 GB"},
    };
    for (const auto& c : cases) {
        MemoryDisc disc;
        disc.AddFolder("sub");
        disc.Add("sub/file.txt", std::string(5000, 'f'));
        c.arrange(disc);
        std::string error;
        EXPECT_FALSE(Write(disc, error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(disc.opened, 0) << c.what;
    }
}

} // namespace
