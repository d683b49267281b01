// Owners of the system's handles: each releases its handle once, when it goes, so no path
// out of a function forgets one. Move-only, like the handle they hold.
#pragma once
#include <windows.h>

#include <utility>

namespace fw {

// Release(handle) frees it; Empty() is the value that holds nothing.
template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : m_handle(handle) {}
    Owned(Owned&& other) noexcept : m_handle(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Empty(); }
    // Frees what it held and holds handle instead.
    void Reset(Handle handle = Traits::Empty()) {
        if (m_handle != Traits::Empty())
            Traits::Release(m_handle);
        m_handle = handle;
    }
    // Gives the handle up without freeing it.
    Handle Release() { return std::exchange(m_handle, Traits::Empty()); }

private:
    Handle m_handle = Traits::Empty();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { ::CloseHandle(h); }
};
// What CreateFile answers: INVALID_HANDLE_VALUE for none.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { ::FindClose(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { ::DestroyIcon(h); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { ::DeleteObject(h); }
};
struct FontTraits {
    using Handle = HFONT;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { ::DeleteDC(h); }
};
struct KeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { ::RegCloseKey(h); }
};

using KernelHandle = Owned<KernelHandleTraits>;
using FileHandle = Owned<FileHandleTraits>;
using FindHandle = Owned<FindHandleTraits>;
using Icon = Owned<IconTraits>;
using GdiObject = Owned<GdiObjectTraits>;
using Font = Owned<FontTraits>;
using MemoryDc = Owned<MemoryDcTraits>;
using RegistryKey = Owned<KeyTraits>;

// A window's device context, given back to its window when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// An object selected into a device context, put back when it goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (m_old && m_old != HGDI_ERROR)
            ::SelectObject(m_dc, m_old);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

} // namespace fw
