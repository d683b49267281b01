#include "controls/splash_dlg.h"
