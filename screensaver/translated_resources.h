// The settings dialog and its choices in the user's language. The translation
// is looked up by its language here, not left to the resource loader: Wine 8
// was seen to give a request without a language the language-neutral resource
// even where a translation matches the locale, and what Windows gives has not
// been checked.
#pragma once

#include <windows.h>

// LoadStringA in the user's language where the ANSI code page can show it;
// otherwise, or for a text the translation lacks, the language-neutral one.
int LoadTranslatedString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize);

// The translated dialog template; null for the language-neutral one.
LPCDLGTEMPLATEA FindTranslatedDialog(HINSTANCE instance, LPCSTR name);
