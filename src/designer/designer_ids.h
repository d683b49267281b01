// Control ids of the designer dialog, shared by its resource script, its class, its rules and
// the tests that drive it.
#pragma once

#define IDC_SELECT_FILE 1000
#define IDC_TARGET_NAME 1005
#define IDC_HELP_BUTTON 1006
#define IDC_SPLASH_OPTION 1015
#define IDC_SELECT_IMAGE 1016
#define IDC_SOUND_OPTION 1017
#define IDC_SPLASH_NAME 1018
#define IDC_SOUND_NAME 1019
#define IDC_SELECT_SOUND 1020
#define IDC_ICON_OPTION 1021
#define IDC_SELECT_ICON 1022
#define IDC_ICON_NAME 1023
#define IDC_PLAY_SOUND 1024
#define IDC_BROWSER_OPTION 1026
#define IDC_WINDOW_SIZE 1028
#define IDC_WINDOW_SIZE_LABEL 1029
#define IDC_IMAGE_OPTION 1040
