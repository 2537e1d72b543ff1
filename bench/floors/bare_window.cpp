// The least any window costs: one captioned top-level window and a message
// loop, built like the installer. The benchmark reads its start-up and working
// set as the platform's floor. Two posted commands show the two windows an
// install shows, the same way the installer shows them, so that their cost can
// be read as the platform's too:
//   BareShowProgress: a modeless dialog from a template like the progress window's,
//     painted at once; its caption becomes BarePaintedCaption when the paint is over
//   BareShowBox: closes it and shows a message box like the success box
#include "floors/bare_window_ids.h"
#include "floors/one_window.h"

#include <windows.h>

namespace {

const char BareClassName[] = "BenchBareWindow";
const char SuccessText[] =
    "The screen saver has successfully been installed. To configure the screen saver, go to your Control "
    "Panel/Display/Screen Saver/Settings to adjust the screen saver settings. Please visit my web site when you get a "
    "chance.   http://www.example.com/";

HWND progress = nullptr;

INT_PTR CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void ShowProgress(HWND window) {
    progress =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BARE_PROGRESS), window, ProgressProc, 0);
    if (progress == nullptr) return;
    UpdateWindow(progress);
    // Tells the driver that the first paint is over.
    SetWindowTextA(progress, BarePaintedCaption);
}

void ShowBox() {
    if (progress != nullptr) DestroyWindow(progress);
    progress = nullptr;
    MessageBoxA(nullptr, SuccessText, "Bare box", MB_OK | MB_ICONINFORMATION);
}

void OnCommand(HWND window, WORD id) {
    if (id == BareShowProgress) ShowProgress(window);
    if (id == BareShowBox) ShowBox();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int showCommand) {
    return RunOneWindow(instance, BareClassName, "Bare window", 400, 300, showCommand, OnCommand);
}
