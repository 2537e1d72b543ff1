// Process start. The installer passes SW_SHOWDEFAULT whatever the launching
// program asked for: Windows applies that request at the first ShowWindow.
#include "platform/platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

int main() {
    char noCommandLine[] = "";
    return WinMain(::GetModuleHandleA(nullptr), nullptr, noCommandLine, SW_SHOWDEFAULT);
}
