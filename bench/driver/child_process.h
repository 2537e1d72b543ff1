// A program the benchmark starts and watches: when it was started, what it
// shows, when it ends, and the largest working set it reached.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace bench {

LARGE_INTEGER Now();
double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to);

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess(); // kills it if it is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The start time is taken just before CreateProcess. standardOutput, when
    // given, is inherited as the child's standard output.
    bool Start(const std::string& exePath, const std::string& arguments = "", HANDLE standardOutput = nullptr);
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    LARGE_INTEGER StartTime() const { return started_; }
    bool Running() const;

    // Calls found() about every millisecond until it returns true, and records
    // the time it did. False on timeout or when the child ends first.
    template <typename Found> bool PollUntil(Found found, DWORD timeoutMilliseconds, LARGE_INTEGER& when) {
        const LARGE_INTEGER pollStart = Now();
        for (;;) {
            SampleMemory();
            if (found()) {
                when = Now();
                return true;
            }
            if (!Running() || Milliseconds(pollStart, Now()) > timeoutMilliseconds) return false;
            Sleep(1);
        }
    }
    // Keeps sampling the working set while waiting: peak readings need a live process.
    bool WaitForExit(DWORD timeoutMilliseconds, LARGE_INTEGER& when, DWORD& exitCode);
    // Waits without looking for anything, still sampling the working set.
    void Idle(DWORD milliseconds);

    // The largest PeakWorkingSetSize read while the child ran; 0 without a reading.
    SIZE_T PeakWorkingSet() const { return peakWorkingSet_; }

  private:
    void SampleMemory();
    PROCESS_INFORMATION info_ = {};
    LARGE_INTEGER started_ = {};
    SIZE_T peakWorkingSet_ = 0;
};

// The first visible top-level window of the process, or null.
HWND FirstVisibleWindow(DWORD processId);

} // namespace bench
