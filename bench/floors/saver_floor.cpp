// The least a full-screen animation costs here: a window over the whole
// virtual screen, the saver's frame timer, and each frame one 64 x 64 square
// drawn into a DIB section and copied to the window, nothing else. The
// benchmark reads its CPU share as the platform's floor for the screen saver.
#include <windows.h>

#include "screensaver/frame_interval.h"

namespace {

constexpr int Square = 64;

HDC bufferDc;
DWORD* bits;
int width, height, frame;

void NextFrame(HWND window) {
    const int x = (frame * 8) % (width - Square), y = height / 2;
    GdiFlush(); // GDI must be done with the bits before they are written
    for (int row = 0; row < Square; ++row)
        for (int column = 0; column < Square; ++column)
            bits[(y + row) * width + x + column] = (frame & 1) ? 0x00FFFFFFu : 0u;
    ++frame;
    const HDC dc = GetDC(window);
    BitBlt(dc, x, y, Square, Square, bufferDc, x, y, SRCCOPY);
    ReleaseDC(window, dc);
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    switch (message) {
    case WM_TIMER: NextFrame(window); return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        BitBlt(dc, 0, 0, width, height, bufferDc, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wordParam, longParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int /*showCommand*/) {
    width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* memory = nullptr;
    const HBITMAP buffer = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bufferDc = CreateCompatibleDC(nullptr);
    if (buffer == nullptr || bufferDc == nullptr || width <= Square) return 1;
    bits = static_cast<DWORD*>(memory);
    SelectObject(bufferDc, buffer);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "SaverFloor";
    if (!RegisterClassA(&windowClass)) return 1;
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), width,
                                        height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    SetTimer(window, 1, FrameIntervalMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
