// The file work of a build, one implementation per platform (file_access_win.cpp,
// file_access_posix.cpp) and an in-memory one in the tests: every front end that writes a disc
// lists, copies, writes, renames and removes through it, so they all keep the same guards.
// Paths are the core's: UTF-8, "\"-separated; a POSIX implementation turns them at its edge.
// Each failing call says why in error, in the system's own words.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_lines.h"

namespace vk {

enum class PathKind { None, File, Folder, Other };

struct FolderEntry {
    std::string name;
    PathKind kind = PathKind::File;
    unsigned long long size = 0; // files
    long long modified = 0;      // seconds since 1970, UTC
};

// Told how far a long copy has come; false stops it.
class CopyWatch {
public:
    virtual ~CopyWatch() = default;
    virtual bool Copied(unsigned long long bytes) = 0;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;
    virtual PathKind Kind(const std::string& path) = 0;
    // The entries of a folder, "." and ".." left out; a link as what it leads to.
    virtual bool List(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) = 0;
    // One folder whose parent exists; fails when anything of that name is there.
    virtual bool MakeFolder(const std::string& path, std::string& error) = 0;
    // A file, read-only or not.
    virtual bool RemoveFile(const std::string& path, std::string& error) = 0;
    // An empty folder.
    virtual bool RemoveFolder(const std::string& path, std::string& error) = 0;
    // A file or folder to a new name on the same volume; replace lets a file take the place of
    // another file, never of a folder.
    virtual bool Rename(const std::string& from, const std::string& to, bool replace, std::string& error) = 0;
    // A copy keeping the file's date, overwriting, its read-only attribute cleared; a failed copy
    // leaves nothing half written behind.
    virtual bool Copy(const std::string& from, const std::string& to, std::string& error) = 0;
    // Copy, telling watch as it goes (a large file takes a while); a copy stopped by watch fails.
    virtual bool CopyWatched(const std::string& from, const std::string& to, CopyWatch&, std::string& error) {
        return Copy(from, to, error);
    }
    // Replaces the file with bytes, read-only or not; nothing half written is left behind.
    virtual bool WriteWhole(const std::string& path, std::string_view bytes, std::string& error) = 0;
    // A file's size; false for a folder or no file.
    virtual bool FileSize(const std::string& path, unsigned long long& size) = 0;
    // What stands at path as List would give it in its folder; false when nothing does.
    virtual bool Details(const std::string& path, FolderEntry& entry) {
        entry.kind = Kind(path);
        entry.size = 0;
        entry.modified = 0;
        return entry.kind != PathKind::None && (entry.kind != PathKind::File || FileSize(path, entry.size));
    }
    // Bytes free to this user on the volume that holds path (which exists), and a name of that
    // volume that two paths share exactly when they are on the same one.
    virtual bool FreeSpace(const std::string& path, unsigned long long& bytes, std::string& volume) = 0;
    // Whether two paths name one file or folder (a name in another letter case, a link).
    virtual bool SameFile(const std::string& a, const std::string& b) = 0;
    virtual std::unique_ptr<ByteSource> Open(const std::string& path) = 0;
    // Moves a file or folder where the user can get it back (the Recycle Bin); false where the
    // platform has no such place.
    virtual bool Recycle(const std::string& path, std::string& error) = 0;
};

// The part of a path after its last backslash, and the part before it.
std::string LastStep(const std::string& path);
std::string ParentOf(const std::string& path);

// Every file below folder, as paths relative to it, and the folders, deepest last; false with
// error when a folder cannot be listed. Entries that are neither file nor folder count as files.
bool ListTree(FileAccess& files, const std::string& folder, std::vector<std::string>& fileNames,
              std::vector<std::string>& folderNames, std::string& error);

// Removes folder and everything below it: what the caller knows to be its own. False with
// error (and the rest left) on the first failure.
bool RemoveTree(FileAccess& files, const std::string& folder, std::string& error);

// path + suffix, or with a number after the suffix, naming nothing yet.
std::string UnusedName(FileAccess& files, const std::string& path, const std::string& suffix);

} // namespace vk
