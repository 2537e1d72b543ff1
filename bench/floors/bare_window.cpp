// The least any window costs: one captioned top-level window and a message
// loop, built like the installer. The benchmark reads its start-up and working
// set as the platform's floor. Two posted commands show the two windows an
// install shows, the same way the installer shows them, so that their cost can
// be read as the platform's too:
//   BareShowProgress: a modeless dialog from a template like the progress window's,
//     painted at once; its caption becomes BarePaintedCaption when the paint is over
//   BareShowBox: closes it and shows a message box like the success box
#include "floors/bare_window_ids.h"

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

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wordParam) == BareShowProgress) ShowProgress(window);
        if (LOWORD(wordParam) == BareShowBox) ShowBox();
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wordParam, longParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = BareClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, BareClassName, "Bare window", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
