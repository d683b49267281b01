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

} // namespace vk
