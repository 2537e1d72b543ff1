// The installer's texts, menu and progress window in the user's language. The
// translation is looked up by its language here, not left to the resource
// loader: Wine 8 was seen to give a request without a language the
// language-neutral resource even where a translation matches the locale, and
// what Windows gives has not been checked. The English resources are loaded
// exactly as before.
#pragma once

#include "platform/platform.h"

// Picks the language for the rest of the run: the user's, if the ANSI code page can show it.
void SelectTextLanguage();

// LoadStringA in the selected language: a text the translation lacks comes from
// the language-neutral table. Cut to fit, always terminated.
int LoadTranslatedString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize);

// The translated menu or dialog template; null for the language-neutral one.
HMENU LoadTranslatedMenu(HINSTANCE instance, LPCSTR name);
LPCDLGTEMPLATEA FindTranslatedDialog(HINSTANCE instance, LPCSTR name);
