#include "screensaver/saver_window.h"

#include "screensaver/scene.h"
#include "screensaver/render/scene_canvas.h"
#include "screensaver/screensaver_ids.h"
#include "screensaver/wake_detector.h"

namespace {

const char SaverClassName[] = "QuorvaneSaverWindow";
constexpr UINT_PTR FrameTimer = 1;
constexpr UINT FrameIntervalMs = 30; // about 30 frames a second: smooth, and little CPU
// Changes this few pixels apart along a row go to the window as one
// rectangle: Wine copies a region rectangle by rectangle, a row at a time,
// and a few unchanged pixels cost less than another rectangle.
constexpr int MergeGap = 64;
constexpr int MaxRowRegions = 1024;   // rows of tiles; a taller screen is shown whole each frame

struct SaverState {
    SaverSettings settings;
    HWND previewParent; // null when full screen
    HDC bufferDc;       // holds the back buffer, a top-down 32-bit DIB section
    HBITMAP buffer;
    HGDIOBJ bufferDcBitmap; // what the buffer replaced in bufferDc
    PixelFrame frame;
    SceneCanvas canvas;  // its memory comes from VirtualAlloc
    RGNDATA* changes;    // the canvas's changes as a region for the window, from VirtualAlloc too
    DWORD changesBytes;
    HRGN rowRegions[MaxRowRegions];
    DWORD lastTick;
    WakeDetector wake;
};

SaverState saver;
Scene scene;

bool FullScreen() { return saver.previewParent == nullptr; }

void DestroyBackBuffer() {
    if (saver.bufferDc != nullptr) {
        if (saver.bufferDcBitmap != nullptr) SelectObject(saver.bufferDc, saver.bufferDcBitmap);
        DeleteDC(saver.bufferDc);
    }
    if (saver.buffer != nullptr) DeleteObject(saver.buffer);
    if (saver.canvas.backdrop != nullptr) VirtualFree(saver.canvas.backdrop, 0, MEM_RELEASE);
    if (saver.changes != nullptr) VirtualFree(saver.changes, 0, MEM_RELEASE);
    saver.bufferDc = nullptr;
    saver.bufferDcBitmap = nullptr;
    saver.buffer = nullptr;
    saver.frame = PixelFrame{nullptr, 0, 0};
    saver.canvas = SceneCanvas{};
    saver.changes = nullptr;
}

bool CreateBackBuffer(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as the renderer writes it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    saver.buffer = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    saver.bufferDc = CreateCompatibleDC(nullptr);
    if (saver.buffer == nullptr || saver.bufferDc == nullptr || bits == nullptr) {
        DestroyBackBuffer();
        return false;
    }
    saver.bufferDcBitmap = SelectObject(saver.bufferDc, saver.buffer);
    saver.frame = PixelFrame{static_cast<std::uint32_t*>(bits), width, height};
    const DWORD changesBytes =
        static_cast<DWORD>(sizeof(RGNDATAHEADER) + SceneCanvasMaxChanges(width, height) * sizeof(RECT));
    void* memory = VirtualAlloc(nullptr, SceneCanvasBytes(width, height), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    void* changes = VirtualAlloc(nullptr, changesBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    saver.canvas = NewSceneCanvas(saver.frame, memory);
    saver.changes = static_cast<RGNDATA*>(changes);
    saver.changesBytes = changesBytes;
    if (memory == nullptr || changes == nullptr) {
        if (memory != nullptr) VirtualFree(memory, 0, MEM_RELEASE);
        saver.canvas = SceneCanvas{};
        DestroyBackBuffer();
        return false;
    }
    return true;
}

void Present(HDC dc) {
    if (saver.bufferDc != nullptr)
        BitBlt(dc, 0, 0, saver.frame.width, saver.frame.height, saver.bufferDc, 0, 0, SRCCOPY);
}

// A region of the changes from first to first + count - 1, all of one row of tiles.
// Unchanged pixels between them may go along: they are what the window shows.
HRGN RowRegion(int first, int count) {
    RGNDATA& region = *saver.changes;
    region.rdh.dwSize = sizeof region.rdh;
    region.rdh.iType = RDH_RECTANGLES;
    region.rdh.rcBound = RECT{0, 0, saver.frame.width, saver.frame.height};
    RECT* rects = reinterpret_cast<RECT*>(region.Buffer);
    int merged = 0;
    for (int i = 0; i < count; ++i) {
        const PixelRect& change = saver.canvas.changes[first + i];
        if (merged > 0 && change.left - rects[merged - 1].right <= MergeGap)
            rects[merged - 1].right = change.right;
        else
            rects[merged++] = RECT{change.left, change.top, change.right, change.bottom};
    }
    region.rdh.nCount = static_cast<DWORD>(merged);
    region.rdh.nRgnSize = static_cast<DWORD>(merged) * sizeof(RECT);
    return ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof region.rdh + merged * sizeof(RECT)), &region);
}

// The changes as one region. Wine adds a region's rectangles one at a time,
// copying all it has so far each time: thousands of stars' rectangles took
// half the saver's time at 4K. Built a row at a time and merged in pairs,
// the work stays near linear.
HRGN ChangesRegion() {
    const SceneCanvas& canvas = saver.canvas;
    HRGN* rows = saver.rowRegions;
    int rowCount = 0;
    bool complete = true;
    for (int first = 0; first < canvas.changeCount && complete;) {
        int end = first + 1;
        while (end < canvas.changeCount && canvas.changes[end].top == canvas.changes[first].top) ++end;
        rows[rowCount] = RowRegion(first, end - first);
        complete = rows[rowCount] != nullptr;
        rowCount += complete;
        complete = complete && (end == canvas.changeCount || rowCount < MaxRowRegions);
        first = end;
    }
    for (int step = 1; step < rowCount; step *= 2)
        for (int i = 0; i + step < rowCount; i += 2 * step) {
            CombineRgn(rows[i], rows[i], rows[i + step], RGN_OR);
            DeleteObject(rows[i + step]);
        }
    if (rowCount == 0) return nullptr;
    if (complete) return rows[0];
    DeleteObject(rows[0]);
    return nullptr; // shown whole instead
}

// Only the pixels that changed go to the screen: one copy through a clip region.
void PresentChanges(HDC dc) {
    if (saver.canvas.changeCount == 0) return;
    const HRGN clip = ChangesRegion();
    if (clip == nullptr) return Present(dc);
    SelectClipRgn(dc, clip);
    Present(dc);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}

void DrawFrame() {
    GdiFlush(); // GDI must be done with the bits before they are written
    DrawScene(scene, saver.canvas);
}

// A new size restarts the scene: stars and planet are laid out for the window.
void ResizeScene(int width, int height) {
    if (width == saver.frame.width && height == saver.frame.height && saver.bufferDc != nullptr) return;
    DestroyBackBuffer();
    if (width <= 0 || height <= 0 || !CreateBackBuffer(width, height)) return;
    InitScene(scene, width, height, saver.settings, GetTickCount() ^ static_cast<std::uint32_t>(width) << 16);
    DrawFrame();
}

void NextFrame(HWND window) {
    const DWORD now = GetTickCount();
    AdvanceScene(scene, now - saver.lastTick);
    saver.lastTick = now;
    if (saver.bufferDc == nullptr) return;
    DrawFrame();
    const HDC dc = GetDC(window);
    if (dc == nullptr) return;
    PresentChanges(dc);
    ReleaseDC(window, dc);
}

// The preview follows its parent: it ends with it and takes its size.
bool FollowPreviewParent(HWND window) {
    if (!IsWindow(saver.previewParent)) {
        DestroyWindow(window);
        return false;
    }
    RECT client;
    if (GetClientRect(saver.previewParent, &client) &&
        (client.right != saver.frame.width || client.bottom != saver.frame.height))
        MoveWindow(window, 0, 0, client.right, client.bottom, FALSE);
    return true;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    switch (message) {
    case WM_CREATE: {
        RECT client;
        GetClientRect(window, &client);
        ResizeScene(client.right, client.bottom);
        saver.lastTick = GetTickCount();
        SetTimer(window, FrameTimer, FrameIntervalMs, nullptr);
        return 0;
    }
    case WM_SIZE:
        ResizeScene(LOWORD(longParam), HIWORD(longParam));
        if (saver.bufferDc == nullptr) InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_TIMER:
        if (wordParam == FrameTimer && (FullScreen() || FollowPreviewParent(window))) NextFrame(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        // Without a back buffer (no memory for it) black, never the desktop
        // that erasing is suppressed for.
        if (saver.bufferDc != nullptr)
            Present(dc);
        else
            FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1; // every pixel is painted from the back buffer
    case WM_SETCURSOR:
        if (!FullScreen()) break;
        SetCursor(nullptr);
        return TRUE;
    case WM_MOUSEMOVE:
        if (FullScreen() &&
            MouseMoveWakes(saver.wake, static_cast<short>(LOWORD(longParam)), static_cast<short>(HIWORD(longParam))))
            DestroyWindow(window);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (FullScreen()) DestroyWindow(window);
        return 0;
    case WM_ACTIVATEAPP:
        // Another program taking over (a log-on screen, a task switch) ends the show.
        if (FullScreen() && !wordParam) DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        // The system must not start a second screen saver over this one.
        if (FullScreen() && (wordParam & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    case WM_DESTROY:
        KillTimer(window, FrameTimer);
        DestroyBackBuffer();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wordParam, longParam);
}

bool RegisterSaverClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SAVER));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW); // the preview keeps the pointer
    windowClass.lpszClassName = SaverClassName;
    return RegisterClassA(&windowClass) != 0;
}

HWND CreateSaverWindow(HINSTANCE instance) {
    if (!FullScreen()) {
        RECT client;
        if (!GetClientRect(saver.previewParent, &client)) return nullptr;
        return CreateWindowExA(0, SaverClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                               saver.previewParent, nullptr, instance, nullptr);
    }
    char title[64];
    if (LoadStringA(instance, IDS_SAVER_NAME, title, sizeof title) <= 0) title[0] = '\0';
    // The virtual screen: every monitor, including those left of or above the primary one.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    }
    return CreateWindowExA(WS_EX_TOPMOST, SaverClassName, title, WS_POPUP | WS_VISIBLE, left, top, width, height,
                           nullptr, nullptr, instance, nullptr);
}

} // namespace

int RunSaver(HINSTANCE instance, const SaverSettings& settings, HWND previewParent) {
    saver.settings = settings;
    saver.previewParent = previewParent;
    saver.wake = FreshWakeDetector();
    if (!FullScreen() && !IsWindow(previewParent)) return 1;
    if (!RegisterSaverClass(instance)) return 1;
    const HWND window = CreateSaverWindow(instance);
    if (window == nullptr) return 1;
    if (FullScreen()) {
        SetForegroundWindow(window);
        ShowCursor(FALSE);
    }
    MSG message;
    BOOL received;
    // -1 is an error, not a message: leave rather than spin on it.
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (FullScreen()) ShowCursor(TRUE);
    return received == 0 ? 0 : 1;
}
