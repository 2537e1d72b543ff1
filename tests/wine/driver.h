// The Wine-tier test driver: a Win32 program of ours that starts the real
// installer, finds and reads its windows and message boxes, answers them, and
// checks files and settings. Each case is one ctest:
//   driver.exe <case> <windows build folder> <source folder>
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace driver {

// Registration: WINE_CASE(Name) { ... } defines a case that ctest runs by name.
using CaseBody = void (*)();
struct RegisteredCase {
    const char* name;
    CaseBody body;
};
std::vector<RegisteredCase>& Cases();
// The windows build folder and the source folder, in Unix or Windows form.
void SetFolders(const std::string& build, const std::string& source);
int FailureCount();
struct CaseRegistrar {
    CaseRegistrar(const char* name, CaseBody body);
};
#define WINE_CASE(name)                                                                                                \
    static void name##_case();                                                                                         \
    static ::driver::CaseRegistrar name##_registrar(#name, name##_case);                                               \
    static void name##_case()

// A case that ctest runs under other Unix locale settings, from which Wine takes
// the user's language and the ANSI code page: WINE_CASE_IN_LOCALE(Name, "LANG=de_DE.UTF-8").
#define WINE_CASE_IN_LOCALE(name, environment) WINE_CASE(name)

// Checks: a failure is counted and printed with the actual value; the case goes on.
void Fail(const char* file, int line, const std::string& message);
template <typename A, typename B> std::string Describe(const A& expected, const B& actual) {
    std::ostringstream out;
    out << "expected [" << expected << "] got [" << actual << "]";
    return out.str();
}
#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition)) ::driver::Fail(__FILE__, __LINE__, "check failed: " #condition);                             \
    } while (0)
#define CHECK_EQ(expected, actual)                                                                                     \
    do {                                                                                                               \
        const auto& expected_ = (expected);                                                                            \
        const auto& actual_ = (actual);                                                                                \
        if (!(expected_ == actual_))                                                                                   \
            ::driver::Fail(__FILE__, __LINE__, #actual ": " + ::driver::Describe(expected_, actual_));                 \
    } while (0)
// Like CHECK, but ends the case at once.
#define REQUIRE(condition)                                                                                             \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            ::driver::Fail(__FILE__, __LINE__, "required: " #condition);                                               \
            return;                                                                                                    \
        }                                                                                                              \
    } while (0)
void Note(const std::string& message); // progress line in the test's output

// Paths (Windows form). BuildFile("QuorvaneSetup.exe") is the real installer.
std::string BuildFile(const std::string& relative);
std::string SourceFile(const std::string& relative);
std::string Installer();
std::string WindowsDir(); // no trailing backslash
std::string SystemDir();

// Files.
bool FileExists(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void RemoveFile(const std::string& path);
// No Quorvane file in the Windows or System directory (either System directory
// in a 64-bit prefix): the state before any install.
void RemoveInstalledFiles();
// No Quorvane file before the case and none after it, however it ends.
struct CleanDirectories {
    CleanDirectories() { RemoveInstalledFiles(); }
    ~CleanDirectories() { RemoveInstalledFiles(); }
};

// A program started by the driver; killed when it goes out of scope if still running.
class Program {
  public:
    Program(const std::string& exePath, const std::string& arguments = "");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD WaitForExit(DWORD milliseconds);
    void Kill();

  private:
    PROCESS_INFORMATION info_ = {};
};

// Windows of a process. Handles are reused, so always ask again rather than keep one.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className = nullptr, bool visibleOnly = true);
HWND WaitForWindow(DWORD processId, const char* className, DWORD milliseconds = 10000);
HWND WaitForMainWindow(const Program& program, DWORD milliseconds = 10000);
// A visible message box (#32770 with no owner) of the process.
bool IsMessageBox(HWND window);
HWND WaitForMessageBox(const Program& program, DWORD milliseconds = 10000);
bool WaitUntilGone(HWND window, DWORD milliseconds = 10000);
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

struct MessageBoxInfo {
    std::string caption;
    std::string text;
    bool yes = false, no = false, ok = false, cancel = false;
    bool icon = false; // a static icon control: which icon is not readable across processes
    int buttons = 0;
};
MessageBoxInfo ReadMessageBox(HWND box);
void Answer(HWND box, int buttonId); // IDOK, IDYES, IDNO
// Waits for the next box, checks its caption and text against string ids of the
// installer, answers it, and returns what it showed.
MessageBoxInfo ExpectBox(const Program& program, unsigned textId, unsigned captionId, int answer,
                         DWORD milliseconds = 10000);
// Checks the buttons and icon a box of this message-box type shows.
void CheckBoxType(const MessageBoxInfo& info, UINT type);
// The text of string id in the installer's resource script.
std::string ScriptString(unsigned id);

void PostCommand(HWND window, WORD id);

// Ends the installer through its Exit menu command and checks the exit code 0.
void ExitInstaller(Program& program);

// An installer started and its main window waited for; a case REQUIREs the window.
struct StartedInstaller : Program {
    explicit StartedInstaller(const std::string& exePath = Installer());
    HWND window = nullptr;
};

} // namespace driver
