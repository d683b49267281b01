// The page reader's speed: reads every page and stylesheet named on the command line into
// memory, then finds their link values over and over for about two seconds; prints
// "<MB/s> <bytes> <values per pass>".
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "disc/page_links.h"

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, vk::DocKind>> docs;
    size_t bytes = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string name = argv[i];
        const bool css = name.size() > 4 && name.compare(name.size() - 4, 4, ".css") == 0;
        bytes += text.size();
        docs.emplace_back(std::move(text), css ? vk::DocKind::Css : vk::DocKind::Html);
    }
    vk::LinkValues values;
    size_t passes = 0, perPass = 0;
    const auto start = std::chrono::steady_clock::now();
    double seconds = 0;
    do {
        perPass = 0;
        for (const auto& [text, kind] : docs) {
            values.clear();
            vk::DocumentLinkValues(text, kind, values);
            perPass += values.size();
        }
        ++passes;
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (seconds < 2.0);
    std::printf("%.0f %zu %zu\n", static_cast<double>(bytes) * passes / seconds / 1e6, bytes, perPass);
    return 0;
}
