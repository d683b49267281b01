#include "designer/command_build_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/paths.h"
#include "disc/folder_image.h"

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

bool IsFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opens path for a whole rewrite; a read-only file is made writable first, as the designer does.
int OpenForWriting(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
        ::chmod(path.c_str(), st.st_mode | S_IWUSR);
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// A failed write leaves nothing half written behind.
bool Finish(int fd, bool written, const std::string& path) {
    written = ::close(fd) == 0 && written;
    if (!written)
        ::unlink(path.c_str());
    return written;
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

std::string PosixMessage(std::string message) {
    for (size_t i = 0; i < message.size(); ++i)
        if (message[i] == '\\' && (i + 1 == message.size() || message[i + 1] != ' '))
            message[i] = '/';
    return message;
}

bool PosixDisk::Exists(const std::string& name) {
    struct stat st;
    return ::stat(PosixPath(name).c_str(), &st) == 0;
}

std::unique_ptr<ByteSource> PosixDisk::Open(const std::string& name) {
    const std::string path = PosixPath(name);
    if (!IsFile(path))
        return nullptr;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd < 0 ? nullptr : std::make_unique<FileBytes>(fd);
}

bool PosixDisk::MakeFolder(const std::string& path) {
    return ::mkdir(PosixPath(path).c_str(), 0777) == 0 || errno == EEXIST;
}

bool PosixDisk::Copy(const std::string& from, const std::string& to) {
    const std::string source = PosixPath(from), dest = PosixPath(to);
    if (!IsFile(source))
        return false;
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = OpenForWriting(dest);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool written = true;
    char buffer[1 << 16];
    for (ssize_t n; written && (n = ::read(in, buffer, sizeof buffer)) != 0;)
        written = n > 0 && WriteAll(out, buffer, static_cast<size_t>(n));
    // The copy keeps the file's date, as a copy on Windows does, so the images agree too.
    struct stat st;
    if (written && ::fstat(in, &st) == 0) {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out, times);
    }
    ::close(in);
    return Finish(out, written, dest);
}

PosixCommandHost::PosixCommandHost(std::string launcher, FILE* out, FILE* err)
    : m_launcher(CorePath(launcher)), m_out(out), m_err(err) {
    char* cwd = ::getcwd(nullptr, 0);
    m_startFolder = CorePath(cwd ? cwd : "/");
    std::free(cwd);
}

void PosixCommandHost::Print(const std::string& text) {
    std::fputs((PosixMessage(text) + "\n").c_str(), m_out);
    std::fflush(m_out);
}

void PosixCommandHost::PrintError(const std::string& text) {
    std::fputs((PosixMessage(text) + "\n").c_str(), m_err);
    std::fflush(m_err);
}

std::string PosixCommandHost::FullPath(const std::string& path) {
    return ResolveAgainst(m_startFolder, CorePath(path));
}

bool PosixCommandHost::ListFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(PosixPath(folder).c_str());
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return true;
}

bool PosixCommandHost::DesktopFolder(std::string& path) {
    const char* desktop = std::getenv("XDG_DESKTOP_DIR");
    const char* home = std::getenv("HOME");
    if (desktop && *desktop)
        path = CorePath(desktop);
    else if (home && *home)
        path = CorePath(std::string(home) + "/Desktop");
    else
        return false;
    return Exists(path);
}

void PosixCommandHost::RemoveOldFolder(const std::string& folder) {
    // The files directly inside, as the designer deletes them; folders stay.
    const std::string dir = PosixPath(folder);
    std::vector<std::string> names;
    if (!ListFolder(folder, names))
        return;
    for (const std::string& name : names)
        if (IsFile(dir + "/" + name))
            ::unlink((dir + "/" + name).c_str());
    ::rmdir(dir.c_str());
}

bool PosixCommandHost::CreateFolder(const std::string& folder) {
    return ::mkdir(PosixPath(folder).c_str(), 0777) == 0;
}

void PosixCommandHost::SetWorkingFolder(const std::string& folder) {
    if (::chdir(PosixPath(folder).c_str()) != 0) {
        // Relative names then fail like any missing file.
    }
}

bool PosixCommandHost::WriteAutorunInf(const std::string& folder, const DiscSettings& settings,
                                       std::string& openValue) {
    return WriteTextFile(folder + "\\" + kAutorunInf, AutorunInfText(settings, &openValue));
}

bool PosixCommandHost::WriteTextFile(const std::string& path, const std::string& text) {
    const std::string file = PosixPath(path);
    const int fd = OpenForWriting(file);
    return fd >= 0 && Finish(fd, WriteAll(fd, text.data(), text.size()), file);
}

bool PosixCommandHost::FileSize(const std::string& path, unsigned long long& size) {
    struct stat st;
    if (::stat(PosixPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<unsigned long long>(st.st_size);
    return true;
}

bool PosixCommandHost::WriteImage(const std::string& folder, const std::string& image, const std::string& label,
                                  std::string& error) {
    Print("Writing the disc image " + image);
    return WriteFolderImage(PosixPath(folder), PosixPath(image), label, nullptr, error);
}

} // namespace vk
