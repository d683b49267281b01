// The disc image's Win32 side run in the test itself: the image of a real folder with Greek and
// Japanese names, eight folder levels, paths past 260 characters and kept dates, and of the
// sample disc as the real program's Create CD makes it, which disc_image_win_test.sh then
// reads with the readers on the Unix side; and its failures, each named, with no partial
// image left and an earlier image kept.
#include "harness.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include "disc/disc_image.h"
#include "disc/folder_image.h"

using namespace vt;

namespace {

const std::string kGreek = "\xCE\x94\xCE\xAF\xCF\x83\xCE\xBA\xCE\xBF\xCF\x82"; // Δίσκος
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";          // 日本語

std::string Here() { return OutputDir() + "\\disc_image"; }

// A full path in the form that passes 260 characters.
std::wstring Long(const std::string& path) { return L"\\\\?\\" + Wide(path); }

// A folder, already there or made now.
bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(Long(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void Put(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD put = 0;
    if (!bytes.empty())
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    // 2001-02-03 04:05:06 UTC, which the image must keep.
    SYSTEMTIME st = {2001, 2, 6, 3, 4, 5, 6, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    SetFileTime(f, nullptr, nullptr, &ft);
    CloseHandle(f);
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

class Progress : public vk::ImageProgress {
public:
    bool Advance(unsigned long long done, unsigned long long total) override {
        last = done;
        this->total = total;
        return true;
    }
    unsigned long long last = 0, total = 1;
};

} // namespace

// The script around this test empties the folder first: the paths here are too long for the
// harness's removal.
TEST(FolderImageWin, RealFolderWithUnicodeNames) {
    const std::string src = Here() + "\\src";
    ASSERT_TRUE(MakeFolder(OutputDir()) && MakeFolder(Here()));
    std::string deep = src;
    // Eight levels counting the root, with names long enough to pass 260 characters.
    for (int level = 1; level <= 8; ++level) {
        deep += level == 1 ? "" : "\\" + kGreek + " level " + std::to_string(level) + std::string(40, 'x');
        ASSERT_TRUE(MakeFolder(deep)) << deep;
    }
    ASSERT_GT(deep.size(), 300u);
    Put(deep + "\\" + kJapanese + ".txt", "deepest");
    Put(src + "\\autorun.inf", "[autorun]\r\nOPEN=autorun.exe\r\n");
    Put(src + "\\autorun.exe", std::string(70000, 'M'));
    Put(src + "\\" + kGreek + " Mixed Case Name.html", "<html></html>");
    Put(src + "\\empty", "");
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 + i / 4096);
    Put(src + "\\big.bin", big);

    Progress progress;
    std::string error;
    ASSERT_TRUE(vk::WriteFolderImage(src, Here() + "\\image.iso", kGreek + " Wine", &progress, error)) << error;
    EXPECT_EQ(progress.last, progress.total);
    EXPECT_EQ(progress.total, 7u + 70000 + 13 + big.size() + 29);
}

// The sample disc as Create CD makes it with the designer's defaults, and its image with the
// label derived from the target; the script reads both back.
TEST(FolderImageWin, TheSampleDiscAsCreateCdMakesIt) {
    char desktop[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOP, FALSE);
    const std::string out = std::string(desktop) + "\\CD-ROM Distributable Files";
    RemoveTree(out);
    Sandbox box;
    CopyTree(WinPath(VT_SAMPLES_DIR), box.Dir());
    {
        Process designer(box.CopyVintrosk(), "design", box.Dir());
        HWND dlg = WaitWindow(designer, "Vintrosk!", "#32770", 20000);
        ASSERT_TRUE(dlg) << DescribeWindows(designer);
        Press(dlg, IDOK);
        HWND question = WaitMessageBox(designer, 20000);
        ASSERT_TRUE(question) << DescribeWindows(designer);
        Press(question, IDNO);
        ASSERT_TRUE(WaitGone(question, 20000));
        Press(dlg, IDCANCEL);
        EXPECT_TRUE(designer.WaitExit(20000));
    }
    const std::string sample = Here() + "\\sample";
    ASSERT_TRUE(MakeFolder(OutputDir()) && MakeFolder(Here()) && RemoveTree(sample));
    CopyTree(out, sample);
    RemoveTree(out);
    std::string error;
    const std::string label = vk::DefaultVolumeLabel("1_Demo_General_Menu.html");
    EXPECT_EQ(label, "1_DEMO_GENERAL_M");
    ASSERT_TRUE(vk::WriteFolderImage(sample, Here() + "\\sample.iso", label, nullptr, error)) << error;
}

TEST(FolderImageWin, FailuresNameTheFileAndLeaveNoImage) {
    const std::string dir = Here() + "\\failures";
    ASSERT_TRUE(MakeFolder(OutputDir()) && MakeFolder(Here()));
    ASSERT_TRUE(RemoveTree(dir));
    ASSERT_TRUE(MakeFolder(dir));
    const std::string src = dir + "\\" + kGreek;
    ASSERT_TRUE(MakeFolder(src));
    Put(src + "\\locked.txt", "locked");
    std::string error;

    // Inside the folder, in either letter case.
    EXPECT_FALSE(vk::WriteFolderImage(src, src + "\\IMAGE.iso", "L", nullptr, error));
    EXPECT_NE(error.find("inside the folder"), std::string::npos) << error;
    EXPECT_FALSE(Exists(src + "\\IMAGE.iso"));

    // Where no folder is.
    const std::string nowhere = dir + "\\missing\\image.iso";
    EXPECT_FALSE(vk::WriteFolderImage(src, nowhere, "L", nullptr, error));
    EXPECT_EQ(error.find(nowhere + ": "), 0u) << error;

    // An image of the folder as it is, which the failures below must leave as it was.
    const std::string image = dir + "\\image.iso";
    ASSERT_TRUE(vk::WriteFolderImage(src, image, "L", nullptr, error)) << error;
    const std::string earlier = ReadWholeFile(image);
    ASSERT_EQ(earlier.size() % 2048, 0u);

    // A file another program holds without sharing.
    HANDLE hold = CreateFileW(Wide(src + "\\locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(vk::WriteFolderImage(src, image, "L", nullptr, error));
    CloseHandle(hold);
    EXPECT_NE(error.find(src + "\\locked.txt: "), std::string::npos) << error;
    EXPECT_TRUE(ReadWholeFile(image) == earlier);
    EXPECT_FALSE(Exists(image + ".part"));

    // A name the disc cannot hold, found before anything is read.
    Put(src + "\\" + std::string(251, 'n') + ".txt", "x");
    EXPECT_FALSE(vk::WriteFolderImage(src, image, "L", nullptr, error));
    EXPECT_NE(error.find("longer than a disc holds"), std::string::npos) << error;
    EXPECT_TRUE(ReadWholeFile(image) == earlier);
    EXPECT_FALSE(Exists(image + ".part"));
}
