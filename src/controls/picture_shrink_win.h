// A picture file read through the system's imaging component (WIC): its size, known before
// the picture is drawn, and the picture averaged down to a smaller size (picture_shrink),
// decoded at a reduced size first where the file's decoder can (JPEG, on Windows).
#pragma once
#include <windows.h>
#include <wincodec.h>

#include <string>

#include "framework/geometry.h"
#include "framework/com_ptr.h"

class CPictureFile {
public:
    // False when the system has no imaging component or it cannot read the file.
    bool Open(const std::string& path);
    fw::Size PixelSize() const { return m_size; }
    // A 32-bit bitmap of exactly `size`, no larger than the picture, that the caller owns;
    // transparent parts take the background colour. Null when it cannot be made.
    HBITMAP Shrunk(fw::Size size, COLORREF background) const;

private:
    // The source to average down: a smaller decode where the decoder offers one that is
    // still at least `size`, else the frame itself.
    bool ReducedSource(fw::Size size, fw::ComPtr<IWICBitmapSource>& source) const;

    fw::ComPtr<IWICImagingFactory> m_factory;
    fw::ComPtr<IWICBitmapFrameDecode> m_frame;
    fw::Size m_size;
};
