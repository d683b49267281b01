#include "core/win/launch_config_win.h"

#include <windows.h>
#include <shellapi.h>

#include "core/win/code_page_win.h"
#include "core/win/file_access_win.h"

#include "framework/handles.h"
#include "framework/wide.h"

namespace vk {
namespace {

class HandleSource : public ByteSource {
public:
    explicit HandleSource(HANDLE file) : m_file(file) {}
    size_t Read(char* buffer, size_t size) override {
        DWORD got = 0;
        if (!::ReadFile(m_file.Get(), buffer, static_cast<DWORD>(size), &got, nullptr))
            return 0;
        return got;
    }

private:
    fw::FileHandle m_file;
};

HANDLE OpenForReading(const std::string& name) {
    return ::CreateFileW(fw::WidePath(name).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAndClose(HANDLE file, const std::string& bytes) {
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    whole = ::FlushFileBuffers(file) && whole;
    return ::CloseHandle(file) && whole;
}

} // namespace

bool FileExists(const std::string& name) {
    if (fw::FileHandle(OpenForReading(name)))
        return true;
    switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return false;
    default: // access denied, a folder of that name, a locked file: present
        return true;
    }
}

std::unique_ptr<ByteSource> WinFiles::Open(const std::string& name) {
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<HandleSource>(file);
}

bool WinFiles::SameFile(const std::string& a, const std::string& b) {
    FileId first, second;
    return !FileIdOf(a, first) || !FileIdOf(b, second) || first == second;
}

std::vector<std::string> CommandLineArguments() {
    // The wide command line: __argv has lost what the ANSI code page cannot hold.
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!argv)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(fw::Narrow(argv[i]));
    ::LocalFree(argv);
    return args;
}

LaunchConfig ReadLaunchConfig() {
    WinFiles files;
    AnsiCodePage ansi;
    return ReadLaunchConfig(CommandLineArguments(), files, ansi);
}

std::string ReadIconEntry() {
    WinFiles files;
    AnsiCodePage ansi;
    return ReadIconEntry(files, ansi);
}

bool ReadLabelEntry(std::string& label) {
    WinFiles files;
    AnsiCodePage ansi;
    return ReadLabelEntry(files, label, ansi);
}

void ClearReadOnly(const std::string& path) {
    const fw::WString wide = fw::WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool FileSizeOf(const std::string& name, unsigned long long& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(fw::WidePath(name).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool CopyClearingReadOnly(const std::string& from, const std::string& to) {
    if (!::CopyFileW(fw::WidePath(from).c_str(), fw::WidePath(to).c_str(), FALSE))
        return false;
    ClearReadOnly(to);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    ClearReadOnly(path);
    return WriteAndClose(::CreateFileW(fw::WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr),
                         text);
}

bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue) {
    AnsiCodePage ansi;
    const std::string bytes = AutorunInfText(settings, &openValue, ansi);
    const fw::WString path = fw::WidePath(folder + "\\" + kAutorunInf);
    const DWORD attributes = ::GetFileAttributesW(path.data());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(path.data(), FILE_ATTRIBUTE_NORMAL);
    return WriteAndClose(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr), bytes);
}

} // namespace vk
