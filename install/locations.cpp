#include "install/locations.h"

#include "app/app_state.h"
#include "resources/resource_ids.h"

#include <shlobj.h>

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

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE process, PBOOL wow64);

// Windows before XP SP2 lacks the call: look it up rather than import it.
bool RunsUnderWow64() {
    const HMODULE kernel = platform::GetModuleHandleA("kernel32.dll");
    const FARPROC found = kernel != nullptr ? platform::GetProcAddress(kernel, "IsWow64Process") : nullptr;
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(found));
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(platform::GetCurrentProcess(), &wow64) && wow64;
}

// Appends text when all of it fits, terminator included; false otherwise.
template <size_t Size> bool Append(char (&buffer)[Size], const char* text) {
    const size_t length = std::strlen(buffer);
    const size_t textLength = std::strlen(text);
    if (length + textLength >= Size) return false;
    std::memcpy(buffer + length, text, textLength + 1);
    return true;
}

void LoadNativeSystemDirectory() {
    locations.NativeSystemDir[0] = '\0';
    if (locations.WindowsDir[0] == '\0' || !RunsUnderWow64()) return;
    std::memcpy(locations.NativeSystemDir, locations.WindowsDir, sizeof locations.WindowsDir);
    if (!Append(locations.NativeSystemDir, "Sysnative\\")) locations.NativeSystemDir[0] = '\0';
}

// From the system, not from LOCALAPPDATA: the elevated installer deletes there,
// and an environment variable the user sets could name any folder, relative to
// wherever the installer runs or on a network share. Only a folder on a drive
// has a VirtualStore.
void LoadVirtualStoreDirectory() {
    char (&store)[PathSize] = locations.VirtualStoreDir;
    char folder[MAX_PATH] = "";
    store[0] = '\0';
    if (FAILED(platform::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return;
    folder[MAX_PATH - 1] = '\0';
    const char drive = static_cast<char>(folder[0] & ~0x20);
    const bool onDrive = drive >= 'A' && drive <= 'Z' && folder[1] == ':' && folder[2] == '\\';
    if (!onDrive) return;
    const size_t length = std::strlen(folder);
    if (folder[length - 1] == '\\') folder[length - 1] = '\0';
    if (!Append(store, folder) || !Append(store, "\\VirtualStore\\")) store[0] = '\0';
}

} // namespace

void LoadInstallSettings() {
    LoadDirectory(platform::GetSystemDirectoryA, locations.SystemDir);
    LoadDirectory(platform::GetWindowsDirectoryA, locations.WindowsDir);
    LoadNativeSystemDirectory();
    LoadVirtualStoreDirectory();
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

bool ComposeVirtualStorePath(char (&path)[PathSize], const char* directory, const char* name) {
    // Only a directory on a drive has a place there, under its path after the drive.
    const bool onDrive = directory[0] != '\0' && directory[1] == ':' && directory[2] == '\\';
    if (locations.VirtualStoreDir[0] == '\0' || !onDrive) return false;
    char mirrored[PathSize];
    ComposePath(mirrored, locations.VirtualStoreDir, directory + 3);
    ComposePath(path, mirrored, name);
    return std::strlen(locations.VirtualStoreDir) + std::strlen(directory + 3) + std::strlen(name) < PathSize;
}

DWORD IsPresentIn(const char* directory, const char* name) {
    // An empty search path would search the default places instead of none.
    if (directory[0] == '\0') return 0;
    return platform::SearchPathA(directory, name, nullptr, 0, nullptr, nullptr);
}
