// Resource ids of the splash window, shared by its resource script, its class and the tests.
#pragma once

#define IDD_SPLASH 130
#define IDC_SPLASH_PICTURE 1014
