// A stand-in installer for the benchmark's self-check: our installer's main
// window class, progress window and success box, but a pause far shorter than
// the real one. The benchmark must refuse to subtract a pause it did not see.
#include "floors/one_window.h"
#include "resource_ids.h"

#include <windows.h>

namespace {

const char MainClassName[] = "ProgramInstaller";
constexpr DWORD ShortPauseMilliseconds = 300;

INT_PTR CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void InstallWithShortPause(HWND window) {
    HWND progress = CreateDialogParamA(GetModuleHandleA(nullptr), "Installing", window, ProgressProc, 0);
    if (progress != nullptr) UpdateWindow(progress);
    Sleep(ShortPauseMilliseconds);
    if (progress != nullptr) DestroyWindow(progress);
    MessageBoxA(nullptr, "Installed, or so it says.", "Install Finished", MB_OK | MB_ICONINFORMATION);
}

void OnCommand(HWND window, WORD id) {
    if (id == CmdInstall) InstallWithShortPause(window);
    if (id == CmdExit) PostQuitMessage(0);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int showCommand) {
    return RunOneWindow(instance, MainClassName, "Short pause", 300, 200, showCommand, OnCommand);
}
