// Deleting, as administrator, in a folder the user can write to.
#pragma once

#include "platform/platform.h"

// Deletes the file at path, a full path on a drive, only if that is where it
// really is: a link or junction planted on the way would otherwise turn the
// delete into one of another file. Anything else is left alone, silently.
void DeleteExactly(const char* path);
