// A stand-in installer for the benchmark's self-check: our installer's main
// window class, progress window and success box, but a pause far shorter than
// the real one. The benchmark must refuse to subtract a pause it did not see.
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

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wordParam) == CmdInstall) InstallWithShortPause(window);
        if (LOWORD(wordParam) == CmdExit) PostQuitMessage(0);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wordParam, longParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = MainClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, MainClassName, "Short pause", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
