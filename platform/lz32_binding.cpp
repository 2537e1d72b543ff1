// LZ32 is not a DLL that Windows always loads from the System directory, so a
// static import would let a copy planted beside the installer (a Downloads
// folder) be loaded instead. It is bound here, by its full System-directory
// path, on first use.
#include "platform/system_dll.h"

namespace platform {
namespace {

struct Lz32 {
    decltype(&::LZOpenFileA) openFile = nullptr;
    decltype(&::LZCopy) copy = nullptr;
    decltype(&::LZClose) close = nullptr;
};

const Lz32& BoundLz32() {
    static const Lz32 bound = [] {
        Lz32 lz32;
        const HMODULE module = LoadSystemDll("lz32.dll");
        lz32.openFile = FindFunction<decltype(&::LZOpenFileA)>(module, "LZOpenFileA");
        lz32.copy = FindFunction<decltype(&::LZCopy)>(module, "LZCopy");
        lz32.close = FindFunction<decltype(&::LZClose)>(module, "LZClose");
        if (!lz32.openFile || !lz32.copy || !lz32.close) lz32 = Lz32{};
        return lz32;
    }();
    return bound;
}

} // namespace

INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT openInfo, WORD style) {
    const Lz32& lz32 = BoundLz32();
    return lz32.openFile ? lz32.openFile(fileName, openInfo, style) : LZERROR_BADINHANDLE;
}
LONG LZCopy(INT source, INT destination) {
    const Lz32& lz32 = BoundLz32();
    return lz32.copy ? lz32.copy(source, destination) : LZERROR_BADINHANDLE;
}
void LZClose(INT handle) {
    const Lz32& lz32 = BoundLz32();
    if (lz32.close) lz32.close(handle);
}

} // namespace platform
