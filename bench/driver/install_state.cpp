#include "driver/install_state.h"

#include "tests/wine/driver.h"

#include <cctype>

namespace bench {

namespace {

const char DesktopKey[] = "Control Panel\\Desktop";
const char ScreenSaveActiveValue[] = "ScreenSaveActive";

} // namespace

void SetScreenSaveActive(const char* value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, ScreenSaveActiveValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   DWORD(lstrlenA(value) + 1));
    RegCloseKey(key);
}

namespace {

std::string ScreenSaveActive() {
    char value[16] = "";
    DWORD size = sizeof value - 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
    RegQueryValueExA(key, ScreenSaveActiveValue, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return value;
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

void ResetInstallState() {
    driver::RemoveInstalledFiles();
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
    SetScreenSaveActive("0");
}

std::string CheckSameBytes(const std::string& path, const std::string& expectedScr) {
    const auto expected = driver::ReadBytes(expectedScr);
    const auto actual = driver::ReadBytes(path);
    if (expected.empty()) return "cannot read " + expectedScr;
    if (actual != expected)
        return path + " holds " + std::to_string(actual.size()) + " bytes, not the " + std::to_string(expected.size()) +
               " of " + expectedScr;
    return "";
}

std::string CheckInstalled(const std::string& expectedScr) {
    const std::string installed = driver::WindowsDir() + "\\Quorvane.scr";
    const std::string bytes = CheckSameBytes(installed, expectedScr);
    if (!bytes.empty()) return bytes;

    char named[MAX_PATH] = "";
    GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", named, sizeof named, "system.ini");
    char longForm[MAX_PATH] = "";
    if (GetLongPathNameA(named, longForm, sizeof longForm) == 0 || Lower(longForm) != Lower(installed))
        return std::string("system.ini [boot] SCRNSAVE.EXE is \"") + named + "\"";
    if (ScreenSaveActive() != "1") return "screen saving is not on (ScreenSaveActive \"" + ScreenSaveActive() + "\")";
    return "";
}

} // namespace bench
