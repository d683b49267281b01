// The linked-file scanner's files on the real file system.
#pragma once
#include <string>

#include "core/win/launch_config_win.h"
#include "disc/scanner.h"

namespace vk {

// The files as Create CD reads, copies and makes them, with no window: the designer's scan
// shows its pages and missing files on top of it.
class WinDisk : public ScanFiles {
public:
    bool Exists(const std::string& name) override;
    std::unique_ptr<ByteSource> Open(const std::string& name) override;
    Found ReadWhole(const std::string& name, std::string& bytes) override;
    Found ReadWholeDated(const std::string& name, std::string& bytes, long long& modified) override;
    bool SameFile(const std::string& a, const std::string& b) override { return m_files.SameFile(a, b); }
    bool Copy(const std::string& from, const std::string& to) override;
    std::string CopyError() const override { return m_copyError; }
    bool MakeFolder(const std::string& path) override;

private:
    WinFiles m_files;
    std::string m_copyError;
};

} // namespace vk
