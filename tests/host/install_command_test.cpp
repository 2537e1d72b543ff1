// The Install command as its user meets it: given this disk, these answers and
// these platform failures, these boxes in this order, and this disk and these
// system settings at the end.
#include "app/app_state.h"
#include "install/crc32.h"
#include "install/install_command.h"
#include "install/payload.h"
#include "install/payload_check.h"
#include "install/uninstall_command.h"
#include "resources/resource_ids.h"
#include "tests/host/scenario.h"

#include <algorithm>

namespace {

using fake::world;

const fake::Bytes OldCopy = {'o', 'l', 'd'};
// 99 characters: the platform fills the buffer but leaves no room for the backslash.
const std::string Dir99 = "C:\\" + std::string(96, 'D');
const std::string Dir150 = "C:\\" + std::string(147, 'D');


struct InstallCase {
    const char* label;
    std::function<void()> arrange; // disk, directories and failures, before the program starts
    std::vector<int> answers;
    std::vector<Shown> boxes;
    std::vector<std::string> diskAfter; // every file and directory left
    const char* systemIni;              // SCRNSAVE.EXE value, screen saving switched on; null: no activation
    std::vector<std::string> settingsCalls = {"17 1 null 1"}; // with an activation
};

void PrintTo(const InstallCase& row, std::ostream* out) { *out << row.label; }

void Copy(const std::string& path) { fake::AddFile(path, OldCopy); }
void Locked(const std::string& path) {
    Copy(path);
    world.state.files[fake::Key(path)].deletable = false;
}
void Fail(const char* operation) { world.knobs.failing.insert(operation); }
void DamageExpansion(std::function<void(fake::Bytes&)> damage) { world.knobs.damageExpansion = std::move(damage); }
HWND MainWindow() { return fake::WindowsOfClass("ProgramInstaller").at(0)->handle; }

// A broken download: one byte of the compressed screen saver changed.
void DamagePayload() {
    fake::Bytes payload = fake::ReadHostFile(QUORVANE_PAYLOAD_FILE);
    payload[payload.size() / 2] ^= 0x20;
    fake::AddResource(PayloadName, PayloadType, payload);
}
// A payload with the build's record of it: a gzip trailer of the program, then one of the payload.
void UsePayload(const fake::Bytes& compressed, const fake::Bytes& program) {
    fake::Bytes record;
    for (uint32_t word : {Crc32Update(Crc32Start, program.data(), program.size()), uint32_t(program.size()),
                          Crc32Update(Crc32Start, compressed.data(), compressed.size()), uint32_t(compressed.size())})
        for (int shift = 0; shift < 32; shift += 8) record.push_back(uint8_t(word >> shift));
    fake::AddResource(PayloadName, PayloadType, compressed);
    fake::AddResource(PayloadCheckName, PayloadType, record);
}
// A screen saver in use: copies in both directories, their preferences, the
// user's virtualized preferences, the entry naming it and screen saving on.
const std::string Entry = "SYSTEM.INI|BOOT|SCRNSAVE.EXE";
void WorkingInstall() {
    for (const std::string& path : {WinScr, WinPrefs, SysScr, SysPrefs, VsWinPrefs}) Copy(path);
    world.state.profile[Entry] = "C:\\WINDOWS\\QUORVANE.SCR";
    world.state.screenSaverActive = true;
}
const std::vector<std::string> WorkingDisk = {WinScr, WinPrefs, SysScr, SysPrefs, VsWinPrefs};
void Install() { InstallScreenSaver(MainWindow()); }
void Uninstall() { UninstallScreenSaver(MainWindow()); }

class InstallTest : public Scenario, public ::testing::WithParamInterface<InstallCase> {};

TEST_P(InstallTest, BoxesDiskAndSettings) {
    const InstallCase& row = GetParam();
    if (row.arrange) row.arrange();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    world.record = {}; // failOnCall counts from the command on
    world.knobs.answers.assign(row.answers.begin(), row.answers.end());
    const auto filesBefore = world.state.files;
    const auto profileBefore = world.state.profile;
    const bool activeBefore = world.state.screenSaverActive;

    InstallScreenSaver(mainWindow);

    std::vector<fake::MessageBoxRecord> expectedBoxes;
    for (const Shown& box : row.boxes) expectedBoxes.push_back(Box(box.text, box.caption, box.type));
    EXPECT_EQ(expectedBoxes, world.record.boxes);

    std::vector<std::string> expectedDisk, disk;
    for (const std::string& path : row.diskAfter) expectedDisk.push_back(fake::Key(path));
    std::sort(expectedDisk.begin(), expectedDisk.end());
    for (const auto& file : world.state.files) disk.push_back(file.first);
    EXPECT_EQ(expectedDisk, disk);

    const std::string installed = world.knobs.windowsDirectory + "\\Quorvane.scr";
    if (row.systemIni != nullptr) {
        ASSERT_NE(nullptr, fake::FileBytes(installed));
        EXPECT_TRUE(*fake::FileBytes(installed) == PayloadProgram()) << "installed copy differs from the program";
        EXPECT_EQ(row.systemIni, world.state.profile["SYSTEM.INI|BOOT|SCRNSAVE.EXE"]);
        EXPECT_EQ(row.settingsCalls, world.record.settingsCalls);
    } else {
        // Nothing half done: every file as it was, byte for byte, the entry and screen saving too.
        EXPECT_EQ(filesBefore.size(), world.state.files.size());
        for (const auto& [path, file] : filesBefore) {
            const auto after = world.state.files.find(path);
            EXPECT_TRUE(after != world.state.files.end() && after->second.bytes == file.bytes) << path << " changed";
        }
        EXPECT_EQ(profileBefore, world.state.profile);
        EXPECT_EQ(activeBefore, world.state.screenSaverActive);
        EXPECT_TRUE(world.record.settingsCalls.empty());
    }

    // Never a file relative to the current directory, never a progress window left open.
    for (const std::string& entry : world.record.log) {
        const std::string operation = entry.substr(0, entry.find(' '));
        if (operation == "CreateFileA" || operation == "DeleteFileA" || operation == "LZOpenFileA" ||
            operation == "MoveFileExA") {
            EXPECT_EQ(operation + " C:\\", entry.substr(0, operation.size() + 4));
        }
        EXPECT_NE("LZClose -", entry.substr(0, 9)) << "an error code closed as a handle";
    }
    EXPECT_TRUE(fake::WindowsOfClass("#32770").empty()) << "progress window left open";
    EXPECT_EQ(nullptr, app.progressWindow);
    EXPECT_TRUE(fake::Window(mainWindow)->alive);
}

const Shown Question = {IDS_REPLACE_QUESTION, IDS_INSTALLER_CAPTION, 0x34};
const Shown Removed = {IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, 0x40};
const Shown UninstallQuestion = {IDS_UNINSTALL_QUESTION, IDS_UNINSTALLER_CAPTION, 0x34};
const Shown NotRemoved = {IDS_REMOVE_FAILED, IDS_UNINSTALLER_CAPTION, 0x30};
const Shown Success = {IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, 0x40};
const Shown NotExpanded = {IDS_EXPAND_FAILED, IDS_INSTALL_ERROR_CAPTION, 0x30};
const Shown NotWritten = {IDS_TEMP_NOT_WRITTEN, IDS_INSTALL_ERROR_CAPTION, 0x30};
const Shown NotCreated = {IDS_TEMP_NOT_CREATED, IDS_INSTALL_ERROR_CAPTION, 0x30};
const Shown NotLoaded = {IDS_PAYLOAD_NOT_LOADED, IDS_RESOURCE_ERROR_CAPTION, 0x30};
const Shown NotLocked = {IDS_PAYLOAD_NOT_LOCKED, IDS_RESOURCE_ERROR_CAPTION, 0x30};
const Shown NotActivated = {IDS_NOT_ACTIVATED, IDS_INSTALL_ERROR_CAPTION, 0x30};
const Shown Damaged = {IDS_INSTALLER_DAMAGED, IDS_INSTALL_ERROR_CAPTION, 0x30};
const char Short[] = "C:\\WINDOWS\\QUORVANE.SCR";
void Wow64() { world.knobs.wow64 = true; }

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scenarios, InstallTest, ::testing::Values(
    InstallCase{"NothingInstalled", {}, {}, {Success}, {WinScr}, Short},
    InstallCase{"LongWindowsDirectoryNameIsWrittenShort", [] { world.knobs.windowsDirectory = "C:\\Windows Folder"; },
                {}, {Success}, {"C:\\Windows Folder\\Quorvane.scr"}, "C:\\WINDOW~1\\QUORVANE.SCR"},
    InstallCase{"CopyInWindowsAnsweredNo", [] { Copy(WinScr); Copy(WinPrefs); }, {IDNO}, {Question},
                {WinScr, WinPrefs}, nullptr},
    // A question that cannot be shown is a No.
    InstallCase{"CopyInWindowsQuestionNotShown", [] { Copy(WinScr); Fail("MessageBoxA"); }, {}, {}, {WinScr}, nullptr},
    InstallCase{"CopyInWindowsAnsweredYes", [] { Copy(WinScr); Copy(WinPrefs); Copy(SysPrefs); }, {IDYES},
                {Question, Removed, Success}, {WinScr, SysPrefs}, Short},
    InstallCase{"CopyOnlyInSystemIsReplacedInWindows", [] { Copy(SysScr); Copy(SysPrefs); Copy(WinPrefs); },
                {IDYES}, {Question, Removed, Success}, {WinScr}, Short},
    InstallCase{"CopiesInBothOneQuestionOneReport", [] { Copy(WinScr); Copy(SysScr); }, {IDYES},
                {Question, Removed, Success}, {WinScr}, Short},
    // On 64-bit Windows the real System directory, where the Screen Saver settings look, is reached as Sysnative.
    InstallCase{"Wow64CopyInTheRealSystemDirectoryIsReplaced", [] { Wow64(); Copy(NatScr); Copy(NatPrefs); },
                {IDYES}, {Question, Removed, Success}, {WinScr}, Short},
    InstallCase{"Wow64CopyInTheRealSystemDirectoryAnsweredNo", [] { Wow64(); Copy(NatScr); }, {IDNO}, {Question},
                {NatScr}, nullptr},
    InstallCase{"Wow64CopiesInBothSystemDirectories", [] { Wow64(); Copy(NatScr); Copy(SysScr); }, {IDYES},
                {Question, Removed, Success}, {WinScr}, Short},
    // The old copy's entry goes with it, and the new copy's takes its place.
    InstallCase{"EntryOfTheReplacedCopyIsTheNewOne",
                [] { Copy(WinScr); world.state.profile["SYSTEM.INI|BOOT|SCRNSAVE.EXE"] = "C:\\WINDOWS\\Quorvane.scr"; },
                {IDYES}, {Question, Removed, Success}, {WinScr}, Short},
    InstallCase{"ThirtyTwoBitWindowsHasNoSysnative", [] { Copy(NatScr); }, {}, {Success}, {NatScr, WinScr}, Short},
    InstallCase{"PreferencesAloneAreNoCopy", [] { Copy(WinPrefs); }, {}, {Success}, {WinPrefs, WinScr}, Short},
    InstallCase{"LeftoverTempFileIsOverwrittenAndRemoved", [] { Copy(WinTemp); }, {}, {Success}, {WinScr}, Short},
    InstallCase{"TempNameTakenByADirectory", [] { fake::AddDirectory(WinTemp); }, {}, {NotCreated}, {WinTemp},
                nullptr},
    InstallCase{"TargetNameTakenByADirectory", [] { fake::AddDirectory(WinScr); }, {}, {NotExpanded}, {WinScr},
                nullptr},
    InstallCase{"PayloadThatExpandsToNothing",
                [] { UsePayload({'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'r', 0, 0, 0, 0}, {}); },
                {}, {NotExpanded}, {}, nullptr},
    // Failures that must never pass for success.
    InstallCase{"ShortWriteIsAFailure", [] { world.knobs.shortWriteBy = 1; }, {}, {NotWritten}, {}, nullptr},
    InstallCase{"InstalledFileGoneAfterThePauseIsNoSuccess",
                [] { world.knobs.onSleep = [] { world.state.files.erase(fake::Key(WinScr)); }; }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"PartlyExpandedTargetIsDeleted", [] { world.knobs.partialExpansion = 1000; }, {}, {NotExpanded}, {},
                nullptr},
    // The expansion succeeds but the file is not the program the build compressed.
    InstallCase{"ExpandedCopyDiffersInOneByte", [] { DamageExpansion([](fake::Bytes& b) { b[b.size() / 2] ^= 1; }); },
                {}, {NotExpanded}, {}, nullptr},
    InstallCase{"ExpandedCopyOneByteShort", [] { DamageExpansion([](fake::Bytes& b) { b.pop_back(); }); }, {},
                {NotExpanded}, {}, nullptr},
    InstallCase{"ExpandedCopyOneByteLong", [] { DamageExpansion([](fake::Bytes& b) { b.push_back(0); }); }, {},
                {NotExpanded}, {}, nullptr},
    InstallCase{"NoRecordOfTheProgramIsNoProof", [] { world.state.resources.erase({"PROGRAMCRC", "DATA"}); }, {},
                {Damaged}, {}, nullptr},
    InstallCase{"CopyInUseStopsInstall", [] { Locked(WinScr); }, {IDYES}, {Question, NotRemoved}, {WinScr},
                nullptr},
    InstallCase{"SystemCopyInUseStopsInstall", [] { Copy(WinScr); Locked(SysScr); }, {IDYES},
                {Question, NotRemoved}, {WinScr, SysScr}, nullptr},
    InstallCase{"NoWindowsDirectoryNothingWritten", [] { Fail("GetWindowsDirectoryA"); }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"NoWindowsDirectoryKeepsTheSystemCopy", [] { Fail("GetWindowsDirectoryA"); Copy(SysScr); },
                {}, {NotExpanded}, {SysScr}, nullptr},
    // Commands chosen from the main window while one of this command's boxes is open.
    InstallCase{"UninstalledDuringTheSuccessBoxIsNotActivated", [] { DuringBox(IDS_INSTALL_SUCCESS, Uninstall); },
                {IDYES}, {Success, UninstallQuestion, Removed}, {}, nullptr},
    InstallCase{"UninstalledDuringTheReplaceQuestionIsNotReportedTwice",
                [] { Copy(WinScr); DuringBox(IDS_REPLACE_QUESTION, Uninstall); }, {IDYES, IDOK, IDYES},
                {Question, UninstallQuestion, Removed, Success}, {WinScr}, Short},
    InstallCase{"InstallDuringTheWriteErrorFindsTheTempFileClosed",
                [] { world.knobs.failOnCall["WriteFile"] = {1}; DuringBox(IDS_TEMP_NOT_WRITTEN, Install); }, {},
                {NotWritten, Success}, {WinScr}, Short},
    // A broken download is found before anything is asked or changed.
    InstallCase{"DamagedInstallerOnACleanMachine", DamagePayload, {}, {Damaged}, {}, nullptr},
    InstallCase{"DamagedInstallerOverAWorkingInstall", [] { WorkingInstall(); DamagePayload(); }, {}, {Damaged},
                WorkingDisk, nullptr},
    InstallCase{"WorkingInstallReplaced", WorkingInstall, {IDYES}, {Question, Removed, Success}, {WinScr}, Short},
    // Once the user has agreed to replace, a failure at any step puts back the
    // earlier copies, their preferences, the entry and the setting.
    InstallCase{"TempFileFailsAfterYes", [] { WorkingInstall(); Fail("CreateFileA"); }, {IDYES},
                {Question, Removed, NotCreated}, WorkingDisk, nullptr},
    InstallCase{"ExpansionFailsAfterYes", [] { WorkingInstall(); Fail("LZCopy"); }, {IDYES},
                {Question, Removed, NotExpanded}, WorkingDisk, nullptr},
    InstallCase{"CheckFailsAfterYes",
                [] { WorkingInstall(); DamageExpansion([](fake::Bytes& b) { b[b.size() / 3] ^= 1; }); }, {IDYES},
                {Question, Removed, NotExpanded}, WorkingDisk, nullptr},
    // The earlier copies went aside first (the System's, then the Windows'), then the new one fails to take its place.
    InstallCase{"MoveIntoPlaceFailsAfterYes", [] { WorkingInstall(); world.knobs.failOnCall["MoveFileExA"] = {3}; },
                {IDYES}, {Question, Removed, NotExpanded}, WorkingDisk, nullptr},
    InstallCase{"ExpandedNameTakenByADirectoryAfterYes", [] { WorkingInstall(); fake::AddDirectory(WinScr + ".new"); },
                {IDYES}, {Question, Removed, NotExpanded},
                {WinScr, WinPrefs, SysScr, SysPrefs, VsWinPrefs, WinScr + ".new"}, nullptr}),
    [](const auto& info) { return std::string(info.param.label); });

// A failure of each platform call the command can meet.
INSTANTIATE_TEST_SUITE_P(PlatformFailures, InstallTest, ::testing::Values(
    InstallCase{"FindResourceA", [] { Fail("FindResourceA"); }, {}, {NotLoaded}, {}, nullptr},
    InstallCase{"LoadResource", [] { Fail("LoadResource"); }, {}, {NotLoaded}, {}, nullptr},
    InstallCase{"LockResource", [] { Fail("LockResource"); }, {}, {NotLocked}, {}, nullptr},
    InstallCase{"SizeofResource", [] { Fail("SizeofResource"); }, {}, {Damaged}, {}, nullptr},
    InstallCase{"CreateFileA", [] { Fail("CreateFileA"); }, {}, {NotCreated}, {}, nullptr},
    InstallCase{"WriteFileLeavesNoTempFile", [] { Fail("WriteFile"); }, {}, {NotWritten}, {}, nullptr},
    InstallCase{"LZOpenFileAOfTheSource", [] { world.knobs.failOnCall["LZOpenFileA"] = {1}; }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"LZOpenFileAOfTheTarget", [] { world.knobs.failOnCall["LZOpenFileA"] = {2}; }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"LZCopy", [] { Fail("LZCopy"); }, {}, {NotExpanded}, {}, nullptr},
    InstallCase{"CreateFileAOfTheReadBack", [] { world.knobs.failOnCall["CreateFileA"] = {2}; }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"ReadFile", [] { Fail("ReadFile"); }, {}, {NotExpanded}, {}, nullptr},
    InstallCase{"ReadFileAfterTheFirstBlock", [] { world.knobs.failOnCall["ReadFile"] = {2}; }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"DeleteFileAOfTheTempFile", [] { Fail("DeleteFileA"); }, {}, {Success}, {WinScr, WinTemp}, Short},
    // An earlier copy that can be renamed but not deleted (a program running from it) goes at the next restart.
    InstallCase{"DeleteFileAOfTheOldCopy", [] { Copy(WinScr); Fail("DeleteFileA"); }, {IDYES},
                {Question, Removed, Success}, {WinScr, WinScr + ".old", WinTemp}, Short},
    InstallCase{"MoveFileExAOfTheOldCopy", [] { Copy(WinScr); Fail("MoveFileExA"); }, {IDYES},
                {Question, NotRemoved}, {WinScr}, nullptr},
    InstallCase{"CreateDialogParamA", [] { Fail("CreateDialogParamA"); }, {}, {Success}, {WinScr}, Short},
    InstallCase{"GetShortPathNameAWritesTheLongPath", [] { Fail("GetShortPathNameA"); }, {}, {Success}, {WinScr},
                "C:\\WINDOWS\\Quorvane.scr"},
    // Installed but not made the active screen saver: the user is told after the success box.
    InstallCase{"WritePrivateProfileStringA", [] { Fail("WritePrivateProfileStringA"); }, {}, {Success, NotActivated},
                {WinScr}, ""},
    InstallCase{"SystemParametersInfoA", [] { Fail("SystemParametersInfoA"); }, {}, {Success, NotActivated},
                {WinScr}, Short},
    InstallCase{"GetWindowsDirectoryA99Characters", [] { world.knobs.windowsDirectory = Dir99; }, {}, {NotExpanded}, {},
                nullptr},
    InstallCase{"GetWindowsDirectoryA150Characters", [] { world.knobs.windowsDirectory = Dir150; }, {}, {NotExpanded},
                {}, nullptr},
    InstallCase{"GetSystemDirectoryA", [] { Fail("GetSystemDirectoryA"); Copy(SysScr); }, {}, {Success},
                {SysScr, WinScr}, Short},
    InstallCase{"GetSystemDirectoryA99Characters",
                [] { world.knobs.systemDirectory = Dir99; fake::AddDirectory(Dir99); Copy(Dir99 + "\\Quorvane.scr"); },
                {}, {Success}, {Dir99, Dir99 + "\\Quorvane.scr", WinScr}, Short},
    InstallCase{"GetSystemDirectoryA150Characters", [] { world.knobs.systemDirectory = Dir150; }, {}, {Success}, {WinScr},
                Short}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

} // namespace
