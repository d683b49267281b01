// The launch configuration on the real file system.
#pragma once
#include <string>
#include <vector>

#include "app/launch_config.h"

namespace vk {

bool FileExists(const std::string& name);

// Files of the working directory through Win32.
class WinFiles : public FileSource {
public:
    bool Exists(const std::string& name) override { return FileExists(name); }
    std::unique_ptr<ByteSource> Open(const std::string& name) override;
};

// The process's own arguments after the program name, split by the C runtime's rules.
std::vector<std::string> CommandLineArguments();

std::string ReadIconEntry();
bool ReadLabelEntry(std::string& label);
// Clears the read-only attribute of a copied file, so the output folder can be rebuilt.
void ClearReadOnly(const std::string& path);

// Copies, overwriting the destination, and clears the copy's read-only attribute.
bool CopyClearingReadOnly(const std::string& from, const std::string& to);

// Replaces the file with text, clearing an old file's read-only attribute first; false when
// it could not be created or not all of it reached the disk.
bool WriteWholeFile(const std::string& path, const std::string& text);

// Writes folder\autorun.inf and the value written behind "OPEN="; false when it failed.
bool WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue);

} // namespace vk
