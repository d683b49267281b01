// One picture decoded by the system's OLE picture loader (bitmap, JPEG or GIF): loading it,
// measuring it and drawing it.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "framework/com_ptr.h"

class COlePicture {
public:
    COlePicture() = default;
    COlePicture(const COlePicture&) = delete;
    COlePicture& operator=(const COlePicture&) = delete;

    // The resource of type "IMAGE" with this id in the program's module. FALSE, and the
    // current picture kept, when there is no such resource.
    BOOL LoadFromResource(UINT id);
    // FALSE, and the current picture kept, when the file cannot be opened for reading while
    // denying others write access.
    BOOL LoadFromFile(const std::string& path);
    // Drops the current picture, then decodes the stream. FALSE when the stream holds nothing
    // the loader can decode; the holder is empty then.
    BOOL LoadFromStream(IStream* stream);
    // Takes the bitmap over (it is deleted with the picture); FALSE, and the holder empty,
    // when there is none or it cannot be wrapped.
    BOOL LoadFromBitmap(HBITMAP bitmap);

    bool IsEmpty() const { return !m_pPicture; }
    // The picture's size in pixels of dc, or of the screen when dc is null; (0, 0) when empty.
    SIZE GetPixelSize(HDC dc) const;
    // Draws the whole picture stretched into dest; an all-zero dest means its natural size at
    // (0, 0). Drawn smaller, its pixels are averaged (HALFTONE) rather than dropped. FALSE when
    // there is no picture or it could not be drawn.
    BOOL RenderInto(HDC dc, const RECT& dest, const RECT* metafileBounds = nullptr) const;

private:
    fw::ComPtr<IPicture> m_pPicture;
};
