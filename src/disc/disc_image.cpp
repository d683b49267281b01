#include "disc/disc_image.h"

namespace vk {

std::string DefaultVolumeLabel(const std::string&) { return "CDROM"; }
std::string VolumeLabelProblem(const std::string&) { return {}; }
std::string DiscNameProblem(const std::string&) { return {}; }
bool WriteDiscImage(DiscHost&, const std::string&, std::string& error) {
    error = "not yet";
    return false;
}

} // namespace vk
