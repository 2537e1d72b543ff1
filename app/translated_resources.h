// The installer's texts, menu and progress window in the user's language.
// Windows finds a language-neutral resource before a translated one, so the
// translation is looked up by its language here; the English resources are
// loaded exactly as before.
#pragma once

#include "platform/platform.h"

// Picks the language for the rest of the run: the user's, if the ANSI code page can show it.
void SelectTextLanguage();

// LoadStringA in the selected language: a text the translation lacks comes from
// the language-neutral table. Cut to fit, always terminated.
int LoadText(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize);

// The translated menu or dialog template; null for the language-neutral one.
HMENU LoadTranslatedMenu(HINSTANCE instance, LPCSTR name);
LPCDLGTEMPLATEA FindTranslatedDialog(HINSTANCE instance, LPCSTR name);
