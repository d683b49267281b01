#include "disc/posix/scanner_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vk {

bool PosixDisk::Exists(const std::string& name) {
    struct stat st;
    return ::stat(Native(name).c_str(), &st) == 0;
}

std::unique_ptr<ByteSource> PosixDisk::Open(const std::string& name) { return OpenPosixFile(Native(name)); }

bool PosixDisk::MakeFolder(const std::string& path) {
    return ::mkdir(Native(path).c_str(), 0777) == 0 || errno == EEXIST;
}

bool PosixDisk::SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::stat(Native(a).c_str(), &first) != 0 || ::stat(Native(b).c_str(), &second) != 0 ||
           (first.st_dev == second.st_dev && first.st_ino == second.st_ino);
}

bool PosixDisk::Copy(const std::string& from, const std::string& to) {
    return CopyPosixFile(Native(from), Native(to), &m_copyError);
}

// Reads all of an open file (fd < 0: it could not be opened) and closes it; st is the file's
// status when it was read.
ScanFiles::Found PosixDisk::ReadOpen(int fd, const std::string& path, std::string& bytes, struct stat& st) {
    if (fd < 0) {
        bytes.clear();
        return ::stat(path.c_str(), &st) == 0 ? Found::Unreadable : Found::Absent;
    }
    bool whole = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!whole) {
        bytes.clear();
    } else {
        // The size is a hint: a file that grows or shrinks meanwhile is read to its end. What
        // the buffer held before is read over, not cleared first.
        bytes.resize(static_cast<size_t>(st.st_size) + 1);
        size_t got = 0;
        for (ssize_t n; whole && (n = ::read(fd, &bytes[got], bytes.size() - got)) != 0;) {
            whole = n > 0;
            got += n > 0 ? static_cast<size_t>(n) : 0;
            // A regular file reads short only at its end: no second call to learn it.
            if (whole && got < bytes.size())
                break;
            if (got == bytes.size())
                bytes.resize(bytes.size() * 2);
        }
        bytes.resize(got);
    }
    ::close(fd);
    return whole ? Found::Read : Found::Unreadable;
}

ScanFiles::Found PosixDisk::ReadWhole(const std::string& name, std::string& bytes) {
    const std::string path = Native(name);
    struct stat st;
    return ReadOpen(OpenPosixToRead(path), path, bytes, st);
}

ScanFiles::Found PosixDisk::ReadWholeDated(const std::string& name, std::string& bytes, long long& modified) {
    const std::string path = Native(name);
    struct stat st;
    const Found found = ReadOpen(OpenPosixToRead(path), path, bytes, st);
    modified = found == Found::Read ? static_cast<long long>(st.st_mtime) : -1;
    return found;
}

ScanFiles::Found PosixDisk::CopyAndRead(const std::string& from, const std::string& to, std::string& bytes,
                                        bool& copied) {
    const std::string source = Native(from), dest = Native(to);
    struct stat st;
    const Found found = ReadOpen(OpenPosixToRead(source), source, bytes, st);
    copied = false;
    if (found == Found::Read)
        copied = WritePosixFile(dest, bytes, &st, &m_copyError);
    return found;
}

} // namespace vk
