// vintrosk: Create CD on Linux, for scripts and build servers. "vintrosk build [options]"
// builds the same CD-ROM folder and disc image as the designer from the same settings.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "disc/command_build.h"
#include "disc/posix/command_build_posix.h"

namespace {

// Vintrosk.exe beside this program. A link there leads to the program's own folder, whose sample
// files are the defaults (the build links the Windows program into the native tree so).
std::string LauncherBesideThisProgram() {
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
    const size_t slash = path.rfind('/');
    const std::string beside =
        (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/Vintrosk.exe";
    char* real = ::realpath(beside.c_str(), nullptr);
    const std::string launcher = real ? real : beside;
    std::free(real);
    return launcher;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const char* command = "vintrosk build";
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(vk::CommandUsage(command, true).c_str(), args.empty() ? stderr : stdout);
        return args.empty() ? vk::kExitBadOptions : vk::kExitDone;
    }
    if (args[0] != "build") {
        std::fprintf(stderr, "There is no command %s; the one command is build.\nRun %s --help for the options.\n",
                     args[0].c_str(), command);
        return vk::kExitBadOptions;
    }
    args.erase(args.begin());
    vk::PosixCommandHost host(LauncherBesideThisProgram());
    return vk::RunCommandBuild(args, command, true, host);
}
