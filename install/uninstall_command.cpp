#include "install/uninstall_command.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "install/locations.h"
#include "resources/resource_ids.h"

namespace {

void DeleteIn(const char* directory, const char* name) {
    char path[PathSize];
    ComposePath(path, directory, name);
    // A file that stays is found by the probe that follows the deletions.
    platform::DeleteFileA(path);
}

void ReportNothingInstalled() {
    ShowMessage(app.instance, IDS_NOTHING_TO_UNINSTALL, IDS_NOT_INSTALLED_CAPTION, MB_OK | MB_ICONINFORMATION);
}

} // namespace

InstalledCopies FindInstalledCopies() {
    const bool inWindows = IsPresentIn(locations.WindowsDir, names.ScrName) != 0;
    const bool inSystem = IsPresentIn(locations.SystemDir, names.ScrName) != 0;
    return {inSystem, inWindows};
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
        RemoveInstalledCopies(copies.inSystem, copies.inWindows);
}

BOOL RemoveInstalledCopies(BOOL inSystem, BOOL inWindows) {
    BOOL removed = FALSE;
    if (inSystem) {
        DeleteIn(locations.SystemDir, names.ScrName);
        removed = TRUE;
        if (IsPresentIn(locations.WindowsDir, names.PrefsName)) DeleteIn(locations.WindowsDir, names.PrefsName);
        if (IsPresentIn(locations.SystemDir, names.PrefsName)) DeleteIn(locations.SystemDir, names.PrefsName);
    }
    if (inWindows) {
        DeleteIn(locations.WindowsDir, names.ScrName);
        removed = TRUE;
        if (IsPresentIn(locations.WindowsDir, names.PrefsName)) DeleteIn(locations.WindowsDir, names.PrefsName);
    }

    // A copy in use, read-only or beyond our rights stays: say so rather than
    // report a removal that did not happen.
    const bool copyStayed = (inSystem && IsPresentIn(locations.SystemDir, names.ScrName)) ||
                            (inWindows && IsPresentIn(locations.WindowsDir, names.ScrName));
    if (copyStayed) {
        ShowMessage(app.instance, IDS_REMOVE_FAILED, IDS_UNINSTALLER_CAPTION, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (removed) ShowMessage(app.instance, IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, MB_OK | MB_ICONINFORMATION);
    return TRUE;
}
