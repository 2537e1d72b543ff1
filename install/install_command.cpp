#include "install/install_command.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "app/translated_resources.h"
#include "install/locations.h"
#include "install/payload.h"
#include "install/payload_check.h"
#include "install/uninstall_command.h"
#include "resources/resource_ids.h"

const char ProgressDialogName[] = "Installing";

namespace {

constexpr DWORD ProgressPauseMilliseconds = 2000;

void ReportExpansionFailure() {
    ShowMessage(app.instance, IDS_EXPAND_FAILED, IDS_INSTALL_ERROR_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}

// Closes only the window this run opened: a command nested inside one of its
// message boxes may have opened and closed a progress window of its own.
void CloseProgressWindow(HWND progress) {
    if (progress != nullptr) platform::DestroyWindow(progress);
}

// No messages are dispatched until the install ends, so paint the progress
// window now. Looking at the queue (without taking anything) lets the window
// system deliver what the window needs to reach the screen; no command starts.
void ShowProgressNow(HWND progress) {
    if (progress == nullptr) return;
    // A message number nobody sends: only the window system's own work is done.
    const UINT noSuchMessage = WM_APP + 0x3F00;
    MSG pending;
    platform::PeekMessageA(&pending, progress, noSuchMessage, noSuchMessage, PM_NOREMOVE);
    platform::UpdateWindow(progress);
}

} // namespace

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM /*wordParam*/, LPARAM /*longParam*/) {
    if (message == WM_INITDIALOG) app.progressWindow = dialog;
    if (message == WM_DESTROY && app.progressWindow == dialog) app.progressWindow = nullptr;
    return FALSE;
}

void InstallScreenSaver(HWND mainWindow) {
    // Without a Windows directory every path would be relative to wherever we
    // run. Checked first, so that no earlier copy is removed for an install
    // that cannot happen.
    if (locations.WindowsDir[0] == '\0') {
        ReportExpansionFailure();
        return;
    }
    if (FindInstalledCopies().Any()) {
        if (ShowMessage(app.instance, IDS_REPLACE_QUESTION, IDS_INSTALLER_CAPTION, MB_YESNO | MB_ICONEXCLAMATION) !=
            IDYES)
            return;
        const InstalledCopies copies = FindInstalledCopies();
        if (copies.Any() && !RemoveInstalledCopies(copies)) return;
    }

    app.progressWindow = nullptr;
    if (const LPCDLGTEMPLATEA translated = FindTranslatedDialog(app.instance, ProgressDialogName))
        platform::CreateDialogIndirectParamA(app.instance, translated, mainWindow, ProgressDialogProc, 0);
    else
        platform::CreateDialogParamA(app.instance, ProgressDialogName, mainWindow, ProgressDialogProc, 0);
    const HWND progress = app.progressWindow;
    ShowProgressNow(progress);

    char targetPath[PathSize];
    char tempPath[PathSize];
    ComposePath(targetPath, locations.WindowsDir, names.ScrName);
    ComposePath(tempPath, locations.WindowsDir, names.TempName);

    if (!ExtractPayload(tempPath, PayloadName, PayloadType)) {
        CloseProgressWindow(progress);
        return;
    }
    // A damaged payload (a broken download, a bad sector) still expands: only
    // the program the build compressed, byte for byte, counts as expanded.
    const LONG result = ExpandPayload(tempPath, targetPath);
    if (result > 0 && ExpandedFileMatchesPayload(targetPath)) {
        ShowProgressNow(progress);
        platform::Sleep(ProgressPauseMilliseconds);
        CloseProgressWindow(progress);
        // Report success only for a file that is really there, and activate it
        // only if it still is once the user has read the report: the window
        // stays usable meanwhile, and an Uninstall chosen then removes it.
        if (IsPresentIn(locations.WindowsDir, names.ScrName)) {
            ShowMessage(app.instance, IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, MB_OK | MB_ICONINFORMATION);
            if (IsPresentIn(locations.WindowsDir, names.ScrName) && !ActivateScreenSaver(targetPath))
                ShowMessage(app.instance, IDS_NOT_ACTIVATED, IDS_INSTALL_ERROR_CAPTION, MB_OK | MB_ICONEXCLAMATION);
        } else {
            ReportExpansionFailure();
        }
    } else {
        CloseProgressWindow(progress);
        // A partly written or damaged screen saver would be offered by Windows and fail when run.
        if (IsPresentIn(locations.WindowsDir, names.ScrName)) platform::DeleteFileA(targetPath);
        ReportExpansionFailure();
    }
    if (IsPresentIn(locations.WindowsDir, names.TempName)) platform::DeleteFileA(tempPath);
}

BOOL ActivateScreenSaver(const char* targetPath) {
    char shortPath[PathSize] = "";
    const DWORD length = platform::GetShortPathNameA(targetPath, shortPath, PathSize);
    // Without a short form the long path still names the file.
    const char* value = (length == 0 || length >= PathSize) ? targetPath : shortPath;
    const BOOL chosen = platform::WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", value, "system.ini");
    // Both are tried whatever the other gives; the user is told if either failed.
    const BOOL switchedOn = platform::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, SPIF_UPDATEINIFILE);
    return chosen && switchedOn;
}
