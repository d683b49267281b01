// What a link tells the user when the shell cannot open its target, and how the registered
// web browser's command line is made to open an address instead.
#pragma once
#include <string>

namespace vk {

// The text for an error code of ShellExecute or WinExec (32 or below).
std::string OpenErrorText(int code);
// The whole message box text: "Can't open link:", a blank line, then the code's text.
std::string OpenErrorMessage(int code);
// The same for a file of the disc that the shell was asked to open, naming it in place of
// "link"; program: what the shell was asked to run for it (for a slide show), or null.
std::string OpenFileErrorMessage(const std::string& file, int code, const char* program = nullptr);

// The registry key, under the classes root, of a document class's open command.
std::string OpenCommandKey(const std::string& documentClass);
// The browser's open command with the address in place of its placeholder: everything from
// "%1" (quoted, or else bare) on is dropped, then a blank and the address follow. A command
// without a placeholder keeps all of its text.
std::string BrowserCommandLine(const std::string& command, const std::string& address);

} // namespace vk
