#include "install/uninstall_command.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "install/exact_delete.h"
#include "install/locations.h"
#include "install/screen_saver_setting.h"
#include "resources/resource_ids.h"

namespace {

void DeleteIn(const char* directory, const char* name) {
    char path[PathSize];
    ComposePath(path, directory, name);
    // A file that stays is found by the probe that follows the deletions.
    platform::DeleteFileA(path);
}

void DeletePrefsIn(const char* directory) {
    if (IsPresentIn(directory, names.PrefsName)) DeleteIn(directory, names.PrefsName);
}

// A screen saver run without rights (ours relies on that) writes its
// preferences into the VirtualStore; the elevated uninstaller never sees that
// copy unless it looks there. The folder is the user's to change.
void DeleteVirtualizedPrefs(const char* directory) {
    char path[PathSize];
    if (ComposeVirtualStorePath(path, directory, names.PrefsName)) DeleteExactly(path);
}

void ReportNothingInstalled() {
    ShowMessage(app.instance, IDS_NOTHING_TO_UNINSTALL, IDS_NOT_INSTALLED_CAPTION, MB_OK | MB_ICONINFORMATION);
}

} // namespace

InstalledCopies FindInstalledCopies() {
    const bool inWindows = IsPresentIn(locations.WindowsDir, names.ScrName) != 0;
    const bool inSystem = IsPresentIn(locations.SystemDir, names.ScrName) != 0;
    const bool inNativeSystem = IsPresentIn(locations.NativeSystemDir, names.ScrName) != 0;
    return {inSystem, inWindows, inNativeSystem};
}

void UninstallScreenSaver(HWND /*mainWindow*/) {
    if (!FindInstalledCopies().Any()) {
        ReportNothingInstalled();
        return;
    }
    if (ShowMessage(app.instance, IDS_UNINSTALL_QUESTION, IDS_UNINSTALLER_CAPTION, MB_YESNO | MB_ICONEXCLAMATION) !=
        IDYES)
        return;
    const InstalledCopies copies = FindInstalledCopies();
    if (!copies.Any())
        ReportNothingInstalled();
    else
        RemoveInstalledCopies(copies);
}

void DeletePreferencesOf(const InstalledCopies& copies) {
    if (copies.inSystem) {
        DeletePrefsIn(locations.WindowsDir);
        DeletePrefsIn(locations.SystemDir);
    }
    // Under WoW64 the real System directory is one more System directory.
    if (copies.inNativeSystem) {
        DeletePrefsIn(locations.WindowsDir);
        DeletePrefsIn(locations.NativeSystemDir);
    }
    if (copies.inWindows) DeletePrefsIn(locations.WindowsDir);
    if (!copies.Any()) return;
    DeleteVirtualizedPrefs(locations.WindowsDir);
    if (copies.inSystem || copies.inNativeSystem) {
        // What the System directory's preferences become, seen by a 32-bit
        // and by a 64-bit screen saver: VirtualStore\Windows\System32 and
        // VirtualStore\Windows\SysWOW64.
        DeleteVirtualizedPrefs(locations.SystemDir);
        char wow64SystemDir[PathSize];
        ComposePath(wow64SystemDir, locations.WindowsDir, "SysWOW64\\");
        if (locations.NativeSystemDir[0] != '\0') DeleteVirtualizedPrefs(wow64SystemDir);
    }
}

InstalledCopyNames NamesOfCopies(const InstalledCopies& copies) {
    InstalledCopyNames copyNames = {};
    if (copies.inSystem) copyNames.system = NamesOf(locations.SystemDir, nullptr);
    if (copies.inNativeSystem) copyNames.nativeSystem = NamesOf(locations.NativeSystemDir, locations.SystemDir);
    if (copies.inWindows) copyNames.windows = NamesOf(locations.WindowsDir, nullptr);
    return copyNames;
}

void ForgetEntryOfGoneCopies(const InstalledCopyNames& copyNames, const InstalledCopies& gone,
                             const InstalledCopies& stayed, const CopyNames* alsoPresent) {
    const CopyNames* goneNames[3];
    const CopyNames* presentNames[4];
    int goneCount = 0, presentCount = 0;
    const auto sort = [&](bool isGone, bool stays, const CopyNames& copy) {
        if (isGone) goneNames[goneCount++] = &copy;
        if (stays) presentNames[presentCount++] = &copy;
    };
    sort(gone.inSystem, stayed.inSystem, copyNames.system);
    sort(gone.inNativeSystem, stayed.inNativeSystem, copyNames.nativeSystem);
    sort(gone.inWindows, stayed.inWindows, copyNames.windows);
    if (alsoPresent != nullptr) presentNames[presentCount++] = alsoPresent;
    if (goneCount > 0) ForgetScreenSaverEntry(goneNames, goneCount, presentNames, presentCount);
}

BOOL RemoveInstalledCopies(const InstalledCopies& copies) {
    const InstalledCopyNames copyNames = NamesOfCopies(copies);
    if (copies.inSystem) DeleteIn(locations.SystemDir, names.ScrName);
    if (copies.inNativeSystem) DeleteIn(locations.NativeSystemDir, names.ScrName);
    if (copies.inWindows) DeleteIn(locations.WindowsDir, names.ScrName);
    DeletePreferencesOf(copies);

    InstalledCopies stayed = {}, gone = {};
    stayed.inSystem = copies.inSystem && IsPresentIn(locations.SystemDir, names.ScrName);
    stayed.inNativeSystem = copies.inNativeSystem && IsPresentIn(locations.NativeSystemDir, names.ScrName);
    stayed.inWindows = copies.inWindows && IsPresentIn(locations.WindowsDir, names.ScrName);
    gone.inSystem = copies.inSystem && !stayed.inSystem;
    gone.inNativeSystem = copies.inNativeSystem && !stayed.inNativeSystem;
    gone.inWindows = copies.inWindows && !stayed.inWindows;
    ForgetEntryOfGoneCopies(copyNames, gone, stayed, nullptr);

    // A copy in use, read-only or beyond our rights stays: say so rather than
    // report a removal that did not happen.
    if (stayed.Any()) {
        ReportCopyStayed();
        return FALSE;
    }
    ReportRemoval();
    return TRUE;
}

void ReportRemoval() {
    ShowMessage(app.instance, IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, MB_OK | MB_ICONINFORMATION);
}

void ReportCopyStayed() {
    ShowMessage(app.instance, IDS_REMOVE_FAILED, IDS_UNINSTALLER_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}
