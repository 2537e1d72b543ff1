// The Install command.
#pragma once

#include "platform/platform.h"

extern const char ProgressDialogName[]; // "Installing"

void InstallScreenSaver(HWND mainWindow);
// Makes targetPath the system's screen saver and switches screen saving on;
// false when either failed.
BOOL ActivateScreenSaver(const char* targetPath);
INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wordParam, LPARAM longParam);
