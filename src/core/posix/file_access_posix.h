// The file access on a POSIX file system, for the Linux program and the tests on real files.
// The core's paths are "\"-separated; they become "/" paths at every call.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "core/file_access.h"

namespace vk {

std::string PosixPath(const std::string& corePath);
std::string CorePath(const std::string& posixPath);
// A regular file, not a folder or a device.
bool IsPosixFile(const std::string& path);
// Why a call failed, from its errno, in words for a message.
std::string PosixReason(int error);
// Writes a whole file (a "/" path); a read-only one is made writable first, as the designer
// does, and a failed write leaves nothing half written behind. dates, when given, are the
// source's whose times the file keeps.
bool WritePosixFile(const std::string& path, std::string_view bytes, const struct stat* dates = nullptr,
                    std::string* error = nullptr);
// A file ("/" path) opened to read without ever waiting (a pipe named like a page), or -1.
int OpenPosixToRead(const std::string& path);
// The bytes of a regular file ("/" path), or null when it is no readable file.
std::unique_ptr<ByteSource> OpenPosixFile(const std::string& path);
// Copies a file ("/" paths) keeping its date.
bool CopyPosixFile(const std::string& from, const std::string& to, std::string* error = nullptr,
                   CopyWatch* watch = nullptr);

class PosixFileAccess : public FileAccess {
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
    // Linux has no one place every desktop agrees on: nothing is recycled here.
    bool Recycle(const std::string& path, std::string& error) override;
};

} // namespace vk
