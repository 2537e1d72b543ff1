#include "install/locations.h"

#include "app/app_state.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstring>

InstallLocations locations = {};
InstallNames names = {};

namespace {

using DirectoryCall = UINT (*)(LPSTR, UINT);

// A directory that the call could not give, or that leaves no room for the
// backslash, stays empty: no path is ever composed relative to the current
// directory.
void LoadDirectory(DirectoryCall call, char (&directory)[DirectorySize]) {
    const UINT length = call(directory, DirectorySize);
    if (length == 0 || length > DirectorySize - 2) {
        directory[0] = '\0';
        return;
    }
    // A drive root such as C:\ already ends in a backslash.
    if (length > 3) {
        directory[length] = '\\';
        directory[length + 1] = '\0';
    }
}

} // namespace

void LoadInstallSettings() {
    LoadDirectory(platform::GetSystemDirectoryA, locations.SystemDir);
    LoadDirectory(platform::GetWindowsDirectoryA, locations.WindowsDir);
    platform::LoadStringA(app.instance, IDS_TEMP_NAME, names.TempName, sizeof names.TempName);
    platform::LoadStringA(app.instance, IDS_SCR_NAME, names.ScrName, sizeof names.ScrName);
    platform::LoadStringA(app.instance, IDS_PREFS_NAME, names.PrefsName, sizeof names.PrefsName);
}

void ComposePath(char (&path)[PathSize], const char* directory, const char* name) {
    // Cut to fit rather than overflow; with 100-character parts it always fits.
    const size_t directoryLength = std::min(std::strlen(directory), size_t(PathSize - 1));
    const size_t nameLength = std::min(std::strlen(name), size_t(PathSize - 1) - directoryLength);
    std::memcpy(path, directory, directoryLength);
    std::memcpy(path + directoryLength, name, nameLength);
    path[directoryLength + nameLength] = '\0';
}

DWORD IsPresentIn(const char* directory, const char* name) {
    // An empty search path would search the default places instead of none.
    if (directory[0] == '\0') return 0;
    return platform::SearchPathA(directory, name, nullptr, 0, nullptr, nullptr);
}
