// Resource ids of the help window and its page, shared by its resource script, its class, the
// page's res: address and the tests.
#pragma once

#define IDD_HELP 103
#define IDC_HELP_ICON 1105
#define IDC_HELP_VERSION 1104
#define IDC_HELP_BROWSER 1085
#define IDC_HELP_MAIL_LINK 1008
#define IDC_HELP_WEB_LINK 1103
// An HTML resource (type 23), so that the browser can reach it through a res: address.
#define IDR_HELP_PAGE 186
