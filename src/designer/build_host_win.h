// The file work of Create CD on Windows, one for the designer's build and the command build:
// either kind of BuildHost takes it as its base.
#pragma once
#include <windows.h>

#include <string>

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
    bool Exists(const std::string& path) override { return FileExists(path); }
    bool CreateFolder(const std::string& folder) override {
        return ::CreateDirectoryW(fw::Widen(folder).c_str(), nullptr);
    }
    void SetWorkingFolder(const std::string& folder) override { ::SetCurrentDirectoryW(fw::Widen(folder).c_str()); }
    bool Copy(const std::string& from, const std::string& to) override { return CopyClearingReadOnly(from, to); }
    bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue) override {
        return vk::WriteAutorunInf(folder, settings, openValue);
    }
    bool WriteTextFile(const std::string& path, const std::string& text) override {
        return WriteWholeFile(path, text);
    }
    bool FileSize(const std::string& path, unsigned long long& size) override { return FileSizeOf(path, size); }
};

} // namespace vk
