// The disc image of a folder on the machine's own file system: one implementation on the Win32
// calls for the program, one on POSIX for the Linux tool and the native tests.
#pragma once
#include <string>
#include <vector>

#include "disc/disc_image.h"

namespace vk {

class ImageProgress {
public:
    virtual ~ImageProgress() = default;
    // Bytes; false stops the image, which then fails.
    virtual bool Advance(unsigned long long done, unsigned long long total) = 0;
};

// What an image holds when it is written while its folder is still being filled: the listing
// answers for the folder's entries, and says when each file is whole.
class ImageListing {
public:
    enum class State { Waiting, Ready, Never };
    virtual ~ImageListing() = default;
    // The entries of a folder of the image: "" its root, "/" between steps.
    virtual bool List(const std::string& folder, std::vector<DiscItem>& items, std::string& error) = 0;
    virtual State FileState(const std::string& file) = 0;
};

// Waits until the listing (if any) has file whole, nap() between looks; false with error when
// it never will be or stopped is set.
template <class Nap>
bool WaitUntilWhole(ImageListing* listing, const std::string& file, const std::string& shown, const bool& stopped,
                    Nap nap, std::string& error) {
    for (;;) {
        const ImageListing::State state = listing ? listing->FileState(file) : ImageListing::State::Ready;
        if (state == ImageListing::State::Ready)
            return true;
        if (state == ImageListing::State::Never || stopped) {
            error = shown + ": it was not copied.";
            return false;
        }
        nap();
    }
}

// Writes an ISO 9660 + Joliet image of everything under folder (UTF-8 path, no trailing
// separator) to imagePath (which must not lie inside folder). False with a message naming
// the file and why; a partly written image is removed and an earlier image at imagePath is
// kept. progress may be null.
// With a listing, the folder's entries are the listing's, and each file is read once the
// listing has it ready.
bool WriteFolderImage(const std::string& folder, const std::string& imagePath, const std::string& label,
                      ImageProgress* progress, std::string& error, ImageListing* listing = nullptr);

} // namespace vk
