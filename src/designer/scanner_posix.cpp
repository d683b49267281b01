#include "designer/scanner_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vk {
namespace {

class FileBytes : public ByteSource {
public:
    explicit FileBytes(int fd) : m_fd(fd) {}
    ~FileBytes() override { ::close(m_fd); }
    size_t Read(char* buffer, size_t size) override {
        const ssize_t n = ::read(m_fd, buffer, size);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int OpenForWriting(const std::string& path) {
    // Most copies are new files: they need no look at what was there.
    const int fresh = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fresh >= 0 || errno != EEXIST)
        return fresh;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
        ::chmod(path.c_str(), st.st_mode | S_IWUSR);
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// The copy keeps the file's date, as a copy on Windows does, so the images agree too.
bool Finish(int fd, bool written, const std::string& path, const struct stat* source = nullptr) {
    if (written && source) {
        const struct timespec times[2] = {source->st_atim, source->st_mtim};
        ::futimens(fd, times);
    }
    written = ::close(fd) == 0 && written;
    if (!written)
        ::unlink(path.c_str());
    return written;
}

// Opens a file to read; a pipe or a device named like a page must never wait for a writer,
// so the open does not block, and the caller takes only regular files.
int OpenToRead(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }

// The kernel's own copy where the file system has one, else through a buffer.
bool CopyBytes(int in, int out, off_t size) {
    off_t left = size;
    while (left > 0) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(left), 0);
        if (n <= 0)
            break;
        left -= n;
    }
    if (left == 0 && size > 0)
        return true;
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) != 0;)
        if (n < 0 || !WriteAll(out, buffer, static_cast<size_t>(n)))
            return false;
    return true;
}

} // namespace

std::string PosixPath(const std::string& corePath) {
    std::string path = corePath;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string CorePath(const std::string& posixPath) {
    std::string path = posixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool IsPosixFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool WritePosixFile(const std::string& path, std::string_view bytes) {
    const int fd = OpenForWriting(path);
    return fd >= 0 && Finish(fd, WriteAll(fd, bytes.data(), bytes.size()), path);
}

bool PosixDisk::Exists(const std::string& name) {
    struct stat st;
    return ::stat(Native(name).c_str(), &st) == 0;
}

std::unique_ptr<ByteSource> PosixDisk::Open(const std::string& name) {
    const int fd = OpenToRead(Native(name));
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return std::make_unique<FileBytes>(fd);
    if (fd >= 0)
        ::close(fd);
    return nullptr;
}

bool PosixDisk::MakeFolder(const std::string& path) {
    return ::mkdir(Native(path).c_str(), 0777) == 0 || errno == EEXIST;
}

bool PosixDisk::SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::stat(Native(a).c_str(), &first) != 0 || ::stat(Native(b).c_str(), &second) != 0 ||
           (first.st_dev == second.st_dev && first.st_ino == second.st_ino);
}

bool PosixDisk::Copy(const std::string& from, const std::string& to) {
    const std::string source = Native(from), dest = Native(to);
    const int in = OpenToRead(source);
    if (in < 0)
        return false;
    struct stat st;
    const int out = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode) ? OpenForWriting(dest) : -1;
    const bool copied = out >= 0 && Finish(out, CopyBytes(in, out, st.st_size), dest, &st);
    ::close(in);
    return copied;
}

// Reads all of an open file (fd < 0: it could not be opened) and closes it; st is the file's
// status when it was read.
ScanHost::Found PosixDisk::ReadOpen(int fd, const std::string& path, std::string& bytes, struct stat& st) {
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
            if (got == bytes.size())
                bytes.resize(bytes.size() * 2);
        }
        bytes.resize(got);
    }
    ::close(fd);
    return whole ? Found::Read : Found::Unreadable;
}

ScanHost::Found PosixDisk::ReadWhole(const std::string& name, std::string& bytes) {
    const std::string path = Native(name);
    struct stat st;
    return ReadOpen(OpenToRead(path), path, bytes, st);
}

ScanHost::Found PosixDisk::CopyAndRead(const std::string& from, const std::string& to, std::string& bytes,
                                       bool& copied) {
    const std::string source = Native(from), dest = Native(to);
    struct stat st;
    const Found found = ReadOpen(OpenToRead(source), source, bytes, st);
    copied = false;
    if (found == Found::Read) {
        const int out = OpenForWriting(dest);
        copied = out >= 0 && Finish(out, WriteAll(out, bytes.data(), bytes.size()), dest, &st);
    }
    return found;
}

} // namespace vk
