// Window manager: classes, windows, dialogs, the message queue, message boxes, strings.
#include "tests/fake/fake_platform.h"

#include <algorithm>
#include <cstring>

using namespace fake;

namespace fake {

namespace {

LRESULT Deliver(WindowRecord* window, UINT message, WPARAM wordParam, LPARAM longParam) {
    if (window == nullptr || !window->alive) return 0;
    const HWND handle = window->handle;
    if (window->windowProc != nullptr) return window->windowProc(handle, message, wordParam, longParam);
    if (window->dialogProc != nullptr) return window->dialogProc(handle, message, wordParam, longParam);
    return 0;
}

HWND AddWindow(WindowRecord record) {
    record.handle = AsHandle<HWND>(world.state.handles.Issue(Kind::Window));
    world.state.windows.push_back(record);
    return record.handle;
}

} // namespace

WindowRecord* Window(HWND handle) {
    if (!world.state.handles.Holds(ValueOf(handle), Kind::Window)) return nullptr;
    for (WindowRecord& window : world.state.windows)
        if (window.handle == handle) return &window;
    return nullptr;
}

std::vector<WindowRecord*> WindowsOfClass(const std::string& className) {
    std::vector<WindowRecord*> found;
    for (auto& window : world.state.windows)
        if (window.alive && Key(window.className) == Key(className)) found.push_back(&window);
    return found;
}

std::vector<WindowRecord*> ChildrenOf(HWND parent) {
    std::vector<WindowRecord*> found;
    for (auto& window : world.state.windows)
        if (window.parent == parent && (window.style & WS_CHILD) != 0) found.push_back(&window);
    return found;
}

void PostMessage(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    MSG posted = {};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wordParam;
    posted.lParam = longParam;
    world.state.queue.push_back(posted);
}

} // namespace fake

namespace platform {

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (Fails("RegisterClassA", windowClass->lpszClassName)) return 0;
    const std::string key = Key(windowClass->lpszClassName);
    if (world.state.classes.count(key) != 0) return 0;
    world.state.classes[key] = *windowClass;
    return static_cast<ATOM>(0xC000 + world.state.classes.size());
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE /*instance*/, LPVOID param) {
    if (Fails("CreateWindowExA", className ? className : "")) return nullptr;
    WindowRecord record;
    record.className = className;
    record.text = windowName ? windowName : "";
    record.style = style;
    record.exStyle = exStyle;
    record.x = x;
    record.y = y;
    record.width = width;
    record.height = height;
    record.parent = parent;
    record.id = reinterpret_cast<INT_PTR>(menu);
    auto registered = world.state.classes.find(Key(className));
    if (registered != world.state.classes.end())
        record.windowProc = registered->second.lpfnWndProc;
    else if (Key(className) != "BUTTON" && Key(className) != "STATIC")
        return nullptr;
    const HWND handle = AddWindow(record);

    // WM_CREATE arrives before the call returns, as on Windows.
    CREATESTRUCTA create = {param,      nullptr,   menu,   parent, height, width, y, x, static_cast<LONG>(style),
                            windowName, className, exStyle};
    if (Deliver(Window(handle), WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        platform::DestroyWindow(handle);
        return nullptr;
    }
    if (parent == nullptr && world.knobs.onTopLevelCreated) world.knobs.onTopLevelCreated(handle);
    return handle;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM /*wordParam*/, LPARAM /*longParam*/) {
    Fails("DefWindowProcA", std::to_string(message));
    world.record.defaultProcessed.emplace_back(window, message);
    if (message == WM_CLOSE) platform::DestroyWindow(window);
    return 0;
}

BOOL ShowWindow(HWND window, int showCommand) {
    if (Fails("ShowWindow", std::to_string(showCommand))) return FALSE;
    WindowRecord* record = Window(window);
    if (record == nullptr || !record->alive) return FALSE;
    const bool wasShown = record->shown;
    record->shown = showCommand != SW_HIDE;
    record->showCommand = showCommand;
    Deliver(record, WM_SHOWWINDOW, record->shown, 0);
    return wasShown;
}

BOOL UpdateWindow(HWND window) {
    if (Fails("UpdateWindow")) return FALSE;
    WindowRecord* record = Window(window);
    if (record == nullptr || !record->alive) return FALSE;
    if (record->shown || (record->style & WS_VISIBLE) != 0) Deliver(record, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL GetMessageA(LPMSG message, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/) {
    if (Fails("GetMessageA")) return -1;
    if (!world.state.queue.empty()) {
        *message = world.state.queue.front();
        world.state.queue.pop_front();
        return message->message == WM_QUIT ? 0 : 1;
    }
    if (world.state.quitPosted) {
        world.state.quitPosted = false;
        *message = MSG{};
        message->message = WM_QUIT;
        message->wParam = static_cast<WPARAM>(world.state.quitCode);
        return 0;
    }
    // A real loop would wait here for ever; the test forgot its closing message.
    world.record.queueRanDry = true;
    return -1;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    Fails("PeekMessageA", std::to_string(filterMin) + "-" + std::to_string(filterMax) + " " + std::to_string(remove));
    // Looks without taking: a queued command must not start during the install.
    for (const MSG& queued : world.state.queue)
        if ((window == nullptr || queued.hwnd == window) &&
            ((filterMin == 0 && filterMax == 0) || (queued.message >= filterMin && queued.message <= filterMax))) {
            *message = queued;
            if (remove & PM_REMOVE) world.record.peekRemoved = true;
            return TRUE;
        }
    return FALSE;
}

BOOL TranslateMessage(const MSG* /*message*/) {
    Fails("TranslateMessage");
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    Fails("DispatchMessageA", std::to_string(message->message));
    return Deliver(Window(message->hwnd), message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode) {
    Fails("PostQuitMessage", std::to_string(exitCode));
    world.state.quitPosted = true;
    world.state.quitCode = exitCode;
}

HWND CreateDialogParamA(HINSTANCE /*instance*/, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    if (Fails("CreateDialogParamA", templateName)) return nullptr;
    if (world.knobs.dialogTemplates.count(Key(templateName)) == 0) return nullptr;
    WindowRecord record;
    record.className = "#32770";
    record.dialogTemplate = templateName;
    record.parent = parent;
    record.dialogProc = dialogProc;
    record.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    record.shown = true;
    const HWND handle = AddWindow(record);
    // WM_INITDIALOG arrives before the call returns.
    Deliver(Window(handle), WM_INITDIALOG, 0, initParam);
    return handle;
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam) {
    if (Fails("CreateDialogIndirectParamA") || dialogTemplate == nullptr) return nullptr;
    // The fake builds no window from the template: it stands for the Installing dialog.
    const HWND handle = platform::CreateDialogParamA(instance, "Installing", parent, dialogProc, initParam);
    if (WindowRecord* record = Window(handle)) record->dialogTemplate = "translated";
    return handle;
}

HMENU LoadMenuIndirectA(const void* menuTemplate) {
    if (Fails("LoadMenuIndirectA") || menuTemplate == nullptr) return nullptr;
    return AsHandle<HMENU>(world.state.handles.Issue(Kind::Menu));
}

BOOL DestroyWindow(HWND window) {
    WindowRecord* record = Window(window);
    if (Fails("DestroyWindow") || record == nullptr || !record->alive) return FALSE;
    Deliver(record, WM_DESTROY, 0, 0);
    for (WindowRecord* child : fake::ChildrenOf(window)) child->alive = false;
    Window(window)->alive = false;
    return TRUE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (Fails("MessageBoxA", text)) return 0;
    world.record.boxes.push_back({owner, text, caption, type});
    const MessageBoxRecord& box = world.record.boxes.back();
    if (world.knobs.onMessageBox) return world.knobs.onMessageBox(box);
    return fake::ScriptedAnswer(type);
}

int LoadStringA(HINSTANCE /*instance*/, UINT id, LPSTR buffer, int bufferSize) {
    if (Fails("LoadStringA", std::to_string(id)) || bufferSize <= 0) return 0;
    auto found = world.state.strings.find(id);
    const std::string text = found != world.state.strings.end() ? found->second : std::string();
    const size_t copied = std::min(text.size(), size_t(bufferSize - 1));
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

HICON LoadIconA(HINSTANCE /*instance*/, LPCSTR name) {
    if (Fails("LoadIconA", IS_INTRESOURCE(name) ? "#" : name)) return nullptr;
    return AsHandle<HICON>(StockHandle(Stock::AppIcon));
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (Fails("LoadCursorA") || instance != nullptr || name != IDC_ARROW) return nullptr;
    return AsHandle<HCURSOR>(StockHandle(Stock::Arrow));
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    Fails("SendMessageA", std::to_string(message));
    WindowRecord* record = Window(window);
    if (record == nullptr || !record->alive) return 0;
    if (message == WM_SETFONT) {
        record->font = reinterpret_cast<HGDIOBJ>(wordParam);
        return 0;
    }
    return Deliver(record, message, wordParam, longParam);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    if (Fails("MoveWindow")) return FALSE;
    WindowRecord* record = Window(window);
    if (record == nullptr || !record->alive) return FALSE;
    record->x = x;
    record->y = y;
    record->width = width;
    record->height = height;
    record->moveRepaint = repaint;
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    if (Fails("GetClientRect")) return FALSE;
    WindowRecord* record = Window(window);
    if (record == nullptr) return FALSE;
    if (world.knobs.clientOverride.right >= 0) {
        *rect = world.knobs.clientOverride;
        return TRUE;
    }
    // A fixed frame around, caption and menu bar above.
    const int frameX = world.knobs.metrics[SM_CXFIXEDFRAME], frameY = world.knobs.metrics[SM_CYFIXEDFRAME];
    const int top = (record->style & WS_CAPTION) == WS_CAPTION
                        ? world.knobs.metrics[SM_CYCAPTION] + world.knobs.metrics[SM_CYMENU]
                        : 0;
    *rect = RECT{0, 0, std::max(0, record->width - 2 * frameX), std::max(0, record->height - 2 * frameY - top)};
    return TRUE;
}

int GetSystemMetrics(int index) {
    Fails("GetSystemMetrics", std::to_string(index));
    auto found = world.knobs.metrics.find(index);
    return found != world.knobs.metrics.end() ? found->second : 0;
}

BOOL SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT flags) {
    const std::string call = std::to_string(action) + " " + std::to_string(param) + " " +
                             (data == nullptr ? "null" : "data") + " " + std::to_string(flags);
    world.record.settingsCalls.push_back(call);
    if (Fails("SystemParametersInfoA", call)) return FALSE;
    if (action == SPI_SETSCREENSAVEACTIVE) world.state.screenSaverActive = param != 0;
    return TRUE;
}

} // namespace platform
