#include "controls/picture_shrink_win.h"

#include <shlwapi.h>

#include <vector>

#include "controls/picture_shrink.h"
#include "framework/wide.h"

namespace {

// The decoder's own scaling (WIC, Windows Vista and later). This compiler's headers do not
// declare it; the layout and identifier are the system's.
struct IWICBitmapSourceTransform : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
const IID kIidSourceTransform = {0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

} // namespace

bool CPictureFile::Open(const std::string& path) {
    fw::ComPtr<IStream> stream;
    fw::ComPtr<IWICBitmapDecoder> decoder;
    UINT width = 0, height = 0;
    // Opened as the picture loader opens it: readable, and not written meanwhile.
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  m_factory.PutVoid())) ||
        FAILED(::SHCreateStreamOnFileW(fw::Widen(path).c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, stream.Put())) ||
        FAILED(
            m_factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
        FAILED(decoder->GetFrame(0, m_frame.Put())) || FAILED(m_frame->GetSize(&width, &height)) ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        m_frame.Reset();
        return false;
    }
    m_size = fw::Size{static_cast<int>(width), static_cast<int>(height)};
    return true;
}

bool CPictureFile::ReducedSource(fw::Size size, fw::ComPtr<IWICBitmapSource>& source) const {
    fw::ComPtr<IWICBitmapSourceTransform> transform;
    UINT width = static_cast<UINT>(size.cx), height = static_cast<UINT>(size.cy);
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(m_frame->QueryInterface(kIidSourceTransform, transform.PutVoid())) ||
        FAILED(transform->GetClosestSize(&width, &height)) || width < static_cast<UINT>(size.cx) ||
        height < static_cast<UINT>(size.cy) ||
        (width >= static_cast<UINT>(m_size.cx) && height >= static_cast<UINT>(m_size.cy)) ||
        FAILED(transform->GetClosestPixelFormat(&format)))
        return false;
    // Four bytes a pixel hold any format a decoder gives for these pictures.
    const UINT stride = width * 4;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    fw::ComPtr<IWICBitmap> bitmap;
    if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0, stride,
                                     static_cast<UINT>(pixels.size()), pixels.data())) ||
        FAILED(m_factory->CreateBitmapFromMemory(width, height, format, stride, static_cast<UINT>(pixels.size()),
                                                 pixels.data(), bitmap.Put())))
        return false;
    return SUCCEEDED(bitmap->QueryInterface(IID_IWICBitmapSource, source.PutVoid()));
}

HBITMAP CPictureFile::Shrunk(fw::Size size, COLORREF background) const {
    fw::ComPtr<IWICBitmapSource> source;
    if (!m_frame ||
        (!ReducedSource(size, source) && FAILED(m_frame->QueryInterface(IID_IWICBitmapSource, source.PutVoid()))))
        return nullptr;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = {};
    if (FAILED(source->GetSize(&width, &height)) || FAILED(source->GetPixelFormat(&format)) ||
        !vk::PictureShrink::Accepts(fw::Size{static_cast<int>(width), static_cast<int>(height)}, size))
        return nullptr;
    // JPEG decodes to 24-bit colour, read as it is; anything else (palettes, transparency) is
    // converted first, and its transparent parts laid over the background.
    UINT pixelBytes = format == GUID_WICPixelFormat24bppBGR ? 3 : format == GUID_WICPixelFormat32bppBGR ? 4 : 0;
    const bool blend = pixelBytes == 0;
    if (blend) {
        fw::ComPtr<IWICFormatConverter> converter;
        if (FAILED(m_factory->CreateFormatConverter(converter.Put())) ||
            FAILED(converter->Initialize(source.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom)) ||
            FAILED(converter->QueryInterface(IID_IWICBitmapSource, source.PutVoid())))
            return nullptr;
        pixelBytes = 4;
    }

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // top-down, as the rows are made
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    vk::PictureShrink shrink(fw::Size{static_cast<int>(width), static_cast<int>(height)}, size,
                             static_cast<uint8_t*>(bits), static_cast<size_t>(size.cx) * 4,
                             static_cast<int>(pixelBytes));
    // A band of rows at a time: the decoded picture is never held whole a second time.
    const UINT stride = (width * pixelBytes + 3) & ~3u, band = 16;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * band);
    const BYTE back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    for (UINT top = 0; top < height; top += band) {
        const UINT count = height - top < band ? height - top : band;
        const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(count)};
        if (FAILED(source->CopyPixels(&rect, stride, stride * count, rows.data()))) {
            ::DeleteObject(bitmap);
            return nullptr;
        }
        for (UINT y = 0; y < count; ++y) {
            BYTE* row = &rows[static_cast<size_t>(stride) * y];
            if (blend)
                for (BYTE* p = row; p < row + width * 4; p += 4)
                    if (p[3] != 255)
                        for (int c = 0; c < 3; ++c)
                            p[c] = static_cast<BYTE>((p[c] * p[3] + back[c] * (255 - p[3]) + 127) / 255);
            shrink.AddRow(row);
        }
    }
    return bitmap;
}
