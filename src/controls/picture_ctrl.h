// A static that shows one picture from a file or from the program's "IMAGE" resources,
// drawn at its natural size (at the screen's scale) in the top-left corner, squeezed into a
// smaller control.
#pragma once
#include "controls/ole_picture.h"
#include "controls/picture_geometry.h"
#include "controls/static_link.h"

class CPictureCtrl : public CStaticLink {
public:
    // loadFromResource: take the "IMAGE" resource with the control's id when the control is
    // attached or created.
    explicit CPictureCtrl(BOOL loadFromResource) : CStaticLink(nullptr, FALSE), m_bLoadFromResource(loadFromResource) {}

    // As a child window of its own rather than a dialog's static.
    bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id) {
        return fw::Control::Create("STATIC", text, style, rect, parent, id);
    }

    COlePicture m_picture;

    // The picture as the control shows it: its own pixels at 100 %, grown with the screen's
    // scale so that it keeps its size on the screen; or the size it was told to show.
    fw::Size ImageSize() const;
    // Shows the picture at this size, in pixels of the screen, whatever its own (a splash
    // scaled down to fit the screen). An empty size goes back to the picture's own.
    void SetShownSize(fw::Size size) { m_shownSize = size; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LoadResourcePicture();
    void OnPaint();
    void Paint(HDC dc);
    void OnEraseBkgnd(HDC dc);
    HBRUSH BackgroundBrush(HDC dc) const;
    fw::Size ClientSize() const;

    BOOL m_bLoadFromResource;
    fw::Size m_shownSize;
};
