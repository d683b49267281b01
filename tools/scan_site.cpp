// Runs the linked-file scanner on a real folder from the command line, as Create CD runs it
// (start page copied first, then its scan), with the POSIX file system. Used by the check
// against a browser's view of real sites and by the benchmarks.
//
//   scan_site START_PAGE OUT_FOLDER   prints each missing file on a line of its own, then
//                                     "# <seconds> <documents read> <peak memory in KiB>"
//                                     on the last line
//   scan_site --no-copies START_PAGE OUT_FOLDER
//                                     the same scan with every copy and folder taken as made
//                                     and nothing written: the scan's reading and resolving
//                                     alone, for the benchmark's breakdown
//   scan_site --file-work START_PAGE OUT_FOLDER
//                                     the scan's copies, folders and page reads alone: the
//                                     scan is run writing nothing, untimed, and its file
//                                     operations are then made in its order and timed,
//                                     without a page read for its links
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "scanner_posix_disk.h"

namespace {

// Writes nothing; the output folder reads as empty.
class NoCopies : public PosixDisk {
public:
    explicit NoCopies(std::string out) : PosixDisk(""), m_out(std::move(out)) {}
    bool Exists(const std::string& name) override {
        return name.compare(0, m_out.size(), m_out) != 0 && PosixDisk::Exists(name);
    }
    bool Copy(const std::string&, const std::string&) override { return true; }
    bool MakeFolder(const std::string&) override { return true; }
    Found CopyAndRead(const std::string& from, const std::string&, std::string& bytes, bool& copied) override {
        copied = true;
        return ReadWhole(from, bytes);
    }

private:
    std::string m_out;
};

// Writes nothing and keeps each file operation the scan asks for, in order.
class FileWork : public NoCopies {
public:
    using NoCopies::NoCopies;
    struct Step {
        enum { Folder, Copy, CopyAndRead } kind;
        std::string from, to;
    };
    std::vector<Step> steps;
    bool Copy(const std::string& from, const std::string& to) override {
        steps.push_back({Step::Copy, from, to});
        return true;
    }
    bool MakeFolder(const std::string& path) override {
        steps.push_back({Step::Folder, "", path});
        return true;
    }
    Found CopyAndRead(const std::string& from, const std::string& to, std::string& bytes, bool& copied) override {
        steps.push_back({Step::CopyAndRead, from, to});
        return NoCopies::CopyAndRead(from, to, bytes, copied);
    }
    // The same operations on the real file system.
    void Replay(PosixDisk& disk) const {
        std::string bytes;
        bool copied = false;
        for (const Step& step : steps) {
            if (step.kind == Step::Folder)
                disk.MakeFolder(step.to);
            else if (step.kind == Step::Copy)
                disk.Copy(step.from, step.to);
            else
                disk.CopyAndRead(step.from, step.to, bytes, copied);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[1] : "";
    const bool noCopies = mode == "--no-copies", fileWork = mode == "--file-work";
    if (argc != 3 && !noCopies && !fileWork) {
        std::fprintf(stderr, "usage: scan_site [--no-copies | --file-work] START_PAGE OUT_FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path start = fs::absolute(argv[argc - 2]);
    const fs::path out = fs::absolute(argv[argc - 1]);
    const std::string dest = vk::CorePath(out.string()) + "\\";
    FileWork work(dest);
    if (fileWork) {
        vk::MissingFileList missing;
        vk::LinkScanner(work, work.ansi, work, missing).Scan(vk::CorePath(start.string()), dest, true);
    }
    const auto begin = std::chrono::steady_clock::now();
    std::error_code error;
    if (!noCopies) {
        fs::create_directories(out, error);
        fs::copy_file(start, out / start.filename(), fs::copy_options::overwrite_existing, error);
    }
    PosixDisk copies("");
    NoCopies reads(dest);
    PosixDisk& disk = noCopies ? reads : copies;
    vk::MissingFileList missing;
    if (fileWork)
        work.Replay(copies);
    else
        vk::LinkScanner(disk, disk.ansi, disk, missing).Scan(vk::CorePath(start.string()), dest, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    for (const vk::MissingFile& entry : missing.Items())
        std::printf("%s\n", vk::PosixPath(entry.path).c_str());
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("# %.4f %zu %ld\n", seconds, disk.pages, usage.ru_maxrss);
    return 0;
}
