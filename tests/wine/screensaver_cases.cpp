// The installed screen saver under Wine: /s over the whole screen and what
// ends it, /p inside another program's window, /c and its preferences file,
// and Uninstall removing both.
#include "tests/wine/driver.h"

#include <memory>

#include "resource_ids.h"
#include "screensaver/screensaver_ids.h"

using namespace driver;

namespace {

const char SaverClass[] = "QuorvaneSaverWindow";
const char SettingsCaption[] = "Quorvane Screen Saver Settings";

std::string InstalledSaver() { return WindowsDir() + "\\Quorvane.scr"; }
std::string PrefsFile() { return WindowsDir() + "\\Quorvane-Prefs.ini"; }

// Keeps the driver's messages flowing while it waits: a preview child's
// creation sends its parent, the driver's window, a notification.
void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

// Installs through the real installer's Install command, as a user would.
bool InstallWithInstaller() {
    RemoveInstalledFiles();
    StartedInstaller installer;
    if (installer.window == nullptr) {
        Fail(__FILE__, __LINE__, "no installer window");
        return false;
    }
    PostCommand(installer.window, CmdInstall);
    ExpectBox(installer, IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, IDOK, 20000);
    ExitInstaller(installer);
    if (!FileExists(InstalledSaver())) return false;
    // The payload is this build's screen saver, not a stand-in.
    CHECK(ReadBytes(InstalledSaver()) == ReadBytes(BuildFile("screensaver\\Quorvane.scr")));
    return true;
}

void UninstallWithInstaller() {
    StartedInstaller installer;
    if (installer.window == nullptr) return Fail(__FILE__, __LINE__, "no installer window");
    PostCommand(installer.window, CmdUninstall);
    ExpectBox(installer, IDS_UNINSTALL_QUESTION, IDS_UNINSTALLER_CAPTION, IDYES);
    ExpectBox(installer, IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, IDOK);
    ExitInstaller(installer);
}

// Starts the installed copy from the Windows directory, as the system does.
class InstalledSaverRun {
  public:
    explicit InstalledSaverRun(const std::string& arguments) {
        char previous[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, previous);
        SetCurrentDirectoryA(WindowsDir().c_str());
        program_.reset(new Program(InstalledSaver(), arguments));
        SetCurrentDirectoryA(previous);
    }
    Program& program() { return *program_; }

  private:
    std::unique_ptr<Program> program_;
};

struct Capture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Capture CaptureScreen() {
    Capture capture;
    capture.width = GetSystemMetrics(SM_CXSCREEN);
    capture.height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, capture.width, capture.height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const uint32_t* first = static_cast<const uint32_t*>(bits);
        capture.pixels.assign(first, first + static_cast<size_t>(capture.width) * capture.height);
        for (uint32_t& pixel : capture.pixels) pixel &= 0xFFFFFFu;
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

// The night sky and the mountains: blue well above red, and not black.
bool LooksLikeTheSaversSky(const Capture& capture, int left, int top) {
    long red = 0, blue = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + 16; ++x) {
            red += capture.At(x, y) >> 16 & 0xFF;
            blue += capture.At(x, y) & 0xFF;
        }
    return blue > red + 5 * 256 && blue < 120 * 256;
}

HWND WaitForSaverWindow(const Program& saver) {
    HWND window = WaitForWindow(saver.Id(), SaverClass);
    // Let it paint a few frames and take the pointer's first position.
    if (window != nullptr) Sleep(800);
    return window;
}

void SendKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

void SendClick() {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
}

void SendMouseMove(int dx, int dy) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

// The installed saver running full screen, ready for input.
void RunFullScreenThen(void (*input)(), bool shouldEnd) {
    // First, so that the files go only after the saver has ended.
    const CleanDirectories clean;
    REQUIRE(InstallWithInstaller());
    InstalledSaverRun run("/s");
    REQUIRE(WaitForSaverWindow(run.program()) != nullptr);
    input();
    if (shouldEnd) {
        CHECK_EQ(DWORD{0}, run.program().WaitForExit(5000));
        return;
    }
    CHECK_EQ(DWORD{STILL_ACTIVE}, run.program().WaitForExit(1500));
    SendKey(VK_SPACE); // and a real key still ends it
    CHECK_EQ(DWORD{0}, run.program().WaitForExit(5000));
}

// A top-level window of the driver to host the preview, like the system's preview box.
HWND CreatePreviewHost(int width, int height) {
    return CreateWindowExA(0, "STATIC", "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND WaitForPreviewChild(HWND host, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        HWND child = FindWindowExA(host, nullptr, SaverClass, nullptr);
        if (child != nullptr) return child;
        PumpFor(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

SIZE ClientSize(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

std::string PrefsValue(const char* key) {
    char text[64] = "";
    GetPrivateProfileStringA("Quorvane", key, "(missing)", text, sizeof text, PrefsFile().c_str());
    return text;
}

HWND WaitForSettingsDialog(const Program& program) {
    HWND dialog = WaitForWindow(program.Id(), "#32770");
    if (dialog != nullptr) CHECK_EQ(std::string(SettingsCaption), WindowText(dialog));
    return dialog;
}

} // namespace

WINE_CASE(SaverCoversTheScreenAndAnimates) {
    // First, so that the files go only after the saver has ended.
    const CleanDirectories clean;
    REQUIRE(InstallWithInstaller());
    const Capture before = CaptureScreen();
    InstalledSaverRun run("/s");
    HWND window = WaitForSaverWindow(run.program());
    REQUIRE(window != nullptr);

    RECT rect = {};
    GetWindowRect(window, &rect);
    CHECK_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), int(rect.left));
    CHECK_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), int(rect.top));
    CHECK_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), int(rect.right - rect.left));
    CHECK_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), int(rect.bottom - rect.top));
    CHECK((GetWindowLongA(window, GWL_STYLE) & WS_POPUP) != 0);
    CHECK((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION);
    CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    CHECK(GetParent(window) == nullptr);

    const Capture first = CaptureScreen();
    Sleep(400);
    const Capture second = CaptureScreen();
    REQUIRE(!first.pixels.empty() && first.pixels.size() == second.pixels.size());
    // Every corner shows the saver's sky or mountains, and the screen changed from before.
    const int right = first.width - 16, bottom = first.height - 16;
    CHECK(LooksLikeTheSaversSky(first, 0, 0));
    CHECK(LooksLikeTheSaversSky(first, right, 0));
    CHECK(LooksLikeTheSaversSky(first, 0, bottom));
    CHECK(LooksLikeTheSaversSky(first, right, bottom));
    CHECK(before.pixels != first.pixels);
    size_t changed = 0;
    for (size_t i = 0; i < first.pixels.size(); ++i) changed += first.pixels[i] != second.pixels[i];
    Note("pixels changed between the captures: " + std::to_string(changed));
    CHECK(changed > first.pixels.size() / 500);

    SendKey(VK_SPACE);
    CHECK_EQ(DWORD{0}, run.program().WaitForExit(5000));
}

WINE_CASE(SaverEndsOnKeyPress) {
    RunFullScreenThen([] { SendKey('A'); }, true);
}
WINE_CASE(SaverEndsOnClick) { RunFullScreenThen(SendClick, true); }
WINE_CASE(SaverEndsOnLargeMouseMove) {
    RunFullScreenThen([] { SendMouseMove(40, 25); }, true);
}
WINE_CASE(SaverIgnoresTinyMouseMove) {
    RunFullScreenThen([] { SendMouseMove(2, -2); }, false);
}

WINE_CASE(PreviewIsAChildOfTheGivenWindowAndEndsWithIt) {
    // First, so that the files go only after the saver has ended.
    const CleanDirectories clean;
    REQUIRE(InstallWithInstaller());
    HWND host = CreatePreviewHost(320, 260);
    REQUIRE(host != nullptr);
    InstalledSaverRun run("/p " + std::to_string(reinterpret_cast<UINT_PTR>(host)));
    HWND child = WaitForPreviewChild(host, 10000);
    REQUIRE(child != nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    CHECK_EQ(run.program().Id(), owner);
    CHECK(GetParent(child) == host);
    CHECK((GetWindowLongA(child, GWL_STYLE) & WS_CHILD) != 0);
    CHECK(IsWindowVisible(child));
    CHECK(TopLevelWindows(run.program().Id(), SaverClass, false).empty());
    CHECK_EQ(ClientSize(host).cx, ClientSize(child).cx);
    CHECK_EQ(ClientSize(host).cy, ClientSize(child).cy);

    // A preview ignores the user's input: it is not the running screen saver.
    SendMouseMove(60, 60);
    PumpFor(800);
    CHECK_EQ(DWORD{STILL_ACTIVE}, run.program().WaitForExit(0));

    // It takes its parent's new size.
    MoveWindow(host, 40, 40, 400, 330, TRUE);
    PumpFor(800);
    CHECK_EQ(ClientSize(host).cx, ClientSize(child).cx);
    CHECK_EQ(ClientSize(host).cy, ClientSize(child).cy);

    DestroyWindow(host);
    DWORD exitCode = STILL_ACTIVE;
    for (int i = 0; i < 50 && exitCode == STILL_ACTIVE; ++i) {
        PumpFor(100);
        exitCode = run.program().WaitForExit(0);
    }
    CHECK_EQ(DWORD{0}, exitCode);
}

WINE_CASE(PreviewWithoutAUsableWindowEndsAtOnce) {
    // First, so that the files go only after the saver has ended.
    const CleanDirectories clean;
    REQUIRE(InstallWithInstaller());
    for (const char* arguments : {"/p", "/p 0", "/p 12345678"}) {
        InstalledSaverRun run(arguments);
        CHECK_EQ(DWORD{1}, run.program().WaitForExit(5000));
    }
}

WINE_CASE(SettingsDialogSavesThePreferencesAndUninstallRemovesThem) {
    // First, so that the files go only after the saver has ended.
    const CleanDirectories clean;
    REQUIRE(InstallWithInstaller());
    CHECK(!FileExists(PrefsFile()));
    {
        InstalledSaverRun run("/c");
        HWND dialog = WaitForSettingsDialog(run.program());
        REQUIRE(dialog != nullptr);
        // No file yet: the defaults are shown.
        CHECK_EQ(LRESULT{2}, SendDlgItemMessageA(dialog, IDC_SPEED, CB_GETCURSEL, 0, 0));
        CHECK_EQ(LRESULT{5}, SendDlgItemMessageA(dialog, IDC_SPEED, CB_GETCOUNT, 0, 0));
        CHECK_EQ(LRESULT{3}, SendDlgItemMessageA(dialog, IDC_STARS, CB_GETCOUNT, 0, 0));
        CHECK_EQ(LRESULT{BST_CHECKED}, SendDlgItemMessageA(dialog, IDC_NORTHERN_LIGHTS, BM_GETCHECK, 0, 0));
        CHECK_EQ(LRESULT{0}, SendDlgItemMessageA(dialog, IDC_MONITORS, CB_GETCURSEL, 0, 0));
        CHECK_EQ(LRESULT{3}, SendDlgItemMessageA(dialog, IDC_MONITORS, CB_GETCOUNT, 0, 0));
        SendDlgItemMessageA(dialog, IDC_MONITORS, CB_SETCURSEL, 2, 0);
        SendDlgItemMessageA(dialog, IDC_SPEED, CB_SETCURSEL, 4, 0);
        SendDlgItemMessageA(dialog, IDC_STARS, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageA(dialog, IDC_NORTHERN_LIGHTS, BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        CHECK_EQ(DWORD{0}, run.program().WaitForExit(5000));
    }
    REQUIRE(FileExists(PrefsFile()));
    CHECK_EQ(std::string("5"), PrefsValue("Speed"));
    CHECK_EQ(std::string("1"), PrefsValue("Stars"));
    CHECK_EQ(std::string("0"), PrefsValue("NorthernLights"));
    CHECK_EQ(std::string("2"), PrefsValue("Monitors"));

    // The next /c:<owner> shows what was saved.
    {
        InstalledSaverRun run("/c:" + std::to_string(reinterpret_cast<UINT_PTR>(GetDesktopWindow())));
        HWND dialog = WaitForSettingsDialog(run.program());
        REQUIRE(dialog != nullptr);
        CHECK_EQ(LRESULT{4}, SendDlgItemMessageA(dialog, IDC_SPEED, CB_GETCURSEL, 0, 0));
        CHECK_EQ(LRESULT{0}, SendDlgItemMessageA(dialog, IDC_STARS, CB_GETCURSEL, 0, 0));
        CHECK_EQ(LRESULT{BST_UNCHECKED}, SendDlgItemMessageA(dialog, IDC_NORTHERN_LIGHTS, BM_GETCHECK, 0, 0));
        CHECK_EQ(LRESULT{2}, SendDlgItemMessageA(dialog, IDC_MONITORS, CB_GETCURSEL, 0, 0));
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        CHECK_EQ(DWORD{0}, run.program().WaitForExit(5000));
    }

    UninstallWithInstaller();
    CHECK(!FileExists(InstalledSaver()));
    CHECK(!FileExists(PrefsFile()));
}

WINE_CASE(SettingsCancelWritesNothing) {
    // First, so that the files go only after the saver has ended.
    const CleanDirectories clean;
    REQUIRE(InstallWithInstaller());
    for (const char* arguments : {"", "/c", "/x"}) {
        InstalledSaverRun run(arguments);
        HWND dialog = WaitForSettingsDialog(run.program());
        REQUIRE(dialog != nullptr);
        SendDlgItemMessageA(dialog, IDC_SPEED, CB_SETCURSEL, 0, 0);
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        CHECK_EQ(DWORD{0}, run.program().WaitForExit(5000));
    }
    CHECK(!FileExists(PrefsFile()));
}

// Named Quorvane, and drawn at a scaled display's real resolution: per-monitor
// DPI awareness, and no requested execution level, which would turn off the
// file virtualization its settings rely on for a standard user.
WINE_CASE(SaverResourcesNameItAndDeclareDpiAwareness) {
    HMODULE module = LoadLibraryExA(BuildFile("screensaver\\Quorvane.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    char name[64] = "";
    LoadStringA(module, IDS_SAVER_NAME, name, sizeof name);
    CHECK_EQ(std::string("Quorvane"), std::string(name));
    CHECK(FindResourceA(module, MAKEINTRESOURCEA(DLG_SETTINGS), RT_DIALOG) != nullptr);
    CHECK(FindResourceA(module, MAKEINTRESOURCEA(IDI_SAVER), RT_GROUP_ICON) != nullptr);
    CHECK(FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION) != nullptr);
    HRSRC manifest = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    REQUIRE(manifest != nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    const std::string text(bytes, SizeofResource(module, manifest));
    CHECK(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>") != std::string::npos);
    CHECK(text.find(">true/pm</dpiAware>") != std::string::npos);
    CHECK(text.find("requestedExecutionLevel") == std::string::npos);
    FreeLibrary(module);
}
