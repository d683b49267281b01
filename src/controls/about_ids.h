// Resource ids of the About box, shared by its resource script, its class and the tests.
#pragma once

#define IDD_ABOUT 100
