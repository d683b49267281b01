#include "disc/folder_image.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/posix/file_access_posix.h"
#include "disc/disc_image.h"

namespace vk {
namespace {

std::string Why(int error) { return error == ENOSPC ? "the disc is full" : std::strerror(error); }

class PosixHost : public DiscHost {
public:
    PosixHost(const std::string& folder, const std::string& image, int out, ImageProgress* progress,
              ImageListing* listing)
        : m_folder(folder), m_image(image), m_out(out), m_progress(progress), m_listing(listing) {}

    bool List(const std::string& folder, std::vector<DiscItem>& items, std::string& error) override {
        if (m_listing)
            return m_listing->List(folder, items, error);
        const std::string path = Shown(folder);
        std::vector<FolderEntry> entries;
        if (!PosixFileAccess().List(CorePath(path), entries, error))
            return Fail(path, error, error);
        for (const FolderEntry& entry : entries) {
            if (entry.kind == PathKind::Other || entry.kind == PathKind::None)
                return Fail(path + "/" + entry.name, "neither a file nor a folder", error);
            items.push_back({entry.name, entry.kind == PathKind::Folder, entry.size, entry.modified});
        }
        return true;
    }

    bool Open(const std::string& file, std::string& error) override {
        m_path = Shown(file);
        // A file being copied while the image is written is read once it is whole.
        if (!WaitUntilWhole(
                m_listing, file, m_path, m_stopped, [] { ::usleep(1000); }, error))
            return false;
        m_in = open(m_path.c_str(), O_RDONLY);
        return m_in >= 0 || Fail(m_path, Why(errno), error);
    }

    long long Read(char* buffer, size_t size, std::string& error) override {
        ssize_t got;
        do
            got = read(m_in, buffer, size);
        while (got < 0 && errno == EINTR);
        if (got < 0)
            Fail(m_path, Why(errno), error);
        return got;
    }

    void Close() override { close(m_in); }

    // The kernel's copy between the two files, a buffer where it has none (another file
    // system). Writes go to the image at its own offset, so that padding is only skipped.
    bool CopiesDirect() const override { return true; }
    long long CopyDirect(unsigned long long size, std::string& error) override {
        if (m_stopped) {
            error = "stopped";
            return -1;
        }
        unsigned long long copied = 0;
        while (copied < size) {
            const size_t want = static_cast<size_t>(size - copied);
            ssize_t n = -1;
            if (m_kernelCopy) {
                n = copy_file_range(m_in, nullptr, m_out, &m_offset, want, 0);
                if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
                    m_kernelCopy = false;
            }
            if (!m_kernelCopy) {
                char buffer[1 << 16];
                n = read(m_in, buffer, std::min(want, sizeof buffer));
                if (n > 0 && !Write(buffer, static_cast<size_t>(n), error))
                    return -1;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                Fail(m_path, Why(errno), error);
                return -1;
            }
            if (n == 0)
                break;
            copied += static_cast<unsigned long long>(n);
            // A regular file copies short at its end: the one byte more asked for is not there.
            if (static_cast<size_t>(n) < want && copied + 1 >= size)
                break;
        }
        return static_cast<long long>(copied);
    }
    bool SkipZeros(size_t size, std::string&) override {
        m_offset += static_cast<off_t>(size);
        return true;
    }

    bool Write(const char* data, size_t size, std::string& error) override {
        if (m_stopped) {
            error = "stopped";
            return false;
        }
        while (size) {
            const ssize_t put = pwrite(m_out, data, size, m_offset);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return Fail(m_image, Why(put < 0 ? errno : ENOSPC), error);
            data += put;
            size -= put;
            m_offset += put;
        }
        return true;
    }

    void Advance(unsigned long long done, unsigned long long total) override {
        if (m_progress && !m_progress->Advance(done, total))
            m_stopped = true; // the next write fails, and the image with it
    }

    std::string Shown(const std::string& path) override { return path.empty() ? m_folder : m_folder + "/" + path; }

private:
    static bool Fail(const std::string& path, const std::string& why, std::string& error) {
        error = path + ": " + why + ".";
        return false;
    }

    std::string m_folder, m_image, m_path;
    int m_out, m_in = -1;
    ImageProgress* m_progress;
    ImageListing* m_listing;
    bool m_stopped = false;
    bool m_kernelCopy = true;
    off_t m_offset = 0; // where the image is written next

public:
    bool Stopped() const { return m_stopped; }
};

// The path with every link and "." or ".." step resolved; for a file that does not exist yet,
// its folder resolved and its name appended.
std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer))
        return buffer;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return realpath(folder.c_str(), buffer) ? std::string(buffer) + "/" + path.substr(slash + 1) : path;
}

} // namespace

bool WriteFolderImage(const std::string& folder, const std::string& imagePath, const std::string& label,
                      ImageProgress* progress, std::string& error, ImageListing* listing) {
    const std::string root = RealPath(folder);
    if (RealPath(imagePath).rfind(root + "/", 0) == 0) {
        error = imagePath + ": the disc image cannot lie inside the folder it is made of.";
        return false;
    }
    // Written beside under another name and renamed when whole, so a failed run leaves an
    // earlier image as it was.
    const std::string part = imagePath + ".part";
    const int out = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) {
        error = imagePath + ": " + Why(errno) + ".";
        return false;
    }
    PosixHost host(folder, imagePath, out, progress, listing);
    bool ok = WriteDiscImage(host, label, error);
    if (ok && host.Stopped()) {
        error = "stopped";
        ok = false;
    }
    const bool closed = close(out) == 0;
    if (ok && (!closed || rename(part.c_str(), imagePath.c_str()) != 0)) {
        error = imagePath + ": " + Why(errno) + ".";
        ok = false;
    }
    if (!ok)
        unlink(part.c_str());
    return ok;
}

} // namespace vk
