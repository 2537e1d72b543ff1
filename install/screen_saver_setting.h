// The system's screen saver setting as a removal leaves it.
#pragma once

#include "install/locations.h"

// The names the setting may give one copy: its path and short path, and for
// the real System directory's copy also both as 64-bit programs write them,
// through the System directory's own name.
struct CopyNames {
    static constexpr int Most = 4;
    char paths[Most][PathSize];
    int count;
};

// The names of directory + ScrName. Taken before the deletion: a file that is
// gone has no short form. seenBy64BitAs: the directory 64-bit programs name
// this one by, or null.
CopyNames NamesOf(const char* directory, const char* seenBy64BitAs);

// When the setting names one of the removed copies and none of the present
// ones, removes it and switches screen saving off, as choosing no screen saver
// does. Under WoW64 one name can stand for two copies: a 64-bit program's
// System32 is the real one, a 32-bit program's SysWOW64.
void ForgetScreenSaverEntry(const CopyNames* const removed[], int removedCount, const CopyNames* const present[],
                            int presentCount);
