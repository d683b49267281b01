// A bridge disc image, ISO 9660 with Joliet names and UDF 1.02 sharing the file data, written
// from a folder tree that a host lists and reads. Two passes: the whole tree is listed and laid
// out first, then the image is written front to back, the file data streamed in chunks.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vk {

constexpr size_t kJolietNameMax = 64;                       // UTF-16 units in one Joliet name
constexpr unsigned kMaxFolderLevels = 8;                    // ISO 9660 folder depth, the disc's root being level 1
constexpr size_t kVolumeLabelMax = 16;                      // UTF-16 units in the Joliet volume label
constexpr unsigned long long kImageFileMax = 0xFFFFFFFFULL; // bytes of one file: one extent
// The bytes at the start of an image that tell whose it is: its primary volume descriptor.
constexpr size_t kImageHeadBytes = 17 * 2048;

// From the target's file name (any path, or "\" for the disc root): its name without the
// extension in upper case, what the format cannot hold as "_", at most 16 characters.
std::string DefaultVolumeLabel(const std::string& targetName);
// Empty when the label is valid; otherwise why not.
std::string VolumeLabelProblem(const std::string& label);

// Why a file or folder name cannot go on a disc at all (no file system of the image holds it),
// or empty when it can.
std::string DiscNameProblem(const std::string& name);
// Whether the Joliet tree holds the name whole; a longer one it holds shortened (JolietNames).
bool JolietHoldsName(const std::string& name);
// Why a folder at this level (the disc's root being 1) lies beyond what the ISO 9660 and Joliet
// trees are sure to be read to, or empty. UDF holds any depth, and the image holds it all.
std::string DiscLevelProblem(unsigned level);
// The Joliet names of one folder's children (UTF-8 name, whether a folder), in their order:
// each whole when Joliet holds it, else cut to a unique name with "~1", "~2" ... and its
// extension kept.
std::vector<std::u16string> JolietNames(const std::vector<std::pair<std::string, bool>>& children);

// Why a file of this size cannot go into an image, or empty when it can.
std::string ImageFileSizeProblem(unsigned long long size);
// True when head (the first kImageHeadBytes of a file) is the start of an image this writer made.
bool IsImageOfOurs(const std::string& head);

// One entry of a listed folder.
struct DiscItem {
    std::string name; // UTF-8, one path component
    bool folder = false;
    unsigned long long size = 0; // bytes, files only
    long long modified = 0;      // seconds since 1970-01-01 UTC
};

// The file system the image is made from and the file it goes to. Paths are relative to the
// folder being imaged, "/"-separated; "" is that folder itself.
class DiscHost {
public:
    virtual ~DiscHost() = default;
    virtual bool List(const std::string& folder, std::vector<DiscItem>& items, std::string& error) = 0;
    virtual bool Open(const std::string& file, std::string& error) = 0;
    // Bytes read into buffer, 0 at the end, -1 on error (with error set).
    virtual long long Read(char* buffer, size_t size, std::string& error) = 0;
    virtual void Close() = 0;
    virtual bool Write(const char* data, size_t size, std::string& error) = 0;
    // For a host that copies between files without a buffer of its own (only called when
    // CopiesDirect): up to size bytes of the open file straight into the image, how many it
    // copied (fewer at the file's end), or -1 with error; and zeros that need not be written,
    // the image's length covering them.
    virtual bool CopiesDirect() const { return false; }
    virtual long long CopyDirect(unsigned long long /*size*/, std::string& /*error*/) { return -1; }
    virtual bool SkipZeros(size_t /*size*/, std::string& /*error*/) { return false; }
    virtual void Advance(unsigned long long /*done*/, unsigned long long /*total*/) {}
    // A path as the user should read it in a message.
    virtual std::string Shown(const std::string& path) { return path; }
};

// Writes the image of the host's tree. Deterministic: the same tree, names, sizes and dates
// give the same bytes. False with a message naming the file on the first problem.
bool WriteDiscImage(DiscHost& host, const std::string& label, std::string& error);

} // namespace vk
