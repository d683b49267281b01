#include "core/win/file_access_win.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/win/launch_config_win.h"
#include "framework/handles.h"
#include "framework/wide.h"

namespace vk {
namespace {

// How long a rename refused for a file in use is tried again: 3 s in all.
constexpr int kRenameTries = 60;
constexpr DWORD kRenamePauseMs = 50;

bool Fail(std::string& error) {
    error = WinReason(::GetLastError());
    return false;
}

// Opens a file or a folder for its identity only.
HANDLE OpenForInfo(const std::string& path) {
    return ::CreateFileW(fw::WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

std::string WinReason(unsigned long error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return "access is denied";
    case ERROR_FILENAME_EXCED_RANGE:
        return "the path is too long";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "the file is in use by another program";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "no such file or folder";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
        return "something of that name is in the way";
    default:
        break;
    }
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? fw::Narrow(text) : std::string();
    if (text)
        ::LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    if (reason.empty())
        return "error " + std::to_string(error);
    if (reason[0] >= 'A' && reason[0] <= 'Z')
        reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    return reason;
}

PathKind WinFileAccess::Kind(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(fw::WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

namespace {

FolderEntry Entry(const std::string& name, DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& written) {
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    return {name, folder ? PathKind::Folder : PathKind::File,
            folder ? 0 : static_cast<unsigned long long>(sizeHigh) << 32 | sizeLow,
            UnixSeconds(written.dwHighDateTime, written.dwLowDateTime)};
}

} // namespace

long long UnixSeconds(unsigned long high, unsigned long low) {
    // File times count 100 ns from 1601.
    const long long time = (static_cast<long long>(high) << 32 | low) - 116444736000000000LL;
    return time >= 0 ? time / 10000000 : (time - 9999999) / 10000000;
}

bool WinFileAccess::Details(const std::string& path, FolderEntry& entry) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(fw::WidePath(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    entry = Entry(entry.name, data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
    return true;
}

bool WinFileAccess::List(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) {
    WIN32_FIND_DATAW entry;
    const fw::FindHandle owned(::FindFirstFileW(fw::WidePath(folder + "\\*").c_str(), &entry));
    const HANDLE find = owned.Get();
    if (!owned)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND || Fail(error); // an empty drive's root
    do {
        const std::string name = fw::Narrow(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        entries.push_back(
            Entry(name, entry.dwFileAttributes, entry.nFileSizeHigh, entry.nFileSizeLow, entry.ftLastWriteTime));
    } while (::FindNextFileW(find, &entry));
    return ::GetLastError() == ERROR_NO_MORE_FILES || Fail(error);
}

bool WinFileAccess::MakeFolder(const std::string& path, std::string& error) {
    return ::CreateDirectoryW(fw::WidePath(path).c_str(), nullptr) || Fail(error);
}

bool WinFileAccess::RemoveFile(const std::string& path, std::string& error) {
    ClearReadOnly(path);
    return ::DeleteFileW(fw::WidePath(path).c_str()) || Fail(error);
}

bool WinFileAccess::RemoveFolder(const std::string& path, std::string& error) {
    return ::RemoveDirectoryW(fw::WidePath(path).c_str()) || Fail(error);
}

bool WinFileAccess::Rename(const std::string& from, const std::string& to, bool replace, std::string& error) {
    if (replace && Kind(to) == PathKind::Folder) {
        error = WinReason(ERROR_ALREADY_EXISTS);
        return false;
    }
    const fw::WString source = fw::WidePath(from), dest = fw::WidePath(to);
    // A file just written is often opened for a moment by someone else (the shell making its
    // icon, a virus scanner), which refuses a rename then: it is tried again for a while.
    for (int tries = 0;; ++tries) {
        if (::MoveFileExW(source.c_str(), dest.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
            return true;
        const DWORD why = ::GetLastError();
        if (tries == kRenameTries ||
            (why != ERROR_SHARING_VIOLATION && why != ERROR_ACCESS_DENIED && why != ERROR_LOCK_VIOLATION))
            return Fail(error);
        ::Sleep(kRenamePauseMs);
    }
}

bool WinFileAccess::Copy(const std::string& from, const std::string& to, std::string& error) {
    if (!::CopyFileW(fw::WidePath(from).c_str(), fw::WidePath(to).c_str(), FALSE))
        return Fail(error);
    ClearReadOnly(to);
    return true;
}

namespace {

// A copy through a buffer, telling watch of each step: the system's copy reports its progress
// differently from system to system (Wine's not at all), and a large file must stop when asked.
// Dates as the system's copy keeps them; a stopped or failed copy is removed.
bool CopyInSteps(const std::string& from, const std::string& to, CopyWatch& watch) {
    fw::FileHandle source(::CreateFileW(fw::WidePath(from).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const HANDLE in = source.Get();
    if (!source)
        return false;
    const fw::WString dest = fw::WidePath(to);
    const HANDLE out = ::CreateFileW(dest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        const DWORD why = ::GetLastError();
        source.Reset();
        ::SetLastError(why);
        return false;
    }
    std::vector<char> buffer(1 << 20);
    unsigned long long done = 0;
    DWORD why = ERROR_SUCCESS;
    for (DWORD got = 0;; done += got) {
        if (!watch.Copied(done)) {
            why = ERROR_REQUEST_ABORTED;
            break;
        }
        DWORD put = 0;
        if (!::ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            why = ::GetLastError();
            break;
        }
        if (got == 0)
            break;
        if (!::WriteFile(out, buffer.data(), got, &put, nullptr) || put != got) {
            why = put != got && ::GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : ::GetLastError();
            break;
        }
    }
    FILETIME created, accessed, written;
    if (why == ERROR_SUCCESS && ::GetFileTime(in, &created, &accessed, &written))
        ::SetFileTime(out, &created, &accessed, &written);
    source.Reset();
    // The written file's close is checked: a full disk may show only there.
    if (!::CloseHandle(out) && why == ERROR_SUCCESS)
        why = ::GetLastError();
    if (why != ERROR_SUCCESS) {
        ::DeleteFileW(dest.c_str());
        ::SetLastError(why);
        return false;
    }
    return true;
}

} // namespace

bool WinFileAccess::CopyWatched(const std::string& from, const std::string& to, CopyWatch& watch, std::string& error) {
    // Most files copy in less time than the eye sees: the system's own copy, told once.
    unsigned long long size = 0;
    if (FileSize(from, size) && size < (16ULL << 20))
        return Copy(from, to, error) && watch.Copied(size);
    if (!CopyInSteps(from, to, watch))
        return Fail(error);
    ClearReadOnly(to);
    return true;
}

bool WinFileAccess::WriteWhole(const std::string& path, std::string_view bytes, std::string& error) {
    if (WriteWholeFile(path, std::string(bytes)))
        return true;
    Fail(error);
    ::DeleteFileW(fw::WidePath(path).c_str());
    return false;
}

bool WinFileAccess::FileSize(const std::string& path, unsigned long long& size) { return FileSizeOf(path, size); }

bool WinFileAccess::FreeSpace(const std::string& path, unsigned long long& bytes, std::string& volume) {
    ULARGE_INTEGER available;
    wchar_t root[MAX_PATH] = {};
    const fw::WString wide = fw::Widen(path);
    if (!::GetDiskFreeSpaceExW(wide.c_str(), &available, nullptr, nullptr) ||
        !::GetVolumePathNameW(wide.c_str(), root, MAX_PATH))
        return false;
    bytes = available.QuadPart;
    volume = fw::Narrow(root);
    return true;
}

bool FileIdOf(const std::string& path, FileId& id) {
    const fw::FileHandle file(OpenForInfo(path));
    if (!file)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL got = ::GetFileInformationByHandle(file.Get(), &info);
    if (got)
        id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return got;
}

bool WinFileAccess::SameFile(const std::string& a, const std::string& b) {
    FileId first, second;
    return FileIdOf(a, first) && FileIdOf(b, second) && first == second;
}

std::unique_ptr<ByteSource> WinFileAccess::Open(const std::string& path) { return WinFiles().Open(path); }

bool WinFileAccess::Recycle(const std::string& path, std::string& error) {
    // The shell takes a list ending in two NULs, and full paths only.
    wchar_t full[32768] = {};
    const DWORD length = ::GetFullPathNameW(fw::Widen(path).c_str(), 32766, full, nullptr);
    if (length == 0 || length >= 32766)
        return Fail(error);
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = full;
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int result = ::SHFileOperationW(&operation);
    if (result != 0 || operation.fAnyOperationsAborted) {
        error = "the Recycle Bin did not take it (" + std::to_string(result) + ")";
        return false;
    }
    return Kind(path) == PathKind::None || (error = "it is still there", false);
}

} // namespace vk
