// The scanner's file access on a POSIX file system, for tests and measurements on real
// files. Backslashes in the scanner's paths become slashes; relative paths resolve against
// a base folder.
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "designer/scanner.h"

class PosixDisk : public vk::ScanHost {
public:
    explicit PosixDisk(std::string base) : m_base(std::move(base)) {}

    size_t pages = 0;
    std::vector<std::vector<std::string>> shownMissing;

    std::string Native(const std::string& path) const {
        std::string p = path;
        for (char& c : p)
            if (c == '\\')
                c = '/';
        return !p.empty() && p[0] == '/' ? p : m_base + "/" + p;
    }
    bool Exists(const std::string& name) override {
        struct stat st;
        return ::stat(Native(name).c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
    }
    std::unique_ptr<vk::ByteSource> Open(const std::string& name) override {
        const int fd = ::open(Native(name).c_str(), O_RDONLY);
        if (fd < 0)
            return nullptr;
        return std::make_unique<FdSource>(fd);
    }
    // As cp copies: one open of each side and the kernel's own copy.
    bool Copy(const std::string& from, const std::string& to) override {
        const int in = ::open(Native(from).c_str(), O_RDONLY);
        if (in < 0)
            return false;
        struct stat st;
        const int out = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode)
                            ? ::open(Native(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)
                            : -1;
        bool ok = out >= 0;
        for (off_t left = ok ? st.st_size : 0; ok && left > 0;) {
            ssize_t done = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(left), 0);
            if (done < 0) { // a file system that cannot: through a buffer
                char buffer[1 << 16];
                done = ::read(in, buffer, sizeof buffer);
                ok = done > 0 && ::write(out, buffer, static_cast<size_t>(done)) == done;
            }
            ok = ok && done > 0;
            left -= done > 0 ? done : 0;
        }
        if (out >= 0)
            ok = ::close(out) == 0 && ok;
        ::close(in);
        return ok;
    }
    bool MakeFolder(const std::string& path) override {
        return ::mkdir(Native(path).c_str(), 0777) == 0 || errno == EEXIST;
    }
    void PageStarting(const std::string&, unsigned pauseMs) override {
        ++pages;
        if (pauseMs)
            ::usleep(pauseMs * 1000);
    }
    void ShowMissing(const std::vector<std::string>& missing) override { shownMissing.push_back(missing); }

private:
    class FdSource : public vk::ByteSource {
    public:
        explicit FdSource(int fd) : m_fd(fd) {}
        ~FdSource() override { ::close(m_fd); }
        size_t Read(char* buffer, size_t size) override {
            const ssize_t got = ::read(m_fd, buffer, size);
            return got > 0 ? static_cast<size_t>(got) : 0;
        }

    private:
        int m_fd;
    };

    std::string m_base;
};
