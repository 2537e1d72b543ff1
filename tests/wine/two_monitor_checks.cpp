// The screen saver on two monitors of different sizes (tools/monitors-session
// sets them up: 2560 x 1440 main, 1920 x 1080 to its right, top-aligned), in
// each of its Monitors choices, checked from a capture of the whole desktop:
// ground along each monitor's bottom, no planet cut by the edge between the
// two, black where a monitor shows no scene. Run only by that session.
#include "tests/wine/capture.h"
#include "tests/wine/driver.h"

#include <vector>

using namespace driver;

namespace {

const char SaverClass[] = "QuorvaneSaverWindow";

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(list)->push_back(info.rcMonitor);
    return TRUE;
}

std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void EndWithAKey(Program& saver) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = VK_SPACE;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    CHECK_EQ(DWORD{0}, saver.WaitForExit(5000));
}

int Red(uint32_t p) { return p >> 16 & 0xFF; }
int Green(uint32_t p) { return p >> 8 & 0xFF; }
int Blue(uint32_t p) { return p & 0xFF; }

// The planet's bands and the rings' gold, never the sky, lights or moon.
bool PlanetColoured(uint32_t p) { return Red(p) > Blue(p) + 60 && Green(p) > Blue(p) + 30; }
bool Rock(uint32_t p) { return Red(p) <= 8 && Green(p) <= 10 && Blue(p) >= 14 && Blue(p) <= 20; }

// What one monitor showed, from the capture of the whole desktop.
struct MonitorLook {
    int rockAlongBottom = 0, width = 0;
    long skyRed = 0, skyBlue = 0; // along the top rows
    int planetPixels = 0, planetAtEdge = 0, nonBlack = 0;
};

MonitorLook Look(const Image& desktop, const RECT& monitor, const RECT& desktopRect) {
    MonitorLook look;
    const int left = monitor.left - desktopRect.left, top = monitor.top - desktopRect.top;
    const int right = monitor.right - desktopRect.left, bottom = monitor.bottom - desktopRect.top;
    look.width = right - left;
    constexpr int Edge = 4;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const uint32_t p = desktop.At(x, y);
            look.nonBlack += p != 0;
            if (!PlanetColoured(p)) continue;
            ++look.planetPixels;
            look.planetAtEdge += x < left + Edge || x >= right - Edge || y < top + Edge;
        }
    for (int x = left; x < right; ++x) {
        look.rockAlongBottom += Rock(desktop.At(x, bottom - 1));
        for (int y = top; y < top + 8; ++y) {
            look.skyRed += Red(desktop.At(x, y));
            look.skyBlue += Blue(desktop.At(x, y));
        }
    }
    return look;
}

struct ModeCase {
    const char* setting; // the preferences file's Monitors value
    const char* name;
    int planets; // how many monitors show a planet
    bool secondBlack;
};

const ModeCase modes[] = {
    {"0", "each", 2, false},
    {"1", "across", 1, false},
    {"2", "main-only", 1, true},
};

RECT Desktop() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Every monitor as the saver should show it in this mode, from a capture of
// the whole desktop now (saved as two-monitors-NAME.bmp in the build folder).
void CheckMonitors(const ModeCase& mode, const char* shotName) {
    const std::vector<RECT> monitors = Monitors();
    const RECT desktop = Desktop();
    const Image shot = CaptureScreen(desktop.left, desktop.top, desktop.right - desktop.left,
                                     desktop.bottom - desktop.top);
    REQUIRE(!shot.Empty());
    SaveBmp(shot, BuildFile(std::string("two-monitors-") + shotName + ".bmp"));
    int planets = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const MonitorLook look = Look(shot, monitors[i], desktop);
        const bool main = monitors[i].left == 0 && monitors[i].top == 0;
        const std::string which = main ? "main monitor" : "second monitor";
        if (!main && mode.secondBlack) {
            CHECK_EQ(0, look.nonBlack);
            continue;
        }
        Note(which + ": rock along the bottom " + std::to_string(look.rockAlongBottom) + " of " +
             std::to_string(look.width) + ", planet pixels " + std::to_string(look.planetPixels));
        CHECK_EQ(look.width, look.rockAlongBottom);
        CHECK(look.skyBlue > look.skyRed + look.width * 8 * 5);
        CHECK_EQ(0, look.planetAtEdge);
        planets += look.planetPixels > 1000;
    }
    CHECK_EQ(mode.planets, planets);
}

std::string PrefsFile() { return WindowsDir() + "\\Quorvane-Prefs.ini"; }

void RunOnTwoMonitors(const ModeCase& mode) {
    Note(std::string("mode ") + mode.name);
    REQUIRE(Monitors().size() == 2);
    WritePrivateProfileStringA("Quorvane", "Monitors", mode.setting, PrefsFile().c_str());
    Program saver(BuildFile("screensaver\\Quorvane.scr"), "/s");
    REQUIRE(WaitForWindow(saver.Id(), SaverClass) != nullptr);
    Sleep(1500); // a few frames
    CheckMonitors(mode, mode.name);
    EndWithAKey(saver);
    DeleteFileA(PrefsFile().c_str());
}

// The second monitor's resolution, as the display settings change it.
bool SetSecondMonitor(int width, int height) {
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    for (DWORD i = 0; EnumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
        if (!(device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) || (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE))
            continue;
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = height;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        return ChangeDisplaySettingsExA(device.DeviceName, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
    }
    return false;
}

} // namespace

WINE_CASE(SaverOnTwoMonitorsInEachChoice) {
    for (const ModeCase& mode : modes) RunOnTwoMonitors(mode);
}

// A resolution change while it runs: the scenes laid out for the new
// monitors, both covered, the saver still running.
WINE_CASE(SaverFollowsAResolutionChange) {
    REQUIRE(Monitors().size() == 2);
    Program saver(BuildFile("screensaver\\Quorvane.scr"), "/s");
    REQUIRE(WaitForWindow(saver.Id(), SaverClass) != nullptr);
    Sleep(1000);
    REQUIRE(SetSecondMonitor(1280, 720));
    Sleep(1500);
    CHECK_EQ(DWORD{STILL_ACTIVE}, saver.WaitForExit(0));
    const std::vector<RECT> monitors = Monitors();
    REQUIRE(monitors.size() == 2);
    Note("second monitor now " + std::to_string(monitors[1].right - monitors[1].left) + " x " +
         std::to_string(monitors[1].bottom - monitors[1].top));
    CheckMonitors(modes[0], "after-change");
    EndWithAKey(saver);
    SetSecondMonitor(1920, 1080);
}
