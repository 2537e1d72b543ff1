#include <windows.h>

#include "screensaver/command_line.h"
#include "screensaver/prefs_file.h"
#include "screensaver/saver_window.h"
#include "screensaver/settings_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR commandLine, int /*showCommand*/) {
    const LaunchRequest request = ParseCommandLine(commandLine);
    switch (request.mode) {
    case LaunchMode::FullScreen: return RunSaver(instance, LoadSettings(), nullptr);
    case LaunchMode::Preview: return RunSaver(instance, LoadSettings(), request.window);
    case LaunchMode::Configure: return RunSettingsDialog(instance, request.window);
    case LaunchMode::ChangePassword: return 0; // the system keeps the password itself
    case LaunchMode::Nothing: return 1;
    }
    return 1;
}
