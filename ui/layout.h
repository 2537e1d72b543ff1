// The main window's buttons, size and position, and the banner above them.
#pragma once

#include "platform/platform.h"

struct ButtonSpec {
    char ClassName[20];
    char Text[50];
    LONG X, Y, Width, Height;
};

extern const char BannerName[]; // "installBMP"

void CreateCommandButtons(HWND mainWindow);
void MeasureButton(HWND mainWindow, ButtonSpec& spec);
void CenterWindowOnScreen(HWND window, int width, int height);
void LoadBanner();
void PaintBanner(HWND mainWindow);
