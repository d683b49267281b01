// The file access on Win32, for the designer and "design --build".
#pragma once
#include "core/file_access.h"

namespace vk {

// Why a call failed, from GetLastError's value, in words for a message.
std::string WinReason(unsigned long error);

// What tells one file or folder from another: its volume and its index there.
struct FileId {
    unsigned long volume = 0, high = 0, low = 0;
    bool operator==(const FileId& o) const { return volume == o.volume && high == o.high && low == o.low; }
};
// False when the path cannot be opened.
bool FileIdOf(const std::string& path, FileId& id);

// A file time (its two halves) as List gives it: seconds since 1970, UTC, rounded down.
long long UnixSeconds(unsigned long high, unsigned long low);

class WinFileAccess : public FileAccess {
public:
    PathKind Kind(const std::string& path) override;
    bool List(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) override;
    bool MakeFolder(const std::string& path, std::string& error) override;
    bool RemoveFile(const std::string& path, std::string& error) override;
    bool RemoveFolder(const std::string& path, std::string& error) override;
    bool Rename(const std::string& from, const std::string& to, bool replace, std::string& error) override;
    bool Copy(const std::string& from, const std::string& to, std::string& error) override;
    bool CopyWatched(const std::string& from, const std::string& to, CopyWatch& watch, std::string& error) override;
    bool WriteWhole(const std::string& path, std::string_view bytes, std::string& error) override;
    bool FileSize(const std::string& path, unsigned long long& size) override;
    bool Details(const std::string& path, FolderEntry& entry) override;
    bool FreeSpace(const std::string& path, unsigned long long& bytes, std::string& volume) override;
    bool SameFile(const std::string& a, const std::string& b) override;
    std::unique_ptr<ByteSource> Open(const std::string& path) override;
    bool Recycle(const std::string& path, std::string& error) override;
};

} // namespace vk
