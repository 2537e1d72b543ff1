#include "install/uninstall_command.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "install/locations.h"
#include "resources/resource_ids.h"

#include <cstring>

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
// copy unless it looks there.
void DeleteVirtualizedPrefs(const char* directory) {
    char path[PathSize];
    if (ComposeVirtualStorePath(path, directory, names.PrefsName)) platform::DeleteFileA(path);
}

// The names the system's screen saver setting may give one copy: its path and
// short path, and for the real System directory's copy also both as 64-bit
// programs write them, through the System directory's own name.
struct CopyNames {
    static constexpr int Most = 4;
    char paths[Most][PathSize];
    int count;
};

void AddName(CopyNames& copy, const char* directory, const char* name) {
    if (name[0] != '\0' && copy.count < CopyNames::Most) ComposePath(copy.paths[copy.count++], directory, name);
}

// Taken before the deletions: a file that is gone has no short form.
CopyNames NamesOf(const char* directory, const char* seenBy64BitAs) {
    CopyNames copy = {};
    char path[PathSize];
    char shortPath[PathSize] = "";
    ComposePath(path, directory, names.ScrName);
    const DWORD length = platform::GetShortPathNameA(path, shortPath, PathSize);
    if (length == 0 || length >= PathSize) shortPath[0] = '\0';
    AddName(copy, "", path);
    AddName(copy, "", shortPath);
    if (seenBy64BitAs != nullptr) {
        const char* shortName = std::strrchr(shortPath, '\\');
        AddName(copy, seenBy64BitAs, names.ScrName);
        AddName(copy, seenBy64BitAs, shortName != nullptr ? shortName + 1 : "");
    }
    return copy;
}

// A setting that names a program just deleted leaves the computer with no
// screen saver that runs, and so one that never locks: make it what choosing
// no screen saver makes it. An entry naming anything else stays as it is.
void ForgetScreenSaverEntry(const CopyNames* const removed[], int count) {
    char chosen[PathSize] = "";
    platform::GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", chosen, PathSize, "system.ini");
    if (chosen[0] == '\0') return;
    for (int copy = 0; copy < count; ++copy)
        for (int name = 0; name < removed[copy]->count; ++name)
            if (platform::lstrcmpiA(chosen, removed[copy]->paths[name]) == 0) {
                // Results ignored, as for the deletions: the removal report stays the same.
                platform::WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
                platform::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, SPIF_UPDATEINIFILE);
                return;
            }
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

BOOL RemoveInstalledCopies(const InstalledCopies& copies) {
    BOOL removed = FALSE;
    const bool inSystem = copies.inSystem, inWindows = copies.inWindows, inNativeSystem = copies.inNativeSystem;
    const CopyNames systemNames = inSystem ? NamesOf(locations.SystemDir, nullptr) : CopyNames{};
    const CopyNames nativeNames = inNativeSystem ? NamesOf(locations.NativeSystemDir, locations.SystemDir) : CopyNames{};
    const CopyNames windowsNames = inWindows ? NamesOf(locations.WindowsDir, nullptr) : CopyNames{};
    if (inSystem) {
        DeleteIn(locations.SystemDir, names.ScrName);
        removed = TRUE;
        DeletePrefsIn(locations.WindowsDir);
        DeletePrefsIn(locations.SystemDir);
    }
    // Under WoW64 the real System directory is one more System directory.
    if (inNativeSystem) {
        DeleteIn(locations.NativeSystemDir, names.ScrName);
        removed = TRUE;
        DeletePrefsIn(locations.WindowsDir);
        DeletePrefsIn(locations.NativeSystemDir);
    }
    if (inWindows) {
        DeleteIn(locations.WindowsDir, names.ScrName);
        removed = TRUE;
        DeletePrefsIn(locations.WindowsDir);
    }
    if (removed) {
        DeleteVirtualizedPrefs(locations.WindowsDir);
        if (inSystem || inNativeSystem) {
            // What the System directory's preferences become, seen by a 32-bit
            // and by a 64-bit screen saver: VirtualStore\Windows\System32 and
            // VirtualStore\Windows\SysWOW64.
            DeleteVirtualizedPrefs(locations.SystemDir);
            char wow64SystemDir[PathSize];
            ComposePath(wow64SystemDir, locations.WindowsDir, "SysWOW64\\");
            if (locations.NativeSystemDir[0] != '\0') DeleteVirtualizedPrefs(wow64SystemDir);
        }
    }

    const bool systemStayed = inSystem && IsPresentIn(locations.SystemDir, names.ScrName);
    const bool nativeStayed = inNativeSystem && IsPresentIn(locations.NativeSystemDir, names.ScrName);
    const bool windowsStayed = inWindows && IsPresentIn(locations.WindowsDir, names.ScrName);
    const CopyNames* gone[3];
    int goneCount = 0;
    if (inSystem && !systemStayed) gone[goneCount++] = &systemNames;
    if (inNativeSystem && !nativeStayed) gone[goneCount++] = &nativeNames;
    if (inWindows && !windowsStayed) gone[goneCount++] = &windowsNames;
    if (goneCount > 0) ForgetScreenSaverEntry(gone, goneCount);

    // A copy in use, read-only or beyond our rights stays: say so rather than
    // report a removal that did not happen.
    const bool copyStayed = systemStayed || nativeStayed || windowsStayed;
    if (copyStayed) {
        ShowMessage(app.instance, IDS_REMOVE_FAILED, IDS_UNINSTALLER_CAPTION, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (removed) ShowMessage(app.instance, IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, MB_OK | MB_ICONINFORMATION);
    return TRUE;
}
