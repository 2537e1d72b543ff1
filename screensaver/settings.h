// The user's choices, as kept in the preferences file, and their limits.
#pragma once

#include <cstddef>

enum SettingId { SettingSpeed, SettingStars, SettingAurora, SettingMonitors, SettingCount };

struct SettingSpec {
    const char* key; // the key in the preferences file
    int minimum;
    int maximum;
    int fallback; // used when the file has no usable value
};

extern const SettingSpec settingSpecs[SettingCount];

// Speed 1 (slowest) to 5, stars 1 (sparse) to 3, aurora 0 (off) or 1,
// monitors a MonitorsChoice (monitor_layout.h).
struct SaverSettings {
    int values[SettingCount];
};

extern const char PrefsSection[];
extern const char PrefsFileName[];

SaverSettings DefaultSettings();

// The value clamped into the setting's range.
int ClampSetting(SettingId id, int value);

// A value read from the preferences file: a whole number, clamped into range;
// the fallback for anything else (empty, words, trailing junk).
int SettingFromText(SettingId id, const char* text);

// Writes "<windowsDirectory>\<PrefsFileName>" into path; false when it does
// not fit or the directory is empty.
bool JoinPrefsPath(const char* windowsDirectory, char* path, std::size_t size);
