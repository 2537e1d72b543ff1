// The one application state record, shared by the main window and the commands.
#pragma once

#include "platform/platform.h"

struct ApplicationState {
    HINSTANCE instance;  // every resource and string load uses it
    char title[150];     // the main window's title, string 1
    HWND progressWindow; // the Install command's progress window while it is open
    LANGID textLanguage; // the translation shown, or LANG_NEUTRAL for the language-neutral texts
};

extern ApplicationState app;
