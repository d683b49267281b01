// The file work of Create CD on Windows, one for the designer's build and the command build:
// either kind of BuildHost takes it as its base.
#pragma once
#include <windows.h>

#include <string>

#include "app/file_access_win.h"
#include "app/launch_config_win.h"
#include "designer/builder.h"
#include "framework/wide.h"

namespace vk {

// The desktop's file-system path; false when it cannot be had.
bool DesktopPath(std::string& path);

template <class Host>
class WinBuildFiles : public Host {
public:
    bool DesktopFolder(std::string& path) override { return DesktopPath(path); }
    FileAccess& Access() override { return m_files; }
    void SetWorkingFolder(const std::string& folder) override { ::SetCurrentDirectoryW(fw::Widen(folder).c_str()); }
    bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue,
                         std::string& error) override {
        if (vk::WriteAutorunInf(folder, settings, openValue))
            return true;
        error = WinReason(::GetLastError());
        return false;
    }

private:
    WinFileAccess m_files;
};

} // namespace vk
