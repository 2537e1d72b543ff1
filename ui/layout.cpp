#include "ui/layout.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "app/translated_resources.h"
#include "resources/resource_ids.h"
#include "ui/resource_dib.h"

#include <cstring>

const char BannerName[] = "installBMP";

namespace {

constexpr int ButtonRow = 184;
constexpr int BannerRow = 11;
constexpr int MinimumButtonWidth = 57;
constexpr int MinimumButtonHeight = 25;

const ButtonSpec buttonSpecs[3] = {
    {"button", "", 10, ButtonRow, 0, 0},
    {"button", "", 0, ButtonRow, 0, 0},
    {"button", "", 0, ButtonRow, 0, 0},
};
const UINT buttonTextIds[3] = {IDS_INSTALL_BUTTON, IDS_UNINSTALL_BUTTON, IDS_EXIT_BUTTON};
const int buttonCommandIds[3] = {BtnInstall, BtnUninstall, BtnExit};

void CreateButton(HWND mainWindow, const ButtonSpec& spec, int commandId) {
    const HWND button = platform::CreateWindowExA(
        0, spec.ClassName, spec.Text, WS_CHILD | WS_VISIBLE, spec.X, spec.Y, spec.Width, spec.Height, mainWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandId)), app.instance, nullptr);
    platform::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(platform::GetStockObject(DEFAULT_GUI_FONT)), 0);
}

} // namespace

void CreateCommandButtons(HWND mainWindow) {
    ButtonSpec buttons[3];
    std::memcpy(buttons, buttonSpecs, sizeof buttons);
    for (int i = 0; i < 3; ++i) {
        char text[50] = "";
        LoadTranslatedString(app.instance, buttonTextIds[i], text, sizeof text);
        std::memcpy(buttons[i].Text, text, sizeof text);
    }

    MeasureButton(mainWindow, buttons[0]);
    CreateButton(mainWindow, buttons[0], buttonCommandIds[0]);
    MeasureButton(mainWindow, buttons[1]);
    buttons[1].X = buttons[0].X + buttons[0].Width + 10;
    CreateButton(mainWindow, buttons[1], buttonCommandIds[1]);
    MeasureButton(mainWindow, buttons[2]);
    buttons[2].X = buttons[1].X + buttons[1].Width + 20;
    CreateButton(mainWindow, buttons[2], buttonCommandIds[2]);

    // One frame metric each way, and the height from the last button alone.
    const ButtonSpec& last = buttons[2];
    const int width = platform::GetSystemMetrics(SM_CXFRAME) + last.X + last.Width + 10;
    const int height = platform::GetSystemMetrics(SM_CYCAPTION) + platform::GetSystemMetrics(SM_CYMENU) +
                       platform::GetSystemMetrics(SM_CYFRAME) + last.Y + last.Height + 10;
    CenterWindowOnScreen(mainWindow, width, height);
}

void MeasureButton(HWND mainWindow, ButtonSpec& spec) {
    HDC dc = platform::GetDC(mainWindow);
    HGDIOBJ previousFont = platform::SelectObject(dc, platform::GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {0, 0};
    platform::GetTextExtentPoint32A(dc, spec.Text, static_cast<int>(std::strlen(spec.Text)), &extent);
    platform::SelectObject(dc, previousFont);
    platform::ReleaseDC(mainWindow, dc);

    spec.Width = extent.cx + 20;
    spec.Height = extent.cy + 10;
    if (spec.Width < MinimumButtonWidth) spec.Width = MinimumButtonWidth;
    if (spec.Height < MinimumButtonHeight) spec.Height = MinimumButtonHeight;
}

void CenterWindowOnScreen(HWND window, int width, int height) {
    HDC screen = platform::GetDC(nullptr);
    const int screenWidth = platform::GetDeviceCaps(screen, HORZRES);
    const int screenHeight = platform::GetDeviceCaps(screen, VERTRES);
    platform::ReleaseDC(nullptr, screen);

    int x = 0;
    int y = 0;
    if (width == 0)
        width = screenWidth;
    else
        x = (screenWidth - width) / 2;
    if (height == 0)
        height = screenHeight;
    else
        y = (screenHeight - height) / 2;
    platform::MoveWindow(window, x, y, width, height, TRUE);
}

void LoadBanner() {
    if (!banner.LoadFromResource(app.instance, BannerName, RT_BITMAP))
        ShowMessage(app.instance, IDS_BANNER_NOT_FOUND, IDS_RESOURCE_ERROR_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}

void PaintBanner(HWND mainWindow) {
    RECT client = {0, 0, 0, 0};
    platform::GetClientRect(mainWindow, &client);
    PAINTSTRUCT paint;
    HDC dc = platform::BeginPaint(mainWindow, &paint);
    if (banner.Header != nullptr) {
        platform::SelectPalette(dc, banner.GetPalette(), FALSE);
        platform::RealizePalette(dc);
        const LONG width = banner.Header->biWidth;
        const LONG height = banner.Header->biHeight;
        platform::StretchDIBits(dc, (client.right - width) / 2, BannerRow, width, height, 0, 0, width, height,
                                banner.Bits(), reinterpret_cast<const BITMAPINFO*>(banner.Header), DIB_RGB_COLORS,
                                SRCCOPY);
    }
    platform::EndPaint(mainWindow, &paint);
}
