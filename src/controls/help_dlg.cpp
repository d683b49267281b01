#include "controls/help_dlg.h"

#include "core/win/module_path.h"
#include "core/product.h"
#include "controls/hyperlink.h"
#include "framework/debug_log.h"

void CHelpDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Bind(IDC_HELP_WEB_LINK, m_webLink);
    dx.Bind(IDC_HELP_MAIL_LINK, m_mailLink);
    dx.Bind(IDC_HELP_BROWSER, m_browser);
}

BOOL CHelpDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    // The web link shows the site's address but opens the product's own page.
    m_webLink.SetTarget(vk::kProductPage);
    // The shell takes a bare address for a file name and opens nothing.
    m_mailLink.SetTarget(vk::kSupportMailTo);
    // The page is found in the running program file itself, under whatever name it runs.
    fw::LogIfFailed(m_browser.Navigate(vk::HelpPageAddress(vk::ModulePath()), nullptr, nullptr, nullptr, nullptr),
                    "the help page");
    return TRUE;
}
