// The system settings an install changes: the screen saver system.ini names
// and whether screen saving is on. Read and written as the installer's user
// would see them; "(none)" stands for a setting that is not there.
#pragma once

#include <string>

namespace driver {

// system.ini [boot] SCRNSAVE.EXE.
std::string BootScreenSaver();
void SetBootScreenSaver(const std::string& value);
// HKCU\Control Panel\Desktop ScreenSaveActive, where switching screen saving on persists it.
std::string ScreenSaveActive();
void SetScreenSaveActive(const std::string& value);

// No screen saver chosen and screen saving off: the settings before any install.
void ClearInstallSettings();

// Starts with the settings cleared and puts back what the prefix had, however the case ends.
struct SettingsKept {
    SettingsKept();
    ~SettingsKept();
    std::string bootBefore, activeBefore;
};

} // namespace driver
