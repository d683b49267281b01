// The launch configuration on the real file system.
#pragma once
#include <string>
#include <vector>

#include "core/launch_config.h"

namespace vk {

bool FileExists(const std::string& name);
// The size of a file (not a folder); false when there is no such file.
bool FileSizeOf(const std::string& name, unsigned long long& size);

// Files of the working directory through Win32.
class WinFiles : public FileSource {
public:
    bool Exists(const std::string& name) override { return FileExists(name); }
    std::unique_ptr<ByteSource> Open(const std::string& name) override;
    // By volume and file index, for folders that tell letter case apart (and names under
    // Wine): both spellings must open a file for them to be two.
    bool SameFile(const std::string& a, const std::string& b) override;
};

// The process's own arguments after the program name in UTF-8, split as CommandLineToArgvW
// splits the wide command line.
std::vector<std::string> CommandLineArguments();

// The readers on autorun.inf in the working directory, in the system's ANSI code page or
// Unicode; their text is UTF-8.
LaunchConfig ReadLaunchConfig();
std::string ReadIconEntry();
bool ReadLabelEntry(std::string& label);
// Clears the read-only attribute of a copied file, so the output folder can be rebuilt.
void ClearReadOnly(const std::string& path);

// Copies, overwriting the destination, and clears the copy's read-only attribute.
bool CopyClearingReadOnly(const std::string& from, const std::string& to);

// Replaces the file with text, clearing an old file's read-only attribute first; false when
// it could not be created or not all of it reached the disk.
bool WriteWholeFile(const std::string& path, const std::string& text);

// Writes folder\autorun.inf (folder in UTF-8) in the ANSI code page, or as UTF-16LE when a
// name is not in it; openValue receives the value behind "OPEN=" in UTF-8. False when it failed.
bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue);

} // namespace vk
