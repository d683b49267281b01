#include "core/paths.h"

#include <vector>

#include "core/ascii_case.h"

namespace vk {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length of the part of a path that ".." never climbs out of: "C:\" or "\\server\share\".
size_t RootLength(const std::string& path) {
    if (path.empty())
        return 0;
    if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':')
        return path.size() >= 3 && IsSlash(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        size_t pos = 2;
        for (int part = 0; part < 2 && pos < path.size(); ++part) {
            while (pos < path.size() && !IsSlash(path[pos]))
                ++pos;
            if (pos < path.size())
                ++pos;
        }
        return pos;
    }
    return IsSlash(path[0]) ? 1 : 0;
}

std::string Normalise(const std::string& path) {
    const size_t rootLength = RootLength(path);
    std::string root = path.substr(0, rootLength);
    for (char& c : root)
        if (c == '/')
            c = '\\';
    std::vector<std::string_view> steps;
    ForEachStep(std::string_view(path).substr(rootLength), false, [&](std::string_view step) {
        switch (KindOfStep(step)) {
        case StepKind::Here:
            break;
        case StepKind::Up:
            StepUp(steps);
            break;
        case StepKind::Name:
            steps.push_back(step);
            break;
        }
    });
    std::string out = root;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (i > 0)
            out += '\\';
        out += steps[i];
    }
    return out;
}

} // namespace

std::string ResolveAgainst(const std::string& folder, const std::string& path) {
    if (path.empty())
        return Normalise(folder);
    const bool hasDrive = path.size() >= 2 && IsLetter(path[0]) && path[1] == ':';
    const bool isUnc = path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]);
    if (isUnc || (hasDrive && path.size() >= 3 && IsSlash(path[2])))
        return Normalise(path);
    if (hasDrive) // "C:x" means the drive's current folder, which only the folder's drive knows
        return Normalise(Lower(path.substr(0, 2)) == Lower(folder.substr(0, 2)) ? folder + "\\" + path.substr(2)
                                                                                : path);
    if (IsSlash(path[0]))
        return Normalise(folder.substr(0, RootLength(folder)) + path.substr(1));
    return Normalise(folder + "\\" + path);
}

bool SamePath(const std::string& a, const std::string& b) { return Lower(Normalise(a)) == Lower(Normalise(b)); }

bool IsInsideFolder(const std::string& folder, const std::string& path) {
    std::string base = Lower(Normalise(folder));
    if (base.empty() || base.back() != '\\')
        base += '\\';
    const std::string lower = Lower(Normalise(path));
    return lower.size() > base.size() && lower.compare(0, base.size(), base) == 0;
}

namespace {

// The longest of `ends` (character boundaries, shortest first) for which `fits` holds, or
// the first when none does; texts grow in width with their length, so halving finds it.
template <class Fits>
size_t Longest(const std::vector<size_t>& ends, Fits fits) {
    size_t low = 0, high = ends.size();
    while (high - low > 1) {
        const size_t mid = low + (high - low) / 2;
        if (fits(ends[mid]))
            low = mid;
        else
            high = mid;
    }
    return ends[low];
}

} // namespace

std::string ShortenMiddle(const std::string& path, int width, const TextWidth& measure) {
    if (measure.Of(path) <= width)
        return path;
    const std::string dots = "...";
    // Lengths at which a start (or an end) of the path is whole characters.
    std::vector<size_t> lengths;
    for (size_t i = 0; i <= path.size(); ++i)
        if (i == path.size() || (static_cast<unsigned char>(path[i]) & 0xC0) != 0x80)
            lengths.push_back(i);
    auto tailOf = [&](size_t length) { return path.substr(path.size() - length); };
    size_t tail = 0;
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && measure.Of(dots + path.substr(slash)) * 3 <= width * 2) {
        tail = path.size() - slash;
    } else {
        const int half = (width - measure.Of(dots)) / 2;
        std::vector<size_t> tails;
        for (auto it = lengths.rbegin(); it != lengths.rend(); ++it)
            tails.push_back(path.size() - *it);
        tail = Longest(tails, [&](size_t length) { return measure.Of(tailOf(length)) <= half; });
    }
    const std::string end = dots + tailOf(tail);
    std::vector<size_t> heads;
    for (size_t length : lengths)
        if (length <= path.size() - tail)
            heads.push_back(length);
    const size_t head =
        Longest(heads, [&](size_t length) { return measure.Of(path.substr(0, length) + end) <= width; });
    if (head == 0 && tail == 0)
        return dots;
    return path.substr(0, head) + end;
}

} // namespace vk
