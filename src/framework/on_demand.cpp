#include "framework/on_demand.h"

#include <atomic>

namespace fw {
namespace {

// A system library, loaded on the first use of one of its functions. The sound plays on a
// thread of its own, so two threads may get here at once: both then load it (the count of one
// module goes up twice) and store the same handle.
class Library {
public:
    constexpr explicit Library(const wchar_t* name) : m_name(name) {}

    // Null when it cannot be loaded; not tried again.
    HMODULE Module() {
        if (!m_tried.load(std::memory_order_acquire)) {
            m_module.store(Load(), std::memory_order_relaxed);
            m_tried.store(true, std::memory_order_release);
        }
        return m_module.load(std::memory_order_relaxed);
    }

private:
    // By its full path: the folder a launcher starts from is the disc's, and anything could
    // lie there under a system library's name.
    HMODULE Load() const {
        wchar_t path[MAX_PATH];
        const UINT folder = ::GetSystemDirectoryW(path, MAX_PATH);
        const size_t name = ::lstrlenW(m_name);
        if (folder == 0 || folder + 1 + name >= MAX_PATH)
            return nullptr;
        path[folder] = L'\\';
        ::lstrcpyW(path + folder + 1, m_name);
        return ::LoadLibraryW(path);
    }

    const wchar_t* m_name;
    std::atomic<HMODULE> m_module{nullptr};
    std::atomic<bool> m_tried{false};
};

Library g_winmm(L"winmm.dll");
Library g_oleaut32(L"oleaut32.dll");

// One function of a library, looked up on its first call. F is the type of the system
// header's own declaration, so the calling convention is the declared one in either build.
template <class F>
class Function {
public:
    constexpr Function(Library& library, const char* name) : m_library(library), m_name(name) {}

    // Null when the library or the function is missing.
    F Get() {
        if (!m_resolved.load(std::memory_order_acquire)) {
            const HMODULE module = m_library.Module();
            const FARPROC found = module ? ::GetProcAddress(module, m_name) : nullptr;
            m_function.store(reinterpret_cast<F>(reinterpret_cast<void (*)()>(found)), std::memory_order_relaxed);
            m_resolved.store(true, std::memory_order_release);
        }
        return m_function.load(std::memory_order_relaxed);
    }

private:
    Library& m_library;
    const char* m_name;
    std::atomic<F> m_function{nullptr};
    std::atomic<bool> m_resolved{false};
};

Function<decltype(&::mciSendStringW)> g_mciSendString(g_winmm, "mciSendStringW");
Function<decltype(&::PlaySoundW)> g_playSound(g_winmm, "PlaySoundW");
Function<decltype(&::SysAllocStringLen)> g_sysAllocStringLen(g_oleaut32, "SysAllocStringLen");
Function<decltype(&::SysFreeString)> g_sysFreeString(g_oleaut32, "SysFreeString");
Function<decltype(&::SysStringLen)> g_sysStringLen(g_oleaut32, "SysStringLen");
Function<decltype(&::VariantClear)> g_variantClear(g_oleaut32, "VariantClear");
Function<decltype(&::OleLoadPicture)> g_oleLoadPicture(g_oleaut32, "OleLoadPicture");
Function<decltype(&::OleCreatePictureIndirect)> g_oleCreatePictureIndirect(g_oleaut32, "OleCreatePictureIndirect");

const HRESULT kMissing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

} // namespace

MCIERROR SendMciCommand(const wchar_t* command) {
    const auto f = g_mciSendString.Get();
    return f ? f(command, nullptr, 0, nullptr) : MCIERR_CANNOT_LOAD_DRIVER;
}

BOOL PlaySoundNamed(const wchar_t* name, DWORD flags) {
    const auto f = g_playSound.Get();
    return f ? f(name, nullptr, flags) : FALSE;
}

BSTR AllocBstr(const wchar_t* text, UINT length) {
    const auto f = g_sysAllocStringLen.Get();
    return f ? f(text, length) : nullptr;
}

void FreeBstr(BSTR text) {
    if (!text)
        return;
    if (const auto f = g_sysFreeString.Get())
        f(text);
}

UINT BstrLength(BSTR text) {
    if (!text)
        return 0;
    const auto f = g_sysStringLen.Get();
    return f ? f(text) : 0;
}

HRESULT ClearVariant(VARIANT* value) {
    const auto f = g_variantClear.Get();
    return f ? f(value) : kMissing;
}

HRESULT LoadPicture(IStream* stream, LONG size, BOOL runMode, REFIID iid, void** picture) {
    if (const auto f = g_oleLoadPicture.Get())
        return f(stream, size, runMode, iid, picture);
    if (picture)
        *picture = nullptr;
    return kMissing;
}

HRESULT CreatePicture(PICTDESC* desc, REFIID iid, BOOL own, void** picture) {
    if (const auto f = g_oleCreatePictureIndirect.Get())
        return f(desc, iid, own, picture);
    if (picture)
        *picture = nullptr;
    return kMissing;
}

} // namespace fw
