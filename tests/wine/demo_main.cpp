// A scripted walk through the real installer, saving a screenshot of every window it shows:
//   demo.exe <build folder> <source folder> <output folder>
// Each shot is <output>\NN-step.bmp, cropped to the installer's windows; the main window alone is also
// saved as main-window.bmp. Prints one line per shot and per box, and returns the number of surprises.
#include "tests/wine/capture.h"
#include "tests/wine/driver.h"

#include "resource_ids.h"

#include <algorithm>
#include <cstdio>

using namespace driver;

namespace {

std::string outputDir;
int shotNumber = 0;
std::string lastShot;
int surprises = 0;

void Surprise(const std::string& what) {
    ++surprises;
    std::printf("demo: unexpected: %s\n", what.c_str());
}

// The installer's visible windows, with a margin, within the screen.
RECT AreaOf(const Program& program) {
    RECT area = {0, 0, 0, 0};
    for (HWND window : TopLevelWindows(program.Id())) {
        RECT place;
        GetWindowRect(window, &place);
        if (IsRectEmpty(&area))
            area = place;
        else
            UnionRect(&area, &area, &place);
    }
    InflateRect(&area, 16, 16);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return area;
}

void Shoot(const std::string& step, const RECT& area, const std::string& what) {
    char name[64];
    std::snprintf(name, sizeof name, "%02d-%s.bmp", ++shotNumber, step.c_str());
    lastShot = name;
    Sleep(300); // let the window finish painting
    const Image shot = CaptureScreen(area.left, area.top, area.right - area.left, area.bottom - area.top);
    if (!SaveBmp(shot, outputDir + "\\" + name)) return Surprise(std::string("no screenshot ") + name);
    std::printf("shot %s: %s\n", name, what.c_str());
    std::fflush(stdout);
}

HWND VisibleDialogOwnedBy(const Program& program, HWND owner) {
    for (HWND window : TopLevelWindows(program.Id(), "#32770"))
        if (GetWindow(window, GW_OWNER) == owner) return window;
    return nullptr;
}

// Posts a command, then shoots the progress window and every box that follows, answering each
// question with Yes and every other box with OK, until the installer stays idle.
std::vector<std::string> RunStep(const Program& program, HWND mainWindow, WORD command, const std::string& step) {
    std::vector<std::string> texts;
    PostCommand(mainWindow, command);
    bool progressShot = false;
    DWORD idleSince = GetTickCount();
    while (GetTickCount() - idleSince < 2500) {
        if (HWND progress = VisibleDialogOwnedBy(program, mainWindow)) {
            if (!progressShot)
                Shoot(step + "-progress", AreaOf(program), "progress window \"" + WindowText(progress) + "\"");
            progressShot = true;
            idleSince = GetTickCount();
        } else if (HWND box = VisibleDialogOwnedBy(program, nullptr)) {
            const MessageBoxInfo info = ReadMessageBox(box);
            const bool question = info.yes;
            Shoot(step + (question ? "-question" : "-box"), AreaOf(program),
                  "box \"" + info.caption + "\": " + info.text);
            texts.push_back(info.text);
            Answer(box, question ? IDYES : IDOK);
            if (!WaitUntilGone(box, 5000)) Surprise("box stayed: " + info.caption);
            idleSince = GetTickCount();
        }
        Sleep(20);
    }
    return texts;
}

void ExpectTexts(const std::string& step, const std::vector<std::string>& shown, std::vector<unsigned> ids) {
    std::vector<std::string> wanted;
    for (unsigned id : ids) wanted.push_back(ScriptString(id));
    if (shown == wanted) return;
    std::string seen;
    for (const auto& text : shown) seen += " [" + text.substr(0, 60) + "]";
    Surprise(step + " showed" + (seen.empty() ? " nothing" : seen));
}

// The installed screen saver running full screen, ended with a key press as a user would.
void ShootScreenSaver() {
    Program saver(WindowsDir() + "\\Quorvane.scr", "/s");
    HWND window = WaitForWindow(saver.Id(), nullptr);
    if (window == nullptr) return Surprise("the installed screen saver shows no window");
    Sleep(1500);
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    Shoot("screen-saver", screen, "the installed screen saver, full screen");
    if (CopyFileA((outputDir + "\\" + lastShot).c_str(), (outputDir + "\\screen-saver.bmp").c_str(), FALSE))
        std::printf("window screen-saver.bmp\n");
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    if (saver.WaitForExit(5000) != 0) Surprise("the screen saver did not end on a key press");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: demo <build folder> <source folder> <output folder>\n");
        return 2;
    }
    SetFolders(argv[1], argv[2]);
    outputDir = argv[3];
    CreateDirectoryA(outputDir.c_str(), nullptr);
    RemoveInstalledFiles();

    StartedInstaller installer;
    const HWND window = installer.window;
    if (window == nullptr) {
        std::printf("demo: the installer shows no window\n");
        return 1;
    }
    Sleep(500);
    RECT place;
    GetWindowRect(window, &place);
    Shoot("main-window", AreaOf(installer), "the main window \"" + WindowText(window) + "\"");
    const Image alone = CaptureScreen(place.left, place.top, place.right - place.left, place.bottom - place.top);
    if (SaveBmp(alone, outputDir + "\\main-window.bmp")) std::printf("window main-window.bmp\n");

    ExpectTexts("About", RunStep(installer, window, CmdAbout, "about"), {IDS_ABOUT_TEXT});
    ExpectTexts("Install", RunStep(installer, window, BtnInstall, "install"), {IDS_INSTALL_SUCCESS});
    ExpectTexts("Install again", RunStep(installer, window, BtnInstall, "install-again"),
                {IDS_REPLACE_QUESTION, IDS_UNINSTALLED, IDS_INSTALL_SUCCESS});
    ShootScreenSaver();
    ExpectTexts("Uninstall", RunStep(installer, window, BtnUninstall, "uninstall"),
                {IDS_UNINSTALL_QUESTION, IDS_UNINSTALLED});

    PostCommand(window, BtnExit);
    const DWORD code = installer.WaitForExit(10000);
    std::printf("exit: the installer ended with code %lu\n", static_cast<unsigned long>(code));
    if (code != 0) Surprise("exit code " + std::to_string(code));
    return surprises;
}
