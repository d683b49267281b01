#include "disc/folder_image.h"

#include "disc/disc_image.h"

namespace vk {

bool WriteFolderImage(const std::string&, const std::string&, const std::string&, ImageProgress*, std::string& error) {
    error = "not yet";
    return false;
}

} // namespace vk
