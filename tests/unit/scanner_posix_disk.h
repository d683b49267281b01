// The Linux program's scanner host on real files, for tests and measurements: relative paths
// resolve against a base folder, and the pages read and missing lists shown are kept.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "disc/posix/scanner_posix.h"

class PosixDisk : public vk::PosixDisk, public vk::ScanProgress {
public:
    vk::Windows1252 ansi;
    explicit PosixDisk(std::string base) : m_base(std::move(base)) {}

    size_t pages = 0;
    std::vector<std::vector<vk::MissingFile>> shownMissing;

    void PageStarting(const std::string&) override { ++pages; }
    void ShowMissing(const std::vector<vk::MissingFile>& missing) override { shownMissing.push_back(missing); }

protected:
    std::string Native(const std::string& path) const override {
        const std::string p = vk::PosixPath(path);
        return !p.empty() && p[0] == '/' ? p : m_base + "/" + p;
    }

private:
    std::string m_base;
};

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
