#include <gtest/gtest.h>

#include <map>

#include "launcher/placeholders.h"

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

TEST(UnknownPlaceholder, OneWordInBracesThatNoPlaceholderNames) {
    struct Case {
        std::string text;
        std::string unknown; // empty: none
    } cases[] = {
        {"{Desktp}\\readme.txt", "{Desktp}"},
        {"{desktop}\\a\\{Sytem}\\b", "{Sytem}"},
        {"{windows}{temp}", "{temp}"},
        {"desktop{x}", "{x}"},
        {"{my_docs2}\\a.txt", "{my_docs2}"},
        {"{Escritório}\\a.txt", "{Escritório}"},
        // Blanks around a word still look like a placeholder; a known word with them is none.
        {"{ desktop }\\a.txt", "{ desktop }"},
        {"{{Dsktop}}", "{Dsktop}"},
        // The known words in any letter case.
        {"{root}\\a.txt", ""},
        {"{ROOT}{Windows}{sYsTeM}{DESKTOP}{ProgramFiles}", ""},
        // Not one word: left to expansion as before.
        {"a.txt", ""},
        {"{}", ""},
        {"{ }", ""},
        {"{Program Files}\\a.txt", ""},
        {"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}", ""},
        {"{desktop\\x}", ""},
        {"a}b{c", ""},
        {"{Dsktop", ""},
        {"Dsktop}", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::UnknownPlaceholder(c.text), c.unknown) << c.text;
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
