// Measures the linked-file scanner on a generated web site of 2,000 linked pages and 5,000
// images, with the per-page pause set to 0, on the POSIX file system. Run it through
// tools/scanner_benchmark.sh, which also times a plain `cp -r` of the same files.
//
//   scanner_benchmark generate SITE   writes the site into the folder SITE
//   scanner_benchmark scan SITE OUT   copies what SITE/index.htm links to into OUT; prints
//                                     "<seconds> <pages read> <files in OUT> <missing>"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "scanner_posix_disk.h"

namespace {

constexpr int kPages = 2000;
constexpr int kImages = 5000;

std::string PageName(int i) { return i == 0 ? "index.htm" : "page" + std::to_string(i) + ".htm"; }
std::string ImageName(int i) { return "img" + std::to_string(i) + (i % 2 ? ".gif" : ".jpg"); }

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every page: navigation to the menu, the previous and next pages and its section, five
// pictures, a few paragraphs of text, web and mail links that are not copied.
std::string Page(int i) {
    std::string p = "<html>\r\n<head>\r\n<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\r\n"
                    "<title>Page " +
                    std::to_string(i) +
                    "</title>\r\n"
                    "<style>body { font-family: Tahoma; color: #203050; } td { padding: 4px; }</style>\r\n"
                    "</head>\r\n<body background=\"" +
                    ImageName(i % kImages) + "\">\r\n";
    p += "<p><a href=\"index.htm\">Menu</a> | <a href='" + PageName((i + kPages - 1) % kPages) +
         "'>Back</a> | "
         "<a href='" +
         PageName((i + 1) % kPages) + "#top'>Next</a> | <a href=\"" + PageName(i / 50 * 50) + "\">Section</a></p>\r\n";
    for (int k = 0; k < 5; ++k)
        p += "<img src=\"" + ImageName((i * 5 + k) % kImages) + "\" width=120 height=90 alt=\"Picture " +
             std::to_string(k) + "\">\r\n";
    for (int k = 0; k < 6; ++k)
        p += "<p>Paragraph " + std::to_string(k) + " of page " + std::to_string(i) +
             ": plain text that a real page would hold, with words, numbers like 3.14, and "
             "punctuation, but no files to copy. It runs on for a while so that the page has the "
             "size of an ordinary page of text on a disc.</p>\r\n";
    p += "<p><a href=\"https://example.com/more.htm\">Web</a> <a href=\"mailto:someone@example.com\">Mail</a> "
         "<a href=\"#top\">Top</a></p>\r\n</body>\r\n</html>\r\n";
    return p;
}

std::string Image(int i) {
    std::string bytes(2000 + (i * 37) % 4000, '\0');
    unsigned seed = static_cast<unsigned>(i) * 2654435761u + 1;
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return bytes;
}

int Generate(const std::filesystem::path& site) {
    std::filesystem::create_directories(site);
    for (int i = 0; i < kPages; ++i)
        WriteFile(site / PageName(i), Page(i));
    for (int i = 0; i < kImages; ++i)
        WriteFile(site / ImageName(i), Image(i));
    return 0;
}

int Scan(const std::string& site, const std::string& out) {
    // Windows-style absolute paths, so the page folder is the site's folder.
    std::string page = std::filesystem::absolute(site).string() + "/index.htm";
    for (char& c : page)
        if (c == '/')
            c = '\\';
    PosixDisk disk("/");
    vk::MissingFileList missing;
    const auto start = std::chrono::steady_clock::now();
    vk::LinkScanner(disk, disk.ansi, disk, missing).Scan(page, std::filesystem::absolute(out).string() + "\\", true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out))
        files += entry.is_regular_file();
    std::printf("%.4f %zu %zu %zu\n", seconds, disk.pages, files, missing.Items().size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0)
        return Generate(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "scan") == 0)
        return Scan(argv[2], argv[3]);
    std::fprintf(stderr, "usage: %s generate SITE | scan SITE OUT\n", argv[0]);
    return 2;
}
