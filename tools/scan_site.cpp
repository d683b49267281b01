// Runs the linked-file scanner on a real folder from the command line, as Create CD runs it
// (start page copied first, then its scan), with the POSIX file system. Used by the check
// against a browser's view of real sites and by the benchmarks.
//
//   scan_site START_PAGE OUT_FOLDER   prints each missing file on a line of its own, then
//                                     "# <seconds> <documents read> <peak memory in KiB>"
//                                     on the last line
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "scanner_posix_disk.h"

namespace {

std::string Backslashed(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string Slashed(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: scan_site START_PAGE OUT_FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path start = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    const auto begin = std::chrono::steady_clock::now();
    std::error_code error;
    fs::create_directories(out, error);
    fs::copy_file(start, out / start.filename(), fs::copy_options::overwrite_existing, error);
    PosixDisk disk("");
    vk::MissingFileList missing;
    vk::LinkScanner(disk, missing, 0).Scan(Backslashed(start.string()), Backslashed(out.string()) + "\\", true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    for (const std::string& entry : missing.Items())
        std::printf("%s\n", Slashed(entry).c_str());
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("# %.4f %zu %ld\n", seconds, disk.pages, usage.ru_maxrss);
    return 0;
}
