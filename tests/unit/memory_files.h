// In-memory files for the core's readers.
#pragma once
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "core/text_lines.h"

class StringSource : public vk::ByteSource {
public:
    // chunk limits how much one Read hands out, to cross the reader's buffer edges; failAt
    // turns the rest of the data into a read failure.
    explicit StringSource(std::string data, size_t chunk = 1 << 20, size_t failAt = std::string::npos)
        : m_data(std::move(data)), m_chunk(chunk), m_failAt(failAt) {}
    size_t Read(char* buffer, size_t size) override {
        size_t end = std::min(m_data.size(), m_failAt);
        size_t n = std::min({size, m_chunk, end - std::min(end, m_pos)});
        std::memcpy(buffer, m_data.data() + m_pos, n);
        m_pos += n;
        return n;
    }

private:
    std::string m_data;
    size_t m_chunk;
    size_t m_failAt;
    size_t m_pos = 0;
};

class MemoryFiles : public vk::FileSource {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable; // present, but every open fails

    bool Exists(const std::string& name) override { return files.count(name) || unreadable.count(name); }
    std::unique_ptr<vk::ByteSource> Open(const std::string& name) override {
        auto it = files.find(name);
        if (it == files.end() || unreadable.count(name))
            return nullptr;
        return std::make_unique<StringSource>(it->second);
    }
};
