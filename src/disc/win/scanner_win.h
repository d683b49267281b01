// The linked-file scanner's files on the real file system.
#pragma once
#include <string>

#include "core/win/code_page_win.h"
#include "core/win/launch_config_win.h"
#include "disc/scanner.h"

namespace vk {

// The files as Create CD reads, copies and makes them, with no window: the designer's scan
// shows its pages and missing files on top of it.
class WinDisk : public ScanHost {
public:
    bool Exists(const std::string& name) override;
    std::unique_ptr<ByteSource> Open(const std::string& name) override;
    Found ReadWhole(const std::string& name, std::string& bytes) override;
    Found ReadWholeDated(const std::string& name, std::string& bytes, long long& modified) override;
    bool SameFile(const std::string& a, const std::string& b) override { return m_files.SameFile(a, b); }
    bool Copy(const std::string& from, const std::string& to) override;
    std::string CopyError() const override { return m_copyError; }
    bool MakeFolder(const std::string& path) override;
    // A page neither declared nor valid UTF-8 is in the machine's own code page.
    CodePage& Ansi() override { return m_codePage; }
    void PageStarting(const std::string&) override {}
    void ShowMissing(const std::vector<MissingFile>&) override {}

private:
    WinFiles m_files;
    AnsiCodePage m_codePage;
    std::string m_copyError;
};

} // namespace vk
