#include "core/posix/file_access_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

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
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
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
bool Finish(int fd, bool written, const std::string& path, const struct stat* source, std::string* error) {
    int failure = written ? 0 : errno;
    if (written && source) {
        const struct timespec times[2] = {source->st_atim, source->st_mtim};
        ::futimens(fd, times);
    }
    if (::close(fd) != 0 && written) {
        failure = errno;
        written = false;
    }
    if (!written) {
        ::unlink(path.c_str());
        if (error)
            *error = PosixReason(failure);
    }
    return written;
}

// The kernel's own copy where the file system has one, else through a buffer. A watch hears
// of each 8 MB and may stop the copy.
bool CopyBytes(int in, int out, off_t size, CopyWatch* watch) {
    constexpr off_t kStep = 8 << 20;
    off_t left = size;
    while (left > 0) {
        if (watch && !watch->Copied(static_cast<unsigned long long>(size - left))) {
            errno = ECANCELED;
            return false;
        }
        const ssize_t n =
            ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(watch ? std::min(left, kStep) : left), 0);
        // Only "no kernel copy here" falls back to the buffer; anything else is the copy's failure.
        if (n < 0 && errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return false;
        if (n <= 0)
            break;
        left -= n;
    }
    if (left == 0 && size > 0)
        return true;
    if (::lseek(in, size - left, SEEK_SET) < 0 || ::lseek(out, size - left, SEEK_SET) < 0)
        return false;
    char buffer[1 << 16];
    off_t done = size - left;
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) != 0;) {
        if (n < 0 || !WriteAll(out, buffer, static_cast<size_t>(n)))
            return false;
        done += n;
        if (watch && done / kStep != (done - n) / kStep && !watch->Copied(static_cast<unsigned long long>(done))) {
            errno = ECANCELED;
            return false;
        }
    }
    return true;
}

void Describe(const struct stat& st, FolderEntry& entry) {
    entry.kind = S_ISDIR(st.st_mode) ? PathKind::Folder : S_ISREG(st.st_mode) ? PathKind::File : PathKind::Other;
    entry.size = S_ISREG(st.st_mode) ? static_cast<unsigned long long>(st.st_size) : 0;
    entry.modified = static_cast<long long>(st.st_mtime);
}

bool Fail(std::string& error) {
    error = PosixReason(errno);
    return false;
}

} // namespace

// A pipe or a device named like a page must never wait for a writer, so the open does not
// block, and the callers take only regular files.
int OpenPosixToRead(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

std::unique_ptr<ByteSource> OpenPosixFile(const std::string& path) {
    const int fd = OpenPosixToRead(path);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return std::make_unique<FileBytes>(fd);
    if (fd >= 0)
        ::close(fd);
    return nullptr;
}

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

std::string PosixReason(int error) {
    switch (error) {
    case ENOSPC:
        return "the disk is full";
    case EDQUOT:
        return "the disk quota is used up";
    case EACCES:
    case EPERM:
    case EROFS:
        return "access is denied";
    case ENAMETOOLONG:
        return "the path is too long";
    case ENOENT:
        return "no such file or folder";
    case EEXIST:
    case ENOTEMPTY:
        return "something of that name is in the way";
    default:
        break;
    }
    std::string text = std::strerror(error);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

bool WritePosixFile(const std::string& path, std::string_view bytes, const struct stat* dates, std::string* error) {
    const int fd = OpenForWriting(path);
    if (fd < 0) {
        if (error)
            *error = PosixReason(errno);
        return false;
    }
    return Finish(fd, WriteAll(fd, bytes.data(), bytes.size()), path, dates, error);
}

bool CopyPosixFile(const std::string& from, const std::string& to, std::string* error, CopyWatch* watch) {
    const int in = OpenPosixToRead(from);
    struct stat st;
    if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int why = in < 0 ? errno : EISDIR;
        if (in >= 0)
            ::close(in);
        if (error)
            *error = PosixReason(why);
        return false;
    }
    const int out = OpenForWriting(to);
    bool copied = false;
    if (out < 0) {
        if (error)
            *error = PosixReason(errno);
    } else {
        copied = Finish(out, CopyBytes(in, out, st.st_size, watch), to, &st, error);
    }
    ::close(in);
    return copied;
}

PathKind PosixFileAccess::Kind(const std::string& path) {
    struct stat st;
    if (::stat(PosixPath(path).c_str(), &st) != 0)
        return PathKind::None;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : S_ISREG(st.st_mode) ? PathKind::File : PathKind::Other;
}

bool PosixFileAccess::List(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) {
    const std::string dir = PosixPath(folder);
    DIR* handle = ::opendir(dir.c_str());
    if (!handle)
        return Fail(error);
    while (const dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st;
        // A link is listed as what it leads to, as the copies and the image see it; a broken
        // one is no file of a build. Looked up from the open folder: one step, not the path.
        FolderEntry found{name, PathKind::Other};
        if (::fstatat(::dirfd(handle), entry->d_name, &st, 0) == 0)
            Describe(st, found);
        entries.push_back(found);
    }
    ::closedir(handle);
    return true;
}

bool PosixFileAccess::MakeFolder(const std::string& path, std::string& error) {
    return ::mkdir(PosixPath(path).c_str(), 0777) == 0 || Fail(error);
}

bool PosixFileAccess::RemoveFile(const std::string& path, std::string& error) {
    return ::unlink(PosixPath(path).c_str()) == 0 || Fail(error);
}

bool PosixFileAccess::RemoveFolder(const std::string& path, std::string& error) {
    const std::string dir = PosixPath(path);
    struct stat st;
    // A link to a folder is removed as the link: what it leads to is not the build's.
    if (::lstat(dir.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return ::unlink(dir.c_str()) == 0 || Fail(error);
    return ::rmdir(dir.c_str()) == 0 || Fail(error);
}

bool PosixFileAccess::Rename(const std::string& from, const std::string& to, bool replace, std::string& error) {
    const std::string source = PosixPath(from), dest = PosixPath(to);
    if (!replace || Kind(to) == PathKind::Folder) {
        struct stat st;
        if (::lstat(dest.c_str(), &st) == 0) {
            error = PosixReason(EEXIST);
            return false;
        }
    }
    return ::rename(source.c_str(), dest.c_str()) == 0 || Fail(error);
}

bool PosixFileAccess::Copy(const std::string& from, const std::string& to, std::string& error) {
    return CopyPosixFile(PosixPath(from), PosixPath(to), &error);
}

bool PosixFileAccess::CopyWatched(const std::string& from, const std::string& to, CopyWatch& watch,
                                  std::string& error) {
    return CopyPosixFile(PosixPath(from), PosixPath(to), &error, &watch);
}

bool PosixFileAccess::WriteWhole(const std::string& path, std::string_view bytes, std::string& error) {
    return WritePosixFile(PosixPath(path), bytes, nullptr, &error);
}

bool PosixFileAccess::FileSize(const std::string& path, unsigned long long& size) {
    struct stat st;
    if (::stat(PosixPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<unsigned long long>(st.st_size);
    return true;
}

bool PosixFileAccess::Details(const std::string& path, FolderEntry& entry) {
    struct stat st;
    if (::stat(PosixPath(path).c_str(), &st) != 0)
        return false;
    Describe(st, entry);
    return true;
}

bool PosixFileAccess::FreeSpace(const std::string& path, unsigned long long& bytes, std::string& volume) {
    const std::string native = PosixPath(path);
    struct statvfs vfs;
    struct stat st;
    if (::statvfs(native.c_str(), &vfs) != 0 || ::stat(native.c_str(), &st) != 0)
        return false;
    bytes = static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize;
    volume = std::to_string(static_cast<unsigned long long>(st.st_dev));
    return true;
}

bool PosixFileAccess::SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::stat(PosixPath(a).c_str(), &first) == 0 && ::stat(PosixPath(b).c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::unique_ptr<ByteSource> PosixFileAccess::Open(const std::string& path) { return OpenPosixFile(PosixPath(path)); }

bool PosixFileAccess::Recycle(const std::string&, std::string& error) {
    error = "this system has no Recycle Bin the program can use";
    return false;
}

} // namespace vk
