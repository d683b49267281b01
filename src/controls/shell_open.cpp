#include "controls/shell_open.h"

namespace vk {
namespace {

struct OpenError {
    int code;
    const char* text;
};

// The shell's own codes and the system codes that WinExec answers with.
const OpenError kOpenErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred."},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

} // namespace

std::string OpenErrorText(int code) {
    for (const OpenError& error : kOpenErrors)
        if (error.code == code)
            return error.text;
    return "Unknown Error (" + std::to_string(code) + ") occurred.";
}

std::string OpenErrorMessage(int code) { return "Can't open link:\n\n" + OpenErrorText(code); }

std::string OpenFileErrorMessage(const std::string& file, int code, const char* program) {
    std::string message = "Can't open ";
    message += file;
    if (program) {
        message += " with ";
        message += program;
    }
    message += ":\n\n";
    message += OpenErrorText(code);
    return message;
}

std::string OpenCommandKey(const std::string& documentClass) { return documentClass + "\\shell\\open\\command"; }

std::string BrowserCommandLine(const std::string& command, const std::string& address) {
    size_t cut = command.find("\"%1\"");
    if (cut == std::string::npos)
        cut = command.find("%1");
    return command.substr(0, cut) + " " + address;
}

} // namespace vk
