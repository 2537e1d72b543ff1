// A DLL that is not a KnownDLL, loaded by its full System-directory path: by
// bare name Windows would look beside the installer first (a Downloads folder).
#pragma once

#include "platform/platform.h"

// The module, or null when it cannot be loaded. Kept for the life of the process.
HMODULE LoadSystemDll(const char* fileName);

template <typename Function> Function FindFunction(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                             : nullptr;
}
