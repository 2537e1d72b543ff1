// The driver's framework: case registry, checks, paths, programs, windows, boxes.
#include "tests/wine/driver.h"

#include "resources/resource_ids.h"
#include "tests/common/resource_script.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace driver {

namespace {

int failures = 0;
std::string buildDir;
std::string sourceDir;

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

} // namespace

std::vector<RegisteredCase>& Cases() {
    static std::vector<RegisteredCase> cases;
    return cases;
}

void SetFolders(const std::string& build, const std::string& source) {
    buildDir = WindowsPath(build);
    sourceDir = WindowsPath(source);
}

int FailureCount() { return failures; }

CaseRegistrar::CaseRegistrar(const char* name, CaseBody body) { Cases().push_back({name, body}); }

void Fail(const char* file, int line, const std::string& message) {
    ++failures;
    const char* base = std::strrchr(file, '/');
    std::printf("FAIL %s:%d: %s\n", base ? base + 1 : file, line, message.c_str());
    std::fflush(stdout);
}

void Note(const std::string& message) {
    std::printf("  %s\n", message.c_str());
    std::fflush(stdout);
}

std::string BuildFile(const std::string& relative) { return buildDir + "\\" + relative; }
std::string SourceFile(const std::string& relative) { return sourceDir + "\\" + relative; }
std::string Installer() { return BuildFile("QuorvaneSetup.exe"); }

std::string WindowsDir() {
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

std::string SystemDir() {
    char path[MAX_PATH] = "";
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    uint8_t buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

void RemoveFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void RemoveInstalledFiles() {
    // Sysnative: the real System directory, in a 64-bit prefix.
    for (const std::string& directory : {WindowsDir(), SystemDir(), WindowsDir() + "\\Sysnative"})
        // With the names an install that was cut off may have left.
        for (const char* name :
             {"Quorvane.scr", "Quorvane.sc_", "Quorvane-Prefs.ini", "Quorvane.scr.new", "Quorvane.scr.old"}) {
            const std::string path = directory + "\\" + name;
            RemoveDirectoryA(path.c_str());
            RemoveFile(path);
        }
}

Program::Program(const std::string& exePath, const std::string& arguments) {
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exePath.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
        info_ = {};
        Fail(__FILE__, __LINE__, "cannot start " + exePath + ": error " + std::to_string(GetLastError()));
        return;
    }
    WaitForInputIdle(info_.hProcess, 5000);
}

Program::~Program() {
    if (!Started()) return;
    Kill();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Program::WaitForExit(DWORD milliseconds) {
    if (!Started()) return STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Program::Kill() {
    if (Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

namespace {
struct WindowSearch {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (search->className != nullptr && ClassOf(window) != search->className) return TRUE;
    search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, bool visibleOnly) {
    WindowSearch search{processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const char* className, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        auto windows = TopLevelWindows(processId, className);
        if (!windows.empty()) return windows.front();
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

HWND WaitForMainWindow(const Program& program, DWORD milliseconds) {
    return WaitForWindow(program.Id(), "ProgramInstaller", milliseconds);
}

bool IsMessageBox(HWND window) { return GetWindow(window, GW_OWNER) == nullptr; }

// A box just made visible may not have its caption yet: wait for it, so that
// what is read is what the user sees. A box that never gets one is still returned.
HWND WaitForMessageBox(const Program& program, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    HWND untitled = nullptr;
    do {
        for (HWND window : TopLevelWindows(program.Id(), "#32770")) {
            if (!IsMessageBox(window)) continue;
            if (!WindowText(window).empty()) return window;
            untitled = window;
        }
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return milliseconds > 0 && untitled != nullptr && IsWindow(untitled) ? untitled : nullptr;
}

bool WaitUntilGone(HWND window, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.caption = WindowText(box);
    char text[2048] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    info.text = text;
    auto visible = [&](int id) {
        HWND item = GetDlgItem(box, id);
        return item != nullptr && IsWindowVisible(item);
    };
    info.yes = visible(IDYES);
    info.no = visible(IDNO);
    info.ok = visible(IDOK);
    info.cancel = visible(IDCANCEL);
    // Wine keeps the icon control in every box; only its icon tells.
    HWND icon = GetDlgItem(box, 0x440);
    info.icon = icon != nullptr && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (visible(id)) ++info.buttons;
    return info;
}

void CheckBoxType(const MessageBoxInfo& info, UINT type) {
    const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
    CHECK_EQ(yesNo, info.yes);
    CHECK_EQ(yesNo, info.no);
    CHECK_EQ(!yesNo, info.ok);
    CHECK_EQ(yesNo ? 2 : 1, info.buttons);
    CHECK_EQ((type & MB_ICONMASK) != 0, info.icon);
}

void Answer(HWND box, int buttonId) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0); }

std::string ScriptString(unsigned id) {
    static const std::map<unsigned, std::string> strings = ReadScriptStrings(sourceDir);
    auto found = strings.find(id);
    return found != strings.end() ? found->second : "(no string " + std::to_string(id) + ")";
}

MessageBoxInfo ExpectBox(const Program& program, unsigned textId, unsigned captionId, int answer, DWORD milliseconds) {
    HWND box = WaitForMessageBox(program, milliseconds);
    if (box == nullptr) {
        Fail(__FILE__, __LINE__, "no message box \"" + ScriptString(textId).substr(0, 50) + "\"");
        return {};
    }
    const MessageBoxInfo info = ReadMessageBox(box);
    CHECK_EQ(ScriptString(captionId), info.caption);
    CHECK_EQ(ScriptString(textId), info.text);
    Answer(box, answer);
    if (!WaitUntilGone(box)) Fail(__FILE__, __LINE__, "message box stayed after the answer");
    return info;
}

void PostCommand(HWND window, WORD id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void ExitInstaller(Program& program) {
    HWND window = WaitForMainWindow(program, 2000);
    if (window != nullptr) PostCommand(window, CmdExit);
    CHECK_EQ(DWORD{0}, program.WaitForExit(10000));
}

StartedInstaller::StartedInstaller(const std::string& exePath) : Program(exePath), window(WaitForMainWindow(*this)) {}

} // namespace driver
