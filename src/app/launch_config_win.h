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
// Creates folder\autorun.inf and answers the value written behind "OPEN=". Open and write
// failures are left for the caller's own checks of the folder.
std::string WriteAutorunInf(const std::string& folder, const DiscSettings& settings);

} // namespace vk
