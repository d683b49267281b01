#include "launcher/placeholders.h"

#include <string_view>

#include "core/ascii_case.h"

namespace vk {
namespace {

struct PlaceholderWord {
    const char* word; // upper case, as matched
    KnownFolder folder;
    bool driveOnly; // the folder's first two characters, its drive letter and colon
};

const PlaceholderWord kWords[] = {
    {"ROOT", KnownFolder::System, true},
    {"WINDOWS", KnownFolder::Windows, false},
    {"SYSTEM", KnownFolder::System, false},
    {"DESKTOP", KnownFolder::Desktop, false},
    {"PROGRAMFILES", KnownFolder::ProgramFiles, false},
};

const PlaceholderWord* FindWord(std::string_view piece) {
    for (const PlaceholderWord& w : kWords)
        if (EqualsUpper(piece, w.word))
            return &w;
    return nullptr;
}

bool IsWordChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool LooksLikeWord(std::string_view inside) {
    const size_t first = inside.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    const size_t last = inside.find_last_not_of(' ');
    for (size_t i = first; i <= last; ++i)
        if (!IsWordChar(inside[i]))
            return false;
    return true;
}

} // namespace

std::string ExpandPlaceholders(const std::string& text, FolderLookup& folders) {
    if (text.find('{') == std::string::npos || text.find('}') == std::string::npos)
        return text;
    std::string result;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("{}", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start) {
            const std::string piece = text.substr(start, end - start);
            std::string folder;
            if (const PlaceholderWord* w = FindWord(piece)) {
                if (folders.Find(w->folder, folder))
                    result += w->driveOnly ? folder.substr(0, 2) : folder;
            } else {
                result += piece;
            }
        }
        start = end + 1;
    }
    return result;
}

std::string UnknownPlaceholder(const std::string& text) {
    size_t open = text.find('{');
    while (open != std::string::npos) {
        const size_t next = text.find_first_of("{}", open + 1);
        if (next == std::string::npos)
            break;
        if (text[next] == '}') {
            const std::string_view inside = std::string_view(text).substr(open + 1, next - open - 1);
            if (LooksLikeWord(inside) && !FindWord(inside))
                return text.substr(open, next - open + 1);
            open = text.find('{', next + 1);
        } else {
            open = next;
        }
    }
    return {};
}

} // namespace vk
