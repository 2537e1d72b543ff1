// Imports LZ32 statically, as the installer must not. Started beside a planted
// lz32.dll it loads that one: the control that shows the planting case can
// tell a static import from the installer's binding.
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
    return 0;
}
