// The setup program as an administrator meets it, in a Wine prefix of its own that
// installer_test.sh has just made and installed into silently. Two phases, run in this order:
//   Installed.*    what setup left: files, shortcuts, the installed-programs entry, and the
//                  designer started the way the shortcut starts it building the sample disc;
//   Uninstalled.*  the uninstaller's quiet command removes all that and keeps the disc folder.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <map>
#include <set>

#include "designer/designer_ids.h"
#include "harness.h"
#include "version.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 30000;
const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vintrosk";
const char* kShortcut = "Vintrosk!.lnk";

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}
std::string InstallDir() { return SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Vintrosk"; }
std::string DiscFolder() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\CD-ROM Distributable Files"; }
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "<none>";
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

// Every file under a folder, by its path relative to it, with its bytes.
void Walk(const std::string& dir, const std::string& prefix, std::map<std::string, std::string>* files) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Walk(dir + "\\" + name, prefix + name + "\\", files);
        else
            (*files)[prefix + name] = ReadFile(dir + "\\" + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}
std::map<std::string, std::string> Tree(const std::string& dir) {
    std::map<std::string, std::string> files;
    Walk(dir, "", &files);
    return files;
}
std::set<std::string> Names(const std::map<std::string, std::string>& files) {
    std::set<std::string> names;
    for (const auto& f : files)
        names.insert(f.first);
    return names;
}

struct Shortcut {
    bool loaded = false;
    std::string path, arguments, workDir, iconPath;
    int iconIndex = -1;
};

Shortcut ReadShortcut(const std::string& file) {
    Shortcut s;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return s;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
            char text[1024] = "";
            // The raw target: with SLGP_RAWPATH the path is not resolved against what is on disk.
            link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
            s.path = text;
            link->GetArguments(text, sizeof text);
            s.arguments = text;
            link->GetWorkingDirectory(text, sizeof text);
            s.workDir = text;
            link->GetIconLocation(text, sizeof text, &s.iconIndex);
            s.iconPath = text;
            s.loaded = true;
        }
        persist->Release();
    }
    link->Release();
    return s;
}

// A value of the installed-programs entry: strings as text, numbers in decimal; "<none>"
// when it is not there.
std::string UninstallValue(const char* name) {
    char data[1024] = "";
    DWORD size = sizeof data, type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data, &size) !=
        ERROR_SUCCESS)
        return "<none>";
    if (type == REG_DWORD)
        return "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    return data;
}

std::string FileVersion(const std::string& exe) {
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!size || !GetFileVersionInfoA(exe.c_str(), 0, size, &block[0]) ||
        !VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&info), &len))
        return "<none>";
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

// What the sample disc holds: the sample site and the five files the designer adds.
std::set<std::string> SampleDisc() {
    std::set<std::string> files;
    for (const auto& name : Names(Tree(InstallDir() + "\\html")))
        files.insert(name);
    files.insert({"autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe", "default.jpg", "default.wav"});
    return files;
}

class Com : public ::testing::Environment {
public:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const kCom = ::testing::AddGlobalTestEnvironment(new Com);

} // namespace

TEST(Installed, ExactlyTheFilesTheBuildPutsBesideTheProgramAndTheUninstaller) {
    std::map<std::string, std::string> expected = Tree(WinPath(VT_PROGRAM_DIR));
    ASSERT_TRUE(expected.count("Vintrosk.exe"));
    std::map<std::string, std::string> installed = Tree(InstallDir());
    ASSERT_TRUE(installed.count("uninstall.exe")) << InstallDir();
    installed.erase("uninstall.exe");
    EXPECT_EQ(Names(expected), Names(installed));
    for (const auto& f : expected)
        EXPECT_TRUE(installed[f.first] == f.second) << f.first << " differs";
}

TEST(Installed, StartMenuAndDesktopShortcutsOpenTheDesigner) {
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        const std::string file = SpecialFolder(csidl) + "\\" + kShortcut;
        SCOPED_TRACE(file);
        const Shortcut s = ReadShortcut(file);
        ASSERT_TRUE(s.loaded);
        EXPECT_STRCASEEQ((InstallDir() + "\\Vintrosk.exe").c_str(), s.path.c_str());
        EXPECT_EQ("design", s.arguments);
        EXPECT_STRCASEEQ(InstallDir().c_str(), s.workDir.c_str());
        EXPECT_STRCASEEQ((InstallDir() + "\\Vintrosk.exe").c_str(), s.iconPath.c_str());
        EXPECT_EQ(0, s.iconIndex);
    }
    // Per machine: nothing in the installing user's own menu or desktop.
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_PROGRAMS) + "\\" + kShortcut));
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kShortcut));
}

TEST(Installed, InstalledProgramsEntry) {
    const std::string dir = InstallDir();
    const std::map<std::string, std::string> expected = {
        {"DisplayName", "Vintrosk!"},
        {"DisplayVersion", VT_VERSION_DOTTED},
        {"Publisher", "the Vintrosk! developers"},
        {"DisplayIcon", dir + "\\Vintrosk.exe,0"},
        {"InstallLocation", dir},
        {"UninstallString", "\"" + dir + "\\uninstall.exe\""},
        {"QuietUninstallString", "\"" + dir + "\\uninstall.exe\" /S"},
        {"NoModify", "dword:1"},
        {"NoRepair", "dword:1"},
    };
    for (const auto& v : expected)
        EXPECT_EQ(v.second, UninstallValue(v.first.c_str())) << v.first;
    // The entry shows the version the program itself carries.
    EXPECT_EQ(VT_VERSION_DOTTED, FileVersion(dir + "\\Vintrosk.exe"));

    // Kilobytes on disk, within rounding.
    size_t bytes = 0;
    for (const auto& f : Tree(dir))
        bytes += f.second.size();
    const std::string size = UninstallValue("EstimatedSize");
    ASSERT_EQ(0u, size.find("dword:"));
    const long kb = std::stol(size.substr(6));
    EXPECT_NEAR(static_cast<double>(bytes) / 1024, kb, 24) << bytes << " bytes";
}

// As the shortcut starts it: its program with its arguments in its working folder.
TEST(Installed, TheDesignerFromTheShortcutBuildsTheSampleDisc) {
    const Shortcut s = ReadShortcut(SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + kShortcut);
    ASSERT_TRUE(s.loaded);
    const auto before = Tree(InstallDir());
    Process designer(s.path, s.arguments, s.workDir);
    HWND dlg = WaitWindow(designer, "Vintrosk!", "#32770", kWait);
    ASSERT_TRUE(dlg) << DescribeWindows(designer);
    EXPECT_EQ("1_Demo_General_Menu.html", ItemText(dlg, IDC_TARGET_NAME));
    Press(dlg, IDOK);
    HWND question = WaitMessageBox(designer, kWait);
    ASSERT_TRUE(question) << DescribeWindows(designer);
    const std::string text = MessageBoxText(question);
    EXPECT_EQ(0u, text.find("Your files have been created and placed in " + DiscFolder() + "\\")) << text;
    Press(question, IDNO);
    EXPECT_TRUE(WaitGone(question, kWait));

    std::map<std::string, std::string> disc = Tree(DiscFolder());
    EXPECT_EQ(SampleDisc(), Names(disc));
    EXPECT_EQ(
        "[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
        disc["autorun.inf"]);
    EXPECT_TRUE(disc["autorun.exe"] == before.at("Vintrosk.exe"));
    // Nothing is written beside the program, where a user without rights could not write.
    EXPECT_EQ(Names(before), Names(Tree(InstallDir())));

    Press(dlg, IDCANCEL);
    EXPECT_TRUE(designer.WaitExit(kWait));
}

TEST(Uninstalled, TheQuietUninstallRemovesAllOfOursAndKeepsTheDisc) {
    const std::set<std::string> disc = Names(Tree(DiscFolder()));
    ASSERT_EQ(SampleDisc(), disc) << "the Installed phase leaves the sample disc";
    std::string command = UninstallValue("QuietUninstallString");
    ASSERT_NE("<none>", command);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, kWait));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The uninstaller runs on from a copy of itself in the temporary folder.
    EXPECT_TRUE(WaitUntil([] { return !Exists(InstallDir()); }, kWait)) << Names(Tree(InstallDir())).size() << " left";

    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY})
        EXPECT_FALSE(Exists(SpecialFolder(csidl) + "\\" + kShortcut)) << csidl;
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key));
    EXPECT_EQ(disc, Names(Tree(DiscFolder())));
}
