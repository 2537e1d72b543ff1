// The earlier copies an install replaces: moved aside (same directory, a
// temporary name) rather than deleted, so that an install that fails puts them
// back as they were, and deleted only once the new copy is in place.
#pragma once

#include "install/uninstall_command.h"

struct SetAsideCopies {
    // The copies now under their temporary names, and what the setting may call each.
    InstalledCopies which;
    InstalledCopyNames names;
};

// The name a file goes by while set aside: name and this, never a screen saver's name.
extern const char SetAsideSuffix[]; // ".old"

// Moves the copies aside and reports as a removal does. False, with every copy
// back where it was and the report that one stayed, when one cannot be moved.
BOOL SetAsideInstalledCopies(const InstalledCopies& copies, SetAsideCopies& setAside);
// Puts every copy set aside back under its own name.
void RestoreSetAsideCopies(SetAsideCopies& setAside);
// Deletes the copies set aside with their preferences files, and forgets the
// setting's entry if it named one of them and not the copy at replacement.
void DiscardSetAsideCopies(SetAsideCopies& setAside, const char* replacementDirectory);
