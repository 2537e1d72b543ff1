// Install and Uninstall on the real installer: the boxes the user sees, the
// progress window, the files left in the Windows and System directories, and
// the system settings.
#include "tests/wine/driver.h"

#include "tests/wine/capture.h"
#include "tests/wine/install_settings.h"
#include "tests/wine/module_resources.h"

#include "resource_ids.h"

#include <lzexpand.h>

#include <algorithm>

#include <map>

using namespace driver;

namespace {

const std::vector<uint8_t> OldCopy = {'o', 'l', 'd'};

std::string WinScr() { return WindowsDir() + "\\Quorvane.scr"; }
std::string WinTemp() { return WindowsDir() + "\\Quorvane.sc_"; }
std::string WinPrefs() { return WindowsDir() + "\\Quorvane-Prefs.ini"; }
std::string SysScr() { return SystemDir() + "\\Quorvane.scr"; }
std::string SysPrefs() { return SystemDir() + "\\Quorvane-Prefs.ini"; }

// The program the build compressed into the payload.
std::vector<uint8_t> PayloadProgram() { return ReadBytes(BuildFile("payload\\Quorvane.scr")); }

uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return UINT64_MAX;
    return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The installer's progress window: a dialog owned by its main window.
HWND ProgressWindow(const StartedInstaller& installer) {
    for (HWND window : TopLevelWindows(installer.Id(), "#32770"))
        if (GetWindow(window, GW_OWNER) == installer.window) return window;
    return nullptr;
}

HWND WaitForProgressWindow(const StartedInstaller& installer) {
    const DWORD start = GetTickCount();
    HWND progress;
    while ((progress = ProgressWindow(installer)) == nullptr && GetTickCount() - start < 10000) Sleep(5);
    return progress;
}

// Waits until the installer's thread is back in its message loop: the command has ended.
void Settle(const StartedInstaller& installer) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(installer.window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result))
        Fail(__FILE__, __LINE__, "the installer did not come back to its message loop");
}

void ExpectNoProgressWindowLeft(const StartedInstaller& installer) { CHECK(ProgressWindow(installer) == nullptr); }

// A box a command shows, and the user's answer to it.
struct Shown {
    unsigned text, caption;
    UINT type;
    int answer;
};
const Shown Installed = {IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, 0x40, IDOK};
const Shown Uninstalled = {IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, 0x40, IDOK};
const Shown NothingToUninstall = {IDS_NOTHING_TO_UNINSTALL, IDS_NOT_INSTALLED_CAPTION, 0x40, IDOK};
const Shown NotRemoved = {IDS_REMOVE_FAILED, IDS_UNINSTALLER_CAPTION, 0x30, IDOK};
const Shown TempNotCreated = {IDS_TEMP_NOT_CREATED, IDS_INSTALL_ERROR_CAPTION, 0x30, IDOK};
const Shown PayloadNotLoaded = {IDS_PAYLOAD_NOT_LOADED, IDS_RESOURCE_ERROR_CAPTION, 0x30, IDOK};
const Shown NotExpanded = {IDS_EXPAND_FAILED, IDS_INSTALL_ERROR_CAPTION, 0x30, IDOK};
Shown ReplaceQuestion(int answer) { return {IDS_REPLACE_QUESTION, IDS_INSTALLER_CAPTION, 0x34, answer}; }
Shown UninstallQuestion(int answer) { return {IDS_UNINSTALL_QUESTION, IDS_UNINSTALLER_CAPTION, 0x34, answer}; }

// Chooses a command of the main window, answers its boxes in order and waits until it has ended.
void Choose(const StartedInstaller& installer, WORD command, std::initializer_list<Shown> boxes) {
    PostCommand(installer.window, command);
    for (const Shown& box : boxes) {
        const MessageBoxInfo info = ExpectBox(installer, box.text, box.caption, box.answer);
        if (!info.caption.empty()) CheckBoxType(info, box.type);
    }
    Settle(installer);
}

void CheckInstalledIsTheProgram() {
    const std::vector<uint8_t> program = PayloadProgram();
    const std::vector<uint8_t> installed = ReadBytes(WinScr());
    CHECK(!program.empty());
    if (installed != program)
        Fail(__FILE__, __LINE__,
             "installed copy differs from the program: " + Describe(program.size(), installed.size()) + " bytes");
}

// Text drawn in a control shows as dark pixels on the light dialog face.
int DarkPixelsOnScreen(HWND control) {
    RECT area;
    if (!GetWindowRect(control, &area)) return -1;
    const Image shot = CaptureScreen(area.left, area.top, area.right - area.left, area.bottom - area.top);
    int dark = 0;
    for (uint32_t pixel : shot.pixels)
        if ((pixel & 0xFF) < 0x50 && (pixel >> 8 & 0xFF) < 0x50 && (pixel >> 16 & 0xFF) < 0x50) ++dark;
    return dark;
}

} // namespace

WINE_CASE(InstallFreshShowsProgressThenSuccessAndActivates) {
    CleanDirectories clean;
    SettingsKept kept;
    const std::vector<uint8_t> program = PayloadProgram();
    REQUIRE(!program.empty());
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);

    PostCommand(installer.window, BtnInstall);
    HWND progress = WaitForProgressWindow(installer);
    REQUIRE(progress != nullptr);
    CHECK_EQ(std::string("Installing"), WindowText(progress));
    HWND text = GetDlgItem(progress, IDC_PROGRESS_TEXT);
    CHECK(text != nullptr && IsWindowVisible(text));
    CHECK_EQ(std::string("Installing Screen Saver..."), WindowText(text));

    // The progress window stays through the pause, and the success box comes about
    // two seconds after the expansion last wrote to the installed file.
    bool shownWhileExpanded = false;
    int textPixels = -1;
    HWND box = nullptr;
    const DWORD start = GetTickCount();
    while ((box = WaitForMessageBox(installer, 0)) == nullptr && GetTickCount() - start < 15000) {
        if (FileSize(WinScr()) == program.size() && IsWindowVisible(progress)) {
            if (!shownWhileExpanded) {
                // During the pause the user reads the progress text on screen.
                Sleep(500);
                textPixels = DarkPixelsOnScreen(text);
            }
            shownWhileExpanded = true;
        }
        Sleep(5);
    }
    FILETIME boxSeen;
    GetSystemTimeAsFileTime(&boxSeen);
    REQUIRE(box != nullptr);
    CHECK(shownWhileExpanded);
    Note("progress text: " + std::to_string(textPixels) + " dark pixels on screen during the pause");
    CHECK(textPixels > 50);
    WIN32_FILE_ATTRIBUTE_DATA expanded = {};
    CHECK(GetFileAttributesExA(WinScr().c_str(), GetFileExInfoStandard, &expanded));
    const auto ticks = [](const FILETIME& time) { return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; };
    const int64_t pause = int64_t(ticks(boxSeen) - ticks(expanded.ftLastWriteTime)) / 10000;
    Note("success box " + std::to_string(pause) + " ms after the expansion");
    CHECK(pause >= 1950 && pause <= 3500);
    CHECK(!IsWindow(progress) || !IsWindowVisible(progress));
    const MessageBoxInfo info = ReadMessageBox(box);
    CHECK_EQ(ScriptString(IDS_INSTALL_FINISHED_CAPTION), info.caption);
    CHECK_EQ(ScriptString(IDS_INSTALL_SUCCESS), info.text);
    CheckBoxType(info, 0x40);
    Answer(box, IDOK);
    CHECK(WaitUntilGone(box));
    Settle(installer);

    CheckInstalledIsTheProgram();
    char shortPath[MAX_PATH] = "";
    CHECK(GetShortPathNameA(WinScr().c_str(), shortPath, MAX_PATH) > 0);
    CHECK_EQ(std::string(shortPath), BootScreenSaver());
    BOOL active = FALSE;
    CHECK(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    CHECK(active);
    CHECK_EQ(std::string("1"), ScreenSaveActive());
    CHECK(!FileExists(WinTemp()));
    CHECK(!FileExists(SysScr()));
    ExpectNoProgressWindowLeft(installer);
    ExitInstaller(installer);
}

// A box of the installer other than the one already open.
HWND WaitForBoxBesides(const Program& installer, HWND open) {
    const DWORD start = GetTickCount();
    do {
        for (HWND window : TopLevelWindows(installer.Id(), "#32770"))
            if (window != open && IsMessageBox(window) && !WindowText(window).empty()) return window;
        Sleep(20);
    } while (GetTickCount() - start < 10000);
    return nullptr;
}

// The main window stays usable while the success box is open: an Uninstall
// chosen then removes the file, and answering the box must not activate it.
WINE_CASE(UninstallDuringTheSuccessBoxLeavesNoActivation) {
    CleanDirectories clean;
    SettingsKept kept;
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    PostCommand(installer.window, BtnInstall);
    HWND success = WaitForMessageBox(installer, 15000);
    REQUIRE(success != nullptr);
    CHECK_EQ(ScriptString(IDS_INSTALL_SUCCESS), ReadMessageBox(success).text);

    PostCommand(installer.window, BtnUninstall);
    for (const auto& [textId, answer] :
         {std::pair<unsigned, int>{IDS_UNINSTALL_QUESTION, IDYES}, {IDS_UNINSTALLED, IDOK}}) {
        HWND nested = WaitForBoxBesides(installer, success);
        REQUIRE(nested != nullptr);
        CHECK_EQ(ScriptString(textId), ReadMessageBox(nested).text);
        Answer(nested, answer);
        CHECK(WaitUntilGone(nested));
    }
    CHECK(!FileExists(WinScr()));
    Answer(success, IDOK);
    CHECK(WaitUntilGone(success));
    Settle(installer);

    CHECK_EQ(std::string("(none)"), BootScreenSaver());
    CHECK_EQ(std::string("0"), ScreenSaveActive());
    CHECK(!FileExists(WinScr()));
    CHECK(!FileExists(WinTemp()));
    ExitInstaller(installer);
}

WINE_CASE(InstallAgainAsksNoKeepsYesReplaces) {
    CleanDirectories clean;
    SettingsKept kept;
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {Installed});
    CheckInstalledIsTheProgram();

    // An older copy and its preferences, as a user who installed before would have.
    CHECK(WriteBytes(WinScr(), OldCopy));
    CHECK(WriteBytes(WinPrefs(), {'p'}));
    Choose(installer, BtnInstall, {ReplaceQuestion(IDNO)});
    CHECK(ReadBytes(WinScr()) == OldCopy);
    CHECK(FileExists(WinPrefs()));
    CHECK(!FileExists(WinTemp()));

    Choose(installer, BtnInstall, {ReplaceQuestion(IDYES), Uninstalled, Installed});
    CheckInstalledIsTheProgram();
    CHECK(!FileExists(WinPrefs()));
    CHECK(!FileExists(WinTemp()));
    ExitInstaller(installer);
}

WINE_CASE(InstallReplacesACopyOnlyInTheSystemDirectory) {
    CleanDirectories clean;
    SettingsKept kept;
    REQUIRE(WriteBytes(SysScr(), OldCopy));
    REQUIRE(WriteBytes(SysPrefs(), {'p'}));
    REQUIRE(WriteBytes(WinPrefs(), {'p'}));
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {ReplaceQuestion(IDYES), Uninstalled, Installed});
    CHECK(!FileExists(SysScr()));
    CHECK(!FileExists(SysPrefs()));
    CHECK(!FileExists(WinPrefs()));
    CheckInstalledIsTheProgram();
    ExitInstaller(installer);
}

WINE_CASE(UninstallWithNothingInstalled) {
    CleanDirectories clean;
    REQUIRE(WriteBytes(WinPrefs(), {'p'})); // preferences alone are no installation
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnUninstall, {NothingToUninstall});
    CHECK(FileExists(WinPrefs()));
    ExitInstaller(installer);
}

WINE_CASE(UninstallAnsweredNoKeepsEverything) {
    CleanDirectories clean;
    const std::vector<std::string> files = {WinScr(), WinPrefs(), SysScr(), SysPrefs()};
    for (const std::string& path : files) REQUIRE(WriteBytes(path, OldCopy));
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnUninstall, {UninstallQuestion(IDNO)});
    for (const std::string& path : files) CHECK(ReadBytes(path) == OldCopy);
    ExitInstaller(installer);
}

WINE_CASE(UninstallAnsweredYesFollowsTheRemovalRules) {
    CleanDirectories clean;
    struct Disposition {
        const char* label;
        bool inWindows, inSystem;
        bool windowsPrefsStay, systemPrefsStay;
    };
    // The System directory's preferences go only with a copy found there.
    const Disposition dispositions[] = {
        {"copy in Windows", true, false, false, true},
        {"copy in System", false, true, false, false},
        {"copies in both", true, true, false, false},
    };
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    for (const Disposition& disposition : dispositions) {
        Note(disposition.label);
        if (disposition.inWindows) CHECK(WriteBytes(WinScr(), OldCopy));
        if (disposition.inSystem) CHECK(WriteBytes(SysScr(), OldCopy));
        CHECK(WriteBytes(WinPrefs(), {'p'}));
        CHECK(WriteBytes(SysPrefs(), {'p'}));
        Choose(installer, BtnUninstall, {UninstallQuestion(IDYES), Uninstalled});
        CHECK(!FileExists(WinScr()));
        CHECK(!FileExists(SysScr()));
        CHECK_EQ(disposition.windowsPrefsStay, FileExists(WinPrefs()));
        CHECK_EQ(disposition.systemPrefsStay, FileExists(SysPrefs()));
        RemoveInstalledFiles();
    }
    ExitInstaller(installer);
}

namespace {
// In a 64-bit prefix, the real System directory as a 32-bit program reaches it.
std::string NatScr() { return WindowsDir() + "\\Sysnative\\Quorvane.scr"; }
std::string NatPrefs() { return WindowsDir() + "\\Sysnative\\Quorvane-Prefs.ini"; }

// Where Windows keeps the preferences a screen saver without rights wrote into
// the Windows directory; the folders are made when missing.
std::string VirtualizedPrefs() {
    char localAppData[MAX_PATH] = "";
    GetEnvironmentVariableA("LOCALAPPDATA", localAppData, MAX_PATH);
    const std::string store = std::string(localAppData) + "\\VirtualStore";
    CreateDirectoryA(store.c_str(), nullptr);
    CreateDirectoryA((store + "\\windows").c_str(), nullptr);
    return store + "\\windows\\Quorvane-Prefs.ini";
}

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}
} // namespace

// A copy a user put into the real System32 by hand, where the Screen Saver
// settings list it: a 32-bit program's System directory is SysWOW64.
WINE_CASE(Wow64UninstallRemovesTheRealSystemCopy) {
    REQUIRE(RunsUnderWow64());
    CleanDirectories clean;
    const std::string virtualized = VirtualizedPrefs();
    REQUIRE(WriteBytes(NatScr(), OldCopy));
    REQUIRE(WriteBytes(NatPrefs(), {'p'}));
    REQUIRE(WriteBytes(virtualized, {'p'}));
    CHECK(!FileExists(SysScr()));
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnUninstall, {UninstallQuestion(IDYES), Uninstalled});
    CHECK(!FileExists(NatScr()));
    CHECK(!FileExists(NatPrefs()));
    CHECK(!FileExists(virtualized));
    Choose(installer, BtnUninstall, {NothingToUninstall});
    ExitInstaller(installer);
    RemoveFile(virtualized);
}

WINE_CASE(Wow64InstallAsksBeforeReplacingTheRealSystemCopy) {
    REQUIRE(RunsUnderWow64());
    CleanDirectories clean;
    SettingsKept kept;
    REQUIRE(WriteBytes(NatScr(), OldCopy));
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {ReplaceQuestion(IDNO)});
    CHECK(ReadBytes(NatScr()) == OldCopy);
    CHECK(!FileExists(WinScr()));
    Choose(installer, BtnInstall, {ReplaceQuestion(IDYES), Uninstalled, Installed});
    CHECK(!FileExists(NatScr()));
    CheckInstalledIsTheProgram();
    ExitInstaller(installer);
}

namespace {
// Names and sizes of the files directly in a directory; system.ini is left out,
// since Install writes it and Uninstall leaves it.
std::map<std::string, uint64_t> Listing(const std::string& directory) {
    std::map<std::string, uint64_t> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (lstrcmpiA(found.cFileName, "system.ini") == 0) continue;
        files[found.cFileName] = uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

void CheckSameListing(const std::map<std::string, uint64_t>& before, const std::map<std::string, uint64_t>& after) {
    for (const auto& file : after)
        if (before.count(file.first) == 0) Fail(__FILE__, __LINE__, "left behind: " + file.first);
    for (const auto& file : before)
        if (after.count(file.first) == 0 || after.at(file.first) != file.second)
            Fail(__FILE__, __LINE__, "gone or changed: " + file.first);
}
} // namespace

WINE_CASE(InstallThenUninstallLeavesTheDirectoriesAsBefore) {
    CleanDirectories clean;
    SettingsKept kept;
    const auto windowsBefore = Listing(WindowsDir());
    const auto systemBefore = Listing(SystemDir());
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {Installed});
    const std::string chosen = BootScreenSaver();
    CHECK(chosen != "(none)");
    Choose(installer, BtnUninstall, {UninstallQuestion(IDYES), Uninstalled});
    ExitInstaller(installer);
    CheckSameListing(windowsBefore, Listing(WindowsDir()));
    CheckSameListing(systemBefore, Listing(SystemDir()));
    // No setting names the deleted program: as if no screen saver had been chosen.
    CHECK_EQ(std::string("(none)"), BootScreenSaver());
    CHECK_EQ(std::string("0"), ScreenSaveActive());
}

WINE_CASE(UninstallKeepsAnotherScreenSaversSetting) {
    CleanDirectories clean;
    SettingsKept kept;
    const std::string other = SystemDir() + "\\Mystify.scr";
    REQUIRE(WriteBytes(WinScr(), OldCopy));
    SetBootScreenSaver(other);
    SetScreenSaveActive("1");
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnUninstall, {UninstallQuestion(IDYES), Uninstalled});
    ExitInstaller(installer);
    CHECK(!FileExists(WinScr()));
    CHECK_EQ(other, BootScreenSaver());
    CHECK_EQ(std::string("1"), ScreenSaveActive());
}

// The entry names C:\WINDOWS where the copy lies in C:\windows: a comparison
// by the Turkish locale may take I and i for two letters on Windows (Wine 8's
// takes them for one, so here the case shows the whole removal under Turkish
// rather than the fault). The boxes are answered by their buttons, whichever
// language they speak.
WINE_CASE_IN_LOCALE(TurkishUninstallClearsTheEntryInOtherLetterCase, "LANG=tr_TR.UTF-8") {
    CleanDirectories clean;
    SettingsKept kept;
    REQUIRE(WriteBytes(WinScr(), OldCopy));
    std::string inCapitals = WinScr();
    for (char& c : inCapitals)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    REQUIRE(inCapitals != WinScr());
    SetBootScreenSaver(inCapitals);
    SetScreenSaveActive("1");
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    PostCommand(installer.window, BtnUninstall);
    for (const Shown& expected : {UninstallQuestion(IDYES), Uninstalled}) {
        HWND box = WaitForMessageBox(installer);
        REQUIRE(box != nullptr);
        CheckBoxType(ReadMessageBox(box), expected.type);
        Answer(box, expected.answer);
        CHECK(WaitUntilGone(box));
    }
    Settle(installer);
    ExitInstaller(installer);
    CHECK(!FileExists(WinScr()));
    CHECK_EQ(std::string("(none)"), BootScreenSaver());
    CHECK_EQ(std::string("0"), ScreenSaveActive());
}

WINE_CASE(InstallWithTempNameTakenByADirectory) {
    CleanDirectories clean;
    SettingsKept kept;
    REQUIRE(CreateDirectoryA(WinTemp().c_str(), nullptr));
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {TempNotCreated});
    ExpectNoProgressWindowLeft(installer);
    CHECK(!FileExists(WinScr()));
    CHECK((GetFileAttributesA(WinTemp().c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CHECK_EQ(std::string("(none)"), BootScreenSaver());
    ExitInstaller(installer);
}

WINE_CASE(InstallWithoutPayloadReportsTheResource) {
    CleanDirectories clean;
    SettingsKept kept;
    StartedInstaller installer(BuildFile("QuorvaneSetupNoPayload.exe"));
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {PayloadNotLoaded});
    ExpectNoProgressWindowLeft(installer);
    CHECK(!FileExists(WinScr()));
    CHECK(!FileExists(WinTemp()));
    CHECK_EQ(std::string("(none)"), BootScreenSaver());
    ExitInstaller(installer);
}

namespace {
// A screen saver in use: a copy, its preferences, the entry naming it and screen saving on.
void PlantWorkingInstall() {
    CHECK(WriteBytes(WinScr(), OldCopy));
    CHECK(WriteBytes(WinPrefs(), {'p'}));
    SetBootScreenSaver(WinScr());
    SetScreenSaveActive("1");
}

void CheckWorkingInstallKept() {
    CHECK(ReadBytes(WinScr()) == OldCopy);
    CHECK(ReadBytes(WinPrefs()) == std::vector<uint8_t>{'p'});
    CHECK_EQ(WinScr(), BootScreenSaver());
    CHECK_EQ(std::string("1"), ScreenSaveActive());
    CHECK(!FileExists(WinTemp()));
    CHECK(!FileExists(WinScr() + ".new"));
    CHECK(!FileExists(WinScr() + ".old"));
}
} // namespace

// A broken download: a copy of the installer with three bytes of its compressed
// screen saver changed. It says so before asking or changing anything, on a
// clean machine and over a working install alike.
WINE_CASE(DamagedPayloadInstallsNothing) {
    CleanDirectories clean;
    SettingsKept kept;
    std::vector<uint8_t> exe = ReadBytes(Installer());
    const std::vector<uint8_t> payload = ReadPayload(Installer());
    REQUIRE(payload.size() > 1000);
    const auto found = std::search(exe.begin(), exe.end(), payload.begin(), payload.begin() + 256);
    REQUIRE(found != exe.end());
    const size_t start = size_t(found - exe.begin());
    for (size_t quarter : {1, 2, 3}) exe[start + payload.size() * quarter / 4] ^= 0x5A;
    const std::string damaged = BuildFile("QuorvaneSetupDamaged.exe");
    REQUIRE(WriteBytes(damaged, exe));
    const Shown Damaged = {IDS_INSTALLER_DAMAGED, IDS_INSTALL_ERROR_CAPTION, 0x30, IDOK};

    {
        StartedInstaller installer(damaged);
        REQUIRE(installer.window != nullptr);
        Choose(installer, BtnInstall, {Damaged});
        ExpectNoProgressWindowLeft(installer);
        CHECK(!FileExists(WinScr()));
        CHECK(!FileExists(WinTemp()));
        CHECK_EQ(std::string("(none)"), BootScreenSaver());
        CHECK_EQ(std::string("0"), ScreenSaveActive());

        PlantWorkingInstall();
        Choose(installer, BtnInstall, {Damaged});
        ExitInstaller(installer);
    }
    CheckWorkingInstallKept();
    RemoveFile(damaged);
}

// The user agreed to replace the earlier screen saver; the expansion then
// fails (its temporary name is taken by a folder): everything is put back.
WINE_CASE(FailedExpansionAfterYesKeepsTheEarlierScreenSaver) {
    CleanDirectories clean;
    SettingsKept kept;
    PlantWorkingInstall();
    const std::string inTheWay = WinScr() + ".new";
    REQUIRE(CreateDirectoryA(inTheWay.c_str(), nullptr));
    {
        StartedInstaller installer;
        if (installer.window == nullptr) RemoveDirectoryA(inTheWay.c_str());
        REQUIRE(installer.window != nullptr);
        Choose(installer, BtnInstall, {ReplaceQuestion(IDYES), Uninstalled, NotExpanded});
        ExpectNoProgressWindowLeft(installer);
        ExitInstaller(installer);
    }
    CHECK(RemoveDirectoryA(inTheWay.c_str()));
    CheckWorkingInstallKept();
}

WINE_CASE(CopyHeldOpenIsReportedAndStays) {
    CleanDirectories clean;
    SettingsKept kept;
    REQUIRE(WriteBytes(WinScr(), OldCopy));
    // Another program has it open and shares nothing.
    HANDLE held = CreateFileA(WinScr().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    StartedInstaller installer;
    if (installer.window == nullptr) CloseHandle(held);
    REQUIRE(installer.window != nullptr);

    Choose(installer, BtnInstall, {ReplaceQuestion(IDYES), NotRemoved});
    ExpectNoProgressWindowLeft(installer);
    CHECK(!FileExists(WinTemp()));
    CHECK_EQ(std::string("(none)"), BootScreenSaver());

    Choose(installer, BtnUninstall, {UninstallQuestion(IDYES), NotRemoved});
    CloseHandle(held);
    CHECK(ReadBytes(WinScr()) == OldCopy);

    // Once the other program lets go, the removal goes through.
    Choose(installer, BtnUninstall, {UninstallQuestion(IDYES), Uninstalled});
    CHECK(!FileExists(WinScr()));
    ExitInstaller(installer);
}

namespace {
// DLLs a planted copy of which Windows would load from the program's folder:
// LZ32 (not a KnownDLL) and what the window manager loads by name.
const char* const PlantedDlls[] = {"lz32", "uxtheme"};

// Tells Wine to prefer native copies of the planted DLLs, one found beside the
// program first, as Windows does for DLLs that are not KnownDLLs, for programs
// of this file name while it lives. Wine 8 drops WINEDLLOVERRIDES from the
// environment it builds for a child process: the per-program key reaches it.
class PreferPlantedDlls {
  public:
    explicit PreferPlantedDlls(const std::string& exeName) : key_("Software\\Wine\\AppDefaults\\" + exeName) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            Fail(__FILE__, __LINE__, "cannot set the overrides for " + exeName);
            return;
        }
        const char order[] = "native,builtin";
        for (const char* dll : PlantedDlls)
            RegSetValueExA(key, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
        RegCloseKey(key);
    }
    ~PreferPlantedDlls() {
        RegDeleteKeyA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    }

  private:
    std::string key_;
};

// The planted DLLs whose markers are in the folder.
std::string PlantedDllsLoaded(const std::string& folder) {
    std::string loaded;
    for (const char* dll : PlantedDlls) {
        const std::string marker = folder + "\\" + dll + ".dll-loaded";
        if (!FileExists(marker)) continue;
        loaded += std::string(loaded.empty() ? "" : " ") + dll;
        RemoveFile(marker);
    }
    return loaded.empty() ? "(none)" : loaded;
}
} // namespace

WINE_CASE(PlantedDllsBesideTheInstallerAreNotLoaded) {
    CleanDirectories clean;
    SettingsKept kept;
    // A Downloads folder: the installer next to a stranger's DLLs.
    const std::string folder = BuildFile("downloads");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> placed = {"QuorvaneSetup.exe", "unhardened_probe.exe"};
    REQUIRE(CopyFileA(Installer().c_str(), (folder + "\\QuorvaneSetup.exe").c_str(), FALSE));
    REQUIRE(CopyFileA(BuildFile("tests\\wine\\unhardened_probe.exe").c_str(),
                      (folder + "\\unhardened_probe.exe").c_str(), FALSE));
    for (const char* dll : PlantedDlls) {
        const std::string name = std::string(dll) + ".dll";
        REQUIRE(CopyFileA(BuildFile("planted\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE));
        placed.push_back(name);
    }
    PlantedDllsLoaded(folder);
    PreferPlantedDlls forProbe("unhardened_probe.exe");
    PreferPlantedDlls forInstaller("QuorvaneSetup.exe");

    // The control: without the installer's hardening, this Wine loads every one.
    {
        Program probe(folder + "\\unhardened_probe.exe");
        CHECK_EQ(DWORD{0}, probe.WaitForExit(10000));
    }
    CHECK_EQ(std::string("lz32 uxtheme"), PlantedDllsLoaded(folder));

    StartedInstaller installer(folder + "\\QuorvaneSetup.exe");
    REQUIRE(installer.window != nullptr);
    Choose(installer, BtnInstall, {Installed});
    CheckInstalledIsTheProgram();
    ExitInstaller(installer);
    CHECK_EQ(std::string("(none)"), PlantedDllsLoaded(folder));
    for (const std::string& name : placed) RemoveFile(folder + "\\" + name);
    RemoveDirectoryA(folder.c_str());
}

WINE_CASE(PayloadExpandsWithThePlatformLz32) {
    CleanDirectories clean;
    const std::vector<uint8_t> payload = ReadPayload(Installer());
    const std::vector<uint8_t> program = PayloadProgram();
    REQUIRE(payload.size() >= 14 && !program.empty());
    CHECK(payload == ReadBytes(BuildFile("payload\\Quorvane.sc_")));

    const uint8_t magic[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
    CHECK(std::equal(magic, magic + 8, payload.begin()));
    CHECK_EQ('A', char(payload[8]));
    CHECK_EQ('r', char(payload[9]));
    const uint32_t length = payload[10] | payload[11] << 8 | payload[12] << 16 | uint32_t(payload[13]) << 24;
    CHECK_EQ(program.size(), size_t(length));

    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string source = std::string(temp) + "quorvane-check.sc_";
    std::string target = std::string(temp) + "quorvane-check.scr";
    REQUIRE(WriteBytes(source, payload));
    OFSTRUCT openInfo = {};
    const INT from = LZOpenFileA(&source[0], &openInfo, OF_READ);
    const INT to = LZOpenFileA(&target[0], &openInfo, OF_CREATE);
    CHECK(from >= 0 && to >= 0);
    CHECK_EQ(LONG(program.size()), LZCopy(from, to));
    LZClose(from);
    LZClose(to);
    CHECK(ReadBytes(target) == program);
    RemoveFile(source);
    RemoveFile(target);
}

namespace {
// Reads a standard dialog template (DIALOG, not DIALOGEX) field by field.
struct TemplateReader {
    const uint8_t* at;
    const uint8_t* end;
    bool Fits(size_t bytes) const { return size_t(end - at) >= bytes; }
    uint32_t Dword() {
        uint32_t value = Fits(4) ? uint32_t(at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24) : 0;
        at += 4;
        return value;
    }
    uint16_t Word() {
        uint16_t value = Fits(2) ? uint16_t(at[0] | at[1] << 8) : 0;
        at += 2;
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    // A name or ordinal: 0 none, 0xFFFF then an ordinal, else a wide string.
    std::string NameOrOrdinal() {
        const uint16_t first = Fits(2) ? uint16_t(at[0] | at[1] << 8) : 0;
        if (first == 0xFFFF) {
            at += 2;
            return "#" + std::to_string(Word());
        }
        std::string text;
        for (uint16_t c; Fits(2) && (c = Word()) != 0;) text += char(c);
        return text;
    }
    void AlignDword(const uint8_t* base) {
        while ((at - base) % 4 != 0) ++at;
    }
};
} // namespace

WINE_CASE(ProgressDialogTemplateMatchesTheTable) {
    CleanDirectories clean;
    const std::vector<uint8_t> bytes = ReadResource(Installer(), "Installing", RT_DIALOG);
    REQUIRE(bytes.size() >= 18);
    TemplateReader read{bytes.data(), bytes.data() + bytes.size()};
    CHECK_EQ(0x90C008C4u, read.Dword());
    CHECK_EQ(0u, read.Dword());
    CHECK_EQ(1, int(read.Word()));
    CHECK_EQ(0, int(read.Short()));
    CHECK_EQ(0, int(read.Short()));
    CHECK_EQ(140, int(read.Short()));
    CHECK_EQ(50, int(read.Short()));
    CHECK_EQ(std::string(""), read.NameOrOrdinal()); // no menu
    CHECK_EQ(std::string(""), read.NameOrOrdinal()); // the dialog class
    CHECK_EQ(std::string("Installing"), read.NameOrOrdinal());
    CHECK_EQ(8, int(read.Word()));
    CHECK_EQ(std::string("MS Sans Serif"), read.NameOrOrdinal());

    read.AlignDword(bytes.data());
    CHECK_EQ(0x50000001u, read.Dword());
    CHECK_EQ(0u, read.Dword());
    CHECK_EQ(0, int(read.Short()));
    CHECK_EQ(20, int(read.Short()));
    CHECK_EQ(140, int(read.Short()));
    CHECK_EQ(8, int(read.Short()));
    CHECK_EQ(IDC_PROGRESS_TEXT, int(read.Word()));
    const std::string className = read.NameOrOrdinal();
    CHECK(className == "#130" || lstrcmpiA(className.c_str(), "Static") == 0);
    CHECK_EQ(std::string("Installing Screen Saver..."), read.NameOrOrdinal());
    CHECK(read.Fits(2));
}
