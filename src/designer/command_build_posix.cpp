#include "designer/command_build_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/paths.h"
#include "disc/folder_image.h"

namespace vk {

std::string PosixMessage(std::string message) {
    for (size_t i = 0; i < message.size(); ++i)
        if (message[i] == '\\' && (i + 1 == message.size() || message[i + 1] != ' '))
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
    std::fputs((PosixMessage(text) + "\n").c_str(), m_out);
    std::fflush(m_out);
}

void PosixCommandHost::PrintError(const std::string& text) {
    std::fputs((PosixMessage(text) + "\n").c_str(), m_err);
    std::fflush(m_err);
}

std::string PosixCommandHost::FullPath(const std::string& path) {
    return ResolveAgainst(m_startFolder, CorePath(path));
}

bool PosixCommandHost::ListFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(PosixPath(folder).c_str());
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return true;
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
    return Exists(path);
}

void PosixCommandHost::RemoveOldFolder(const std::string& folder) {
    // The files directly inside, as the designer deletes them; folders stay.
    const std::string dir = PosixPath(folder);
    std::vector<std::string> names;
    if (!ListFolder(folder, names))
        return;
    for (const std::string& name : names)
        if (IsPosixFile(dir + "/" + name))
            ::unlink((dir + "/" + name).c_str());
    ::rmdir(dir.c_str());
}

bool PosixCommandHost::CreateFolder(const std::string& folder) {
    return ::mkdir(PosixPath(folder).c_str(), 0777) == 0;
}

void PosixCommandHost::SetWorkingFolder(const std::string& folder) {
    if (::chdir(PosixPath(folder).c_str()) != 0) {
        // Relative names then fail like any missing file.
    }
}

bool PosixCommandHost::WriteAutorunInf(const std::string& folder, const DiscSettings& settings,
                                       std::string& openValue) {
    return WriteTextFile(folder + "\\" + kAutorunInf, AutorunInfText(settings, &openValue));
}

bool PosixCommandHost::WriteTextFile(const std::string& path, const std::string& text) {
    return WritePosixFile(PosixPath(path), text);
}

bool PosixCommandHost::FileSize(const std::string& path, unsigned long long& size) {
    struct stat st;
    if (::stat(PosixPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<unsigned long long>(st.st_size);
    return true;
}

bool PosixCommandHost::WriteImage(const std::string& folder, const std::string& image, const std::string& label,
                                  std::string& error) {
    Print("Writing the disc image " + image);
    return WriteFolderImage(PosixPath(folder), PosixPath(image), label, nullptr, error);
}

} // namespace vk
