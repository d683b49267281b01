// The linked-file scanner on the real file system, with its wait and missing-files dialogs.
#pragma once
#include <string>

#include "app/code_page_win.h"
#include "app/launch_config_win.h"
#include "designer/scanner.h"

class CWaitDlg;

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
    std::string AnsiToUtf8(std::string_view bytes) override;
    void PageStarting(const std::string&) override {}
    void ShowMissing(const std::vector<MissingFile>&) override {}

private:
    WinFiles m_files;
    AnsiCodePage m_codePage;
    std::string m_copyError;
};

// The process-wide list of files that the last top-level scan could not copy.
MissingFileList& MissingFiles();

// Copies every local file that pagePath links to into destFolder (which ends in a backslash),
// following linked pages. Shows each page in waitDlg's text, when there is one, and lets
// waiting messages through once per page. A top-level scan ends with the missing-files
// dialog when something could not be copied. False, with the message, when a copy failed
// although its source was there (a full disk, say): the build fails, and no list is shown.
bool ScanLinkedFiles(const std::string& pagePath, const std::string& destFolder, bool topLevel, CWaitDlg* waitDlg,
                     std::string& failure);

} // namespace vk
