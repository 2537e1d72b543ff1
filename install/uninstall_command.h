// The Uninstall command and the removal both commands share.
#pragma once

#include "platform/platform.h"

// Where a copy of the screen saver is now. Probed anew before each removal: a
// command chosen while a question was open may have changed the answer.
struct InstalledCopies {
    bool inSystem;
    bool inWindows;
    bool inNativeSystem; // the real System directory under WoW64
    bool Any() const { return inSystem || inWindows || inNativeSystem; }
};
InstalledCopies FindInstalledCopies();

void UninstallScreenSaver(HWND mainWindow);
// Deletes the copies the flags name and their preferences files, then reports.
// True when every copy asked for is gone.
BOOL RemoveInstalledCopies(const InstalledCopies& copies);
// Deletes the preferences files that go with the copies the flags name, the
// user's virtualized ones included.
void DeletePreferencesOf(const InstalledCopies& copies);
void ReportRemoval();
void ReportCopyStayed();
