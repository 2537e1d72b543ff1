// Start-up hardening against DLL planting.
#pragma once

#include "platform/platform.h"

// Limits where this process looks for DLLs to the System directory. Called
// before anything that can load a DLL: the first window class loads some.
void HardenDllSearch();
