#include "launcher/page_actions.h"

#include "core/ascii_case.h"
#include "core/paths.h"
#include "core/text_decode.h"
#include "launcher/placeholders.h"

namespace vk {

const std::vector<PageActionKind>& PageActionKinds() {
    static const std::vector<PageActionKind> kinds = {
        {PageAction::Message, "ACTION_MESSAGEBOX", true},
        {PageAction::Quit, "ACTION_QUIT", false},
        {PageAction::Run, "ACTION_RUN", true},
        {PageAction::Browse, "ACTION_BROWSE", false},
        {PageAction::Copy, "ACTION_COPY", true},
    };
    return kinds;
}

const PageActionKind& KindOf(PageAction action) {
    for (const PageActionKind& kind : PageActionKinds())
        if (kind.action == action)
            return kind;
    return PageActionKinds().front(); // every action has its row
}

std::vector<ActionRequest> FindPageActions(const std::string& url) {
    // Upper-casing ASCII keeps every position, so a match in the copy points into the URL.
    const std::string search = Upper(url);
    std::vector<ActionRequest> requests;
    for (const PageActionKind& k : PageActionKinds()) {
        size_t at = search.find(k.keyword);
        if (at == std::string::npos)
            continue;
        size_t eq = search.find('=', at);
        ActionRequest request{k.action, eq != std::string::npos, {}};
        if (request.hasArgument)
            request.argument = url.substr(eq + 1);
        requests.push_back(request);
    }
    return requests;
}

namespace {

bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool IsUncPath(const std::string& path) {
    return path.size() > 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
}

} // namespace

bool LocalPathOfUrl(const std::string& url, std::string& path) {
    if (IsDrivePath(url) || IsUncPath(url)) {
        path = url;
        return true;
    }
    if (Lower(url.substr(0, 5)) != "file:")
        return false;
    // file:///C:/x, file://C:/x, file:C:/x and file://server/share/x; the fragment and query
    // name no file.
    std::string rest = url.substr(5);
    const size_t end = rest.find_first_of("#?");
    if (end != std::string::npos)
        rest.resize(end);
    std::string decoded;
    if (DecodePercentEscapes(rest, decoded) == Escapes::Refused)
        return false; // a control character names no file
    rest = decoded;
    size_t slashes = 0;
    while (slashes < rest.size() && (rest[slashes] == '/' || rest[slashes] == '\\'))
        ++slashes;
    const std::string after = rest.substr(slashes);
    if (IsDrivePath(after)) {
        path = after;
    } else if (slashes == 2 && !after.empty()) {
        path = "\\\\" + after; // a share
    } else {
        return false;
    }
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return true;
}

bool ActionsAllowedFrom(const std::string& sourceUrl, const std::string& discFolder, bool firstNavigation) {
    if (firstNavigation)
        return true;
    std::string path;
    return !discFolder.empty() && LocalPathOfUrl(sourceUrl, path) && IsInsideFolder(discFolder, path);
}

bool ActionTextTooLong(const std::string& text) { return text.size() >= kActionTextLimit; }

std::string ActionTooLongMessage(size_t length) {
    return "This action link is too long to be carried out (" + std::to_string(length) + " characters; the limit is " +
           std::to_string(kActionTextLimit - 1) + ").";
}

std::string TrimLeadingSpaces(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

RunCommand SplitRunArgument(const std::string& argument) {
    size_t space = argument.find(' ');
    if (space == std::string::npos)
        return {argument, ""};
    return {argument.substr(0, space), argument.substr(space + 1)};
}

std::string DriveRootOf(const std::string& modulePath) {
    return modulePath.empty() ? std::string() : modulePath.substr(0, 1) + ":\\";
}

std::string CopyCaption(const std::string& viewerCaption) {
    return viewerCaption.empty() ? "CD-ROM Application" : viewerCaption;
}

namespace {

// The next piece between commas from start on, skipping empty ones; false after the last.
bool NextPiece(const std::string& list, size_t& start, std::string& piece) {
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        const size_t from = start;
        start = comma + 1;
        if (comma > from) {
            piece = list.substr(from, comma - from);
            return true;
        }
    }
    return false;
}

} // namespace

std::string CopyProgressText(const std::string& source, const std::string& destination, int width,
                             const TextWidth& measure) {
    const std::string arrow = " ->";
    std::string text = ShortenMiddle(source, width - measure.Of(arrow), measure) + arrow + "\n";
    if (!destination.empty())
        text += ShortenMiddle(destination, width, measure);
    return text;
}

bool RunCopyList(const std::string& list, CopyEffects& effects) {
    bool allCopied = true;
    bool haveSource = false;
    std::string source, piece;
    for (size_t at = 0; NextPiece(list, at, piece);) {
        if (!haveSource) {
            source = piece;
            haveSource = true;
            effects.ShowProgress(source, std::string());
            continue;
        }
        haveSource = false;
        effects.ShowProgress(source, piece);
        const std::string from = TrimLeadingSpaces(source);
        const std::string to = TrimLeadingSpaces(piece);
        // A bare file name goes to the working folder; no folder of its own name is made.
        if (to.find_first_of("\\/") != std::string::npos)
            effects.CreateFolder(FolderOf(to));
        if (!effects.CopyFile(from, to)) {
            effects.ReportFailure("Error copying file " + from + " to " + to);
            allCopied = false;
        }
    }
    return allCopied;
}

std::string UnknownPlaceholderRefusal(const std::string& list) {
    // Only destinations: a source is read, and one that is not there is reported by its copy.
    bool destination = false;
    std::string piece, message;
    for (size_t at = 0; NextPiece(list, at, piece); destination = !destination) {
        if (!destination)
            continue;
        const std::string word = UnknownPlaceholder(piece);
        if (word.empty())
            continue;
        message = "Nothing has been copied: the destination ";
        message += TrimLeadingSpaces(piece);
        message += " names the folder ";
        message += word;
        message += ", which is unknown. The folders a copy can name are {root}, {windows}, {system}, {desktop} and "
                   "{programfiles}.";
        break;
    }
    return message;
}

} // namespace vk
