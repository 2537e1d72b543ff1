// The preferences file in the Windows directory, the one the installer's
// Uninstall removes.
#pragma once

#include "screensaver/settings.h"

// The stored settings; defaults for whatever is missing or unusable.
SaverSettings LoadSettings();

// True when every value was written.
bool SaveSettings(const SaverSettings& settings);
