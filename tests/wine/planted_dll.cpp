// A stranger's DLL, planted beside a copy of the installer as in a Downloads
// folder; built as lz32.dll and as uxtheme.dll. Loading it leaves a marker
// file next to it, named after it; its expansion always fails.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <lzexpand.h>

#include <cstring>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char marker[MAX_PATH] = "";
    GetModuleFileNameA(instance, marker, MAX_PATH - 32);
    std::strcat(marker, "-loaded");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}

extern "C" INT WINAPI LZOpenFileA(LPSTR /*fileName*/, LPOFSTRUCT /*openInfo*/, WORD /*style*/) {
    return LZERROR_BADINHANDLE;
}
extern "C" LONG WINAPI LZCopy(INT /*source*/, INT /*destination*/) { return LZERROR_BADINHANDLE; }
extern "C" void WINAPI LZClose(INT /*handle*/) {}
