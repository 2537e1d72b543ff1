#include "tests/wine/install_settings.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace driver {

namespace {

const char NotThere[] = "(none)";
const char DesktopKey[] = "Control Panel\\Desktop";
const char ActiveValue[] = "ScreenSaveActive";

} // namespace

std::string BootScreenSaver() {
    char value[MAX_PATH] = "";
    GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", NotThere, value, sizeof value, "system.ini");
    return value;
}

void SetBootScreenSaver(const std::string& value) {
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", value == NotThere ? nullptr : value.c_str(), "system.ini");
}

std::string ScreenSaveActive() {
    char value[16] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, DesktopKey, ActiveValue, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return NotThere;
    return value;
}

void SetScreenSaveActive(const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (value == NotThere)
        RegDeleteValueA(key, ActiveValue);
    else
        RegSetValueExA(key, ActiveValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD(value.size() + 1));
    RegCloseKey(key);
}

void ClearInstallSettings() {
    SetBootScreenSaver(NotThere);
    SetScreenSaveActive("0");
}

SettingsKept::SettingsKept() : bootBefore(BootScreenSaver()), activeBefore(ScreenSaveActive()) { ClearInstallSettings(); }

SettingsKept::~SettingsKept() {
    SetBootScreenSaver(bootBefore);
    SetScreenSaveActive(activeBefore);
}

} // namespace driver
