// A folder tree in memory for the disc image writer, and the image written from it, with
// faults to order.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "disc/disc_image.h"

class MemoryDisc : public vk::DiscHost {
public:
    std::map<std::string, std::vector<vk::DiscItem>> folders{{"", {}}};
    std::map<std::string, std::string> files;
    std::string image;
    std::vector<std::pair<unsigned long long, unsigned long long>> progress;
    std::string failList = "\x01", failOpen = "\x01", failRead = "\x01"; // the path whose call fails
    size_t writeRoom = SIZE_MAX; // bytes the image may take before the disc is full
    size_t readStep = SIZE_MAX;  // the most one Read hands out
    long long sizeChange = 0;    // files read back longer or shorter than listed
    int opened = 0;

    void Add(const std::string& path, const std::string& content = "", long long modified = 1000000000) {
        AddItem(path, {Name(path), false, content.size(), modified});
        files[path] = content;
    }
    void AddFolder(const std::string& path, long long modified = 1000000000) {
        AddItem(path, {Name(path), true, 0, modified});
        folders[path];
    }

    bool List(const std::string& folder, std::vector<vk::DiscItem>& items, std::string& error) override {
        if (folder == failList)
            return Fail(folder, error);
        items = folders.at(folder);
        return true;
    }
    bool Open(const std::string& file, std::string& error) override {
        if (file == failOpen)
            return Fail(file, error);
        ++opened;
        m_reading = files.at(file);
        m_path = file;
        m_pos = 0;
        if (sizeChange < 0)
            m_reading.resize(m_reading.size() + sizeChange);
        else
            m_reading.append(static_cast<size_t>(sizeChange), 'g');
        return true;
    }
    long long Read(char* buffer, size_t size, std::string& error) override {
        if (m_path == failRead)
            return Fail(m_path, error), -1;
        const size_t n = std::min({size, readStep, m_reading.size() - m_pos});
        std::memcpy(buffer, m_reading.data() + m_pos, n);
        m_pos += n;
        return static_cast<long long>(n);
    }
    void Close() override { --opened; }
    bool Write(const char* data, size_t size, std::string& error) override {
        if (image.size() + size > writeRoom) {
            error = "image.iso: the disc is full.";
            return false;
        }
        image.append(data, size);
        return true;
    }
    void Advance(unsigned long long done, unsigned long long total) override { progress.emplace_back(done, total); }
    std::string Shown(const std::string& path) override { return "/src/" + path; }

    // Every name of a tree as a reader sees it (Joliet as UTF-8), with its record.

private:
    static std::string Name(const std::string& path) { return path.substr(path.rfind('/') + 1); }
    void AddItem(const std::string& path, vk::DiscItem item) {
        const size_t slash = path.rfind('/');
        folders[slash == std::string::npos ? "" : path.substr(0, slash)].push_back(item);
    }
    static bool Fail(const std::string& path, std::string& error) {
        error = "/src/" + path + ": permission denied.";
        return false;
    }
    std::string m_reading, m_path;
    size_t m_pos = 0;
};
