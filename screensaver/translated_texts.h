// The settings dialog and its choices in the user's language. Windows finds a
// language-neutral resource before a translated one, so the translation is
// looked up by its language here.
#pragma once

#include <windows.h>

// LoadStringA in the user's language where the ANSI code page can show it;
// otherwise, or for a text the translation lacks, the language-neutral one.
int LoadTranslatedString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize);

// The translated dialog template; null for the language-neutral one.
LPCDLGTEMPLATEA FindTranslatedDialog(HINSTANCE instance, LPCSTR name);
