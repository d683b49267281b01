// Writes the disc image of a folder, for the tests that read images with other programs:
// write_folder_image FOLDER IMAGE LABEL. Prints the message and exits 1 on failure.
#include <cstdio>
#include <string>

#include "disc/folder_image.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: write_folder_image FOLDER IMAGE LABEL\n");
        return 2;
    }
    std::string error;
    if (!vk::WriteFolderImage(argv[1], argv[2], argv[3], nullptr, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
