// Marks a text with the id it belongs to, so that the translation template
// holds every text once per use and a translator sees where it goes. Only the
// translations' build (wrc) sees the mark; every other build drops it.
#pragma once

#ifdef __WRC__
#define ID_CONTEXT(id) "#msgctxt#" #id "#"
#else
#define ID_CONTEXT(id)
#endif
