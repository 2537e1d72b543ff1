// One captioned top-level window and its message loop, handing its commands
// to the program: what the benchmark's stand-in programs share.
#pragma once

#include <windows.h>

using CommandHandler = void (*)(HWND window, WORD id);

namespace one_window {
inline CommandHandler onCommand = nullptr;

inline LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    switch (message) {
    case WM_COMMAND: onCommand(window, LOWORD(wordParam)); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wordParam, longParam);
    }
}
} // namespace one_window

// Returns 1 when the window cannot be made, else 0 once the loop ends.
inline int RunOneWindow(HINSTANCE instance, const char* className, const char* title, int width, int height,
                        int showCommand, CommandHandler onCommand) {
    one_window::onCommand = onCommand;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = one_window::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, className, title, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, width,
                                  height, nullptr, nullptr, instance, nullptr);
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
