#include "screensaver/saver_window.h"

#include "screensaver/change_region.h"
#include "screensaver/display_watch.h"
#include "screensaver/frame_interval.h"
#include "screensaver/frame_schedule.h"
#include "screensaver/monitor_layout.h"
#include "screensaver/render/scene_canvas.h"
#include "screensaver/scene.h"
#include "screensaver/screensaver_ids.h"
#include "screensaver/wake_detector.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

const char SaverClassName[] = "QuorvaneSaverWindow";
constexpr UINT_PTR FrameTimer = 1;
constexpr UINT_PTR PendingTimer = 2; // a wake or lost activation to check while no frames are drawn
constexpr int MaxRowRegions = 1024;  // rows of tiles; a taller monitor is shown whole each frame
// A display change moves the pointer before it is announced: Wine was seen to
// move it about 100 ms before. A move that wakes ends the show this much later,
// unless the monitors changed meanwhile.
constexpr DWORD WakeDelayMs = 300;

// One monitor's picture: its back buffer, a top-down 32-bit DIB section, and
// the canvas that draws into it. Without a buffer the monitor is black.
struct MonitorScreen {
    MonitorView view;
    HDC bufferDc;
    HBITMAP buffer;
    HGDIOBJ bufferDcBitmap; // what the buffer replaced in bufferDc
    SceneCanvas canvas;     // its block comes from VirtualAlloc
};

// Everything the running saver keeps, handed to every step.
struct RunningSaver {
    SaverSettings settings;
    HWND previewParent; // null when full screen
    std::uint32_t seed;
    SaverLayout layout;
    Scene* scenes; // layout.sceneCount of them, from VirtualAlloc
    MonitorScreen screens[MaxMonitors]; // layout.viewCount of them
    RGNDATA* changes; // one screen's changes as a region, from VirtualAlloc too
    DWORD changesBytes;
    HRGN rowRegions[MaxRowRegions];
    DWORD lastTick;
    WakeDetector wake;
    bool wakePending; // a move of the pointer ends the show WakeDelayMs after wakeTick
    DWORD wakeTick;
    bool deactivationPending; // lost the activation to no window at deactivationTick
    DWORD deactivationTick;
    FrameSchedule schedule;
    DisplayWatch displayWatch;
};

bool FullScreen(const RunningSaver& saver) { return saver.previewParent == nullptr; }

RunningSaver* SaverOf(HWND window) { return reinterpret_cast<RunningSaver*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void* Allocate(SIZE_T bytes) { return VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE); }

void Release(void* memory) {
    if (memory != nullptr) VirtualFree(memory, 0, MEM_RELEASE);
}

void DestroyScreen(MonitorScreen& screen) {
    if (screen.bufferDc != nullptr) {
        if (screen.bufferDcBitmap != nullptr) SelectObject(screen.bufferDc, screen.bufferDcBitmap);
        DeleteDC(screen.bufferDc);
    }
    if (screen.buffer != nullptr) DeleteObject(screen.buffer);
    Release(screen.canvas.block);
    screen = MonitorScreen{};
}

void DestroyScreens(RunningSaver& saver) {
    for (MonitorScreen& screen : saver.screens) DestroyScreen(screen);
    Release(saver.scenes);
    Release(saver.changes);
    saver.scenes = nullptr;
    saver.changes = nullptr;
    saver.layout = SaverLayout{};
}

// The monitor's back buffer and canvas; false leaves it black.
bool CreateScreen(MonitorScreen& screen) {
    const int width = screen.view.area.right - screen.view.area.left;
    const int height = screen.view.area.bottom - screen.view.area.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as the renderer writes it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    screen.buffer = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    screen.bufferDc = CreateCompatibleDC(nullptr);
    void* memory = Allocate(SceneCanvasBytes(width, height));
    const PixelFrame frame = {static_cast<std::uint32_t*>(bits), width, height, screen.view.sceneLeft,
                              screen.view.sceneTop};
    screen.canvas = NewSceneCanvas(frame, memory);
    if (screen.buffer == nullptr || screen.bufferDc == nullptr || bits == nullptr || memory == nullptr) {
        DestroyScreen(screen);
        return false;
    }
    screen.bufferDcBitmap = SelectObject(screen.bufferDc, screen.buffer);
    return true;
}

void DrawScreens(RunningSaver& saver) {
    GdiFlush(); // GDI must be done with the bits before they are written
    for (int i = 0; i < saver.layout.viewCount; ++i) {
        MonitorScreen& screen = saver.screens[i];
        if (screen.bufferDc != nullptr) DrawScene(saver.scenes[screen.view.scene], screen.canvas);
    }
}

// New monitors restart the scenes, laid out for them. Without memory for
// the scenes every monitor is kept black.
void BuildScreens(RunningSaver& saver, const SaverLayout& layout) {
    DestroyScreens(saver);
    saver.layout = layout;
    for (int i = 0; i < layout.viewCount; ++i) saver.screens[i].view = layout.views[i];
    saver.scenes = static_cast<Scene*>(Allocate(sizeof(Scene) * (layout.sceneCount > 0 ? layout.sceneCount : 1)));
    if (saver.scenes == nullptr) return;
    for (int i = 0; i < layout.sceneCount; ++i) InitScene(saver.scenes[i], layout.scenes[i], saver.settings);
    std::size_t mostChanges = 0;
    for (int i = 0; i < layout.viewCount; ++i) {
        const PixelRect& area = layout.views[i].area;
        const std::size_t changes = SceneCanvasMaxChanges(area.right - area.left, area.bottom - area.top);
        if (changes > mostChanges) mostChanges = changes;
    }
    saver.changesBytes = static_cast<DWORD>(sizeof(RGNDATAHEADER) + mostChanges * sizeof(RECT));
    saver.changes = static_cast<RGNDATA*>(Allocate(saver.changesBytes));
    for (int i = 0; i < layout.viewCount; ++i)
        if (layout.views[i].scene >= 0 && saver.changes != nullptr) CreateScreen(saver.screens[i]);
    DrawScreens(saver);
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC /*dc*/, LPRECT /*clip*/, LPARAM data) {
    MonitorSet& set = *reinterpret_cast<MonitorSet*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    AddToMonitorSet(set, PixelRect{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    return TRUE;
}

MonitorSet CurrentMonitors() {
    MonitorSet set = {};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&set));
    if (set.count == 0) {
        set.count = 1;
        set.monitors[0] = PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return set;
}

// The preview shows one scene in its window, whatever the setting.
SaverLayout WantedLayout(const RunningSaver& saver, HWND window) {
    if (FullScreen(saver))
        return LayOutMonitors(CurrentMonitors(), MonitorsChoiceFrom(saver.settings.values[SettingMonitors]), saver.seed);
    RECT client = {};
    GetClientRect(window, &client);
    MonitorSet preview = {};
    preview.count = 1;
    preview.monitors[0] = PixelRect{0, 0, client.right, client.bottom};
    return LayOutMonitors(preview, MonitorsEach, saver.seed);
}

bool MonitorsChanged(const RunningSaver& saver, HWND window) {
    return !SameViews(WantedLayout(saver, window), saver.layout);
}

// Covers every monitor, laid out again when they changed; scenes that found
// no memory before are tried again.
void FollowMonitors(RunningSaver& saver, HWND window) {
    const SaverLayout layout = WantedLayout(saver, window);
    if (FullScreen(saver)) {
        const PixelRect& w = layout.window;
        RECT now = {};
        GetWindowRect(window, &now);
        if (now.left != w.left || now.top != w.top || now.right != w.right || now.bottom != w.bottom)
            SetWindowPos(window, HWND_TOPMOST, w.left, w.top, w.right - w.left, w.bottom - w.top, SWP_NOACTIVATE);
    }
    const bool changed = !SameViews(layout, saver.layout);
    if (!changed && saver.scenes != nullptr) return;
    if (changed) {
        // The window moved under the pointer, or the pointer's monitor went:
        // where it is now is no movement of the user's.
        saver.wake = FreshWakeDetector();
        saver.wakePending = false;
    }
    BuildScreens(saver, layout);
    InvalidateRect(window, nullptr, FALSE);
}

void PresentScreen(HDC dc, const MonitorScreen& screen) {
    const PixelRect& area = screen.view.area;
    if (screen.bufferDc != nullptr)
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, screen.bufferDc, 0, 0, SRCCOPY);
}

// A region of one row of the screen's changes, in the window's pixels; the
// index of the next row's first change in next.
HRGN RowRegion(RunningSaver& saver, const MonitorScreen& screen, int first, int& next) {
    RGNDATA& region = *saver.changes;
    const SceneCanvas& canvas = screen.canvas;
    PixelRect* rects = reinterpret_cast<PixelRect*>(region.Buffer); // a RECT's very layout
    int merged = 0;
    next = MergeChangeRow(canvas.changes, canvas.changeCount, first, screen.view.area.left, screen.view.area.top, rects,
                          merged);
    region.rdh.dwSize = sizeof region.rdh;
    region.rdh.iType = RDH_RECTANGLES;
    region.rdh.rcBound = RECT{screen.view.area.left, screen.view.area.top, screen.view.area.right,
                              screen.view.area.bottom};
    region.rdh.nCount = static_cast<DWORD>(merged);
    region.rdh.nRgnSize = static_cast<DWORD>(merged) * sizeof(RECT);
    return ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof region.rdh + merged * sizeof(RECT)), &region);
}

// The changes as one region, rows combined in pairs (change_region.h says why).
HRGN ChangesRegion(RunningSaver& saver, const MonitorScreen& screen) {
    const SceneCanvas& canvas = screen.canvas;
    HRGN* rows = saver.rowRegions;
    int rowCount = 0;
    bool complete = true;
    for (int first = 0; first < canvas.changeCount && complete;) {
        int next = canvas.changeCount;
        rows[rowCount] = RowRegion(saver, screen, first, next);
        complete = rows[rowCount] != nullptr;
        rowCount += complete;
        complete = complete && (next == canvas.changeCount || rowCount < MaxRowRegions);
        first = next;
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
void PresentChanges(RunningSaver& saver, HDC dc, const MonitorScreen& screen) {
    if (screen.bufferDc == nullptr || screen.canvas.changeCount == 0) return;
    const HRGN clip = ChangesRegion(saver, screen);
    if (clip == nullptr) return PresentScreen(dc, screen);
    SelectClipRgn(dc, clip);
    PresentScreen(dc, screen);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}

void NextFrame(RunningSaver& saver, HWND window) {
    const DWORD now = GetTickCount();
    for (int i = 0; i < saver.layout.sceneCount && saver.scenes != nullptr; ++i)
        AdvanceScene(saver.scenes[i], now - saver.lastTick);
    saver.lastTick = now;
    if (saver.scenes == nullptr) return;
    DrawScreens(saver);
    const HDC dc = GetDC(window);
    if (dc == nullptr) return;
    for (int i = 0; i < saver.layout.viewCount; ++i) PresentChanges(saver, dc, saver.screens[i]);
    ReleaseDC(window, dc);
}

// A black monitor, or one without memory for its picture, is painted black
// once; what lies between monitors is never painted: no one sees it.
void Paint(RunningSaver& saver, HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    for (int i = 0; i < saver.layout.viewCount; ++i) {
        const MonitorScreen& screen = saver.screens[i];
        if (screen.bufferDc != nullptr) {
            PresentScreen(dc, screen);
            continue;
        }
        const PixelRect& area = screen.view.area;
        const RECT black = {area.left, area.top, area.right, area.bottom};
        FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (saver.layout.viewCount == 0) FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const PixelRect& unlisted = saver.layout.unlisted;
    if (unlisted.right > unlisted.left && unlisted.bottom > unlisted.top) {
        // Around them may lie listed monitors, whose pictures stay.
        SaveDC(dc);
        for (int i = 0; i < saver.layout.viewCount; ++i) {
            const PixelRect& area = saver.screens[i].view.area;
            ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
        }
        const RECT black = {unlisted.left, unlisted.top, unlisted.right, unlisted.bottom};
        FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RestoreDC(dc, -1);
    }
    EndPaint(window, &paint);
}

// The preview follows its parent: it ends with it and takes its size.
bool FollowPreviewParent(const RunningSaver& saver, HWND window) {
    if (!IsWindow(saver.previewParent)) {
        DestroyWindow(window);
        return false;
    }
    RECT parent, own;
    if (GetClientRect(saver.previewParent, &parent) && GetClientRect(window, &own) &&
        (parent.right != own.right || parent.bottom != own.bottom))
        MoveWindow(window, 0, 0, parent.right, parent.bottom, FALSE);
    return true;
}

// A pointer move or a lost activation that happened WakeDelayMs ago ends the
// show unless the monitors changed meanwhile; false when it ended.
bool EndIfUserCame(RunningSaver& saver, HWND window) {
    if (saver.wakePending && GetTickCount() - saver.wakeTick >= WakeDelayMs) {
        if (!MonitorsChanged(saver, window)) {
            DestroyWindow(window);
            return false;
        }
        FollowMonitors(saver, window);
    }
    if (saver.deactivationPending && GetTickCount() - saver.deactivationTick >= WakeDelayMs) {
        saver.deactivationPending = false;
        // A display change gives the activation back; a secure desktop does not.
        FollowMonitors(saver, window);
        if (GetForegroundWindow() != window) {
            DestroyWindow(window);
            return false;
        }
    }
    return true;
}

// Without the frame timer, the frame that would have looked is a timer of its own.
void CheckLaterWithoutFrames(const RunningSaver& saver, HWND window) {
    if (!FramesWanted(saver.schedule)) SetTimer(window, PendingTimer, WakeDelayMs + FrameIntervalMs, nullptr);
}

// No frames while the display is off or the session disconnected; when it is
// seen again, the scene at once, then on as before.
void FollowSchedule(RunningSaver& saver, HWND window, FrameAction action) {
    if (action == FrameAction::Stop) KillTimer(window, FrameTimer);
    if (action != FrameAction::Resume) return;
    saver.lastTick = GetTickCount() - FrameIntervalMs; // the clock stood still meanwhile
    NextFrame(saver, window);
    InvalidateRect(window, nullptr, FALSE);
    SetTimer(window, FrameTimer, FrameIntervalMs, nullptr);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA& create = *reinterpret_cast<const CREATESTRUCTA*>(longParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create.lpCreateParams));
    }
    RunningSaver* running = SaverOf(window);
    if (running == nullptr) return DefWindowProcA(window, message, wordParam, longParam);
    RunningSaver& saver = *running;
    switch (message) {
    case WM_CREATE:
        FollowMonitors(saver, window);
        saver.lastTick = GetTickCount();
        SetTimer(window, FrameTimer, FrameIntervalMs, nullptr);
        if (FullScreen(saver)) saver.displayWatch = WatchDisplay(window);
        return 0;
    case WM_SIZE:
        if (!FullScreen(saver)) FollowMonitors(saver, window);
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // A monitor plugged in or out, a new resolution or scaling.
        if (!FullScreen(saver)) return 0;
        FollowMonitors(saver, window);
        if (GetForegroundWindow() == nullptr) SetForegroundWindow(window); // keys must still reach it
        return 0;
    case WM_TIMER:
        if (wordParam == PendingTimer) {
            KillTimer(window, PendingTimer);
            EndIfUserCame(saver, window);
            return 0;
        }
        if (wordParam != FrameTimer || !EndIfUserCame(saver, window)) return 0;
        if (FullScreen(saver) || FollowPreviewParent(saver, window)) NextFrame(saver, window);
        return 0;
    case WM_POWERBROADCAST: {
        unsigned long state;
        if (DisplayStateOf(wordParam, longParam, state))
            FollowSchedule(saver, window, NoteDisplayState(saver.schedule, state));
        return TRUE;
    }
    case WM_WTSSESSION_CHANGE:
        FollowSchedule(saver, window, NoteSessionChange(saver.schedule, static_cast<unsigned long>(wordParam)));
        return 0;
    case WM_PAINT: Paint(saver, window); return 0;
    case WM_ERASEBKGND: return 1; // every monitor is painted from its back buffer, or black
    case WM_SETCURSOR:
        if (!FullScreen(saver)) break;
        SetCursor(nullptr);
        return TRUE;
    case WM_MOUSEMOVE:
        if (FullScreen(saver) && !saver.wakePending &&
            MouseMoveWakes(saver.wake, static_cast<short>(LOWORD(longParam)), static_cast<short>(HIWORD(longParam)))) {
            saver.wakePending = true;
            saver.wakeTick = GetTickCount();
            CheckLaterWithoutFrames(saver, window);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (FullScreen(saver)) DestroyWindow(window);
        return 0;
    case WM_ACTIVATEAPP:
        // Another program taking over (a task switch) ends the show. Losing
        // the activation to no window at all happens while the display
        // changes, and also for a log-on or secure desktop: the show ends
        // unless the activation comes back within WakeDelayMs.
        if (!FullScreen(saver) || wordParam) return 0;
        if (longParam != 0) {
            DestroyWindow(window);
        } else if (!saver.deactivationPending) {
            saver.deactivationPending = true;
            saver.deactivationTick = GetTickCount();
            CheckLaterWithoutFrames(saver, window);
        }
        return 0;
    case WM_SYSCOMMAND:
        // The system must not start a second screen saver over this one.
        if (FullScreen(saver) && (wordParam & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    case WM_DESTROY:
        StopWatchingDisplay(window, saver.displayWatch);
        KillTimer(window, FrameTimer);
        KillTimer(window, PendingTimer);
        DestroyScreens(saver);
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

HWND CreateSaverWindow(HINSTANCE instance, RunningSaver& saver) {
    if (!FullScreen(saver)) {
        RECT client;
        if (!GetClientRect(saver.previewParent, &client)) return nullptr;
        return CreateWindowExA(0, SaverClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                               saver.previewParent, nullptr, instance, &saver);
    }
    char title[64];
    if (LoadStringA(instance, IDS_SAVER_NAME, title, sizeof title) <= 0) title[0] = '\0';
    // Every monitor, including those left of or above the main one.
    const PixelRect w = WantedLayout(saver, nullptr).window;
    return CreateWindowExA(WS_EX_TOPMOST, SaverClassName, title, WS_POPUP | WS_VISIBLE, w.left, w.top, w.right - w.left,
                           w.bottom - w.top, nullptr, nullptr, instance, &saver);
}

} // namespace

int RunSaver(HINSTANCE instance, const SaverSettings& settings, HWND previewParent) {
    RunningSaver saver = {};
    saver.settings = settings;
    saver.previewParent = previewParent;
    saver.schedule.preview = previewParent != nullptr;
    saver.seed = GetTickCount();
    saver.wake = FreshWakeDetector();
    if (!FullScreen(saver) && !IsWindow(previewParent)) return 1;
    if (!RegisterSaverClass(instance)) return 1;
    const HWND window = CreateSaverWindow(instance, saver);
    if (window == nullptr) return 1;
    if (FullScreen(saver)) {
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
    if (FullScreen(saver)) ShowCursor(TRUE);
    return received == 0 ? 0 : 1;
}
