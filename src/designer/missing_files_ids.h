// Resource ids of the missing-files dialog, shared by its resource script, its class and the
// tests.
#pragma once

#define IDD_MISSING_FILES 139
#define IDC_MISSING_FILES_LIST 1027
