#include "install/install_command.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "app/translated_resources.h"
#include "install/locations.h"
#include "install/payload.h"
#include "install/payload_check.h"
#include "install/set_aside.h"
#include "install/uninstall_command.h"
#include "resources/resource_ids.h"

const char ProgressDialogName[] = "Installing";

namespace {

constexpr DWORD ProgressPauseMilliseconds = 2000;
// The new copy's name until it has been checked: never a screen saver's name.
const char ExpandedSuffix[] = ".new";

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

// The payload written to the temporary file, expanded under a name of its own,
// checked, and only then moved to targetPath: a damaged or partly written
// screen saver never sits under the name Windows runs. Nothing is left under
// a temporary name, whatever happened.
Failure PutNewCopyInPlace(const Payload& payload, char (&targetPath)[PathSize]) {
    char tempPath[PathSize];
    char expandedPath[PathSize];
    ComposePath(targetPath, locations.WindowsDir, names.ScrName);
    ComposePath(tempPath, locations.WindowsDir, names.TempName);
    ComposePath(expandedPath, targetPath, ExpandedSuffix);
    Failure failure = ExtractPayload(tempPath, payload);
    if (failure.textId == 0) {
        // A damaged payload (a bad sector, a file changed since the check) still
        // expands: only the program the build compressed, byte for byte, counts.
        const bool expanded = ExpandPayload(tempPath, expandedPath) > 0 && ExpandedFileMatchesPayload(expandedPath);
        if (!expanded || !platform::MoveFileExA(expandedPath, targetPath, MOVEFILE_REPLACE_EXISTING))
            failure = {IDS_EXPAND_FAILED, IDS_INSTALL_ERROR_CAPTION};
    }
    if (IsPresentIn(locations.WindowsDir, names.TempName)) platform::DeleteFileA(tempPath);
    if (failure.textId != 0) platform::DeleteFileA(expandedPath);
    return failure;
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
    // A broken download is found before anything is asked or changed.
    Payload payload = {};
    Failure failure = LoadPayload(payload, PayloadName, PayloadType);
    if (failure.textId == 0 && !PayloadMatchesRecord(payload.bytes, payload.size))
        failure = {IDS_INSTALLER_DAMAGED, IDS_INSTALL_ERROR_CAPTION};
    if (failure.textId != 0) {
        ShowFailure(app.instance, failure);
        return;
    }
    SetAsideCopies setAside = {};
    if (FindInstalledCopies().Any()) {
        if (ShowMessage(app.instance, IDS_REPLACE_QUESTION, IDS_INSTALLER_CAPTION, MB_YESNO | MB_ICONEXCLAMATION) !=
            IDYES)
            return;
        const InstalledCopies copies = FindInstalledCopies();
        if (copies.Any() && !SetAsideInstalledCopies(copies, setAside)) return;
    }

    app.progressWindow = nullptr;
    if (const LPCDLGTEMPLATEA translated = FindTranslatedDialog(app.instance, ProgressDialogName))
        platform::CreateDialogIndirectParamA(app.instance, translated, mainWindow, ProgressDialogProc, 0);
    else
        platform::CreateDialogParamA(app.instance, ProgressDialogName, mainWindow, ProgressDialogProc, 0);
    const HWND progress = app.progressWindow;
    ShowProgressNow(progress);

    char targetPath[PathSize];
    failure = PutNewCopyInPlace(payload, targetPath);
    if (failure.textId != 0) {
        CloseProgressWindow(progress);
        // The user agreed to replace the earlier screen saver, not to lose it.
        RestoreSetAsideCopies(setAside);
        ShowFailure(app.instance, failure);
        return;
    }
    DiscardSetAsideCopies(setAside, locations.WindowsDir);
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
