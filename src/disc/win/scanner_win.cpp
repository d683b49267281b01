#include "disc/win/scanner_win.h"

#include <windows.h>

#include "core/win/file_access_win.h"
#include "core/win/launch_config_win.h"
#include "framework/handles.h"
#include "framework/wide.h"

namespace vk {
bool WinDisk::Exists(const std::string& name) { return FileExists(name); }

ScanFiles::Found WinDisk::ReadWhole(const std::string& name, std::string& bytes) {
    long long modified = 0;
    return ReadWholeDated(name, bytes, modified);
}

// One open for the whole page (an open costs a trip to the system), read straight into bytes.
ScanFiles::Found WinDisk::ReadWholeDated(const std::string& name, std::string& bytes, long long& modified) {
    bytes.clear();
    modified = -1;
    const fw::FileHandle owned(
        ::CreateFileW(fw::WidePath(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const HANDLE file = owned.Get();
    if (!owned)
        return FileExists(name) ? Found::Unreadable : Found::Absent;
    LARGE_INTEGER size{};
    FILETIME written;
    bool whole = ::GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 31);
    if (whole && ::GetFileTime(file, nullptr, nullptr, &written))
        modified = UnixSeconds(written.dwHighDateTime, written.dwLowDateTime);
    if (whole) {
        // The size is a hint: a file that grows meanwhile is read to its end.
        bytes.resize(static_cast<size_t>(size.QuadPart) + 1);
        size_t got = 0;
        for (DWORD n = 0;; got += n) {
            if (got == bytes.size())
                bytes.resize(bytes.size() * 2);
            if (!::ReadFile(file, &bytes[got], static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
                whole = false;
                break;
            }
            if (n == 0)
                break;
        }
        bytes.resize(whole ? got : 0);
    }
    return whole ? Found::Read : Found::Unreadable;
}
std::unique_ptr<ByteSource> WinDisk::Open(const std::string& name) { return m_files.Open(name); }
bool WinDisk::Copy(const std::string& from, const std::string& to) {
    if (CopyClearingReadOnly(from, to))
        return true;
    m_copyError = WinReason(::GetLastError());
    return false;
}
bool WinDisk::MakeFolder(const std::string& path) {
    return ::CreateDirectoryW(fw::WidePath(path).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace vk
