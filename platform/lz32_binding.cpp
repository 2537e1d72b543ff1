// LZ32 is not a DLL that Windows always loads from the System directory, so a
// static import would let a copy planted beside the installer (a Downloads
// folder) be loaded instead. It is bound here, by its full System-directory
// path, on first use.
#include "platform/platform.h"

namespace platform {
namespace {

struct Lz32 {
    decltype(&::LZOpenFileA) openFile = nullptr;
    decltype(&::LZCopy) copy = nullptr;
    decltype(&::LZClose) close = nullptr;
};

template <typename Function> void Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

const Lz32& BoundLz32() {
    static const Lz32 bound = [] {
        Lz32 lz32;
        char path[MAX_PATH];
        const char fileName[] = "\\lz32.dll";
        UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length + sizeof fileName > MAX_PATH) return lz32;
        // A drive root already ends in a backslash.
        if (path[length - 1] == '\\') --length;
        lstrcpyA(path + length, fileName);
        // Its own imports come from beside it, the System directory, too.
        HMODULE module = ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module == nullptr) return lz32;
        Bind(module, "LZOpenFileA", lz32.openFile);
        Bind(module, "LZCopy", lz32.copy);
        Bind(module, "LZClose", lz32.close);
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
