// The real window's buttons, size, place and banner, against the layout rules computed here from
// this session's own metrics and the default GUI font.
#include "tests/wine/capture.h"
#include "tests/wine/driver.h"
#include "tests/wine/module_resources.h"

#include "resource_ids.h"

#include <algorithm>
#include <cstdio>

using namespace driver;

namespace {

struct Layout {
    RECT buttons[3]; // client coordinates of Install, Uninstall, Exit
    int x, y, width, height;
};

Layout ExpectedLayout() {
    Layout layout = {};
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const unsigned textIds[3] = {IDS_INSTALL_BUTTON, IDS_UNINSTALL_BUTTON, IDS_EXIT_BUTTON};
    const int gapBefore[3] = {0, 10, 20};
    for (int i = 0; i < 3; ++i) {
        const std::string text = ScriptString(textIds[i]);
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
        const int left = i == 0 ? 10 : int(layout.buttons[i - 1].right) + gapBefore[i];
        layout.buttons[i] = {left, 184, left + std::max(int(extent.cx) + 20, 57),
                             184 + std::max(int(extent.cy) + 10, 25)};
    }
    const int screenWidth = GetDeviceCaps(dc, HORZRES);
    const int screenHeight = GetDeviceCaps(dc, VERTRES);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);

    const RECT& exit = layout.buttons[2];
    layout.width = GetSystemMetrics(SM_CXFRAME) + exit.right + 10;
    layout.height =
        GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYFRAME) + exit.bottom + 10;
    layout.x = (screenWidth - layout.width) / 2;
    layout.y = (screenHeight - layout.height) / 2;
    return layout;
}

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           "x" + std::to_string(rect.bottom - rect.top);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

// Client-area pixels of the window, from the screen.
Image CaptureClient(HWND window, int left, int top, int width, int height) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return CaptureScreen(origin.x + left, origin.y + top, width, height);
}

int Mismatches(const Image& expected, const Image& actual, std::string& first) {
    int count = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (expected.At(x, y) != actual.At(x, y) && count++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "first at %d,%d: expected %06X got %06X", x, y,
                              unsigned(expected.At(x, y)), unsigned(actual.At(x, y)));
                first = text;
            }
    return count;
}

} // namespace

WINE_CASE(WindowIsSizedFromTheButtonsAndCentred) {
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    const Layout expected = ExpectedLayout();
    RECT actual = {};
    GetWindowRect(installer.window, &actual);
    const RECT wanted = {expected.x, expected.y, expected.x + expected.width, expected.y + expected.height};
    Note("window " + Describe(actual) + ", by the rules " + Describe(wanted));
    CHECK_EQ(Describe(wanted), Describe(actual));
    ExitInstaller(installer);
}

WINE_CASE(ButtonsHaveTheirTextsIdsAndPlaces) {
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    const Layout expected = ExpectedLayout();
    std::vector<HWND> children;
    EnumChildWindows(installer.window, CollectChild, reinterpret_cast<LPARAM>(&children));
    REQUIRE(children.size() == 3);
    const unsigned textIds[3] = {IDS_INSTALL_BUTTON, IDS_UNINSTALL_BUTTON, IDS_EXIT_BUTTON};
    const int commandIds[3] = {BtnInstall, BtnUninstall, BtnExit};
    for (int i = 0; i < 3; ++i) {
        HWND button = GetDlgItem(installer.window, commandIds[i]);
        REQUIRE(button != nullptr);
        CHECK(std::find(children.begin(), children.end(), button) != children.end());
        CHECK(GetParent(button) == installer.window);
        CHECK_EQ(std::string("Button"), ClassOf(button));
        CHECK_EQ(ScriptString(textIds[i]), WindowText(button));
        CHECK_EQ(commandIds[i], GetDlgCtrlID(button));
        CHECK_EQ(LONG(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON), GetWindowLongA(button, GWL_STYLE) & ~WS_CLIPSIBLINGS);
        RECT place = {};
        GetWindowRect(button, &place);
        MapWindowPoints(HWND_DESKTOP, installer.window, reinterpret_cast<POINT*>(&place), 2);
        CHECK_EQ(Describe(expected.buttons[i]), Describe(place));
    }
    ExitInstaller(installer);
}

WINE_CASE(BannerOnScreenEqualsTheBitmap) {
    const std::vector<uint8_t> carried = ReadBanner(Installer());
    const std::vector<uint8_t> file = ReadBytes(SourceFile("resources\\banner.bmp"));
    REQUIRE(file.size() > sizeof(BITMAPFILEHEADER));
    CHECK(carried == std::vector<uint8_t>(file.begin() + sizeof(BITMAPFILEHEADER), file.end()));
    const Image banner = RenderPackedDib(carried);
    REQUIRE(banner.width == 325 && banner.height == 165);

    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    RECT client = {};
    GetClientRect(installer.window, &client);
    const int left = (client.right - banner.width) / 2;
    Image shown;
    std::string first;
    int mismatches = -1;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(50)) {
        shown = CaptureClient(installer.window, left, 11, banner.width, banner.height);
        if (!shown.Empty() && (mismatches = Mismatches(banner, shown, first)) == 0) break;
    }
    Note("banner at client " + std::to_string(left) + ",11; " + std::to_string(mismatches) + " pixels differ " + first);
    CHECK_EQ(0, mismatches);

    // Only the class background around it: rows 10 and 176, and the columns beside it.
    const uint32_t background = Rgb(GetSysColor(COLOR_BTNSHADOW));
    const Image around = CaptureClient(installer.window, left - 1, 10, banner.width + 2, banner.height + 2);
    REQUIRE(!around.Empty());
    for (int x = 0; x < around.width; ++x) {
        CHECK_EQ(background, around.At(x, 0));
        CHECK_EQ(background, around.At(x, around.height - 1));
    }
    for (int y = 0; y < around.height; ++y) {
        CHECK_EQ(background, around.At(0, y));
        CHECK_EQ(background, around.At(around.width - 1, y));
    }
    ExitInstaller(installer);
}

WINE_CASE(MissingBannerIsReportedBeforeTheWindowShows) {
    Program installer(BuildFile("QuorvaneSetupNoBanner.exe"));
    HWND box = WaitForMessageBox(installer);
    REQUIRE(box != nullptr);
    // The window exists, being created, but is not shown yet.
    CHECK(TopLevelWindows(installer.Id(), "ProgramInstaller").empty());
    CHECK_EQ(size_t{1}, TopLevelWindows(installer.Id(), "ProgramInstaller", false).size());
    const MessageBoxInfo info = ReadMessageBox(box);
    CHECK_EQ(ScriptString(IDS_RESOURCE_ERROR_CAPTION), info.caption);
    CHECK_EQ(ScriptString(IDS_BANNER_NOT_FOUND), info.text);
    CheckBoxType(info, MB_OK | MB_ICONEXCLAMATION);
    Answer(box, IDOK);
    CHECK(WaitUntilGone(box));

    HWND window = WaitForMainWindow(installer);
    REQUIRE(window != nullptr);
    for (int id : {BtnInstall, BtnUninstall, BtnExit}) CHECK(GetDlgItem(window, id) != nullptr);
    // Nothing is painted where the banner would be.
    Sleep(200);
    RECT client = {};
    GetClientRect(window, &client);
    const Image empty = CaptureClient(window, 0, 0, client.right, 184);
    REQUIRE(!empty.Empty());
    const uint32_t background = Rgb(GetSysColor(COLOR_BTNSHADOW));
    CHECK_EQ(size_t(empty.width) * size_t(empty.height),
             size_t(std::count(empty.pixels.begin(), empty.pixels.end(), background)));

    PostCommand(window, CmdAbout);
    ExpectBox(installer, IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, IDOK);
    ExitInstaller(installer);
}
