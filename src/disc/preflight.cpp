#include "disc/preflight.h"

#include <map>
#include <set>

#include "core/ascii_case.h"
#include "core/unicode_text.h"
#include "disc/disc_image.h"

namespace vk {
namespace {

std::string Megabytes(unsigned long long bytes) { return std::to_string(bytes / 1000000) + " MB"; }

unsigned long long Sectors(unsigned long long bytes) { return (bytes + kDiscSector - 1) / kDiscSector; }

std::string NameFinding(const PlannedFile& file, const std::string& problem) {
    return "The file " + file.source + " cannot go on the CD-ROM as " + file.name + ": " + problem +
           ".\n\nPlease rename the file or select another one.";
}

} // namespace

std::vector<Finding> CheckPlannedFiles(const std::vector<PlannedFile>& files, bool image) {
    // Where the whole names and the deep folders are kept.
    const std::string kept = image ? " (Windows reads it from the disc image's UDF)."
                                   : ": burn the folder as UDF (Windows' \"Like a USB flash drive\", or a disc "
                                     "with UDF beside Joliet) to keep it.";
    std::vector<Finding> errors, warnings;
    unsigned long long sectors = 0;
    // The children of each folder, for the names Joliet gives those it cannot hold whole.
    std::map<std::string, std::vector<std::pair<std::string, bool>>> folders;
    std::map<std::string, std::string> spelled; // each folder as first met
    std::set<std::string> seen, deepFolders;
    for (const PlannedFile& file : files) {
        sectors += Sectors(file.size);
        unsigned level = 1;
        std::string problem, deep, deepFolder;
        for (size_t start = 0; problem.empty();) {
            const size_t end = file.name.find_first_of("\\/", start);
            const std::string part = file.name.substr(start, end == std::string::npos ? end : end - start);
            problem = DiscNameProblem(part);
            const std::string parent = Lower(file.name.substr(0, start));
            if (problem.empty() && seen.insert(Lower(file.name.substr(0, end))).second) {
                folders[parent].emplace_back(part, end != std::string::npos);
                spelled.emplace(parent, file.name.substr(0, start));
            }
            if (end == std::string::npos)
                break;
            if (deep.empty()) {
                deep = DiscLevelProblem(++level);
                deepFolder = file.name.substr(0, end);
            }
            start = end + 1;
        }
        if (!problem.empty())
            errors.push_back({Severity::Error, NameFinding(file, problem)});
        else if (!deep.empty() && deepFolders.insert(Lower(deepFolder)).second) // once for all it holds
            warnings.push_back({Severity::Warning, "The folder " + deepFolder + " lies deeper than the " +
                                                       std::to_string(kMaxFolderLevels) +
                                                       " folder levels of ISO 9660 and Joliet: systems that read "
                                                       "only those may not reach it" +
                                                       kept});
    }
    for (const auto& [parent, children] : folders) {
        const std::vector<std::u16string> joliet = JolietNames(children);
        for (size_t i = 0; i < children.size(); ++i)
            if (!JolietHoldsName(children[i].first))
                warnings.push_back({Severity::Warning, "The name " + spelled[parent] + children[i].first +
                                                           " is longer than the 64 characters of Joliet, so it is "
                                                           "shortened to " +
                                                           Utf16ToUtf8(joliet[i]) +
                                                           " on systems that read only Joliet" + kept});
    }
    const unsigned long long total = sectors * kDiscSector;
    if (total > kDvdBytes)
        errors.push_back({Severity::Error, "The files for the CD-ROM take " + Megabytes(total) + ", more than the " +
                                               Megabytes(kDvdBytes) +
                                               " a recordable DVD holds.\n\nPlease leave some files out."});
    else if (total > kCdBytes)
        warnings.push_back({Severity::Warning, "The files for the CD-ROM take " + Megabytes(total) +
                                                   ", more than the " + Megabytes(kCdBytes) +
                                                   " a CD-R holds, so they need a DVD."});
    errors.insert(errors.end(), warnings.begin(), warnings.end());
    return errors;
}

bool DeclaresDocumentMode(std::string_view page) {
    // Met by its first hyphen, in any letter case, without a copy of the page.
    constexpr std::string_view kName = "X-UA-COMPATIBLE";
    for (size_t at = page.find('-', 1); at != std::string_view::npos; at = page.find('-', at + 1))
        if (EqualsUpper(page.substr(at - 1, kName.size()), kName))
            return true;
    return false;
}

std::string NoDocumentModeWarning(const std::string& page) {
    return "The page " + page +
           " declares no document mode (X-UA-Compatible), so the built-in viewer draws it in its oldest mode.";
}

std::string JoinFindings(const std::vector<Finding>& findings, Severity severity, size_t most) {
    std::string text;
    size_t count = 0;
    for (const Finding& finding : findings)
        if (finding.severity == severity && ++count <= most)
            text += (text.empty() ? "" : "\n\n") + finding.message;
    if (count > most)
        text += "\n\n... and " + std::to_string(count - most) + " more.";
    return text;
}

std::string AcceptWarningsQuestion(const std::string& warnings) {
    return warnings + "\n\nCreate the CD-ROM files all the same?";
}

} // namespace vk
