#include "tests/wine/module_resources.h"

namespace driver {

std::vector<uint8_t> ReadResource(const std::string& exePath, const char* name, LPCSTR type) {
    std::vector<uint8_t> bytes;
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return bytes;
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (data != nullptr) bytes.assign(data, data + SizeofResource(module, found));
    FreeLibrary(module);
    return bytes;
}

std::vector<uint8_t> ReadPayload(const std::string& exePath) { return ReadResource(exePath, "program", "DATA"); }
std::vector<uint8_t> ReadBanner(const std::string& exePath) { return ReadResource(exePath, "installBMP", RT_BITMAP); }

namespace {

BOOL CALLBACK AddIconImage(HMODULE module, LPCSTR, LPSTR name, LONG_PTR total) {
    HRSRC image = FindResourceA(module, name, RT_ICON);
    *reinterpret_cast<uint32_t*>(total) += image != nullptr ? SizeofResource(module, image) : 0;
    return TRUE;
}

} // namespace

uint32_t IconImageBytes(const std::string& exePath) {
    uint32_t total = 0;
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return total;
    EnumResourceNamesA(module, RT_ICON, AddIconImage, reinterpret_cast<LONG_PTR>(&total));
    FreeLibrary(module);
    return total;
}

} // namespace driver
