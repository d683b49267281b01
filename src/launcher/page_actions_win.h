// Carries out the action links of a navigation in the viewer.
#pragma once
#include <windows.h>

#include <string>

#include "launcher/placeholders.h"

namespace vk {

// The machine's folders through the shell and the system folder.
class WinFolders : public FolderLookup {
public:
    bool Find(KnownFolder folder, std::string& path) override;
};

// What the actions need of the viewer that shows the page.
class PageActionHost {
public:
    virtual ~PageActionHost() = default;
    virtual HWND ActionOwner() = 0;
    // The caption of the copy messages as the page's title made it, or empty.
    virtual std::string ActionCaption() = 0;
    virtual void QuitViewer() = 0;
};

// Runs every action that the URL asks for; true when the navigation must be cancelled.
bool RunPageActions(const std::string& url, PageActionHost& host);

} // namespace vk
