// The file work of a build host on an in-memory disk, for the tests of the designer's build
// and of the command build: either kind of host takes it as its base.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "designer/builder.h"
#include "scanner_fake_disk.h"

template <class Host>
class FakeBuildFiles : public Host {
public:
    FakeDisk disk;
    std::set<std::string> unwritable;                // writes to these paths fail
    std::map<std::string, unsigned long long> sizes; // by the end of the path: big sizes without contents
    std::vector<std::vector<std::string>> images;    // folder, image, label
    std::string imageError;                          // the image fails with it, when set

    bool Exists(const std::string& path) override { return disk.Exists(path); }
    void RemoveOldFolder(const std::string& folder) override {
        for (const std::string& name : disk.FilesIn(folder))
            disk.Remove(folder + "\\" + name);
        disk.RemoveFolder(folder);
    }
    void SetWorkingFolder(const std::string& folder) override { disk.workingFolder = folder; }
    bool Copy(const std::string& from, const std::string& to) override { return disk.Copy(from, to); }
    bool WriteAutorunInf(const std::string& folder, const vk::DiscSettings& settings, std::string& open) override {
        return WriteTextFile(folder + "\\autorun.inf", vk::AutorunInfText(settings, &open));
    }
    bool WriteTextFile(const std::string& path, const std::string& text) override {
        if (unwritable.count(path))
            return false;
        disk.Put(path, text);
        return true;
    }
    bool FileSize(const std::string& path, unsigned long long& size) override {
        if (!disk.Has(path))
            return false;
        size = disk.Content(path).size();
        for (const auto& [name, bytes] : sizes)
            if (path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0)
                size = bytes;
        return true;
    }
    bool WriteImage(const std::string& folder, const std::string& image, const std::string& label,
                    std::string& error) override {
        images.push_back({folder, image, label});
        error = imageError;
        return imageError.empty();
    }
};
