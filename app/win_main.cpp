#include "app/dll_search.h"
#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int showCommand) {
    HardenDllSearch();
    if (!RegisterMainClass(instance)) return 0;
    if (!CreateMainWindow(instance, showCommand)) return 0;
    MSG message = {};
    BOOL received;
    // -1 is an error, not a message: leave rather than spin on it.
    while ((received = platform::GetMessageA(&message, nullptr, 0, 0)) > 0) {
        platform::TranslateMessage(&message);
        platform::DispatchMessageA(&message);
    }
    return received == 0 ? static_cast<int>(message.wParam) : -1;
}
