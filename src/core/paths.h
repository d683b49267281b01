// Windows path arithmetic on strings, so that the rules that decide where a file lies can be
// tested natively. Letter case is folded for ASCII letters only.
#pragma once
#include <string>

namespace vk {

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
