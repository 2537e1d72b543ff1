// Kernel: module resources, global memory, directories, files, profiles, time.
#include "tests/fake/fake_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace fake;

namespace fake {

namespace {

std::string ResourceKey(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(LOWORD(reinterpret_cast<uintptr_t>(name)));
    return Key(name);
}

// A resource's bytes in an allocation of exactly its size, so that ASan sees
// any read past its end.
struct ResourceBlock {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};
std::map<std::pair<std::string, std::string>, ResourceBlock> resourceBlocks;
std::vector<std::pair<std::string, std::string>> resourceHandles;

struct GlobalBlock {
    void* bytes;
    size_t size;
    int locks;
};
std::map<uintptr_t, GlobalBlock> globalBlocks;
uintptr_t nextGlobal = 0x6000;

struct OpenFile {
    std::string path;
    bool open;
};
std::vector<OpenFile> openFiles;

std::string Parent(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Found through GetProcAddress, as the program finds the real one.
BOOL WINAPI SetDefaultDllDirectoriesStandIn(DWORD directoryFlags) {
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%lx", static_cast<unsigned long>(directoryFlags));
    return !Fails("SetDefaultDllDirectories", flags);
}

const HMODULE KernelModule = reinterpret_cast<HMODULE>(uintptr_t{0x7B000000});

} // namespace

void AddResource(LPCSTR name, LPCSTR type, const Bytes& bytes) {
    ResourceBlock block{std::unique_ptr<uint8_t[]>(new uint8_t[std::max<size_t>(bytes.size(), 1)]), bytes.size()};
    std::copy(bytes.begin(), bytes.end(), block.bytes.get());
    resourceBlocks[{ResourceKey(name), ResourceKey(type)}] = std::move(block);
}

void AddFile(const std::string& path, const Bytes& bytes) { world.files[Key(path)] = FileRecord{bytes, false, true}; }

void AddDirectory(const std::string& path) { world.files[Key(path)] = FileRecord{{}, true, true}; }

bool FileExists(const std::string& path) {
    auto found = world.files.find(Key(path));
    return found != world.files.end() && !found->second.directory;
}

const Bytes* FileBytes(const std::string& path) {
    auto found = world.files.find(Key(path));
    return found != world.files.end() && !found->second.directory ? &found->second.bytes : nullptr;
}

// Resources, blocks and files start anew with each test.
void ResetKernel() {
    resourceBlocks.clear();
    resourceHandles.clear();
    for (auto& block : globalBlocks) std::free(block.second.bytes);
    globalBlocks.clear();
    openFiles.clear();
}

} // namespace fake

namespace platform {

HRSRC FindResourceA(HMODULE /*module*/, LPCSTR name, LPCSTR type) {
    const std::pair<std::string, std::string> key{ResourceKey(name), ResourceKey(type)};
    if (Fails("FindResourceA", key.first + " " + key.second) || resourceBlocks.count(key) == 0) return nullptr;
    resourceHandles.push_back(key);
    return reinterpret_cast<HRSRC>(uintptr_t{0x7000} + resourceHandles.size());
}

namespace {
const fake::ResourceBlock* BlockOf(uintptr_t handle, uintptr_t base) {
    const size_t index = handle - base - 1;
    if (handle <= base || index >= resourceHandles.size()) return nullptr;
    auto found = resourceBlocks.find(resourceHandles[index]);
    return found != resourceBlocks.end() ? &found->second : nullptr;
}
} // namespace

DWORD SizeofResource(HMODULE /*module*/, HRSRC resource) {
    if (Fails("SizeofResource")) return 0;
    const auto* block = BlockOf(reinterpret_cast<uintptr_t>(resource), 0x7000);
    return block ? static_cast<DWORD>(block->size) : 0;
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) {
    if (Fails("LoadResource") || BlockOf(reinterpret_cast<uintptr_t>(resource), 0x7000) == nullptr) return nullptr;
    // The loaded handle shares the index of the found one.
    return reinterpret_cast<HGLOBAL>(reinterpret_cast<uintptr_t>(resource) - 0x7000 + 0x8000);
}

LPVOID LockResource(HGLOBAL resourceData) {
    if (Fails("LockResource")) return nullptr;
    const auto* block = BlockOf(reinterpret_cast<uintptr_t>(resourceData), 0x8000);
    return block ? block->bytes.get() : nullptr;
}

BOOL FreeResource(HGLOBAL /*resourceData*/) {
    Fails("FreeResource");
    ++world.resourcesFreed;
    return FALSE;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (Fails("GlobalAlloc", std::to_string(bytes))) return nullptr;
    void* block = std::malloc(std::max<SIZE_T>(bytes, 1));
    if ((flags & GMEM_ZEROINIT) != 0)
        std::memset(block, 0, bytes);
    else
        std::memset(block, 0xA5, bytes);
    const uintptr_t handle = nextGlobal += 0x10;
    globalBlocks[handle] = {block, bytes, 0};
    ++world.liveBlocks;
    return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID GlobalLock(HGLOBAL memory) {
    auto found = globalBlocks.find(reinterpret_cast<uintptr_t>(memory));
    if (Fails("GlobalLock") || found == globalBlocks.end()) return nullptr;
    ++found->second.locks;
    return found->second.bytes;
}

BOOL GlobalUnlock(HGLOBAL memory) {
    Fails("GlobalUnlock");
    auto found = globalBlocks.find(reinterpret_cast<uintptr_t>(memory));
    if (found == globalBlocks.end() || found->second.locks == 0) return FALSE;
    return --found->second.locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    Fails("GlobalFree");
    auto found = globalBlocks.find(reinterpret_cast<uintptr_t>(memory));
    if (found == globalBlocks.end()) return memory;
    std::free(found->second.bytes);
    globalBlocks.erase(found);
    --world.liveBlocks;
    return nullptr;
}

namespace {
// The platform's contract: length on success, the size needed (buffer untouched) when too small.
UINT CopyDirectory(const char* operation, const std::string& directory, LPSTR buffer, UINT size) {
    if (Fails(operation)) return 0;
    if (directory.size() + 1 > size) return static_cast<UINT>(directory.size() + 1);
    std::memcpy(buffer, directory.c_str(), directory.size() + 1);
    return static_cast<UINT>(directory.size());
}
} // namespace

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    return CopyDirectory("GetSystemDirectoryA", world.systemDirectory, buffer, size);
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return CopyDirectory("GetWindowsDirectoryA", world.windowsDirectory, buffer, size);
}

DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR /*buffer*/,
                  LPSTR* /*filePart*/) {
    if (Fails("SearchPathA", std::string(path ? path : "(default)") + " " + fileName)) return 0;
    // Only the one directory given; the tests never expect a default search.
    if (path == nullptr || path[0] == '\0' || extension != nullptr || bufferLength != 0) return 0;
    std::string directory = path;
    if (directory.back() != '\\') directory += '\\';
    const std::string full = directory + fileName;
    return FileExists(full) ? static_cast<DWORD>(full.size() + 1) : 0;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (Fails("GetModuleHandleA", moduleName ? moduleName : "null")) return nullptr;
    return KernelModule;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (Fails("GetProcAddress", IS_INTRESOURCE(procName) ? "#" : procName) || module != KernelModule ||
        IS_INTRESOURCE(procName) || std::strcmp(procName, "SetDefaultDllDirectories") != 0)
        return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SetDefaultDllDirectoriesStandIn));
}

BOOL SetDllDirectoryA(LPCSTR path) {
    return !Fails("SetDllDirectoryA", path ? std::string("\"") + path + "\"" : "null");
}

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE /*reserved*/, DWORD flags) {
    if (Fails("LoadLibraryExA", std::string(fileName) + " " + std::to_string(flags))) return nullptr;
    return reinterpret_cast<HMODULE>(uintptr_t{0x70000000} + world.calls["LoadLibraryExA"] * 0x10000);
}

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD /*shareMode*/, LPSECURITY_ATTRIBUTES /*security*/,
                   DWORD disposition, DWORD /*flags*/, HANDLE /*templateFile*/) {
    if (Fails("CreateFileA", Key(fileName))) return INVALID_HANDLE_VALUE;
    const std::string key = Key(fileName);
    auto existing = world.files.find(key);
    if (existing != world.files.end() && (existing->second.directory || !existing->second.deletable))
        return INVALID_HANDLE_VALUE;
    // Every open here shares nothing: a second open of a file still open fails.
    for (const fake::OpenFile& other : openFiles)
        if (other.open && other.path == key) return INVALID_HANDLE_VALUE;
    const std::string parent = Parent(key);
    if ((access & GENERIC_WRITE) == 0 || disposition != CREATE_ALWAYS) return INVALID_HANDLE_VALUE;
    if (!parent.empty() && parent.size() > 2) {
        auto directory = world.files.find(parent);
        const bool known = parent == Key(world.windowsDirectory) || parent == Key(world.systemDirectory) ||
                           (directory != world.files.end() && directory->second.directory);
        if (!known) return INVALID_HANDLE_VALUE;
    }
    world.files[key] = FileRecord{};
    openFiles.push_back({key, true});
    return reinterpret_cast<HANDLE>(uintptr_t{0x9000} + openFiles.size());
}

BOOL WriteFile(HANDLE file, LPCVOID data, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED /*overlapped*/) {
    if (bytesWritten) *bytesWritten = 0;
    const size_t index = reinterpret_cast<uintptr_t>(file) - 0x9000 - 1;
    if (Fails("WriteFile", std::to_string(bytesToWrite)) || index >= openFiles.size() || !openFiles[index].open)
        return FALSE;
    const DWORD count = bytesToWrite - std::min(world.shortWriteBy, bytesToWrite);
    Bytes& target = world.files[openFiles[index].path].bytes;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    target.insert(target.end(), bytes, bytes + count);
    if (bytesWritten) *bytesWritten = count;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    const size_t index = reinterpret_cast<uintptr_t>(handle) - 0x9000 - 1;
    if (Fails("CloseHandle") || index >= openFiles.size() || !openFiles[index].open) return FALSE;
    openFiles[index].open = false;
    return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName) {
    if (Fails("DeleteFileA", Key(fileName))) return FALSE;
    auto found = world.files.find(Key(fileName));
    if (found == world.files.end() || found->second.directory || !found->second.deletable) return FALSE;
    world.files.erase(found);
    return TRUE;
}

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
    if (Fails("GetShortPathNameA", Key(longPath)) || !FileExists(longPath)) return 0;
    // 8.3 names: each long part becomes its first six letters and ~1.
    std::string result;
    std::string part;
    const std::string path = Key(longPath) + "\\";
    for (char c : path) {
        if (c != '\\') {
            part += c;
            continue;
        }
        const size_t dot = part.find('.');
        const std::string stem = part.substr(0, dot);
        const std::string extension = dot == std::string::npos ? "" : part.substr(dot);
        result += (stem.size() > 8 || extension.size() > 4 ? stem.substr(0, 6) + "~1" + extension.substr(0, 4) : part);
        result += '\\';
        part.clear();
    }
    result.pop_back();
    if (result.size() + 1 > size) return static_cast<DWORD>(result.size() + 1);
    std::memcpy(shortPath, result.c_str(), result.size() + 1);
    return static_cast<DWORD>(result.size());
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    const std::string entry = Key(fileName) + "|" + Key(section) + "|" + Key(key);
    if (Fails("WritePrivateProfileStringA", entry + "=" + (value ? value : "(null)"))) return FALSE;
    world.profile[entry] = value ? value : "";
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    Fails("Sleep", std::to_string(milliseconds));
    world.sleeps.push_back(milliseconds);
    if (world.onSleep) world.onSleep();
}

} // namespace platform
