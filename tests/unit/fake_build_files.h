// The file work of a build host on an in-memory disk, for the tests of the designer's build
// and of the command build: either kind of host takes it as its base.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/file_access.h"
#include "disc/builder.h"
#include "scanner_fake_disk.h"

// The bytes of an image as the writer starts it, followed by tag.
inline std::string OurImage(const std::string& tag) {
    std::string image(17 * 2048, ' ');
    image[16 * 2048] = 1;
    image.replace(16 * 2048 + 1, 5, "CD001");
    image.replace(16 * 2048 + 574, 9, "VINTROSK!");
    return image + tag;
}

// The file access of a build on a FakeDisk, with the failures a test asks for.
class FakeFileAccess : public vk::FileAccess {
public:
    explicit FakeFileAccess(FakeDisk& disk) : m_disk(disk) {}
    std::set<std::string> unwritable;                // writes and copies to these paths fail
    std::set<std::string> stuck;                     // these cannot be renamed or removed
    std::map<std::string, unsigned long long> sizes; // by the end of the path: big sizes without contents
    unsigned long long freeBytes = 1ULL << 40;
    std::vector<std::string> recycled;
    std::string fullReason = "the disk is full";

    vk::PathKind Kind(const std::string& path) override {
        if (m_disk.Has(path))
            return vk::PathKind::File;
        return m_disk.FolderExists(path) ? vk::PathKind::Folder : vk::PathKind::None;
    }
    bool List(const std::string& folder, std::vector<vk::FolderEntry>& entries, std::string& error) override {
        if (!m_disk.FolderExists(folder)) {
            error = "no such file or folder";
            return false;
        }
        std::vector<std::string> files, folders;
        m_disk.Entries(folder, files, folders);
        for (const std::string& name : files)
            entries.push_back({name, vk::PathKind::File});
        for (const std::string& name : folders)
            entries.push_back({name, vk::PathKind::Folder});
        return true;
    }
    bool MakeFolder(const std::string& path, std::string& error) override {
        if (Kind(path) != vk::PathKind::None || unwritable.count(path) || !m_disk.FolderExists(vk::ParentOf(path)))
            return Fail("access is denied", error);
        m_disk.AddFolder(path);
        return true;
    }
    bool RemoveFile(const std::string& path, std::string& error) override {
        if (stuck.count(path) || !m_disk.Has(path))
            return Fail("the file is in use by another program", error);
        m_disk.Remove(path);
        return true;
    }
    bool RemoveFolder(const std::string& path, std::string& error) override {
        return (!stuck.count(path) && m_disk.RemoveFolder(path)) || Fail("the folder is not empty", error);
    }
    bool Rename(const std::string& from, const std::string& to, bool replace, std::string& error) override {
        if (stuck.count(from) || Kind(from) == vk::PathKind::None)
            return Fail("the file is in use by another program", error);
        const vk::PathKind there = Kind(to);
        if (there == vk::PathKind::Folder || (there == vk::PathKind::File && !replace))
            return Fail("something of that name is in the way", error);
        if (there == vk::PathKind::File)
            m_disk.Remove(to);
        m_disk.Move(from, to);
        return true;
    }
    bool Copy(const std::string& from, const std::string& to, std::string& error) override {
        if (unwritable.count(to))
            return Fail(fullReason, error);
        return m_disk.Copy(from, to) || Fail(m_disk.Has(from) ? "access is denied" : "no such file or folder", error);
    }
    bool WriteWhole(const std::string& path, std::string_view bytes, std::string& error) override {
        if (unwritable.count(path) || Kind(path) == vk::PathKind::Folder)
            return Fail(fullReason, error);
        m_disk.Put(path, std::string(bytes));
        return true;
    }
    bool FileSize(const std::string& path, unsigned long long& size) override {
        if (!m_disk.Has(path))
            return false;
        size = m_disk.Content(path).size();
        for (const auto& [name, bytes] : sizes)
            if (path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0)
                size = bytes;
        return true;
    }
    bool FreeSpace(const std::string& path, unsigned long long& bytes, std::string& volume) override {
        if (Kind(path) != vk::PathKind::Folder)
            return false;
        bytes = freeBytes;
        volume = m_disk.Full(path).substr(0, 2);
        return true;
    }
    bool SameFile(const std::string& a, const std::string& b) override {
        return Kind(a) != vk::PathKind::None && m_disk.Full(a) == m_disk.Full(b);
    }
    std::unique_ptr<vk::ByteSource> Open(const std::string& path) override { return m_disk.Open(path); }
    bool Recycle(const std::string& path, std::string& error) override {
        recycled.push_back(path);
        return vk::RemoveTree(*this, path, error);
    }

private:
    static bool Fail(const std::string& why, std::string& error) {
        error = why;
        return false;
    }
    FakeDisk& m_disk;
};

template <class Host>
class FakeBuildFiles : public Host {
public:
    FakeDisk disk;
    FakeFileAccess files{disk};
    std::vector<std::vector<std::string>> images; // folder, image (as shown), label
    std::string imageError;                       // the image fails with it, when set

    vk::FileAccess& Access() override { return files; }
    void SetWorkingFolder(const std::string& folder) override { disk.workingFolder = folder; }
    bool WriteAutorunInf(const std::string& folder, const vk::DiscSettings& settings, std::string& open,
                         std::string& error) override {
        return files.WriteWhole(folder + "\\autorun.inf", vk::AutorunInfText(settings, &open), error);
    }
    bool WriteImage(const std::string& folder, const std::string& file, const std::string& shown,
                    const std::string& label, vk::ImageProgress& progress, vk::ImageListing*,
                    std::string& error) override {
        images.push_back({folder, shown, label});
        error = imageError;
        if (!imageError.empty())
            return false;
        // Half, then all, as a writer tells it; a stop leaves no image.
        for (unsigned long long done : {1ULL << 20, 2ULL << 20})
            if (!progress.Advance(done, 2ULL << 20)) {
                error = "stopped";
                return false;
            }
        disk.Put(file, OurImage("image"));
        return true;
    }
};
