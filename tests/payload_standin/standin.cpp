// The payload while the build has no screen saver of its own: a real program
// of ours, so that the installer never carries a binary of unknown origin. It
// ends at once, whatever it is asked to do.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int /*showCommand*/) {
    return 0;
}
