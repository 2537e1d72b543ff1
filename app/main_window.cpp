#include "app/main_window.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "app/translated_resources.h"
#include "install/install_command.h"
#include "install/locations.h"
#include "install/uninstall_command.h"
#include "resources/resource_ids.h"
#include "ui/layout.h"

const char MainClassName[] = "ProgramInstaller";
const char MainMenuName[] = "Menu_1";
const char AppIconName[] = "AppIcon";

BOOL RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = platform::LoadIconA(instance, AppIconName);
    windowClass.hCursor = platform::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNSHADOW + 1));
    windowClass.lpszMenuName = MainMenuName;
    windowClass.lpszClassName = MainClassName;
    return platform::RegisterClassA(&windowClass) != 0;
}

BOOL CreateMainWindow(HINSTANCE instance, int showCommand) {
    app.instance = instance;
    SelectTextLanguage();
    LoadTranslatedString(instance, IDS_WINDOW_TITLE, app.title, sizeof app.title);
    // Null keeps the class menu: a translated one replaces it. Kept by the window.
    const HMENU menu = LoadTranslatedMenu(instance, MainMenuName);
    // A fixed frame with caption and system menu: no minimise, maximise or sizing.
    // The real size and position are set while the window is created.
    HWND window =
        platform::CreateWindowExA(0, MainClassName, app.title, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, nullptr);
    if (window == nullptr) return FALSE;
    platform::ShowWindow(window, showCommand);
    platform::UpdateWindow(window);
    return TRUE;
}

void DispatchCommand(HWND window, UINT id, LPARAM /*control*/, UINT /*notifyCode*/) {
    switch (id) {
    case CmdAbout: ShowMessage(app.instance, IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, MB_OK); break;
    case CmdExit: platform::PostQuitMessage(0); break;
    case CmdInstall: InstallScreenSaver(window); break;
    case CmdUninstall: UninstallScreenSaver(window); break;
    case BtnExit: platform::PostQuitMessage(0); break;
    case BtnInstall: InstallScreenSaver(window); break;
    case BtnUninstall: UninstallScreenSaver(window); break;
    default: break;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    switch (message) {
    case WM_CREATE:
        CreateCommandButtons(window);
        LoadInstallSettings();
        LoadBanner();
        return 0;
    case WM_DESTROY: platform::PostQuitMessage(0); return 0;
    case WM_PAINT: PaintBanner(window); return 0;
    case WM_SHOWWINDOW: return 0;
    case WM_COMMAND: DispatchCommand(window, LOWORD(wordParam), longParam, HIWORD(wordParam)); return 0;
    default: return platform::DefWindowProcA(window, message, wordParam, longParam);
    }
}
