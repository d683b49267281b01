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
    bool Copy(const std::string& from, const std::string& to) override {
        std::error_code error;
        return std::filesystem::copy_file(Native(from), Native(to), std::filesystem::copy_options::overwrite_existing,
                                          error) &&
               !error;
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
