// Runs one case by name: driver.exe <case> <build folder> <source folder>.
#include "tests/wine/driver.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    using namespace driver;
    if (argc >= 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const auto& registered : Cases()) std::printf("%s\n", registered.name);
        return 0;
    }
    // For tools/run: close whatever installer window is open, as its user would.
    if (argc >= 2 && std::strcmp(argv[1], "--close-installer") == 0) {
        HWND window = FindWindowA("ProgramInstaller", nullptr);
        if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
        return window != nullptr ? 0 : 1;
    }
    // For tools/monitors-session: how many monitors Wine shows us.
    if (argc >= 2 && std::strcmp(argv[1], "--monitors") == 0) return GetSystemMetrics(SM_CMONITORS);
    if (argc < 4) {
        std::printf("usage: driver <case> <build folder> <source folder> | --list\n");
        return 2;
    }
    SetFolders(argv[2], argv[3]);
    for (const auto& registered : Cases()) {
        if (std::strcmp(registered.name, argv[1]) != 0) continue;
        std::printf("case %s\n", registered.name);
        registered.body();
        std::printf("%s: %d failure(s)\n", registered.name, FailureCount());
        return FailureCount() == 0 ? 0 : 1;
    }
    std::printf("no case named %s\n", argv[1]);
    return 2;
}
