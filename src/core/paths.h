// Windows path arithmetic on strings, so that the rules that decide where a file lies can be
// tested natively. Letter case is folded for ASCII letters only.
#pragma once
#include <string>
#include <string_view>

namespace vk {

inline bool IsSlash(char c) { return c == '\\' || c == '/'; }

// The one reading of a path's steps. ForEachStep calls take(step) for each step between
// separators (backslashes only, or either slash), empty ones included.
template <class Take>
void ForEachStep(std::string_view path, bool backslashOnly, Take take) {
    for (size_t start = 0; start <= path.size();) {
        size_t end = start;
        while (end < path.size() && (backslashOnly ? path[end] != '\\' : !IsSlash(path[end])))
            ++end;
        take(path.substr(start, end - start));
        start = end + 1;
    }
}
// An empty or "." step names the folder it stands in and changes nothing; ".." goes up.
enum class StepKind { Here, Up, Name };
inline StepKind KindOfStep(std::string_view step) {
    return step.empty() || step == "." ? StepKind::Here : step == ".." ? StepKind::Up : StepKind::Name;
}
// ".." on the steps taken so far: the last goes, but never one of the first `floor` (a drive
// or a share); false when there was none to take.
template <class Steps>
bool StepUp(Steps& steps, size_t floor = 0) {
    if (steps.size() <= floor)
        return false;
    steps.pop_back();
    return true;
}

// path made absolute against folder (a full path without a trailing backslash), with "/"
// turned into "\", "." steps dropped and ".." steps applied. A rooted path ("\x") takes the
// drive or share of folder; a path with a drive or a UNC share is kept as it is. The drive
// or share itself is never climbed out of.
std::string ResolveAgainst(const std::string& folder, const std::string& path);

// True when both name the same path once resolved, ignoring ASCII letter case.
bool SamePath(const std::string& a, const std::string& b);

// True when path (already resolved) lies inside folder (resolved), at any depth.
bool IsInsideFolder(const std::string& folder, const std::string& path);

// How wide a text (UTF-8) is drawn, in the pixels of the font the caller has in mind.
class TextWidth {
public:
    virtual ~TextWidth() = default;
    virtual int Of(const std::string& text) const = 0;
};

// A path (or any text) shortened to fit `width` by putting "..." in place of its middle, so
// that its start and its end both stay readable; unchanged when it fits. The end keeps the
// file name whole, with its separator, when that leaves a third of the width or more for the
// start; otherwise start and end share the width. Characters are never cut. When not even
// "..." fits, "..." is all.
std::string ShortenMiddle(const std::string& path, int width, const TextWidth& measure);

} // namespace vk
