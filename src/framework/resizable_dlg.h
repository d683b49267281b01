// A dialog whose listed controls move or stretch with its client area.
#pragma once
#include "framework/dialog.h"
#include "framework/anchor_layout.h"

namespace fw {

class CResizableDlg : public ModalDialog {
public:
    explicit CResizableDlg(int templateId, HWND parent = nullptr) : ModalDialog(templateId, parent) {}

    // flags: AnchorMoveX, AnchorMoveY, AnchorSizeX, AnchorSizeY. Call from OnInitDialog.
    void AddAnchoredControl(int id, int flags) { m_layout.Add(id, flags); }

protected:
    // Answers FALSE; derived dialogs answer their own value.
    BOOL OnInitDialog() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;
    // Moved to a screen of another scale: the window takes the size the system suggests and
    // the controls keep their anchors (the system's own re-layout would put them back where
    // the template has them).
    bool OnDpiChanged(int dpi, const RECT& suggested) override;

private:
    AnchorLayout m_layout;
    int m_dpi = 0; // the scale the controls were laid out for
};

} // namespace fw
