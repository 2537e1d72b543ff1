// The floor of install work: write the payload's bytes to a file and expand it
// with LZ32 once, as the installer does, with nothing else around it.
//   lz_floor.exe <SZDD file> <compressed path> <expanded path>
// Reads the SZDD file into memory first (not timed), then prints on its
// standard output, in microseconds:
//   load_us=<LZ32 bound> write_us=<file written> expand_us=<expanded> expanded=<bytes>
// Exits 0 when the expansion gave a positive byte count.
#include <windows.h>

#include <cstdlib>

namespace {

using OpenFileCall = INT(WINAPI*)(LPSTR, LPOFSTRUCT, WORD);
using CopyCall = LONG(WINAPI*)(INT, INT);
using CloseCall = void(WINAPI*)(INT);

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

DWORD Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<DWORD>((to.QuadPart - from.QuadPart) * 1000000 / frequency.QuadPart);
}

// The installer binds LZ32 by its System-directory path on first use; so does the floor.
HMODULE LoadLz32() {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH - 12);
    if (length == 0 || length >= MAX_PATH - 12) return nullptr;
    lstrcpyA(path + length, "\\lz32.dll");
    return LoadLibraryA(path);
}

template <typename Call> Call Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool ReadWhole(const char* path, char*& bytes, DWORD& size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    size = GetFileSize(file, nullptr);
    bytes = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size ? size : 1));
    DWORD got = 0;
    const bool read = bytes != nullptr && ReadFile(file, bytes, size, &got, nullptr) && got == size;
    CloseHandle(file);
    return read;
}

} // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int /*show*/) {
    if (__argc != 4) return 2;
    char* payload = nullptr;
    DWORD payloadSize = 0;
    if (!ReadWhole(__argv[1], payload, payloadSize)) return 3;

    const LARGE_INTEGER started = Now();
    HMODULE lz32 = LoadLz32();
    const auto openFile = Bind<OpenFileCall>(lz32, "LZOpenFileA");
    const auto copy = Bind<CopyCall>(lz32, "LZCopy");
    const auto close = Bind<CloseCall>(lz32, "LZClose");
    if (!openFile || !copy || !close) return 4;
    const LARGE_INTEGER bound = Now();

    HANDLE file = CreateFileA(__argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DWORD written = 0;
    const bool wrote = file != INVALID_HANDLE_VALUE && WriteFile(file, payload, payloadSize, &written, nullptr) &&
                       written == payloadSize;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!wrote) return 5;
    const LARGE_INTEGER stored = Now();

    OFSTRUCT openInfo = {};
    const INT source = openFile(__argv[2], &openInfo, OF_READ);
    const INT target = openFile(__argv[3], &openInfo, OF_CREATE);
    const LONG expanded = copy(source, target);
    close(source);
    close(target);
    const LARGE_INTEGER done = Now();

    char line[160];
    const int length =
        wsprintfA(line, "load_us=%lu write_us=%lu expand_us=%lu expanded=%ld\n", Microseconds(started, bound),
                  Microseconds(bound, stored), Microseconds(stored, done), expanded);
    DWORD printed = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, length, &printed, nullptr);
    return expanded > 0 ? 0 : 6;
}
