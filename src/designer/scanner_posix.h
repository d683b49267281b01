// The scanner's file access on a POSIX file system, for the Linux program and the tests on
// real files. The core's paths are "\"-separated; they become "/" paths at every call.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "designer/scanner.h"

namespace vk {

std::string PosixPath(const std::string& corePath);
std::string CorePath(const std::string& posixPath);
// A regular file, not a folder or a device.
bool IsPosixFile(const std::string& path);
// Writes a whole file; a read-only one is made writable first, as the designer does, and a
// failed write leaves nothing half written behind.
bool WritePosixFile(const std::string& path, std::string_view bytes);

class PosixDisk : public ScanHost {
public:
    bool Exists(const std::string& name) override;
    std::unique_ptr<ByteSource> Open(const std::string& name) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool MakeFolder(const std::string& path) override;
    // By device and file number: both spellings must name a file for them to be two.
    bool SameFile(const std::string& a, const std::string& b) override;
    Found ReadWhole(const std::string& name, std::string& bytes) override;
    // One open of the source: the copy is written from the bytes read.
    Found CopyAndRead(const std::string& from, const std::string& to, std::string& bytes, bool& copied) override;
    void PageStarting(const std::string&, unsigned) override {}
    void ShowMissing(const std::vector<MissingFile>&) override {}

protected:
    // The file a core path names.
    virtual std::string Native(const std::string& corePath) const { return PosixPath(corePath); }

private:
    Found ReadOpen(int fd, const std::string& path, std::string& bytes, struct stat& st);
};

} // namespace vk
