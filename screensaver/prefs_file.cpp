#include "screensaver/prefs_file.h"

#include <windows.h>

namespace {

bool PrefsFilePath(char* path, DWORD size) {
    char directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory) return false;
    return JoinPrefsPath(directory, path, size);
}

} // namespace

SaverSettings LoadSettings() {
    SaverSettings settings = DefaultSettings();
    char path[MAX_PATH];
    if (!PrefsFilePath(path, sizeof path)) return settings;
    for (int id = 0; id < SettingCount; ++id) {
        char text[32];
        GetPrivateProfileStringA(PrefsSection, settingSpecs[id].key, "", text, sizeof text, path);
        settings.values[id] = SettingFromText(static_cast<SettingId>(id), text);
    }
    return settings;
}

bool SaveSettings(const SaverSettings& settings) {
    char path[MAX_PATH];
    if (!PrefsFilePath(path, sizeof path)) return false;
    bool written = true;
    for (int id = 0; id < SettingCount; ++id) {
        char text[16];
        wsprintfA(text, "%d", ClampSetting(static_cast<SettingId>(id), settings.values[id]));
        written = WritePrivateProfileStringA(PrefsSection, settingSpecs[id].key, text, path) && written;
    }
    return written;
}
