#include "install/set_aside.h"

#include "install/locations.h"

const char SetAsideSuffix[] = ".old";

namespace {

struct Slot {
    bool InstalledCopies::*flag;
    const char* directory;
};

// In the order a removal deletes them.
const Slot Slots[] = {
    {&InstalledCopies::inSystem, locations.SystemDir},
    {&InstalledCopies::inNativeSystem, locations.NativeSystemDir},
    {&InstalledCopies::inWindows, locations.WindowsDir},
};

void ComposePaths(const char* directory, char (&path)[PathSize], char (&aside)[PathSize]) {
    ComposePath(path, directory, names.ScrName);
    ComposePath(aside, path, SetAsideSuffix);
}

} // namespace

BOOL SetAsideInstalledCopies(const InstalledCopies& copies, SetAsideCopies& setAside) {
    setAside = {};
    setAside.names = NamesOfCopies(copies);
    for (const Slot& slot : Slots) {
        if (!(copies.*slot.flag)) continue;
        char path[PathSize], aside[PathSize];
        ComposePaths(slot.directory, path, aside);
        // A file of ours under that name is a leftover: an install that was cut off.
        if (!platform::MoveFileExA(path, aside, MOVEFILE_REPLACE_EXISTING)) {
            // In use, read-only or beyond our rights: it could not have been deleted either.
            RestoreSetAsideCopies(setAside);
            ReportCopyStayed();
            return FALSE;
        }
        setAside.which.*slot.flag = true;
    }
    ReportRemoval();
    return TRUE;
}

void RestoreSetAsideCopies(SetAsideCopies& setAside) {
    for (const Slot& slot : Slots) {
        if (!(setAside.which.*slot.flag)) continue;
        char path[PathSize], aside[PathSize];
        ComposePaths(slot.directory, path, aside);
        // Over whatever took the name meanwhile: the user chose to keep this one.
        if (platform::MoveFileExA(aside, path, MOVEFILE_REPLACE_EXISTING)) setAside.which.*slot.flag = false;
    }
}

void DiscardSetAsideCopies(SetAsideCopies& setAside, const char* replacementDirectory) {
    const InstalledCopies discarded = setAside.which;
    for (const Slot& slot : Slots) {
        if (!(discarded.*slot.flag)) continue;
        char path[PathSize], aside[PathSize];
        ComposePaths(slot.directory, path, aside);
        // A program still running from it can be renamed but not deleted: it
        // goes at the next start of Windows.
        if (!platform::DeleteFileA(aside)) platform::MoveFileExA(aside, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    setAside.which = {};
    DeletePreferencesOf(discarded);
    const CopyNames replacement = NamesOf(replacementDirectory, nullptr);
    ForgetEntryOfGoneCopies(setAside.names, discarded, InstalledCopies{}, &replacement);
}
