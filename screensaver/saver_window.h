// The animation's window: full screen over every monitor for /s, or a child
// filling the preview window for /p.
#pragma once

#include <windows.h>

#include "screensaver/settings.h"

// Runs the animation until it ends and returns the program's exit code.
// previewParent null means full screen.
int RunSaver(HINSTANCE instance, const SaverSettings& settings, HWND previewParent);
