#include "harness.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "framework/wide.h"

#ifndef VT_VINTROSK_EXE
#define VT_VINTROSK_EXE ""
#endif

namespace vt {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::set<std::string> FilesIn(const std::string& dir) {
    std::set<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Wide(dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(Utf8(entry.cFileName));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}
namespace {

const DWORD kAskTimeoutMs = 2000; // longest we wait for another process to answer a message

std::string Sanitize(std::string name) {
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
            c = '_';
    return name;
}

std::string CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info)
        return "no_test";
    return Sanitize(std::string(info->test_suite_name()) + "_" + info->name());
}

std::string Backslashes(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void MakeDirs(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryW(Wide(path.substr(0, i)).c_str(), nullptr);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE f =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

void PutLE(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// BMP file and info headers for a bottom-up 24-bit image.
std::string BmpHeader(int width, int height) {
    uint32_t stride = (width * 3 + 3) & ~3u;
    uint32_t imageSize = stride * height;
    std::string h = "BM";
    PutLE(h, 54 + imageSize, 4);
    PutLE(h, 0, 4);
    PutLE(h, 54, 4);
    PutLE(h, 40, 4);
    PutLE(h, width, 4);
    PutLE(h, height, 4);
    PutLE(h, 1, 2);
    PutLE(h, 24, 2);
    PutLE(h, BI_RGB, 4);
    PutLE(h, imageSize, 4);
    PutLE(h, 2835, 4); // 72 dpi
    PutLE(h, 2835, 4);
    PutLE(h, 0, 4);
    PutLE(h, 0, 4);
    return h;
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

bool RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(Wide(dir + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = Utf8(fd.cFileName);
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(Wide(path).c_str());
            }
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    return RemoveDirectoryW(Wide(dir).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryW(Wide(to).c_str(), nullptr);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Wide(from + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = Utf8(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            CopyFileW(Wide(from + "\\" + name).c_str(), Wide(to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

std::string WinPath(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return "Z:" + Backslashes(path);
    return path;
}

std::string VintroskExe() { return WinPath(VT_VINTROSK_EXE); }
std::string RecorderExe() { return WinPath(VT_RECORDER_EXE); }
std::string ShellOpenExe() { return WinPath(VT_SHELL_OPEN_EXE); }
std::string OutputDir() {
    const char* chosen = getenv("VT_OUTPUT_DIR");
    return WinPath(chosen && *chosen ? chosen : VT_OUTPUT_DIR);
}

double Now() {
    LARGE_INTEGER count, freq;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(count.QuadPart) / static_cast<double>(freq.QuadPart);
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
    const double deadline = Now() + timeoutMs / 1000.0;
    for (;;) {
        if (cond())
            return true;
        if (Now() >= deadline)
            return false;
        Sleep(20);
    }
}

// --- Sandbox -----------------------------------------------------------------------------

Sandbox::Sandbox() : Sandbox(CurrentTestName()) {}

Sandbox::Sandbox(const std::string& name) : dir_("C:\\vtests\\" + Sanitize(name)) {
    CreateDirectoryA("C:\\vtests", nullptr);
    // A program of an earlier run may still be on its way out and hold its file for a moment.
    if (!WaitUntil([&] { return RemoveTree(dir_); }, 5000))
        ADD_FAILURE() << "cannot empty " << dir_ << " (error " << GetLastError() << ")";
    if (!CreateDirectoryA(dir_.c_str(), nullptr))
        ADD_FAILURE() << "cannot create " << dir_;
}

std::string Sandbox::Path(const std::string& relative) const { return dir_ + "\\" + Backslashes(relative); }

void Sandbox::Write(const std::string& relative, const std::string& bytes) const {
    std::string path = Path(relative);
    MakeDirs(path.substr(0, path.find_last_of('\\')));
    if (!WriteWholeFile(path, bytes))
        ADD_FAILURE() << "cannot write " << path;
}

std::string Sandbox::Read(const std::string& relative) const { return ReadWholeFile(Path(relative)); }

bool Sandbox::Exists(const std::string& relative) const {
    return GetFileAttributesW(Wide(Path(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Sandbox::Copy(const std::string& from, const std::string& as) const {
    std::string to = Path(as);
    MakeDirs(to.substr(0, to.find_last_of('\\')));
    if (!CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << from << " to " << to << " (error " << GetLastError() << ")";
    return to;
}

std::string Sandbox::CopyVintrosk(const std::string& as) const { return Copy(VintroskExe(), as); }
std::string Sandbox::CopyRecorder(const std::string& as) const { return Copy(RecorderExe(), as); }

// --- Records -----------------------------------------------------------------------------

std::vector<Record> ReadRecords(const std::string& file) {
    std::vector<Record> records;
    std::string text = ReadWholeFile(file);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // module TAB command line TAB working folder TAB time; the command line may hold tabs.
        size_t first = line.find('\t');
        size_t last = line.rfind('\t');
        size_t middle = last == std::string::npos || last == 0 ? std::string::npos : line.rfind('\t', last - 1);
        if (first == std::string::npos || middle == std::string::npos || middle <= first)
            continue;
        Record r;
        r.module = line.substr(0, first);
        r.commandLine = line.substr(first + 1, middle - first - 1);
        r.workDir = line.substr(middle + 1, last - middle - 1);
        r.startedAt = atof(line.c_str() + last + 1);
        records.push_back(r);
    }
    return records;
}

bool WaitRecords(const std::string& file, size_t count, DWORD timeoutMs) {
    return WaitUntil([&] { return ReadRecords(file).size() >= count; }, timeoutMs);
}

// --- Process -----------------------------------------------------------------------------

Process::Process(const std::string& exe, const std::string& args, const std::string& workDir) {
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    startedAt_ = Now();
    if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi_)) {
        ADD_FAILURE() << "cannot start " << cmd << " (error " << GetLastError() << ")";
        pi_ = PROCESS_INFORMATION{};
    }
}

Process::~Process() {
    if (!Started())
        return;
    if (End())
        fprintf(stderr, "[harness] ended process %lu, still running at the end of the test\n", Id());
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

bool Process::Running() const { return Started() && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD timeoutMs) {
    if (!Started() || WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (endedAt_ < 0)
        endedAt_ = Now();
    return true;
}

bool Process::End() {
    if (!Running())
        return false;
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
    return true;
}

namespace {
struct WindowQuery {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == q.pid && (!q.visibleOnly || IsWindowVisible(wnd)))
        q.found.push_back(wnd);
    return TRUE;
}
} // namespace

std::vector<HWND> Process::Windows(bool visibleOnly) const {
    WindowQuery q{Id(), visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

bool Process::WatchUntilExit(DWORD timeoutMs, std::vector<std::string>* shown) {
    if (!Started())
        return false;
    std::vector<HWND> seen;
    const double deadline = Now() + timeoutMs / 1000.0;
    do {
        for (HWND w : Windows(true)) {
            if (std::find(seen.begin(), seen.end(), w) != seen.end())
                continue;
            seen.push_back(w);
            if (shown)
                shown->push_back(Describe(w));
        }
        // Waiting on the process itself, so that the end is timed as it happens.
        if (WaitExit(20))
            return true;
    } while (Now() < deadline);
    return false;
}

// --- Windows -----------------------------------------------------------------------------

std::string Title(HWND wnd) {
    char buf[1024] = "";
    GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

std::string ClassOf(HWND wnd) {
    char buf[256] = "";
    GetClassNameA(wnd, buf, sizeof buf);
    return buf;
}

std::string Describe(HWND wnd) {
    RECT r = RectOf(wnd);
    char buf[1400];
    snprintf(buf, sizeof buf, "%s '%s' style=%08lx%s rect=(%ld,%ld)-(%ld,%ld)", ClassOf(wnd).c_str(),
             Title(wnd).c_str(), static_cast<unsigned long>(GetWindowLongA(wnd, GWL_STYLE)),
             IsWindowVisible(wnd) ? " visible" : " hidden", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::string DescribeWindows(const Process& process) {
    std::string out;
    for (HWND w : process.Windows())
        out += "  " + Describe(w) + "\n";
    return out.empty() ? "  (no windows)\n" : out;
}

bool IsCaptionlessPopup(HWND wnd) {
    LONG style = GetWindowLongA(wnd, GWL_STYLE);
    return (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION;
}

HWND FindWindowOf(const Process& process, const char* title, const char* cls) {
    for (HWND w : process.Windows(true))
        if ((!title || Title(w) == title) && (!cls || ClassOf(w) == cls))
            return w;
    return nullptr;
}

HWND WaitWindow(const Process& process, const char* title, const char* cls, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(process, title, cls)) != nullptr; }, timeoutMs);
    return found;
}

// The text control of a message box has id 0xFFFF on Windows and on Wine.
const int kMessageBoxTextId = 0xFFFF;

HWND WaitMessageBox(const Process& process, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : process.Windows(true)) {
                HWND text = GetDlgItem(w, kMessageBoxTextId);
                if (ClassOf(w) == "#32770" && text && ClassOf(text) == "Static")
                    return (found = w) != nullptr;
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::string MessageBoxText(HWND box) { return ItemText(box, kMessageBoxTextId); }

bool WaitGone(HWND wnd, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(wnd); }, timeoutMs);
}

std::string ItemText(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    DWORD_PTR length = 0;
    if (!item || !SendMessageTimeoutW(item, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAskTimeoutMs, &length))
        return "";
    std::vector<wchar_t> buf(length + 1);
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(item, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                             kAskTimeoutMs, &got))
        return "";
    return Utf8(std::wstring(buf.data(), got));
}

int ItemCheck(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    DWORD_PTR state = 0;
    if (!item || !SendMessageTimeoutA(item, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAskTimeoutMs, &state))
        return -1;
    return static_cast<int>(state);
}

bool ItemEnabled(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    return item && IsWindowEnabled(item);
}

RECT RectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

void Press(HWND dlg, int id) {
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

bool WaitFile(const std::string& path, DWORD timeoutMs) {
    return WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}

// --- Registry ----------------------------------------------------------------------------

AppPath::AppPath(const std::string& name, const std::string& exe)
    : key_("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKLM\\" << key_;
        return;
    }
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(exe.c_str()),
                   static_cast<DWORD>(exe.size() + 1));
    RegCloseKey(key);
}

UserShellFolder::UserShellFolder(const std::string& name, const std::string& path) : name_(Wide(name)) {
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                  KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
    DWORD size = 0;
    if (RegQueryValueExW(key_, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        old_.resize(size);
        hadOld_ = RegQueryValueExW(key_, name_.c_str(), nullptr, &type_, old_.data(), &size) == ERROR_SUCCESS;
    }
    const std::wstring value = Wide(path);
    RegSetValueExW(key_, name_.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

UserShellFolder::~UserShellFolder() {
    if (hadOld_)
        RegSetValueExW(key_, name_.c_str(), 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
    else
        RegDeleteValueW(key_, name_.c_str());
    RegCloseKey(key_);
}

AppPath::~AppPath() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str()); }

// --- Fixtures ----------------------------------------------------------------------------

std::string MakeBmp(int width, int height) {
    std::string bmp = BmpHeader(width, height);
    const int pad = ((width * 3 + 3) & ~3) - width * 3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bmp += static_cast<char>(255 * x / width);  // blue
            bmp += static_cast<char>(255 * y / height); // green
            bmp += static_cast<char>(0x80);             // red
        }
        bmp.append(pad, '\0');
    }
    return bmp;
}

std::string MakeWav(double seconds) {
    const double kTwoPi = 6.283185307179586;
    const uint32_t rate = 11025;
    const uint32_t samples = static_cast<uint32_t>(seconds * rate);
    std::string wav = "RIFF";
    PutLE(wav, 36 + samples * 2, 4);
    wav += "WAVEfmt ";
    PutLE(wav, 16, 4);
    PutLE(wav, WAVE_FORMAT_PCM, 2);
    PutLE(wav, 1, 2); // mono
    PutLE(wav, rate, 4);
    PutLE(wav, rate * 2, 4);
    PutLE(wav, 2, 2);
    PutLE(wav, 16, 2);
    wav += "data";
    PutLE(wav, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i)
        PutLE(wav, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * kTwoPi * 440 / rate))), 2);
    return wav;
}

namespace {

enum class Part { Red, Blue, Stripes, Grey };

Part PartAt(double fx, double fy) {
    if (fx < 0.1 && fy < 0.1)
        return Part::Red;
    if (fx >= 0.9 && fy >= 0.9)
        return Part::Blue;
    if (fx >= 0.4 && fx < 0.6 && fy >= 0.4 && fy < 0.6)
        return Part::Stripes;
    return Part::Grey;
}

template <class T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p)
            p->Release();
    }
};

} // namespace

COLORREF JpegColourAt(double fx, double fy) {
    switch (PartAt(fx, fy)) {
    case Part::Red:
        return RGB(255, 0, 0);
    case Part::Blue:
        return RGB(0, 0, 255);
    default:
        return RGB(128, 128, 128);
    }
}

std::string MakeJpeg(int width, int height) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Released<IWICImagingFactory> factory;
    Released<IStream> stream;
    Released<IWICBitmapEncoder> encoder;
    Released<IWICBitmapFrameEncode> frame;
    Released<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.p))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream.p)) ||
        FAILED(factory.p->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder.p)) ||
        FAILED(encoder.p->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder.p->CreateNewFrame(&frame.p, &options.p)) || FAILED(frame.p->Initialize(options.p)) ||
        FAILED(frame.p->SetSize(width, height)))
        return {};
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame.p->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return {};
    // Written in bands: the whole picture at once would need hundreds of megabytes.
    const UINT stride = static_cast<UINT>(width) * 3;
    const int band = 64;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * band);
    for (int top = 0; top < height; top += band) {
        const int count = std::min(band, height - top);
        for (int y = 0; y < count; ++y) {
            BYTE* out = &rows[static_cast<size_t>(y) * stride];
            for (int x = 0; x < width; ++x, out += 3) {
                const Part part = PartAt(static_cast<double>(x) / width, static_cast<double>(top + y) / height);
                const COLORREF c = part == Part::Stripes ? (x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0))
                                                         : JpegColourAt(static_cast<double>(x) / width,
                                                                        static_cast<double>(top + y) / height);
                out[0] = GetBValue(c);
                out[1] = GetGValue(c);
                out[2] = GetRValue(c);
            }
        }
        if (FAILED(frame.p->WritePixels(count, stride, stride * count, rows.data())))
            return {};
    }
    if (FAILED(frame.p->Commit()) || FAILED(encoder.p->Commit()))
        return {};
    HGLOBAL memory = nullptr;
    if (FAILED(GetHGlobalFromStream(stream.p, &memory)))
        return {};
    STATSTG stat{};
    stream.p->Stat(&stat, STATFLAG_NONAME);
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    std::string jpeg(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return jpeg;
}

std::string Screenshot(const std::string& tag) {
    // Windows that have just appeared may not have painted yet; the picture is for people to
    // look at, never a check, so a short pause is all it needs.
    Sleep(300);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string path;
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        if (BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            std::string bmp = BmpHeader(w, h);
            bmp.append(static_cast<const char*>(bits), ((w * 3 + 3) & ~3) * h);
            MakeDirs(OutputDir());
            // Outside a test (the demo) the tag alone names the picture.
            const bool inTest = ::testing::UnitTest::GetInstance()->current_test_info() != nullptr;
            path = OutputDir() + "\\" + (inTest ? CurrentTestName() + "_" : std::string()) + Sanitize(tag) + ".bmp";
            if (!WriteWholeFile(path, bmp))
                path.clear();
        }
        SelectObject(mem, old);
    }
    if (dib)
        DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!path.empty())
        printf("[screenshot] %s\n", path.c_str());
    return path;
}

namespace {

DWORD FindProcess(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName) == 0)
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

} // namespace

Started::Started(const char* exeName) {
    WaitUntil([&] { return (pid_ = FindProcess(exeName)) != 0; }, 20000);
    if (pid_)
        handle_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid_);
}

Started::~Started() {
    if (!handle_)
        return;
    if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT)
        TerminateProcess(handle_, 1);
    CloseHandle(handle_);
}

bool Started::WaitExit(DWORD timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

HWND Started::WaitWindow(bool (*match)(HWND), DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == pid_ && IsWindowVisible(w) && match(w))
                    return (found = w) != nullptr;
            }
            return false;
        },
        timeoutMs);
    return found;
}

namespace {

BOOL CALLBACK CollectToolTip(HWND wnd, LPARAM out) {
    if (ClassOf(wnd) == "tooltips_class32")
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
    return TRUE;
}

} // namespace

std::string ToolText(HWND control) {
    std::vector<HWND> tips;
    EnumThreadWindows(GetCurrentThreadId(), CollectToolTip, reinterpret_cast<LPARAM>(&tips));
    for (HWND tip : tips) {
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.hwnd = control;
        tool.uId = 1;
        if (!SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
            continue;
        char text[1024] = "";
        tool.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return text;
    }
    return "<no tool>";
}

namespace {

BOOL CALLBACK KeepFirstEdit(HWND child, LPARAM out) {
    if (ClassOf(child) != "Edit")
        return TRUE;
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
}

} // namespace

void PickFile(const Process& process, HWND dlg, int button, const char* title, const char* typed) {
    Press(dlg, button);
    HWND picker = WaitWindow(process, title, "#32770", 20000);
    ASSERT_TRUE(picker) << DescribeWindows(process);
    HWND edit = nullptr;
    EnumChildWindows(picker, KeepFirstEdit, reinterpret_cast<LPARAM>(&edit));
    ASSERT_TRUE(edit);
    if (typed)
        SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(typed).c_str()), SMTO_ABORTIFHUNG, 5000,
                            nullptr);
    Press(picker, typed ? IDOK : IDCANCEL);
    ASSERT_TRUE(WaitGone(picker, 20000));
}

} // namespace vt
