#include "screensaver/display_watch.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE, spelled out: the import library's copy would
// need the uuid library for one constant.
const GUID ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr WPARAM PowerSettingChange = 0x8013; // PBT_POWERSETTINGCHANGE
constexpr DWORD ForThisSession = 0;           // NOTIFY_FOR_THIS_SESSION
constexpr DWORD NotifyWindowHandle = 0;       // DEVICE_NOTIFY_WINDOW_HANDLE

// The message's payload: POWERBROADCAST_SETTING.
struct PowerSetting {
    GUID setting;
    DWORD dataLength;
    UCHAR data[1];
};

using RegisterPowerNotice = void*(WINAPI*)(HANDLE, const GUID*, DWORD);
using UnregisterPowerNotice = BOOL(WINAPI*)(void*);
using RegisterSessionNotice = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSessionNotice = BOOL(WINAPI*)(HWND);

template <typename Function> Function Find(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                             : nullptr;
}

// By its full System-directory path: not one of the DLLs Windows always
// takes from there, so a copy beside the saver must not be loaded instead.
HMODULE LoadSessionLibrary() {
    char path[MAX_PATH];
    const char fileName[] = "\\wtsapi32.dll";
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof fileName > MAX_PATH) return nullptr;
    if (path[length - 1] == '\\') --length; // a drive root
    lstrcpyA(path + length, fileName);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

DisplayWatch WatchDisplay(HWND window) {
    DisplayWatch watch = {};
    const auto registerPower = Find<RegisterPowerNotice>(GetModuleHandleA("user32.dll"), "RegisterPowerSettingNotification");
    if (registerPower != nullptr) watch.powerNotice = registerPower(window, &ConsoleDisplayState, NotifyWindowHandle);
    watch.sessionLibrary = LoadSessionLibrary();
    const auto registerSession = Find<RegisterSessionNotice>(watch.sessionLibrary, "WTSRegisterSessionNotification");
    if (registerSession == nullptr || !registerSession(window, ForThisSession)) {
        if (watch.sessionLibrary != nullptr) FreeLibrary(watch.sessionLibrary);
        watch.sessionLibrary = nullptr;
    }
    return watch;
}

void StopWatchingDisplay(HWND window, DisplayWatch& watch) {
    const auto unregisterPower =
        Find<UnregisterPowerNotice>(GetModuleHandleA("user32.dll"), "UnregisterPowerSettingNotification");
    if (watch.powerNotice != nullptr && unregisterPower != nullptr) unregisterPower(watch.powerNotice);
    const auto unregisterSession = Find<UnregisterSessionNotice>(watch.sessionLibrary, "WTSUnRegisterSessionNotification");
    if (unregisterSession != nullptr) unregisterSession(window);
    if (watch.sessionLibrary != nullptr) FreeLibrary(watch.sessionLibrary);
    watch = DisplayWatch{};
}

bool DisplayStateOf(WPARAM wordParam, LPARAM longParam, unsigned long& state) {
    if (wordParam != PowerSettingChange || longParam == 0) return false;
    const PowerSetting& setting = *reinterpret_cast<const PowerSetting*>(longParam);
    if (!IsEqualGUID(setting.setting, ConsoleDisplayState) || setting.dataLength < sizeof(DWORD)) return false;
    DWORD value;
    CopyMemory(&value, setting.data, sizeof value);
    state = value;
    return true;
}
