// Holds one reference to a COM interface and releases it when it goes, so no path through a
// function can forget the Release that its AddRef or QueryInterface called for.
#pragma once
#include <utility>

namespace fw {

template <class Itf>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    Itf* Get() const { return m_p; }
    Itf* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For an out parameter that hands over a reference: what was held is released first.
    Itf** Put() {
        Reset();
        return &m_p;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }

private:
    Itf* m_p = nullptr;
};

} // namespace fw
