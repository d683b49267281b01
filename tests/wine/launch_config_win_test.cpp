// The launch configuration's Win32 side run in the test itself: the system's ANSI code page as
// Windows converts it, and autorun.inf written to and read back from a folder of any name.
#include "harness.h"

#include <gtest/gtest.h>

#include "core/win/code_page_win.h"
#include "core/win/file_access_win.h"
#include "core/win/launch_config_win.h"

using namespace vt;

namespace {

const std::string kGreek = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1"; // Καλημέρα

} // namespace

// The core's Windows-1252 stands in for the system's page in the native tests; Wine runs 1252,
// so the two must agree byte for byte and on what cannot be written.
TEST(AnsiCodePage, AgreesWithTheCoresWindows1252) {
    ASSERT_EQ(1252u, GetACP());
    vk::AnsiCodePage system;
    vk::Windows1252 core;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(core.ToUtf8(byte), system.ToUtf8(byte)) << "byte " << b;
    }
    const std::string names[] = {
        "index.htm",
        "",
        "caf\xC3\xA9.htm",
        "\xE2\x82\xAC",
        "\xE2\x80\x9C"
        "a\xE2\x80\x9D",
        "\xC2\x81\xC2\x9D",
        "\xC2\x80",     // a C1 control that 1252 does not hold
        "\xCE\xB1",     // Greek alpha: best fit would write "a"
        "\xEF\xBC\xA1", // fullwidth A: best fit would write "A"
        kGreek + ".htm",
        "\xE6\x97\xA5\xE6\x9C\xAC",
        "\xF0\x9F\x98\x80",
        "caf\xE9", // not UTF-8
    };
    for (const std::string& name : names) {
        std::string fromSystem, fromCore;
        const bool systemHolds = system.FromUtf8(name, fromSystem);
        const bool coreHolds = core.FromUtf8(name, fromCore);
        EXPECT_EQ(coreHolds, systemHolds) << name;
        if (systemHolds && coreHolds) {
            EXPECT_EQ(fromCore, fromSystem) << name;
        }
    }
}

// Written through the program's own writer into a Greek-named folder, and read back there by
// its readers from the working folder.
TEST(WriteAutorunInf, EitherFormInAFolderOfAnyName) {
    struct Case {
        const char* name;
        std::string target;
        std::string icon;
        bool unicode;
    } cases[] = {
        {"ASCII names", "index.htm", "autorun.exe", false},
        {"Western names", "caf\xC3\xA9.htm", "\xC3\x84.ico", false},
        {"Greek target", kGreek + ".htm", "autorun.exe", true},
        {"Greek icon", "index.htm", kGreek + ".ico", true},
    };
    const std::string folder = "C:\\vtests\\" + kGreek;
    const std::wstring wideFolder = Wide(folder);
    const std::wstring inf = Wide(folder + "\\autorun.inf");
    // The sandbox's ANSI functions could not empty a folder of this name: the test keeps its own.
    CreateDirectoryA("C:\\vtests", nullptr);
    DeleteFileW(inf.c_str());
    CreateDirectoryW(wideFolder.c_str(), nullptr);
    wchar_t before[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, before);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vk::DiscSettings s;
        s.m_strTarget = c.target;
        s.m_strIconName = c.icon;
        std::string open;
        ASSERT_TRUE(vk::WriteAutorunInf(folder, s, open));
        vk::AnsiCodePage ansi;
        const std::string bytes = ReadWholeFile(Utf8(inf));
        EXPECT_EQ(vk::AutorunInfText(s, nullptr, ansi), bytes);
        EXPECT_EQ(c.unicode, bytes.compare(0, 2, "\xFF\xFE") == 0);
        EXPECT_EQ("autorun.exe " + c.target + " 1 0 default.jpg default.wav", open);

        ASSERT_TRUE(SetCurrentDirectoryW(wideFolder.c_str()));
        vk::WinFiles files;
        const vk::LaunchConfig config = vk::ReadLaunchConfig({}, files, ansi);
        EXPECT_EQ(c.target, config.target);
        EXPECT_EQ(5, config.count);
        EXPECT_EQ(c.icon, vk::ReadIconEntry());
        SetCurrentDirectoryW(before);
    }
    EXPECT_TRUE(DeleteFileW(inf.c_str()));
    EXPECT_TRUE(RemoveDirectoryW(wideFolder.c_str()));
}

namespace {

// Opened without delete sharing, as a shell making an icon or a scanner may open a new file: a
// rename is refused while it is held.
HANDLE Hold(const std::string& path) {
    return CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

DWORD WINAPI LetGoLater(void* held) {
    Sleep(300);
    CloseHandle(held);
    return 0;
}

// A disc image is written beside its folder and then renamed into place: a moment's hold by
// someone else must not cost the user the image.
TEST(WinFileAccessRename, AFileHeldForAMomentIsRenamedOnceLetGoAndOneHeldForGoodIsRefused) {
    Sandbox box;
    vk::WinFileAccess files;
    std::string error;
    box.Write("disc.iso.new", "the image");
    box.Write("disc.iso", "the earlier image");
    HANDLE held = Hold(box.Path("disc.iso.new"));
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    HANDLE thread = CreateThread(nullptr, 0, LetGoLater, held, 0, nullptr);
    ASSERT_TRUE(thread);
    EXPECT_TRUE(files.Rename(box.Path("disc.iso.new"), box.Path("disc.iso"), true, error)) << error;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ("the image", box.Read("disc.iso"));
    EXPECT_FALSE(box.Exists("disc.iso.new"));

    box.Write("kept.new", "kept");
    HANDLE forGood = Hold(box.Path("kept.new"));
    ASSERT_NE(INVALID_HANDLE_VALUE, forGood);
    EXPECT_FALSE(files.Rename(box.Path("kept.new"), box.Path("kept.iso"), true, error));
    EXPECT_FALSE(error.empty());
    CloseHandle(forGood);
    EXPECT_EQ("kept", box.Read("kept.new"));
    EXPECT_FALSE(box.Exists("kept.iso"));
}

} // namespace
