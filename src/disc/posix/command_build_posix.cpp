#include "disc/posix/command_build_posix.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "core/paths.h"
#include "disc/folder_image.h"

namespace vk {

std::string PosixMessage(std::string message) {
    // Every backslash is a path's but the one in the list of characters a disc cannot hold.
    const std::string list = "? \\ or a control character";
    for (size_t i = 0; i < message.size(); ++i)
        if (message[i] == '\\' && !(i >= 2 && message.compare(i - 2, list.size(), list) == 0))
            message[i] = '/';
    return message;
}

PosixCommandHost::PosixCommandHost(std::string launcher, FILE* out, FILE* err)
    : m_launcher(CorePath(launcher)), m_out(out), m_err(err) {
    char* cwd = ::getcwd(nullptr, 0);
    m_startFolder = CorePath(cwd ? cwd : "/");
    std::free(cwd);
}

void PosixCommandHost::Print(const std::string& text) {
    ShowProgressLine(std::string());
    std::fputs((PosixMessage(text) + "\n").c_str(), m_out);
    std::fflush(m_out);
}

void PosixCommandHost::PrintError(const std::string& text) {
    ShowProgressLine(std::string());
    std::fputs((PosixMessage(text) + "\n").c_str(), m_err);
    std::fflush(m_err);
}

std::string PosixCommandHost::FullPath(const std::string& path) {
    return ResolveAgainst(m_startFolder, CorePath(path));
}

bool PosixCommandHost::DesktopFolder(std::string& path) {
    const char* desktop = std::getenv("XDG_DESKTOP_DIR");
    const char* home = std::getenv("HOME");
    if (desktop && *desktop)
        path = CorePath(desktop);
    else if (home && *home)
        path = CorePath(std::string(home) + "/Desktop");
    else
        return false;
    return m_files.Kind(path) == PathKind::Folder;
}

void PosixCommandHost::SetWorkingFolder(const std::string& folder) {
    if (::chdir(PosixPath(folder).c_str()) != 0) {
        // Relative names then fail like any missing file.
    }
}

bool PosixCommandHost::WriteAutorunInf(const std::string& folder, const DiscSettings& settings, std::string& openValue,
                                       std::string& error) {
    return m_files.WriteWhole(folder + "\\" + kAutorunInf, AutorunInfText(settings, &openValue), error);
}

bool PosixCommandHost::WriteImage(const std::string& folder, const std::string& file, const std::string& shown,
                                  const std::string& label, ImageProgress& progress, ImageListing* listing,
                                  std::string& error) {
    (void)shown;
    return WriteFolderImage(PosixPath(folder), PosixPath(file), label, &progress, error, listing);
}

bool PosixCommandHost::StartBeside(BuildWork& work) {
    m_besideDone = false;
    m_beside = std::thread([this, &work] {
        work.Run();
        m_besideDone = true;
    });
    return true;
}

bool PosixCommandHost::WaitBeside(unsigned ms) {
    for (unsigned waited = 0; !m_besideDone && waited < ms; ++waited)
        ::usleep(1000);
    if (!m_besideDone)
        return false;
    if (m_beside.joinable())
        m_beside.join();
    return true;
}

size_t PosixCommandHost::TerminalWidth() {
    const int fd = ::fileno(m_out);
    if (!::isatty(fd))
        return 0;
    struct winsize size {};
    return ::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

void PosixCommandHost::ShowProgressLine(const std::string& line) {
    if (line.empty() && !m_lineUp)
        return;
    // Back to the line's start, the new text, the rest of the old one erased.
    std::fputs(("\r" + PosixMessage(line) + "\033[K").c_str(), m_out);
    std::fflush(m_out);
    m_lineUp = !line.empty();
}

unsigned long long PosixCommandHost::Milliseconds() {
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<unsigned long long>(now.tv_sec) * 1000 + static_cast<unsigned long long>(now.tv_nsec) / 1000000;
}

} // namespace vk
