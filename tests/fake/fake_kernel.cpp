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

std::string Parent(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The pseudo-handle Windows gives for the calling process.
const HANDLE CurrentProcess = reinterpret_cast<HANDLE>(intptr_t(-1));

// Found through GetProcAddress, as the program finds the real ones.
BOOL WINAPI SetDefaultDllDirectoriesStandIn(DWORD directoryFlags) {
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%lx", static_cast<unsigned long>(directoryFlags));
    return !Fails("SetDefaultDllDirectories", flags);
}

BOOL WINAPI IsWow64ProcessStandIn(HANDLE process, PBOOL wow64) {
    if (Fails("IsWow64Process") || process != CurrentProcess) return FALSE;
    *wow64 = world.knobs.wow64;
    return TRUE;
}

const HMODULE KernelModule = AsHandle<HMODULE>(StockHandle(Stock::KernelModule));

// A translated resource is kept under its name and language.
std::string TranslatedKey(LPCSTR name, WORD language) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "@%04X", language);
    return ResourceKey(name) + suffix;
}

} // namespace

void AddTranslatedResource(LPCSTR name, LPCSTR type, WORD language, const Bytes& bytes) {
    AddResource(TranslatedKey(name, language).c_str(), type, bytes);
}

void AddResource(LPCSTR name, LPCSTR type, const Bytes& bytes) {
    Block block{std::unique_ptr<uint8_t[]>(new uint8_t[std::max<size_t>(bytes.size(), 1)]), bytes.size()};
    std::copy(bytes.begin(), bytes.end(), block.bytes.get());
    world.state.resources[{ResourceKey(name), ResourceKey(type)}] = std::move(block);
}

void AddFile(const std::string& path, const Bytes& bytes) {
    world.state.files[Key(path)] = FileRecord{bytes, false, true};
}

void AddDirectory(const std::string& path) { world.state.files[Key(path)] = FileRecord{{}, true, true}; }

bool FileExists(const std::string& path) {
    auto found = world.state.files.find(Key(path));
    return found != world.state.files.end() && !found->second.directory;
}

const Bytes* FileBytes(const std::string& path) {
    auto found = world.state.files.find(Key(path));
    return found != world.state.files.end() && !found->second.directory ? &found->second.bytes : nullptr;
}

} // namespace fake

namespace platform {

HRSRC FindResourceA(HMODULE /*module*/, LPCSTR name, LPCSTR type) {
    const ResourceName key{ResourceKey(name), ResourceKey(type)};
    if (Fails("FindResourceA", key.first + " " + key.second) || world.state.resources.count(key) == 0) return nullptr;
    const uintptr_t handle = world.state.handles.Issue(Kind::FoundResource);
    world.state.foundResources[handle] = key;
    return AsHandle<HRSRC>(handle);
}

HRSRC FindResourceExA(HMODULE /*module*/, LPCSTR type, LPCSTR name, WORD language) {
    const ResourceName key{TranslatedKey(name, language), ResourceKey(type)};
    if (Fails("FindResourceExA", key.first + " " + key.second) || world.state.resources.count(key) == 0) return nullptr;
    const uintptr_t handle = world.state.handles.Issue(Kind::FoundResource);
    world.state.foundResources[handle] = key;
    return AsHandle<HRSRC>(handle);
}

LANGID GetUserDefaultUILanguage() {
    Fails("GetUserDefaultUILanguage");
    return world.knobs.userInterfaceLanguage;
}

LANGID SetThreadUILanguage(LANGID language) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", language);
    Fails("SetThreadUILanguage", text);
    return language;
}

UINT GetACP() {
    Fails("GetACP");
    return world.knobs.ansiCodePage;
}

// Latin-1 only, enough for the tests' texts: anything else becomes '?'.
int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR text, int length, LPSTR buffer, int bufferSize,
                        LPCSTR /*defaultChar*/, LPBOOL /*usedDefaultChar*/) {
    if (Fails("WideCharToMultiByte", std::to_string(codePage)) || length < 0) return 0;
    if (bufferSize == 0) return length;
    if (length > bufferSize) return 0; // ERROR_INSUFFICIENT_BUFFER
    for (int i = 0; i < length; ++i) buffer[i] = text[i] < 0x100 ? static_cast<char>(text[i]) : '?';
    return length;
}

namespace {
const fake::Block* BlockOf(const std::map<uintptr_t, ResourceName>& handles, uintptr_t handle) {
    auto name = handles.find(handle);
    if (name == handles.end()) return nullptr;
    auto found = world.state.resources.find(name->second);
    return found != world.state.resources.end() ? &found->second : nullptr;
}
} // namespace

DWORD SizeofResource(HMODULE /*module*/, HRSRC resource) {
    if (Fails("SizeofResource")) return 0;
    const auto* block = BlockOf(world.state.foundResources, ValueOf(resource));
    return block ? static_cast<DWORD>(block->size) : 0;
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) {
    auto found = world.state.foundResources.find(ValueOf(resource));
    if (Fails("LoadResource") || found == world.state.foundResources.end()) return nullptr;
    const uintptr_t handle = world.state.handles.Issue(Kind::LoadedResource);
    world.state.loadedResources[handle] = found->second;
    return AsHandle<HGLOBAL>(handle);
}

LPVOID LockResource(HGLOBAL resourceData) {
    if (Fails("LockResource")) return nullptr;
    const auto* block = BlockOf(world.state.loadedResources, ValueOf(resourceData));
    return block ? block->bytes.get() : nullptr;
}

BOOL FreeResource(HGLOBAL /*resourceData*/) {
    Fails("FreeResource");
    ++world.record.resourcesFreed;
    return FALSE;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (Fails("GlobalAlloc", std::to_string(bytes))) return nullptr;
    Block block{std::unique_ptr<uint8_t[]>(new uint8_t[std::max<SIZE_T>(bytes, 1)]), bytes, 0};
    std::memset(block.bytes.get(), (flags & GMEM_ZEROINIT) != 0 ? 0 : 0xA5, bytes);
    const uintptr_t handle = world.state.handles.Issue(Kind::GlobalBlock);
    world.state.globalBlocks[handle] = std::move(block);
    return AsHandle<HGLOBAL>(handle);
}

LPVOID GlobalLock(HGLOBAL memory) {
    auto found = world.state.globalBlocks.find(ValueOf(memory));
    if (Fails("GlobalLock") || found == world.state.globalBlocks.end()) return nullptr;
    ++found->second.locks;
    return found->second.bytes.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    Fails("GlobalUnlock");
    auto found = world.state.globalBlocks.find(ValueOf(memory));
    if (found == world.state.globalBlocks.end() || found->second.locks == 0) return FALSE;
    return --found->second.locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    Fails("GlobalFree");
    auto found = world.state.globalBlocks.find(ValueOf(memory));
    if (found == world.state.globalBlocks.end()) return memory;
    world.state.globalBlocks.erase(found);
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
    return CopyDirectory("GetSystemDirectoryA", world.knobs.systemDirectory, buffer, size);
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return CopyDirectory("GetWindowsDirectoryA", world.knobs.windowsDirectory, buffer, size);
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
        IS_INTRESOURCE(procName))
        return nullptr;
    if (std::strcmp(procName, "SetDefaultDllDirectories") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SetDefaultDllDirectoriesStandIn));
    if (std::strcmp(procName, "IsWow64Process") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&IsWow64ProcessStandIn));
    return nullptr;
}

HANDLE GetCurrentProcess() { return CurrentProcess; }

BOOL SetDllDirectoryA(LPCSTR path) {
    return !Fails("SetDllDirectoryA", path ? std::string("\"") + path + "\"" : "null");
}

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE /*reserved*/, DWORD flags) {
    if (Fails("LoadLibraryExA", std::string(fileName) + " " + std::to_string(flags))) return nullptr;
    return AsHandle<HMODULE>(world.state.handles.Issue(Kind::Module));
}

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD /*shareMode*/, LPSECURITY_ATTRIBUTES /*security*/,
                   DWORD disposition, DWORD /*flags*/, HANDLE /*templateFile*/) {
    if (Fails("CreateFileA", Key(fileName))) return INVALID_HANDLE_VALUE;
    const std::string key = Key(fileName);
    auto existing = world.state.files.find(key);
    if (existing != world.state.files.end() && (existing->second.directory || !existing->second.deletable))
        return INVALID_HANDLE_VALUE;
    // Every open here shares nothing: a second open of a file still open fails.
    for (const auto& other : world.state.openFiles)
        if (other.second.open && other.second.path == key) return INVALID_HANDLE_VALUE;
    if ((access == GENERIC_READ || access == DELETE) && disposition == OPEN_EXISTING) {
        if (existing == world.state.files.end()) return INVALID_HANDLE_VALUE;
        const uintptr_t handle = world.state.handles.Issue(Kind::File);
        OpenedFile& opened = world.state.openFiles[handle] = {key, true, access == GENERIC_READ};
        opened.forDeleting = access == DELETE;
        return AsHandle<HANDLE>(handle);
    }
    const std::string parent = Parent(key);
    if ((access & GENERIC_WRITE) == 0 || disposition != CREATE_ALWAYS) return INVALID_HANDLE_VALUE;
    if (!parent.empty() && parent.size() > 2) {
        auto directory = world.state.files.find(parent);
        const bool known = parent == Key(world.knobs.windowsDirectory) || parent == Key(world.knobs.systemDirectory) ||
                           (directory != world.state.files.end() && directory->second.directory);
        if (!known) return INVALID_HANDLE_VALUE;
    }
    world.state.files[key] = FileRecord{};
    const uintptr_t handle = world.state.handles.Issue(Kind::File);
    world.state.openFiles[handle] = {key, true};
    return AsHandle<HANDLE>(handle);
}

namespace {
OpenedFile* Open(HANDLE file) {
    auto found = world.state.openFiles.find(ValueOf(file));
    return found != world.state.openFiles.end() && found->second.open ? &found->second : nullptr;
}
} // namespace

BOOL WriteFile(HANDLE file, LPCVOID data, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED /*overlapped*/) {
    if (bytesWritten) *bytesWritten = 0;
    OpenedFile* open = Open(file);
    if (Fails("WriteFile", std::to_string(bytesToWrite)) || open == nullptr || open->forReading) return FALSE;
    const DWORD count = bytesToWrite - std::min(world.knobs.shortWriteBy, bytesToWrite);
    Bytes& target = world.state.files[open->path].bytes;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    target.insert(target.end(), bytes, bytes + count);
    if (bytesWritten) *bytesWritten = count;
    return TRUE;
}

BOOL ReadFile(HANDLE file, LPVOID data, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED /*overlapped*/) {
    if (bytesRead) *bytesRead = 0;
    OpenedFile* open = Open(file);
    if (Fails("ReadFile", std::to_string(bytesToRead)) || open == nullptr || !open->forReading) return FALSE;
    const Bytes& source = world.state.files[open->path].bytes;
    const size_t count = std::min<size_t>(bytesToRead, source.size() - std::min(open->position, source.size()));
    std::copy(source.begin() + open->position, source.begin() + open->position + count, static_cast<uint8_t*>(data));
    open->position += count;
    if (bytesRead) *bytesRead = static_cast<DWORD>(count);
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    OpenedFile* open = Open(handle);
    if (Fails("CloseHandle") || open == nullptr) return FALSE;
    open->open = false;
    if (open->deleteOnClose) world.state.files.erase(open->path);
    return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName) {
    if (Fails("DeleteFileA", Key(fileName))) return FALSE;
    auto found = world.state.files.find(Key(fileName));
    if (found == world.state.files.end() || found->second.directory || !found->second.deletable) return FALSE;
    world.state.files.erase(found);
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
    // A null value removes the key.
    if (value == nullptr)
        world.state.profile.erase(entry);
    else
        world.state.profile[entry] = value;
    return TRUE;
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
    const std::string entry = Key(fileName) + "|" + Key(section) + "|" + Key(key);
    if (size == 0) return 0;
    auto found = world.state.profile.find(entry);
    std::string value = found != world.state.profile.end() ? found->second : (defaultValue ? defaultValue : "");
    if (Fails("GetPrivateProfileStringA", entry)) value.clear();
    // Cut to fit, as the platform does.
    value.resize(std::min<size_t>(value.size(), size - 1));
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return static_cast<DWORD>(value.size());
}

HRESULT SHGetFolderPathA(HWND /*owner*/, int folder, HANDLE /*token*/, DWORD flags, LPSTR path) {
    if (Fails("SHGetFolderPathA", std::to_string(folder) + " " + std::to_string(flags)) ||
        world.knobs.localAppData.empty() || folder != 0x001c /* CSIDL_LOCAL_APPDATA */)
        return E_FAIL;
    const std::string& value = world.knobs.localAppData;
    std::memcpy(path, value.c_str(), std::min<size_t>(value.size() + 1, MAX_PATH));
    path[MAX_PATH - 1] = '\0';
    return S_OK;
}

DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR path, DWORD size, DWORD flags) {
    OpenedFile* open = Open(file);
    if (Fails("GetFinalPathNameByHandleA", std::to_string(flags)) || open == nullptr) return 0;
    auto junction = world.knobs.finalPaths.find(open->path);
    const std::string finalPath = junction != world.knobs.finalPaths.end() ? junction->second : "\\\\?\\" + open->path;
    // Length on success, the size needed (buffer untouched) when too small.
    if (finalPath.size() + 1 > size) return static_cast<DWORD>(finalPath.size() + 1);
    std::memcpy(path, finalPath.c_str(), finalPath.size() + 1);
    return static_cast<DWORD>(finalPath.size());
}

BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS infoClass, LPVOID info, DWORD size) {
    OpenedFile* open = Open(file);
    if (Fails("SetFileInformationByHandle", open ? open->path : "") || open == nullptr || !open->forDeleting ||
        infoClass != FileDispositionInfo || size != sizeof(FILE_DISPOSITION_INFO))
        return FALSE;
    // Its one field, DeleteFile, which the header's DeleteFile macro renames after the fact.
    open->deleteOnClose = *static_cast<const BOOLEAN*>(info) != FALSE;
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    const std::string from = Key(existingName);
    if (Fails("MoveFileExA", from + " " + (newName ? Key(newName) : "(restart)") + " " + std::to_string(flags)))
        return FALSE;
    auto source = world.state.files.find(from);
    if (source == world.state.files.end() || source->second.directory) return FALSE;
    if (newName == nullptr) {
        if ((flags & MOVEFILE_DELAY_UNTIL_REBOOT) == 0) return FALSE;
        world.state.deleteAtRestart.push_back(from);
        return TRUE;
    }
    const std::string to = Key(newName);
    // Opened elsewhere, sharing nothing: neither name can change.
    for (const auto& other : world.state.openFiles)
        if (other.second.open && (other.second.path == from || other.second.path == to)) return FALSE;
    if (!source->second.deletable) return FALSE;
    auto target = world.state.files.find(to);
    if (target != world.state.files.end()) {
        if (target->second.directory || !target->second.deletable || (flags & MOVEFILE_REPLACE_EXISTING) == 0)
            return FALSE;
        world.state.files.erase(target);
    }
    FileRecord moved = std::move(world.state.files[from]);
    world.state.files.erase(from);
    world.state.files[to] = std::move(moved);
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    Fails("Sleep", std::to_string(milliseconds));
    world.record.sleeps.push_back(milliseconds);
    if (world.knobs.onSleep) world.knobs.onSleep();
}

} // namespace platform
