// The main window: its class, its creation and its message handling.
#pragma once

#include "platform/platform.h"

extern const char MainClassName[]; // "ProgramInstaller"
extern const char MainMenuName[];  // "Menu_1"
extern const char AppIconName[];   // "AppIcon"

BOOL RegisterMainClass(HINSTANCE instance);
BOOL CreateMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam);
void DispatchCommand(HWND window, UINT id, LPARAM control, UINT notifyCode);
