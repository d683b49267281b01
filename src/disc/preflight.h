// What Create CD checks before it writes anything: what no disc can hold stops the build, what
// a disc holds badly is a warning the user may accept.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

constexpr unsigned long long kDiscSector = 2048;
// An 80-minute CD-R, sold as "700 MB", and a single-layer recordable DVD, sold as "4.7 GB".
constexpr unsigned long long kCdBytes = 360000ULL * kDiscSector;
constexpr unsigned long long kDvdBytes = 2295104ULL * kDiscSector;

// One file of the planned disc.
struct PlannedFile {
    std::string name;   // on the disc, from its root, "\" or "/" between folders
    std::string source; // where it is read from, as the user should read it
    unsigned long long size = 0;
    bool page = false;      // read for its links
    long long modified = 0; // seconds since 1970, UTC, when the plan is dated
};

enum class Severity { Warning, Error };

struct Finding {
    Severity severity;
    std::string message;
};

// The names, folder depth and total size of the planned disc, errors first, each naming its file.
// image: the build writes the disc image; otherwise the user burns the folder, and the warnings
// say which formats keep the names.
std::vector<Finding> CheckPlannedFiles(const std::vector<PlannedFile>& files, bool image = true);

// True when a page (UTF-8 text) declares the document mode its browser should draw it in.
bool DeclaresDocumentMode(std::string_view page);
std::string NoDocumentModeWarning(const std::string& page);

// The findings of one severity as one message: at most `most` of them, then how many more.
std::string JoinFindings(const std::vector<Finding>& findings, Severity severity, size_t most = SIZE_MAX);
// The question that accepts warnings.
std::string AcceptWarningsQuestion(const std::string& warnings);

} // namespace vk
