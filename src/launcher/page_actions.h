// Action links in pages shown by the viewer: which actions a navigation asks for, and the
// rules of each action apart from the windows and files it touches.
#pragma once
#include <string>
#include <vector>

#include "core/paths.h"

namespace vk {

// Message shows a message box: <windows.h> makes a macro of the name MessageBox.
enum class PageAction { Message, Quit, Run, Browse, Copy };

// One row per action, in the fixed order in which a navigation's URL is searched for them.
struct PageActionKind {
    PageAction action;
    const char* keyword; // upper case, as searched for
    bool takesArgument;  // without an "=" after its keyword it does nothing
};
const std::vector<PageActionKind>& PageActionKinds();
const PageActionKind& KindOf(PageAction action);

struct ActionRequest {
    PageAction action;
    bool hasArgument; // an "=" follows the keyword
    std::string argument;
};

// The actions of a navigation's URL in their fixed order; none means the navigation goes ahead,
// any means it is cancelled.
std::vector<ActionRequest> FindPageActions(const std::string& url);

// The local path that a page's address names: a "file:" URL (its escapes decoded) or a plain
// drive or UNC path. False for any other address: the web, about:, res: and the like.
bool LocalPathOfUrl(const std::string& url, std::string& path);

// Whether a navigation that starts from the page at sourceUrl may run action links: only when
// that page is a file under discFolder, or when it is the viewer's own first navigation (made
// before any page is shown). A page from anywhere else cannot run programs or copy files on
// the machine of whoever inserts the disc.
bool ActionsAllowedFrom(const std::string& sourceUrl, const std::string& discFolder, bool firstNavigation);

// Arguments (and expanded copy lists) of this length or more are refused, not carried out.
constexpr size_t kActionTextLimit = 10000;
bool ActionTextTooLong(const std::string& text);
std::string ActionTooLongMessage(size_t length);

std::string TrimLeadingSpaces(const std::string& text);
// The part before the last "\", else before the last "/", else the whole path.
std::string FolderOf(const std::string& path);

struct RunCommand {
    std::string file;
    std::string parameters;
};
// Only the first space splits.
RunCommand SplitRunArgument(const std::string& argument);

// The root of the drive a program runs from, "D:\" for D:\setup\autorun.exe.
std::string DriveRootOf(const std::string& modulePath);

std::string CopyCaption(const std::string& viewerCaption);

// What the wait window shows while a pair is copied: the source and " ->", then on a line of
// its own the destination once it is known (empty before). Each line is shortened in the
// middle to fit `width` (ShortenMiddle), so neither wraps and both ends of each path show.
std::string CopyProgressText(const std::string& source, const std::string& destination, int width,
                             const TextWidth& measure);

// What a copy list does to the outside world; the Win32 shell and the tests implement it.
class CopyEffects {
public:
    virtual ~CopyEffects() = default;
    // The pieces as they stand; destination is empty until it is known.
    virtual void ShowProgress(const std::string& source, const std::string& destination) = 0;
    virtual void CreateFolder(const std::string& folder) = 0;
    // Overwrites an existing destination.
    virtual bool CopyFile(const std::string& source, const std::string& destination) = 0;
    virtual void ReportFailure(const std::string& message) = 0;
};

// Copies the pairs of an expanded, comma-separated list; true when every pair copied.
bool RunCopyList(const std::string& list, CopyEffects& effects);

// The message that refuses a copy list, as written before expansion, when a destination holds
// an unknown placeholder word ("{Desktp}"); empty when the list may run. Expansion would drop
// its braces and copy into a folder of that name in the working folder, the disc.
std::string UnknownPlaceholderRefusal(const std::string& list);

} // namespace vk
