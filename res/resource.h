// Resource ids shared by the resource script and the program.
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
#define IDD_SPLASH 130
