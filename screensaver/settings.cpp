#include "screensaver/settings.h"

#include <climits>
#include <cstring>

#include "screensaver/text_scan.h"

const SettingSpec settingSpecs[SettingCount] = {
    {"Speed", 1, 5, 3},
    {"Stars", 1, 3, 2},
    {"NorthernLights", 0, 1, 1},
    {"Monitors", 0, 2, 0},
};

const char PrefsSection[] = "Quorvane";
const char PrefsFileName[] = "Quorvane-Prefs.ini";

SaverSettings DefaultSettings() {
    SaverSettings settings;
    for (int id = 0; id < SettingCount; ++id) settings.values[id] = settingSpecs[id].fallback;
    return settings;
}

int ClampSetting(SettingId id, int value) {
    const SettingSpec& spec = settingSpecs[id];
    if (value < spec.minimum) return spec.minimum;
    if (value > spec.maximum) return spec.maximum;
    return value;
}

int SettingFromText(SettingId id, const char* text) {
    const int fallback = settingSpecs[id].fallback;
    if (text == nullptr) return fallback;
    text = SkipSpaces(text);
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Saturate long numbers instead of overflowing: they clamp to the edge anyway.
    long long magnitude = 0;
    const char* digits = text;
    while (*text >= '0' && *text <= '9') {
        if (magnitude < INT_MAX) magnitude = magnitude * 10 + (*text - '0');
        ++text;
    }
    if (text == digits) return fallback;
    text = SkipSpaces(text);
    if (*text != '\0') return fallback;
    if (magnitude > INT_MAX) magnitude = INT_MAX;
    const int value = static_cast<int>(negative ? -magnitude : magnitude);
    return ClampSetting(id, value);
}

bool JoinPrefsPath(const char* windowsDirectory, char* path, std::size_t size) {
    if (windowsDirectory == nullptr || path == nullptr || size == 0) return false;
    std::size_t length = std::strlen(windowsDirectory);
    if (length == 0) return false;
    // A root such as "C:\" already ends in the separator.
    const bool needsSeparator = windowsDirectory[length - 1] != '\\';
    const std::size_t total = length + (needsSeparator ? 1 : 0) + sizeof PrefsFileName; // includes the terminator
    if (total > size) return false;
    std::memcpy(path, windowsDirectory, length);
    if (needsSeparator) path[length++] = '\\';
    std::memcpy(path + length, PrefsFileName, sizeof PrefsFileName);
    return true;
}
