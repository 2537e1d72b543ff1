// Asks Windows to say when the display turns off or on and when the session is
// disconnected, so that the saver draws nothing nobody can see. Both calls are
// looked up at run time: a system without them just never says.
#pragma once

#include <windows.h>

struct DisplayWatch {
    void* powerNotice; // from RegisterPowerSettingNotification
    HMODULE sessionLibrary; // wtsapi32.dll, while registered with it
};

DisplayWatch WatchDisplay(HWND window);
void StopWatchingDisplay(HWND window, DisplayWatch& watch);

// The display state a WM_POWERBROADCAST carries (0 off, 1 on, 2 dimmed);
// false when it carries none.
bool DisplayStateOf(WPARAM wordParam, LPARAM longParam, unsigned long& state);
