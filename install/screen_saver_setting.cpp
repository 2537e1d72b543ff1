#include "install/screen_saver_setting.h"

#include "install/path_compare.h"

#include <cstring>

namespace {

void AddName(CopyNames& copy, const char* directory, const char* name) {
    if (name[0] != '\0' && copy.count < CopyNames::Most) ComposePath(copy.paths[copy.count++], directory, name);
}

bool NamesOneOf(const char* chosen, const CopyNames* const copies[], int count) {
    for (int copy = 0; copy < count; ++copy)
        for (int name = 0; name < copies[copy]->count; ++name)
            if (SamePath(chosen, copies[copy]->paths[name])) return true;
    return false;
}

} // namespace

CopyNames NamesOf(const char* directory, const char* seenBy64BitAs) {
    CopyNames copy = {};
    char path[PathSize];
    char shortPath[PathSize] = "";
    ComposePath(path, directory, names.ScrName);
    const DWORD length = platform::GetShortPathNameA(path, shortPath, PathSize);
    if (length == 0 || length >= PathSize) shortPath[0] = '\0';
    AddName(copy, "", path);
    AddName(copy, "", shortPath);
    if (seenBy64BitAs != nullptr) {
        const char* shortName = std::strrchr(shortPath, '\\');
        AddName(copy, seenBy64BitAs, names.ScrName);
        AddName(copy, seenBy64BitAs, shortName != nullptr ? shortName + 1 : "");
    }
    return copy;
}

// A setting that names a program just deleted leaves the computer with no
// screen saver that runs, and so one that never locks: make it what choosing
// no screen saver makes it. An entry naming anything else stays as it is.
void ForgetScreenSaverEntry(const CopyNames* const removed[], int removedCount, const CopyNames* const present[],
                            int presentCount) {
    char chosen[PathSize] = "";
    platform::GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", chosen, PathSize, "system.ini");
    if (chosen[0] == '\0' || !NamesOneOf(chosen, removed, removedCount) || NamesOneOf(chosen, present, presentCount))
        return;
    // Results ignored, as for the deletions: the removal report stays the same.
    platform::WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
    platform::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, SPIF_UPDATEINIFILE);
}
