#include "driver/child_process.h"

#include "tests/wine/driver.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

namespace bench {

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency);
}

ChildProcess::~ChildProcess() {
    if (info_.hProcess == nullptr) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::Start(const std::string& exePath, const std::string& arguments, HANDLE standardOutput) {
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (standardOutput != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = standardOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    started_ = Now();
    if (!CreateProcessA(exePath.c_str(), writable.data(), nullptr, nullptr, standardOutput != nullptr, 0, nullptr,
                        nullptr, &startup, &info_)) {
        info_ = {};
        return false;
    }
    return true;
}

bool ChildProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::SampleMemory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters))
        peakWorkingSet_ = std::max(peakWorkingSet_, counters.PeakWorkingSetSize);
}

bool ChildProcess::WaitForExit(DWORD timeoutMilliseconds, LARGE_INTEGER& when, DWORD& exitCode) {
    const LARGE_INTEGER waitStart = Now();
    while (Running()) {
        SampleMemory();
        if (Milliseconds(waitStart, Now()) > timeoutMilliseconds) return false;
        Sleep(1);
    }
    when = Now();
    exitCode = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &exitCode);
    return true;
}

void ChildProcess::Idle(DWORD milliseconds) {
    const LARGE_INTEGER idleStart = Now();
    while (Running() && Milliseconds(idleStart, Now()) < milliseconds) {
        SampleMemory();
        Sleep(1);
    }
}

HWND FirstVisibleWindow(DWORD processId) {
    const std::vector<HWND> windows = driver::TopLevelWindows(processId);
    return windows.empty() ? nullptr : windows.front();
}

} // namespace bench
