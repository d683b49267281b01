// The disc image of a folder on the machine's own file system: one implementation on the Win32
// calls for the program, one on POSIX for the Linux tool and the native tests.
#pragma once
#include <string>

namespace vk {

class ImageProgress {
public:
    virtual ~ImageProgress() = default;
    // Bytes; false stops the image, which then fails.
    virtual bool Advance(unsigned long long done, unsigned long long total) = 0;
};

// Writes an ISO 9660 + Joliet image of everything under folder (UTF-8 path, no trailing
// separator) to imagePath (which must not lie inside folder). False with a message naming
// the file and why; a partly written image is removed and an earlier image at imagePath is
// kept. progress may be null.
bool WriteFolderImage(const std::string& folder, const std::string& imagePath, const std::string& label,
                      ImageProgress* progress, std::string& error);

} // namespace vk
