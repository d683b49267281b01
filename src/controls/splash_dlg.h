// The caption-less popup that shows a splash picture: it sizes itself to the picture plus a
// small margin and centres itself on the screen. Its creator shows and hides it.
#pragma once
#include <string>

#include "controls/picture_ctrl.h"
#include "controls/splash_ids.h"
#include "framework/dialog.h"

class CSplashDlg : public fw::ModelessDialog {
public:
    enum { IDD = IDD_SPLASH };
    explicit CSplashDlg(HWND parent = nullptr) : fw::ModelessDialog(IDD, parent), m_pictureCtrl(TRUE) {}

    CPictureCtrl m_pictureCtrl;
    // Set by the creator before Create; empty means "default.gif" in the current folder.
    std::string m_strImagePath;

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;
};
