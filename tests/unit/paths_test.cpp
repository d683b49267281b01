#include <gtest/gtest.h>

#include "app/paths.h"

TEST(Paths, ResolveAgainst) {
    struct Case {
        const char* folder;
        const char* path;
        const char* resolved;
    } cases[] = {
        {"C:\\Program Files\\Vintrosk", "sounds/default.wav", "C:\\Program Files\\Vintrosk\\sounds\\default.wav"},
        {"C:\\Program Files\\Vintrosk", "html\\1_Demo.html", "C:\\Program Files\\Vintrosk\\html\\1_Demo.html"},
        {"C:\\app", ".\\a\\.\\b.wav", "C:\\app\\a\\b.wav"},
        {"C:\\app", "..\\x.wav", "C:\\x.wav"},
        {"C:\\app", "..\\..\\..\\x.wav", "C:\\x.wav"},
        {"C:\\app", "D:\\media\\x.wav", "D:\\media\\x.wav"},
        {"C:\\app", "d:/media//x.wav", "d:\\media\\x.wav"},
        {"C:\\app", "\\top.wav", "C:\\top.wav"},
        {"C:\\app", "c:rel.wav", "C:\\app\\rel.wav"},
        {"C:\\app", "\\\\server\\share\\..\\..\\x.wav", "\\\\server\\share\\x.wav"},
        {"\\\\server\\share\\app", "\\x.wav", "\\\\server\\share\\x.wav"},
        {"C:\\app", "", "C:\\app"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.resolved, vk::ResolveAgainst(c.folder, c.path)) << c.folder << " + " << c.path;
}

TEST(Paths, SamePathAndInsideFolder) {
    EXPECT_TRUE(vk::SamePath("C:\\Disc\\AutoRun.EXE", "c:/disc/./autorun.exe"));
    EXPECT_FALSE(vk::SamePath("C:\\Disc\\autorun.exe", "C:\\Disc\\autorun.exe2"));

    const std::string out = "C:\\Users\\me\\Desktop\\CD-ROM Distributable Files";
    EXPECT_TRUE(vk::IsInsideFolder(out, out + "\\page.htm"));
    EXPECT_TRUE(vk::IsInsideFolder(out + "\\", "c:\\users\\ME\\desktop\\cd-rom distributable files\\sub\\x.wav"));
    EXPECT_TRUE(vk::IsInsideFolder(out, out + "\\sub\\..\\x.wav"));
    EXPECT_FALSE(vk::IsInsideFolder(out, out));
    EXPECT_FALSE(vk::IsInsideFolder(out, out + " (2)\\page.htm"));
    EXPECT_FALSE(vk::IsInsideFolder(out, out + "\\..\\page.htm"));
    EXPECT_FALSE(vk::IsInsideFolder(out, "C:\\Users\\me\\Desktop\\page.htm"));
}
