// The Uninstall command and the removal both commands share.
#pragma once

#include "platform/platform.h"

void UninstallScreenSaver(HWND mainWindow);
// Deletes the copies the flags name and their preferences files, then reports.
// True when every copy asked for is gone.
BOOL RemoveInstalledCopies(BOOL inSystem, BOOL inWindows);
