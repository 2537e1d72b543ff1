// Does what the installer must not: imports LZ32 statically and registers a
// window class (which loads uxtheme.dll by name) with the default DLL search.
// Started beside planted DLLs it loads them: the control that shows the
// planting case can tell a planted DLL from the installer's hardening.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <lzexpand.h>

int main() {
    char missing[] = "no-such-file";
    OFSTRUCT openInfo = {};
    const INT handle = LZOpenFileA(missing, &openInfo, OF_READ);
    if (handle >= 0) LZClose(handle);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "UnhardenedProbe";
    return RegisterClassA(&windowClass) != 0 ? 0 : 1;
}
