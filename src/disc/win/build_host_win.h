// The file work of Create CD on Windows, one for the designer's build and the command build:
// either kind of BuildHost takes it as its base.
#pragma once
#include <windows.h>

#include <string>

#include "core/win/file_access_win.h"
#include "core/win/launch_config_win.h"
#include "disc/builder.h"
#include "framework/handles.h"
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

    bool StartBeside(BuildWork& work) override {
        m_beside.Reset(::CreateThread(nullptr, 0, RunBeside, &work, 0, nullptr));
        return static_cast<bool>(m_beside);
    }
    bool WaitBeside(unsigned ms) override {
        if (!m_beside)
            return true;
        if (::WaitForSingleObject(m_beside.Get(), ms) != WAIT_OBJECT_0)
            return false;
        m_beside.Reset();
        return true;
    }
    ~WinBuildFiles() override { WaitBeside(INFINITE); }

private:
    static DWORD WINAPI RunBeside(void* work) {
        static_cast<BuildWork*>(work)->Run();
        return 0;
    }

    WinFileAccess m_files;
    fw::KernelHandle m_beside;
};

} // namespace vk
