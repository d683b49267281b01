#include <gtest/gtest.h>

#include <map>

#include "viewer/placeholders.h"

namespace {

class FakeFolders : public vk::FolderLookup {
public:
    std::map<vk::KnownFolder, std::string> known = {
        {vk::KnownFolder::System, "C:\\WINDOWS\\SYSTEM32"},
        {vk::KnownFolder::Windows, "C:\\WINDOWS"},
        {vk::KnownFolder::Desktop, "C:\\Users\\ann\\Desktop"},
        {vk::KnownFolder::ProgramFiles, "C:\\Program Files"},
    };
    bool Find(vk::KnownFolder folder, std::string& path) override {
        auto it = known.find(folder);
        if (it == known.end())
            return false;
        path = it->second;
        return true;
    }
};

TEST(ExpandPlaceholders, Words) {
    struct Case {
        std::string text;
        std::string expanded;
    } cases[] = {
        {"a:\\x.txt", "a:\\x.txt"},
        {"{DESKTOP}\\a.txt", "C:\\Users\\ann\\Desktop\\a.txt"},
        {"{Desktop}\\a.txt", "C:\\Users\\ann\\Desktop\\a.txt"},
        {"{root}\\setup.log", "C:\\setup.log"},
        {"{windows}{system}", "C:\\WINDOWSC:\\WINDOWS\\SYSTEM32"},
        {"{programfiles}\\Demo", "C:\\Program Files\\Demo"},
        {"{ root }", " root "},
        {"{other}\\a.txt", "other\\a.txt"},
        {"desktop{x}", "C:\\Users\\ann\\Desktopx"},
        {"desktop", "desktop"},
        {"a}b{c", "abc"},
        {"{}", ""},
        {"{", "{"},
        {"}", "}"},
        {"{{root}}", "C:"},
        {"{root},{desktop}\\DiscFiles\\a.txt", "C:,C:\\Users\\ann\\Desktop\\DiscFiles\\a.txt"},
        {"{Root}x{ROOT}", "C:xC:"},
    };
    FakeFolders folders;
    for (const Case& c : cases)
        EXPECT_EQ(vk::ExpandPlaceholders(c.text, folders), c.expanded) << c.text;
}

TEST(ExpandPlaceholders, FailedLookupsVanish) {
    FakeFolders folders;
    folders.known.clear();
    EXPECT_EQ(vk::ExpandPlaceholders("{desktop}\\a.txt", folders), "\\a.txt");
    EXPECT_EQ(vk::ExpandPlaceholders("{root}\\a.txt", folders), "\\a.txt");
    EXPECT_EQ(vk::ExpandPlaceholders("x{windows}{system}{programfiles}y", folders), "xy");
}

TEST(ExpandPlaceholders, LongTextsExpandWhole) {
    FakeFolders folders;
    std::string text, expected;
    for (int i = 0; i < 5000; ++i) {
        text += "{desktop}\\f" + std::to_string(i) + ",";
        expected += "C:\\Users\\ann\\Desktop\\f" + std::to_string(i) + ",";
    }
    EXPECT_EQ(vk::ExpandPlaceholders(text, folders), expected);
}

} // namespace
