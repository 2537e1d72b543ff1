// An installer runs elevated from a folder others can write to (Downloads), and
// Windows looks in the program's folder for every DLL that is not a KnownDLL:
// the window manager loads uxtheme.dll and dwmapi.dll by bare name.
#include "app/dll_search.h"

#include <cstring>

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD directoryFlags);

// Loaded by name when the first window class is registered; a DLL already
// loaded is the one a later load by name gets.
const char* const WindowManagerDlls[] = {"uxtheme.dll", "dwmapi.dll"};

void LoadFromSystemDirectory(const char* name) {
    char path[MAX_PATH];
    UINT length = platform::GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = std::strlen(name);
    // Never by bare name: that is the very search this guards against.
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) return;
    if (path[length - 1] != '\\') path[length++] = '\\';
    std::memcpy(path + length, name, nameLength + 1);
    // Kept for the life of the process, on purpose.
    platform::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

void HardenDllSearch() {
    // Vista and an unpatched Windows 7 lack it: look it up rather than import it.
    const HMODULE kernel = platform::GetModuleHandleA("kernel32.dll");
    const FARPROC found = kernel != nullptr ? platform::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(found));
    const bool systemOnly =
        setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // An empty string takes the current directory out of the search.
    platform::SetDllDirectoryA("");
    if (!systemOnly)
        for (const char* name : WindowManagerDlls) LoadFromSystemDirectory(name);
}
