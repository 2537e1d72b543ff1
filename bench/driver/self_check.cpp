#include "driver/self_check.h"

#include "driver/child_process.h"
#include "driver/install_state.h"
#include "tests/wine/driver.h"
#include "tests/wine/install_settings.h"

#include <cstdio>

namespace bench {

namespace {

bool HasFigure(const Figures& figures, const char* metric) {
    for (const Figure& figure : figures)
        if (figure.metric == metric) return true;
    return false;
}

// The state an install leaves, made by hand, and each part of it undone.
void CheckInstalledSeesEachPart(const BenchPaths& paths) {
    ResetInstallState();
    CHECK(!CheckInstalled(paths.screenSaver).empty());

    const std::string installed = driver::WindowsDir() + "\\Quorvane.scr";
    CHECK(CopyFileA(paths.screenSaver.c_str(), installed.c_str(), FALSE));
    driver::SetBootScreenSaver(installed);
    driver::SetScreenSaveActive("1");
    CHECK_EQ(std::string(), CheckInstalled(paths.screenSaver));

    driver::SetScreenSaveActive("0");
    CHECK(!CheckInstalled(paths.screenSaver).empty());
    driver::SetScreenSaveActive("1");
    driver::SetBootScreenSaver("C:\\windows\\other.scr");
    CHECK(!CheckInstalled(paths.screenSaver).empty());
    driver::SetBootScreenSaver(installed);
    auto shorter = driver::ReadBytes(paths.screenSaver);
    shorter.pop_back();
    driver::WriteBytes(installed, shorter);
    CHECK(!CheckInstalled(paths.screenSaver).empty());
    ResetInstallState();
}

// An installer that fails shows an error box instead of success: no figures of
// its install, and no wait for a timeout either.
void FailedInstallGivesNoInstallFigure(const BenchPaths& paths) {
    Figures figures;
    const LARGE_INTEGER started = Now();
    const std::string error = RunOurInstaller(paths, figures);
    driver::Note("installer without payload: " + error);
    CHECK(error.find("Resource Error") != std::string::npos);
    CHECK(!HasFigure(figures, "install_ms"));
    CHECK(Milliseconds(started, Now()) < 5000);
    ResetInstallState();
}

// A progress window that closes before the pause could have passed: nothing is subtracted from it.
void ShortPauseGivesNoInstallFigure(const BenchPaths& paths, const std::string& shortPauseInstaller) {
    BenchPaths shortPause = paths;
    shortPause.ourInstaller = shortPauseInstaller;
    Figures figures;
    const std::string error = RunOurInstaller(shortPause, figures);
    driver::Note("installer with a short pause: " + error);
    CHECK(error.find("less than the pause") != std::string::npos);
    CHECK(!HasFigure(figures, "install_ms"));
    ResetInstallState();
}

// A program that ends without a window gives no start-up figure, and at once.
void NoWindowGivesNoStartUp(const BenchPaths& paths) {
    BenchPaths noWindow = paths;
    noWindow.bareWindow = paths.lzFloor; // without arguments it ends at once
    Figures figures;
    const LARGE_INTEGER started = Now();
    const std::string error = RunBareWindow(noWindow, figures);
    driver::Note("program without a window: " + error);
    CHECK(!error.empty());
    CHECK(figures.empty());
    CHECK(Milliseconds(started, Now()) < 5000);
}

// A payload cut short expands to fewer bytes; the floor run must refuse it.
void TruncatedPayloadFailsTheFloor(const BenchPaths& paths, const std::string& scratchFolder) {
    auto payload = driver::ReadBytes(paths.payload);
    REQUIRE(payload.size() > 1000);
    payload.resize(payload.size() / 2);
    BenchPaths truncated = paths;
    truncated.payload = scratchFolder + "\\truncated.sz_";
    REQUIRE(driver::WriteBytes(truncated.payload, payload));
    Figures figures;
    const std::string error = RunLzFloor(truncated, figures);
    driver::Note("truncated payload: " + error);
    CHECK(!error.empty());
    CHECK(figures.empty());
    ResetInstallState();
}

} // namespace

int RunSelfCheck(const BenchPaths& paths, const std::string& shortPauseInstaller, const std::string& scratchFolder) {
    CheckInstalledSeesEachPart(paths);
    FailedInstallGivesNoInstallFigure(paths);
    ShortPauseGivesNoInstallFigure(paths, shortPauseInstaller);
    NoWindowGivesNoStartUp(paths);
    TruncatedPayloadFailsTheFloor(paths, scratchFolder);
    return driver::FailureCount();
}

} // namespace bench
