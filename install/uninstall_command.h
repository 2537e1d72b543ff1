// The Uninstall command and the removal both commands share.
#pragma once

#include "install/screen_saver_setting.h"
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

// What the setting may call each copy the flags name: taken while the copies
// are there, as a file that is gone has no short form.
struct InstalledCopyNames {
    CopyNames system, nativeSystem, windows;
};
InstalledCopyNames NamesOfCopies(const InstalledCopies& copies);
// Forgets the setting's entry when it names one of the gone copies and none of
// those that stayed, nor alsoPresent (may be null).
void ForgetEntryOfGoneCopies(const InstalledCopyNames& copyNames, const InstalledCopies& gone,
                             const InstalledCopies& stayed, const CopyNames* alsoPresent);

void UninstallScreenSaver(HWND mainWindow);
// Deletes the copies the flags name and their preferences files, then reports.
// True when every copy asked for is gone.
BOOL RemoveInstalledCopies(const InstalledCopies& copies);
// Deletes the preferences files that go with the copies the flags name, the
// user's virtualized ones included.
void DeletePreferencesOf(const InstalledCopies& copies);
void ReportRemoval();
void ReportCopyStayed();
