// Resource ids of Create CD's progress window: the wait window's label and text, and below them
// the counts, a bar and Cancel.
#pragma once
#include "controls/wait_ids.h"

#define IDD_BUILD_WAIT 144
#define IDC_WAIT_COUNTS 1036
#define IDC_WAIT_BAR 1037
