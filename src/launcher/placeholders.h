// Placeholder words in action-link paths ({root}, {windows}, {system}, {desktop},
// {programfiles}) replaced by the machine's folders.
#pragma once
#include <string>

namespace vk {

enum class KnownFolder { System, Windows, Desktop, ProgramFiles };

// The machine's folders; the Win32 shell and the tests implement it.
class FolderLookup {
public:
    virtual ~FolderLookup() = default;
    // False when the system cannot report the folder.
    virtual bool Find(KnownFolder folder, std::string& path) = 0;
};

std::string ExpandPlaceholders(const std::string& text, FolderLookup& folders);

// The first brace pair in text that looks like a placeholder but names none of the words
// above, braces included ("{Desktp}"); empty when there is none. It looks like one when it
// holds a single word (letters, digits, "_"; any non-ASCII character counts as a letter),
// blanks around it allowed. Expansion would only drop its braces.
std::string UnknownPlaceholder(const std::string& text);

} // namespace vk
