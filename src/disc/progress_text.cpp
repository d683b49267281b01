#include "disc/progress_text.h"

namespace vk {
namespace {

// 2703 -> "2,703"
std::string Grouped(unsigned long long n) {
    std::string digits = std::to_string(n);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

// Bytes in MB with one decimal, rounded down so that a part never shows as the whole.
std::string Megabytes(unsigned long long bytes) {
    const unsigned long long tenths = bytes * 10 / (1 << 20);
    return Grouped(tenths / 10) + "." + std::to_string(tenths % 10);
}

size_t CodePoints(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80;
    return n;
}

// The last `keep` characters of text.
std::string Tail(const std::string& text, size_t keep) {
    size_t at = text.size();
    for (size_t kept = 0; at > 0 && kept < keep;) {
        --at;
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            ++kept;
    }
    return text.substr(at);
}

} // namespace

std::string ProgressCaption(BuildStage stage) {
    switch (stage) {
    case BuildStage::Surveying:
        return "Looking at the earlier CD-ROM files:";
    case BuildStage::Reading:
        return "Reading linked objects:";
    case BuildStage::Copying:
        return "Copying the files:";
    case BuildStage::Imaging:
        return "Writing the disc image:";
    }
    return {};
}

std::string ProgressCounts(const BuildProgress& p) {
    switch (p.stage) {
    case BuildStage::Surveying:
    case BuildStage::Reading:
        return Grouped(p.pages) + (p.pages == 1 ? " page" : " pages");
    case BuildStage::Copying:
        return Grouped(p.files) + " of " + Grouped(p.filesTotal) + " files, " + Megabytes(p.bytes) + " of " +
               Megabytes(p.bytesTotal) + " MB";
    case BuildStage::Imaging:
        return Megabytes(p.bytes) + " of " + Megabytes(p.bytesTotal) + " MB";
    }
    return {};
}

bool ProgressAtStageEnd(const BuildProgress& p) {
    return p.stage == BuildStage::Copying ? p.files == p.filesTotal : p.bytesTotal && p.bytes == p.bytesTotal;
}

int ProgressPerMille(const BuildProgress& p) {
    if (p.bytesTotal == 0)
        return p.stage == BuildStage::Copying || p.stage == BuildStage::Imaging ? 1000 : -1;
    return p.bytes >= p.bytesTotal ? 1000 : static_cast<int>(p.bytes * 1000 / p.bytesTotal);
}

std::string ProgressLine(const BuildProgress& p, size_t columns) {
    const std::string counts = ProgressCounts(p);
    std::string line = ProgressCaption(p.stage);
    line.pop_back(); // the colon
    line += " " + counts;
    // A narrow terminal drops the caption, then cuts the figures' start.
    if (CodePoints(line) > columns)
        line = CodePoints(counts) <= columns ? counts : Tail(counts, columns);
    if (p.stage == BuildStage::Imaging || p.item.empty())
        return line;
    const size_t used = CodePoints(line);
    if (used + 8 > columns)
        return line;
    const size_t room = columns - used - 2;
    return line + ": " + (CodePoints(p.item) <= room ? p.item : "..." + Tail(p.item, room - 3));
}

} // namespace vk
