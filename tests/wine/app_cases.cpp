// The real installer's main window, About box and ways out.
#include "tests/wine/driver.h"

#include "resource_ids.h"

using namespace driver;

WINE_CASE(MainWindowHasTitleAndFixedFrame) {
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    CHECK_EQ(std::string("Installer - Quorvane Ver 1.0"), WindowText(installer.window));
    const LONG style = GetWindowLongA(installer.window, GWL_STYLE);
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((style & WS_SYSMENU) != 0);
    CHECK((style & WS_MINIMIZEBOX) == 0);
    CHECK((style & WS_MAXIMIZEBOX) == 0);
    CHECK((style & WS_THICKFRAME) == 0);
    CHECK(GetMenu(installer.window) != nullptr);
    CHECK_EQ(size_t{1}, TopLevelWindows(installer.Id(), "ProgramInstaller").size());
    ExitInstaller(installer);
}

WINE_CASE(AboutBoxShowsVersionAndContact) {
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    PostCommand(installer.window, CmdAbout);
    HWND box = WaitForMessageBox(installer);
    REQUIRE(box != nullptr);
    CHECK(GetWindow(box, GW_OWNER) == nullptr);
    // The main window stays usable while the box is open.
    CHECK(IsWindowEnabled(installer.window));
    const MessageBoxInfo info = ReadMessageBox(box);
    CHECK_EQ(ScriptString(IDS_INSTALLER_CAPTION), info.caption);
    CHECK_EQ(std::string("Screen Saver Installer"), info.caption);
    CHECK_EQ(ScriptString(IDS_ABOUT_TEXT), info.text);
    CheckBoxType(info, MB_OK);
    Answer(box, IDOK);
    CHECK(WaitUntilGone(box));
    CHECK(IsWindow(installer.window));
    ExitInstaller(installer);
}

namespace {
void ExitsWithZeroAfter(UINT message, WPARAM wordParam) {
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    PostMessageA(installer.window, message, wordParam, 0);
    CHECK_EQ(DWORD{0}, installer.WaitForExit(10000));
}
} // namespace

WINE_CASE(ExitMenuEndsWithZero) { ExitsWithZeroAfter(WM_COMMAND, CmdExit); }
WINE_CASE(ExitButtonEndsWithZero) { ExitsWithZeroAfter(WM_COMMAND, MAKEWPARAM(BtnExit, BN_CLICKED)); }
WINE_CASE(CloseEndsWithZero) { ExitsWithZeroAfter(WM_CLOSE, 0); }

WINE_CASE(MenuAndStringsAreTheScriptsOwn) {
    HMODULE module = LoadLibraryExA(Installer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    for (unsigned id : {0u,   1u,   2u,   3u,    4u,    5u,    6u,    7u,    8u,    9u,    10u,   11u,   12u,  13u,
                        500u, 501u, 502u, 1000u, 1001u, 1002u, 1003u, 1004u, 1005u, 1006u, 1007u, 1008u, 1009u,
                        1010u}) {
        char text[1024] = "";
        LoadStringA(module, id, text, sizeof text);
        CHECK_EQ(ScriptString(id), std::string(text));
    }
    char absent[16] = "x";
    CHECK_EQ(0, LoadStringA(module, 14, absent, sizeof absent));

    HMENU menu = LoadMenuA(module, "Menu_1");
    REQUIRE(menu != nullptr);
    REQUIRE(GetMenuItemCount(menu) == 2);
    auto itemText = [](HMENU owner, int position) {
        char text[128] = "";
        GetMenuStringA(owner, position, text, sizeof text, MF_BYPOSITION);
        return std::string(text);
    };
    CHECK_EQ(std::string("&File"), itemText(menu, 0));
    CHECK_EQ(std::string("&Misc"), itemText(menu, 1));
    HMENU file = GetSubMenu(menu, 0);
    HMENU misc = GetSubMenu(menu, 1);
    REQUIRE(file != nullptr && misc != nullptr);
    CHECK_EQ(4, GetMenuItemCount(file));
    CHECK_EQ(std::string("&Install Screen Saver"), itemText(file, 0));
    CHECK_EQ(UINT(CmdInstall), GetMenuItemID(file, 0));
    CHECK_EQ(std::string("&Uninstall Screen Saver"), itemText(file, 1));
    CHECK_EQ(UINT(CmdUninstall), GetMenuItemID(file, 1));
    CHECK((GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR) != 0);
    CHECK_EQ(std::string("&Exit"), itemText(file, 3));
    CHECK_EQ(UINT(CmdExit), GetMenuItemID(file, 3));
    CHECK_EQ(1, GetMenuItemCount(misc));
    CHECK_EQ(std::string("&About"), itemText(misc, 0));
    CHECK_EQ(UINT(CmdAbout), GetMenuItemID(misc, 0));
    DestroyMenu(menu);
    FreeLibrary(module);
}

namespace {
// An icon group's images as "size/bits", in the group's order.
std::string IconImages(HMODULE module, LPCSTR group) {
    std::string images;
    HRSRC found = FindResourceA(module, group, RT_GROUP_ICON);
    const BYTE* directory = found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    if (directory == nullptr) return images;
    const int count = directory[4] | directory[5] << 8;
    for (const BYTE* entry = directory + 6; entry < directory + 6 + 14 * count; entry += 14) {
        const int size = entry[0] == 0 ? 256 : entry[0];
        images += (images.empty() ? "" : " ") + std::to_string(size) + "/" + std::to_string(entry[6] | entry[7] << 8);
    }
    return images;
}
} // namespace

// Sharp at every size Windows shows a program's icon at, in 32-bit colour,
// with the 16-colour image the installer's class and old displays rely on; and
// the installer's text drawn at a scaled display's resolution.
WINE_CASE(IconsHoldEverySizeAndInstallerAsksForGdiScaling) {
    const std::string expected = "32/4 16/32 20/32 24/32 32/32 40/32 48/32 64/32 256/32";
    const std::pair<std::string, LPCSTR> programs[] = {{Installer(), "AppIcon"},
                                                       {BuildFile("screensaver\\Quorvane.scr"), MAKEINTRESOURCEA(100)}};
    for (const auto& [path, group] : programs) {
        Note(path);
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        REQUIRE(module != nullptr);
        CHECK_EQ(expected, IconImages(module, group));
        // What Windows picks for each size is that size's own image, which it can draw.
        HRSRC found = FindResourceA(module, group, RT_GROUP_ICON);
        BYTE* directory = found ? static_cast<BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
        REQUIRE(directory != nullptr);
        for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
            const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
            HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
            BYTE* bytes = image ? static_cast<BYTE*>(LockResource(LoadResource(module, image))) : nullptr;
            REQUIRE(bytes != nullptr);
            const bool png = std::string(reinterpret_cast<char*>(bytes) + 1, 3) == "PNG";
            CHECK_EQ(size == 256, png);
            HICON icon = CreateIconFromResourceEx(bytes, SizeofResource(module, image), TRUE, 0x00030000, size, size,
                                                  LR_DEFAULTCOLOR);
            ICONINFO info = {};
            BITMAP colour = {};
            CHECK(icon != nullptr && GetIconInfo(icon, &info));
            CHECK(GetObjectA(info.hbmColor, sizeof colour, &colour) != 0);
            CHECK_EQ(size, int(colour.bmWidth));
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
            if (icon) DestroyIcon(icon);
        }
        FreeLibrary(module);
    }

    HMODULE module = LoadLibraryExA(Installer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    HRSRC manifest = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    REQUIRE(manifest != nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    CHECK(text.find("<gdiScaling xmlns=\"http://schemas.microsoft.com/SMI/2017/WindowsSettings\">true</gdiScaling>") !=
          std::string::npos);
    // The layout stays in its pixels: no DPI awareness declared.
    CHECK(text.find("dpiAware") == std::string::npos);
    FreeLibrary(module);
}
