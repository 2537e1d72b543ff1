// What the system asks of a screen saver, read from its command line.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

enum class LaunchMode {
    FullScreen,     // /s
    Preview,        // /p <window>: draw inside that window
    Configure,      // /c, /c:<window>, no argument, anything unknown
    ChangePassword, // /a: nothing to do on systems that keep the password themselves
    Nothing,        // a preview without a usable window
};

struct LaunchRequest {
    LaunchMode mode;
    HWND window; // the preview's parent or the dialog's owner; null when none was given
};

// Reads WinMain's command line (the program name already removed).
// Options are case-insensitive and may start with '/' or '-'; the handle is
// decimal and follows the letter after a ':' or spaces.
LaunchRequest ParseCommandLine(const char* commandLine);
