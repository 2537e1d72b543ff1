#include "platform/system_dll.h"

HMODULE LoadSystemDll(const char* fileName) {
    char path[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    const int nameLength = lstrlenA(fileName);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
    // A drive root already ends in a backslash.
    if (path[length - 1] != '\\') path[length++] = '\\';
    lstrcpyA(path + length, fileName);
    // Its own imports come from beside it, the System directory, too.
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
