#include "disc/folder_image.h"

#include <windows.h>

#include "core/paths.h"
#include "core/win/file_access_win.h"
#include "disc/disc_image.h"
#include "framework/wide.h"

namespace vk {
namespace {

// The system's own words for an error, without the full stop and line end it ends with.
std::string Why(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
        return "the disc is full";
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string why = text ? fw::Narrow(text) : "it cannot be read or written";
    ::LocalFree(text);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.' || why.back() == ' '))
        why.pop_back();
    return why;
}

bool Fail(const std::string& path, std::string& error) {
    error = path + ": " + Why(::GetLastError()) + ".";
    return false;
}

std::string FullPath(const std::string& path) {
    const fw::WString wide = fw::Widen(path);
    fw::WString full(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr) + 1, L'\0');
    full.resize(::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr));
    return full.empty() ? path : fw::Narrow(full);
}

class WinHost : public DiscHost {
public:
    WinHost(const std::string& folder, const std::string& image, HANDLE out, ImageProgress* progress,
            ImageListing* listing)
        : m_folder(folder), m_image(image), m_out(out), m_progress(progress), m_listing(listing) {}

    bool List(const std::string& folder, std::vector<DiscItem>& items, std::string& error) override {
        if (m_listing)
            return m_listing->List(folder, items, error);
        std::string core = m_folder + (folder.empty() ? "" : "\\" + folder);
        for (char& c : core)
            if (c == '/')
                c = '\\';
        std::vector<FolderEntry> entries;
        if (!WinFileAccess().List(core, entries, error)) {
            error = Shown(folder) + ": " + error + ".";
            return false;
        }
        for (const FolderEntry& entry : entries)
            items.push_back({entry.name, entry.kind == PathKind::Folder, entry.size, entry.modified});
        return true;
    }

    bool Open(const std::string& file, std::string& error) override {
        m_path = Shown(file);
        // A file being copied while the image is written is read once it is whole.
        if (!WaitUntilWhole(
                m_listing, file, m_path, m_stopped, [] { ::Sleep(1); }, error))
            return false;
        m_in = ::CreateFileW(Long(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        return m_in != INVALID_HANDLE_VALUE || Fail(m_path, error);
    }

    long long Read(char* buffer, size_t size, std::string& error) override {
        DWORD got = 0;
        if (!::ReadFile(m_in, buffer, static_cast<DWORD>(size), &got, nullptr))
            return Fail(m_path, error), -1;
        return got;
    }

    void Close() override { ::CloseHandle(m_in); }

    bool Write(const char* data, size_t size, std::string& error) override {
        if (m_stopped) {
            error = "stopped";
            return false;
        }
        DWORD put = 0;
        if (::WriteFile(m_out, data, static_cast<DWORD>(size), &put, nullptr) && put == size)
            return true;
        if (put != size)
            ::SetLastError(ERROR_DISK_FULL);
        return Fail(m_image, error);
    }

    void Advance(unsigned long long done, unsigned long long total) override {
        if (m_progress && !m_progress->Advance(done, total))
            m_stopped = true; // the next write fails, and the image with it
    }

    std::string Shown(const std::string& path) override {
        std::string shown = path.empty() ? m_folder : m_folder + "\\" + path;
        for (char& c : shown)
            c = c == '/' ? '\\' : c;
        return shown;
    }

private:
    // The path in the form that passes the 260-character limit: a tree 8 folders deep with
    // names of 64 characters is longer.
    fw::WString Long(const std::string& path) { return fw::WidePath(Shown(path)); }

    std::string m_folder, m_image, m_path;
    HANDLE m_out, m_in = INVALID_HANDLE_VALUE;
    ImageProgress* m_progress;
    ImageListing* m_listing;
    bool m_stopped = false;

public:
    bool Stopped() const { return m_stopped; }
};

} // namespace

bool WriteFolderImage(const std::string& folder, const std::string& imagePath, const std::string& label,
                      ImageProgress* progress, std::string& error, ImageListing* listing) {
    const std::string root = FullPath(folder);
    if (IsInsideFolder(root, FullPath(imagePath))) {
        error = imagePath + ": the disc image cannot lie inside the folder it is made of.";
        return false;
    }
    // Written beside under another name and renamed when whole, so a failed run leaves an
    // earlier image as it was.
    const fw::WString image = fw::Widen(imagePath), part = fw::Widen(imagePath + ".part");
    HANDLE out = ::CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return Fail(imagePath, error);
    WinHost host(root, imagePath, out, progress, listing);
    bool ok = WriteDiscImage(host, label, error);
    if (ok && host.Stopped()) {
        error = "stopped";
        ok = false;
    }
    const bool closed = ::CloseHandle(out);
    if (ok && (!closed || !::MoveFileExW(part.c_str(), image.c_str(), MOVEFILE_REPLACE_EXISTING)))
        ok = Fail(imagePath, error);
    if (!ok)
        ::DeleteFileW(part.c_str());
    return ok;
}

} // namespace vk
