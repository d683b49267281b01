// The scanner's file access on a POSIX file system, for the Linux program and the tests on
// real files. The core's paths are "\"-separated; they become "/" paths at every call.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "core/posix/file_access_posix.h"
#include "disc/scanner.h"

namespace vk {

class PosixDisk : public ScanFiles {
public:
    bool Exists(const std::string& name) override;
    std::unique_ptr<ByteSource> Open(const std::string& name) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool MakeFolder(const std::string& path) override;
    // By device and file number: both spellings must name a file for them to be two.
    bool SameFile(const std::string& a, const std::string& b) override;
    Found ReadWhole(const std::string& name, std::string& bytes) override;
    Found ReadWholeDated(const std::string& name, std::string& bytes, long long& modified) override;
    // One open of the source: the copy is written from the bytes read.
    Found CopyAndRead(const std::string& from, const std::string& to, std::string& bytes, bool& copied) override;
    std::string CopyError() const override { return m_copyError; }

protected:
    // The file a core path names.
    virtual std::string Native(const std::string& corePath) const { return PosixPath(corePath); }

private:
    std::string m_copyError;
    Found ReadOpen(int fd, const std::string& path, std::string& bytes, struct stat& st);
};

} // namespace vk
