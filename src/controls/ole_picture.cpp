#include "controls/ole_picture.h"

#include <olectl.h>
#include <shlwapi.h>

#include <cstring>
#include <optional>

#include "controls/picture_geometry.h"
#include "framework/debug_log.h"
#include "framework/handles.h"
#include "framework/on_demand.h"
#include "framework/wide.h"

BOOL COlePicture::LoadFromResource(UINT id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"IMAGE");
    if (!found)
        return FALSE;
    const void* bytes = ::LockResource(::LoadResource(module, found));
    const DWORD size = ::SizeofResource(module, found);
    if (!bytes || size == 0)
        return FALSE;
    // The stream takes a copy it owns; resource memory is read-only.
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = copy ? ::GlobalLock(copy) : nullptr;
    if (!target) {
        if (copy)
            ::GlobalFree(copy);
        return FALSE;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(copy);
    fw::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, stream.Put()))) {
        ::GlobalFree(copy);
        return FALSE;
    }
    return LoadFromStream(stream.Get());
}

BOOL COlePicture::LoadFromFile(const std::string& path) {
    fw::ComPtr<IStream> stream; // its release closes the file
    if (FAILED(::SHCreateStreamOnFileW(fw::Widen(path).c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, stream.Put())))
        return FALSE;
    return LoadFromStream(stream.Get());
}

BOOL COlePicture::LoadFromStream(IStream* stream) {
    m_pPicture.Reset();
    if (!stream)
        return FALSE;
    // Size 0: the loader finds the picture's length in the stream itself.
    if (FAILED(fw::LoadPicture(stream, 0, FALSE, IID_IPicture, m_pPicture.PutVoid())))
        m_pPicture.Reset();
    return static_cast<bool>(m_pPicture);
}

BOOL COlePicture::LoadFromBitmap(HBITMAP bitmap) {
    m_pPicture.Reset();
    if (!bitmap)
        return FALSE;
    PICTDESC desc = {};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    if (FAILED(fw::CreatePicture(&desc, IID_IPicture, TRUE, m_pPicture.PutVoid()))) {
        m_pPicture.Reset();
        ::DeleteObject(bitmap);
    }
    return static_cast<bool>(m_pPicture);
}

SIZE COlePicture::GetPixelSize(HDC dc) const {
    SIZE pixels = {0, 0};
    if (!m_pPicture)
        return pixels;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    m_pPicture->get_Width(&width);
    m_pPicture->get_Height(&height);
    // Every context of this program is in the text mapping mode: device pixels per inch.
    std::optional<fw::WindowDc> screen;
    if (!dc)
        screen.emplace(nullptr);
    HDC measure = dc ? dc : screen->Get();
    pixels.cx = vk::HimetricToPixels(width, ::GetDeviceCaps(measure, LOGPIXELSX));
    pixels.cy = vk::HimetricToPixels(height, ::GetDeviceCaps(measure, LOGPIXELSY));
    return pixels;
}

BOOL COlePicture::RenderInto(HDC dc, const RECT& dest, const RECT* metafileBounds) const {
    if (!m_pPicture)
        return FALSE;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    m_pPicture->get_Width(&width);
    m_pPicture->get_Height(&height);
    const SIZE natural = GetPixelSize(dc);
    const vk::RenderArgs a = vk::RenderArgsFor(fw::Rect{dest.left, dest.top, dest.right, dest.bottom},
                                               fw::Size{natural.cx, natural.cy}, fw::Size{width, height});
    const bool smaller = a.cx < natural.cx || a.cy < natural.cy;
    const int mode = smaller ? ::SetStretchBltMode(dc, HALFTONE) : 0;
    if (smaller)
        ::SetBrushOrgEx(dc, 0, 0, nullptr); // as HALFTONE asks
    const HRESULT drawn =
        fw::LogIfFailed(m_pPicture->Render(dc, a.x, a.y, a.cx, a.cy, a.srcX, a.srcY, a.srcCx, a.srcCy, metafileBounds),
                        "drawing a picture");
    if (mode)
        ::SetStretchBltMode(dc, mode);
    return SUCCEEDED(drawn);
}
