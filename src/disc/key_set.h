// A set of byte strings for the scan's "seen before?" questions, asked once for every link
// value of every page: one flat table of hashes and places, the keys side by side in large
// blocks, so a question costs a probe and at most one comparison instead of a chase through
// nodes, and a key costs its bytes and a slot or two.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class KeySet {
public:
    // True when key was not in the set (it is now). A key of 4 GiB or more is never kept and
    // always counts as new: asking again costs time, never a wrong answer.
    bool Insert(std::string_view key) {
        if (key.size() >= kEmpty)
            return true;
        if ((m_count + 1) * 2 > m_slots.size())
            Grow();
        const size_t hash = Hash(key);
        Slot& slot = m_slots[Find(key, hash)];
        if (slot.length != kEmpty)
            return false;
        slot = Store(key, hash);
        ++m_count;
        return true;
    }
    bool Contains(std::string_view key) const {
        return !m_slots.empty() && key.size() < kEmpty && m_slots[Find(key, Hash(key))].length != kEmpty;
    }
    void Clear() {
        m_slots.clear();
        m_blocks.clear();
        m_count = 0;
    }
    size_t Size() const { return m_count; }

private:
    static constexpr uint32_t kEmpty = ~uint32_t(0);
    static constexpr size_t kBlock = 64 * 1024;
    struct Slot {
        uint32_t check = 0; // more bits of the hash, so most other keys need no comparison
        uint32_t block = 0;
        uint32_t offset = 0;
        uint32_t length = kEmpty;
    };
    static size_t Hash(std::string_view key) { return std::hash<std::string_view>()(key); }
    static uint32_t Check(size_t hash) { return static_cast<uint32_t>(hash >> (sizeof(size_t) > 4 ? 32 : 0)); }
    std::string_view Key(const Slot& slot) const {
        return std::string_view(m_blocks[slot.block]).substr(slot.offset, slot.length);
    }
    // The slot that holds key, or the empty one where it would go.
    size_t Find(std::string_view key, size_t hash) const {
        size_t at = hash & (m_slots.size() - 1);
        for (;; at = (at + 1) & (m_slots.size() - 1)) {
            const Slot& slot = m_slots[at];
            if (slot.length == kEmpty || (slot.check == Check(hash) && slot.length == key.size() && Key(slot) == key))
                return at;
        }
    }
    // Blocks are never grown past what they reserved, so no key moves.
    Slot Store(std::string_view key, size_t hash) {
        if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < key.size()) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(key.size() > kBlock ? key.size() : kBlock);
        }
        std::string& block = m_blocks.back();
        const Slot slot = {Check(hash), static_cast<uint32_t>(m_blocks.size() - 1), static_cast<uint32_t>(block.size()),
                           static_cast<uint32_t>(key.size())};
        block.append(key);
        return slot;
    }
    void Grow() {
        std::vector<Slot> old(m_slots.size() < 64 ? 64 : m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old)
            if (slot.length != kEmpty)
                m_slots[Find(Key(slot), Hash(Key(slot)))] = slot;
    }

    std::vector<Slot> m_slots; // a power of two of them, at most half in use
    std::vector<std::string> m_blocks;
    size_t m_count = 0;
};

} // namespace vk
