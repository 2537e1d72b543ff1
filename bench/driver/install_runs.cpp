#include "driver/install_runs.h"

#include "driver/child_process.h"
#include "driver/install_state.h"
#include "floors/bare_window_ids.h"
#include "resource_ids.h"
#include "tests/wine/driver.h"

#include <cstdio>

namespace bench {

namespace {

constexpr DWORD WindowTimeout = 20000;
// Lets the first paint and Wine's own start-up work end before a command is timed.
constexpr DWORD SettleMilliseconds = 300;

double Kibibytes(SIZE_T bytes) { return double(bytes) / 1024.0; }

HWND FindWindowTitled(DWORD processId, const char* className, const std::string& title) {
    for (HWND window : driver::TopLevelWindows(processId, className))
        if (driver::WindowText(window) == title) return window;
    return nullptr;
}

// A message box has no owner; the progress window is owned by the main window.
// One whose caption is not set yet is still being made: it counts once it has one.
HWND FindMessageBox(DWORD processId) {
    for (HWND window : driver::TopLevelWindows(processId, "#32770"))
        if (driver::IsMessageBox(window) && !driver::WindowText(window).empty()) return window;
    return nullptr;
}

HWND FindOwnedDialog(DWORD processId, HWND owner) {
    for (HWND window : driver::TopLevelWindows(processId, "#32770"))
        if (GetWindow(window, GW_OWNER) == owner) return window;
    return nullptr;
}

std::string DescribeBox(HWND box) {
    const driver::MessageBoxInfo info = driver::ReadMessageBox(box);
    return "box \"" + info.caption + "\": " + info.text.substr(0, 80);
}

HWND FindMainWindow(DWORD processId) {
    const std::vector<HWND> windows = driver::TopLevelWindows(processId, "ProgramInstaller");
    return windows.empty() ? nullptr : windows.front();
}

// Start-up: from just before CreateProcess to the first visible top-level window.
std::string TimeStartUp(ChildProcess& child, const std::string& exe, const char* subject, Figures& figures,
                        LARGE_INTEGER& shown) {
    if (!child.Start(exe)) return "cannot start " + exe + ": error " + std::to_string(GetLastError());
    if (!child.PollUntil([&] { return FirstVisibleWindow(child.Id()) != nullptr; }, WindowTimeout, shown))
        return std::string(subject) + " showed no window";
    figures.push_back({subject, "startup_ms", Milliseconds(child.StartTime(), shown)});
    return "";
}

// Waits for a clean end and records the peak working set read just before it.
std::string EndAndCheck(ChildProcess& child, const char* subject, Figures& figures, LARGE_INTEGER& ended,
                        const char* peakMetric = "peak_ws_kib") {
    DWORD exitCode = STILL_ACTIVE;
    if (!child.WaitForExit(WindowTimeout, ended, exitCode)) return std::string(subject) + " did not end";
    if (exitCode != 0) return std::string(subject) + " ended with " + std::to_string(exitCode);
    if (child.PeakWorkingSet() == 0) return std::string("no working-set reading of ") + subject;
    figures.push_back({subject, peakMetric, Kibibytes(child.PeakWorkingSet())});
    return "";
}

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return ~0ULL;
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// What the install's files show from outside while the progress window is up:
// when the compressed copy appears, when the screen saver appears, and when it
// has its full size. Seen at the polling interval, about a millisecond.
struct FileMilestones {
    std::string compressed, expanded;
    ULONGLONG fullSize;
    LARGE_INTEGER compressedSeen = {}, expandedSeen = {}, completeSeen = {};

    void Look() {
        const LARGE_INTEGER now = Now();
        if (compressedSeen.QuadPart == 0 && FileSize(compressed) != ~0ULL) compressedSeen = now;
        const ULONGLONG size = FileSize(expanded);
        if (expandedSeen.QuadPart == 0 && size != ~0ULL) expandedSeen = now;
        if (completeSeen.QuadPart == 0 && size == fullSize) completeSeen = now;
    }
    bool AllSeen() const { return compressedSeen.QuadPart && expandedSeen.QuadPart && completeSeen.QuadPart; }
};

} // namespace

std::string RunOurInstaller(const BenchPaths& paths, Figures& figures) {
    ResetInstallState();
    ChildProcess child;
    LARGE_INTEGER when;
    std::string error = TimeStartUp(child, paths.ourInstaller, "ours", figures, when);
    if (!error.empty()) return error;
    HWND mainWindow = nullptr;
    if (!child.PollUntil([&] { return (mainWindow = FindMainWindow(child.Id())) != nullptr; }, WindowTimeout, when))
        return "ours showed no main window";
    WaitForInputIdle(child.Handle(), WindowTimeout);
    child.Idle(SettleMilliseconds);

    const LARGE_INTEGER posted = Now();
    driver::PostCommand(mainWindow, CmdInstall);
    HWND progress = nullptr;
    HWND box = nullptr;
    LARGE_INTEGER progressShown, progressGone, boxShown;
    child.PollUntil(
        [&] {
            return (progress = FindWindowTitled(child.Id(), "#32770", "Installing")) != nullptr ||
                   (box = FindMessageBox(child.Id())) != nullptr;
        },
        WindowTimeout, progressShown);
    if (progress == nullptr) return box ? "before any progress window, " + DescribeBox(box) : "no progress window";
    FileMilestones files{driver::WindowsDir() + "\\Quorvane.sc_", driver::WindowsDir() + "\\Quorvane.scr",
                         FileSize(paths.screenSaver)};
    // An error box opens while the progress window is still up.
    if (!child.PollUntil(
            [&] {
                files.Look();
                return !IsWindow(progress) || !IsWindowVisible(progress) ||
                       (box = FindMessageBox(child.Id())) != nullptr;
            },
            WindowTimeout, progressGone))
        return "the progress window stayed";
    if (box != nullptr) return "while the progress window was up, " + DescribeBox(box);
    child.PollUntil([&] { return (box = FindMessageBox(child.Id())) != nullptr; }, WindowTimeout, boxShown);
    if (box == nullptr) return "no message box after the progress window";
    if (driver::WindowText(box) != "Install Finished") return "instead of success, " + DescribeBox(box);

    const double progressLifetime = Milliseconds(progressShown, progressGone);
    // A poll can come late at either end of the lifetime on a busy machine (2 cores
    // shared with Wine and Xvfb); a pause cut short, as in the self-check's
    // stand-in, misses it by far more.
    if (progressLifetime < InstallPauseMilliseconds - PollLatenessMilliseconds)
        return "the progress window lasted " + std::to_string(progressLifetime) + " ms, less than the pause";
    figures.push_back({"ours", "to_progress_ms", Milliseconds(posted, progressShown)});
    figures.push_back({"ours", "progress_ms", progressLifetime});
    if (files.AllSeen()) {
        figures.push_back({"ours", "to_compressed_ms", Milliseconds(progressShown, files.compressedSeen)});
        figures.push_back({"ours", "to_expanded_ms", Milliseconds(files.compressedSeen, files.expandedSeen)});
        figures.push_back({"ours", "expanding_ms", Milliseconds(files.expandedSeen, files.completeSeen)});
        figures.push_back(
            {"ours", "pause_overrun_ms", Milliseconds(files.completeSeen, progressGone) - InstallPauseMilliseconds});
    }
    figures.push_back({"ours", "to_box_ms", Milliseconds(progressGone, boxShown)});
    figures.push_back({"ours", "install_ms", Milliseconds(posted, boxShown) - InstallPauseMilliseconds});

    driver::Answer(box, IDOK);
    child.PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, WindowTimeout, when);
    // The peak is read until it ends: it covers start-up and the whole install.
    driver::PostCommand(mainWindow, CmdExit);
    error = EndAndCheck(child, "ours", figures, when);
    if (!error.empty()) return error;
    return CheckInstalled(paths.screenSaver);
}

std::string RunNsisInstaller(const BenchPaths& paths, Figures& figures) {
    ResetInstallState();
    ChildProcess child;
    LARGE_INTEGER shown, ended;
    std::string error = TimeStartUp(child, paths.nsisInstaller, "nsis", figures, shown);
    if (!error.empty()) return error;
    // Its install page runs by itself and closes itself: completion is the process's end.
    error = EndAndCheck(child, "nsis", figures, ended);
    if (!error.empty()) return error;
    figures.push_back({"nsis", "install_ms", Milliseconds(child.StartTime(), ended)});
    figures.push_back({"nsis", "window_to_exit_ms", Milliseconds(shown, ended)});
    return CheckInstalled(paths.screenSaver);
}

std::string RunBareWindow(const BenchPaths& paths, Figures& figures) {
    ChildProcess child;
    LARGE_INTEGER when;
    std::string error = TimeStartUp(child, paths.bareWindow, "bare", figures, when);
    if (!error.empty()) return error;
    HWND window = FirstVisibleWindow(child.Id());
    WaitForInputIdle(child.Handle(), WindowTimeout);
    child.Idle(SettleMilliseconds);
    figures.push_back({"bare", "peak_ws_kib", Kibibytes(child.PeakWorkingSet())});

    // The two windows an install shows, each timed from its command as ours is.
    HWND progress = nullptr, box = nullptr;
    LARGE_INTEGER posted = Now(), shown;
    driver::PostCommand(window, BareShowProgress);
    // Found by its owner, whichever caption it has by then: a slow poll can miss the first one.
    if (!child.PollUntil([&] { return (progress = FindOwnedDialog(child.Id(), window)) != nullptr; }, WindowTimeout,
                         shown))
        return "the bare window showed no dialog";
    figures.push_back({"bare", "dialog_ms", Milliseconds(posted, shown)});
    const bool paintSeen = driver::WindowText(progress) == BareProgressCaption;
    LARGE_INTEGER painted;
    if (!child.PollUntil([&] { return driver::WindowText(progress) == BarePaintedCaption; }, WindowTimeout, painted))
        return "the bare window's dialog was never painted";
    // A paint that was over before the dialog was first seen was not timed.
    if (paintSeen) figures.push_back({"bare", "dialog_paint_ms", Milliseconds(shown, painted)});
    WaitForInputIdle(child.Handle(), WindowTimeout);
    posted = Now();
    driver::PostCommand(window, BareShowBox);
    if (!child.PollUntil([&] { return (box = FindMessageBox(child.Id())) != nullptr; }, WindowTimeout, shown))
        return "the bare window showed no message box";
    figures.push_back({"bare", "box_ms", Milliseconds(posted, shown)});
    driver::Answer(box, IDOK);
    child.PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, WindowTimeout, when);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return EndAndCheck(child, "bare", figures, when, "peak_ws_windows_kib");
}

std::string RunLzFloor(const BenchPaths& paths, Figures& figures) {
    ResetInstallState();
    const std::string compressed = driver::WindowsDir() + "\\Quorvane.sc_";
    const std::string expanded = driver::WindowsDir() + "\\Quorvane.scr";
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return "no pipe";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::string output;
    {
        ChildProcess child;
        const bool started = child.Start(
            paths.lzFloor, "\"" + paths.payload + "\" \"" + compressed + "\" \"" + expanded + "\"", writeEnd);
        CloseHandle(writeEnd);
        if (!started) {
            CloseHandle(readEnd);
            return "cannot start " + paths.lzFloor;
        }
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
        CloseHandle(readEnd);
        LARGE_INTEGER ended;
        DWORD exitCode = STILL_ACTIVE;
        if (!child.WaitForExit(WindowTimeout, ended, exitCode) || exitCode != 0)
            return "the LZ floor failed with " + std::to_string(exitCode) + ": " + output;
    }
    unsigned long load = 0, write = 0, expand = 0;
    long bytes = 0;
    if (std::sscanf(output.c_str(), "load_us=%lu write_us=%lu expand_us=%lu expanded=%ld", &load, &write, &expand,
                    &bytes) != 4)
        return "unreadable LZ floor output: " + output;
    const std::string same = CheckSameBytes(expanded, paths.screenSaver);
    if (!same.empty()) return same;
    figures.push_back({"floor", "load_ms", load / 1000.0});
    figures.push_back({"floor", "write_ms", write / 1000.0});
    figures.push_back({"floor", "expand_ms", expand / 1000.0});
    figures.push_back({"floor", "work_ms", (load + write + expand) / 1000.0});
    return "";
}

} // namespace bench
