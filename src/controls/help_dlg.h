// The help window of the designer: icon, version, the product's web and e-mail links, and the
// help page that the program carries as an HTML resource, shown in a web browser control.
#pragma once
#include "controls/help_ids.h"
#include "controls/hyperlink_win.h"
#include "framework/dialog.h"
#include "controls/web_browser2.h"

class CHelpDlg : public fw::ModalDialog {
public:
    enum { IDD = IDD_HELP };
    explicit CHelpDlg(HWND parent = nullptr) : fw::ModalDialog(IDD, parent) {}

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    CHyperLink m_webLink;
    CHyperLink m_mailLink;
    CWebBrowser2 m_browser;
};
