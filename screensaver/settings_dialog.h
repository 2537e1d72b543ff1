// The settings dialog of /c and of a start without arguments.
#pragma once

#include <windows.h>

// The buffer of a choice's text, terminator included.
constexpr int ChoiceTextSize = 64;

// Shows the dialog owned by owner (may be null) and saves the choices on OK.
// Returns the program's exit code.
int RunSettingsDialog(HINSTANCE instance, HWND owner);
