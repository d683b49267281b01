// Program-wide resource ids: the icons, the About command's text and the designer's template.
// Each other dialog has its ids in a header beside its class.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

#define IDI_APP 128
#define IDI_IMAGE 133
#define IDI_FILE 134
#define IDI_SOUND 135
#define IDI_DISC 136
#define IDI_WINDOW 141
#define IDS_ABOUTBOX 101
#define IDD_DESIGNER 102
