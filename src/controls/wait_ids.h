// Resource ids of the wait window, shared by its resource script and its class.
#pragma once

#define IDD_WAIT 142
#define IDC_WAIT_LABEL 1030
#define IDC_WAIT_TEXT 1031
