// Resource ids of the viewer window, shared by its resource script and its class.
#pragma once

#define IDD_VIEWER 137
#define IDC_VIEWER_PLAYER 1032
#define IDC_VIEWER_BROWSER 1085
