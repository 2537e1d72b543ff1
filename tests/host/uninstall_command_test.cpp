// The Uninstall command: given this disk and this answer, these boxes in this
// order and these files left.
#include "install/uninstall_command.h"
#include "resources/resource_ids.h"
#include "tests/host/scenario.h"

#include <algorithm>

namespace {

using fake::world;


const Shown NothingInstalled = {IDS_NOTHING_TO_UNINSTALL, IDS_NOT_INSTALLED_CAPTION, 0x40};
const Shown Question = {IDS_UNINSTALL_QUESTION, IDS_UNINSTALLER_CAPTION, 0x34};
const Shown Removed = {IDS_UNINSTALLED, IDS_UNINSTALL_FINISHED_CAPTION, 0x40};
const Shown NotRemoved = {IDS_REMOVE_FAILED, IDS_UNINSTALLER_CAPTION, 0x30};

struct UninstallCase {
    const char* label;
    std::vector<std::string> diskBefore;
    std::function<void()> arrange; // locked files, failures
    std::vector<int> answers;      // in the order the boxes are answered
    std::vector<Shown> boxes;
    std::vector<std::string> diskAfter;
    // system.ini's SCRNSAVE.EXE before, with screen saving on; null: no entry, screen saving off.
    const char* chosenBefore = nullptr;
    // The entry after, screen saving still on; null: the entry was removed and screen saving switched off.
    const char* chosenAfter = nullptr;
};

void PrintTo(const UninstallCase& row, std::ostream* out) { *out << row.label; }

void Locked(const std::string& path) { world.state.files[fake::Key(path)].deletable = false; }
void Wow64() { world.knobs.wow64 = true; }

std::vector<std::string> Keys(std::vector<std::string> paths) {
    for (std::string& path : paths) path = fake::Key(path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

class UninstallTest : public Scenario, public ::testing::WithParamInterface<UninstallCase> {};

TEST_P(UninstallTest, BoxesAndFilesLeft) {
    const UninstallCase& row = GetParam();
    for (const std::string& path : row.diskBefore) fake::AddFile(path);
    const std::string entry = "SYSTEM.INI|BOOT|SCRNSAVE.EXE";
    if (row.chosenBefore != nullptr) {
        world.state.profile[entry] = row.chosenBefore;
        world.state.screenSaverActive = true;
    }
    if (row.arrange) row.arrange();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    world.record = {};
    world.knobs.answers.assign(row.answers.begin(), row.answers.end());

    UninstallScreenSaver(mainWindow);

    std::vector<fake::MessageBoxRecord> expectedBoxes;
    for (const Shown& box : row.boxes) expectedBoxes.push_back(Box(box.text, box.caption, box.type));
    EXPECT_EQ(expectedBoxes, world.record.boxes);
    std::vector<std::string> disk;
    for (const auto& file : world.state.files) disk.push_back(file.first);
    EXPECT_EQ(Keys(row.diskAfter), disk);
    if (row.chosenBefore == nullptr || row.chosenAfter != nullptr) {
        // Left exactly as it was.
        EXPECT_EQ(row.chosenBefore != nullptr, world.state.screenSaverActive);
        EXPECT_EQ(row.chosenAfter != nullptr, world.state.profile.count(entry) == 1);
        if (row.chosenAfter != nullptr) {
            EXPECT_EQ(row.chosenAfter, world.state.profile[entry]);
        }
        EXPECT_TRUE(world.record.settingsCalls.empty());
    } else {
        EXPECT_EQ(0u, world.state.profile.count(entry)) << "still names a removed copy";
        EXPECT_FALSE(world.state.screenSaverActive);
        EXPECT_EQ(std::vector<std::string>{"17 0 null 1"}, world.record.settingsCalls);
    }
    // Only the two directories, never a path relative to the current one.
    for (const std::string& entry : world.record.log) {
        for (const std::string operation : {"DeleteFileA ", "CreateFileA ", "MoveFileExA "})
            if (entry.rfind(operation, 0) == 0) {
                EXPECT_EQ(operation + "C:\\", entry.substr(0, operation.size() + 3));
            }
    }
}

const std::vector<std::string> Everything = {WinScr, WinPrefs, SysScr, SysPrefs};
const std::string RelativeVsPrefs = "AppData\\Local\\VirtualStore\\WINDOWS\\Quorvane-Prefs.ini";
const std::string NetworkVsPrefs = "\\\\server\\share\\Ann\\VirtualStore\\WINDOWS\\Quorvane-Prefs.ini";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Disks, UninstallTest, ::testing::Values(
    UninstallCase{"NothingInstalled", {}, {}, {IDYES}, {NothingInstalled}, {}},
    UninstallCase{"PreferencesAloneAreNothingInstalled", {WinPrefs, SysPrefs}, {}, {IDYES}, {NothingInstalled},
                  {WinPrefs, SysPrefs}},
    UninstallCase{"AnsweredNoLeavesEverything", Everything, {}, {IDNO}, {Question}, Everything},
    UninstallCase{"QuestionNotShownLeavesEverything", Everything, [] { world.knobs.failing = {"MessageBoxA"}; }, {},
                  {}, Everything},
    UninstallCase{"WindowsCopyTakesOnlyWindowsPreferences", Everything, [] { world.state.files.erase(fake::Key(SysScr)); },
                  {IDYES}, {Question, Removed}, {SysPrefs}},
    UninstallCase{"SystemCopyTakesBothPreferences", {SysScr, WinPrefs, SysPrefs}, {}, {IDYES}, {Question, Removed}, {}},
    UninstallCase{"CopiesInBothOneQuestionOneReport", Everything, {}, {IDYES}, {Question, Removed}, {}},
    UninstallCase{"NoSystemDirectorySearchesOnlyWindows", Everything, [] { world.knobs.failing = {"GetSystemDirectoryA"}; },
                  {IDYES}, {Question, Removed}, {SysScr, SysPrefs}},
    UninstallCase{"NoWindowsDirectorySearchesOnlySystem", Everything, [] { world.knobs.failing = {"GetWindowsDirectoryA"}; },
                  {IDYES}, {Question, Removed}, {WinScr, WinPrefs}},
    // A copy that cannot be deleted is reported, not counted as removed.
    UninstallCase{"WindowsCopyInUse", {WinScr, WinPrefs}, [] { Locked(WinScr); }, {IDYES}, {Question, NotRemoved},
                  {WinScr}},
    UninstallCase{"SystemCopyInUseWindowsCopyGoes", {WinScr, SysScr}, [] { Locked(SysScr); }, {IDYES},
                  {Question, NotRemoved}, {SysScr}},
    UninstallCase{"DeleteFileAFails", Everything, [] { world.knobs.failing = {"DeleteFileA"}; }, {IDYES},
                  {Question, NotRemoved}, Everything},
    UninstallCase{"LockedPreferencesAloneStillRemoved", {WinScr, WinPrefs}, [] { Locked(WinPrefs); }, {IDYES},
                  {Question, Removed}, {WinPrefs}},
    // Uninstall chosen again from the main window while the question is open.
    UninstallCase{"RemovedWhileTheQuestionWasOpen", {WinScr, WinPrefs},
                  [] { DuringBox(IDS_UNINSTALL_QUESTION, [] { UninstallScreenSaver(nullptr); }); }, {IDYES, IDOK, IDYES},
                  {Question, Question, Removed, NothingInstalled}, {}}),
    [](const auto& info) { return std::string(info.param.label); });

// A 32-bit program on 64-bit Windows: its System directory is SysWOW64 (SYSTEM
// here), the real one is reached as Sysnative.
INSTANTIATE_TEST_SUITE_P(Wow64, UninstallTest, ::testing::Values(
    UninstallCase{"CopyOnlyInTheRealSystemDirectory", {NatScr, NatPrefs, WinPrefs}, Wow64, {IDYES},
                  {Question, Removed}, {}},
    UninstallCase{"CopyOnlyInSysWow64LeavesTheRealSystemPreferences", {SysScr, SysPrefs, NatPrefs}, Wow64, {IDYES},
                  {Question, Removed}, {NatPrefs}},
    UninstallCase{"CopiesInBothSystemDirectories", {SysScr, NatScr, SysPrefs, NatPrefs, WinScr}, Wow64, {IDYES},
                  {Question, Removed}, {}},
    UninstallCase{"RealSystemCopyInUse", {NatScr, WinScr}, [] { Wow64(); Locked(NatScr); }, {IDYES},
                  {Question, NotRemoved}, {NatScr}},
    UninstallCase{"ThirtyTwoBitWindowsHasNoSysnative", {NatScr, NatPrefs}, {}, {IDYES}, {NothingInstalled},
                  {NatScr, NatPrefs}},
    UninstallCase{"IsWow64ProcessFailing", {NatScr}, [] { Wow64(); world.knobs.failing = {"IsWow64Process"}; },
                  {IDYES}, {NothingInstalled}, {NatScr}},
    UninstallCase{"IsWow64ProcessMissing", {NatScr}, [] { Wow64(); world.knobs.failing = {"GetProcAddress"}; },
                  {IDYES}, {NothingInstalled}, {NatScr}},
    // Virtualized preferences go with the preferences they stand for.
    UninstallCase{"VirtualStoreWindowsPreferencesGoWithAnyCopy", {WinScr, VsWinPrefs, VsSysPrefs}, {}, {IDYES},
                  {Question, Removed}, {VsSysPrefs}},
    UninstallCase{"VirtualStoreSystemPreferencesGoWithASystemCopy",
                  {NatScr, VsWinPrefs, VsSysPrefs, VsWow64Prefs}, Wow64, {IDYES}, {Question, Removed}, {}},
    UninstallCase{"VirtualStoreAloneIsNothingInstalled", {VsWinPrefs}, {}, {IDYES}, {NothingInstalled},
                  {VsWinPrefs}},
    UninstallCase{"NoLocalAppDataNoVirtualStore", {WinScr, VsWinPrefs},
                  [] { world.knobs.localAppData.clear(); }, {IDYES}, {Question, Removed}, {VsWinPrefs}},
    // The folder the elevated uninstaller deletes in: only on a drive, and only where it really is.
    UninstallCase{"RelativeLocalAppDataNoVirtualStore", {WinScr, RelativeVsPrefs},
                  [] { world.knobs.localAppData = "AppData\\Local"; }, {IDYES}, {Question, Removed}, {RelativeVsPrefs}},
    UninstallCase{"NetworkLocalAppDataNoVirtualStore", {WinScr, NetworkVsPrefs},
                  [] { world.knobs.localAppData = "\\\\server\\share\\Ann"; }, {IDYES}, {Question, Removed},
                  {NetworkVsPrefs}},
    // A junction planted at VirtualStore\WINDOWS pointing into the System directory.
    UninstallCase{"VirtualStoreJunctionLeavesBothFiles", {WinScr, VsWinPrefs, SysPrefs},
                  [] { world.knobs.finalPaths[fake::Key(VsWinPrefs)] = "\\\\?\\" + SysPrefs; }, {IDYES},
                  {Question, Removed}, {VsWinPrefs, SysPrefs}},
    // The 64-bit Screen Saver settings name the real System32 copy through System32's own name.
    UninstallCase{"EntryNamingTheRealSystemCopyAs64BitProgramsDo", {NatScr}, Wow64, {IDYES}, {Question, Removed}, {},
                  "C:\\WINDOWS\\SYSTEM\\Quorvane.scr", nullptr},
    // The same name is the SysWOW64 copy to 32-bit programs: its removal leaves the entry to the real one that stayed.
    UninstallCase{"EntryOfTheRealSystemCopyThatStayed", {SysScr, NatScr}, [] { Wow64(); Locked(NatScr); }, {IDYES},
                  {Question, NotRemoved}, {NatScr}, "C:\\WINDOWS\\SYSTEM\\Quorvane.scr",
                  "C:\\WINDOWS\\SYSTEM\\Quorvane.scr"}),
    [](const auto& info) { return std::string(info.param.label); });

const char LongWindowsScr[] = "C:\\Windows Folder\\Quorvane.scr";
void LongWindowsDirectory() { world.knobs.windowsDirectory = "C:\\Windows Folder"; }

// The system's screen saver setting after a removal: cleared only when it names a copy that went.
INSTANTIATE_TEST_SUITE_P(ScreenSaverEntry, UninstallTest, ::testing::Values(
    UninstallCase{"ShortPathOfTheWindowsCopy", {LongWindowsScr}, LongWindowsDirectory, {IDYES}, {Question, Removed}, {},
                  "C:\\WINDOW~1\\QUORVANE.SCR", nullptr},
    UninstallCase{"LongPathOfTheWindowsCopy", {LongWindowsScr}, LongWindowsDirectory, {IDYES}, {Question, Removed}, {},
                  LongWindowsScr, nullptr},
    UninstallCase{"SystemCopyInOtherCase", {SysScr, WinScr}, {}, {IDYES}, {Question, Removed}, {},
                  "c:\\windows\\system\\quorvane.scr", nullptr},
    UninstallCase{"AnotherScreenSaverStays", {WinScr}, {}, {IDYES}, {Question, Removed}, {},
                  "C:\\WINDOWS\\SYSTEM\\Mystify.scr", "C:\\WINDOWS\\SYSTEM\\Mystify.scr"},
    UninstallCase{"EmptyEntryStays", {WinScr}, {}, {IDYES}, {Question, Removed}, {}, "", ""},
    UninstallCase{"CopyThatStayedKeepsItsEntry", {WinScr}, [] { Locked(WinScr); }, {IDYES}, {Question, NotRemoved},
                  {WinScr}, "C:\\WINDOWS\\Quorvane.scr", "C:\\WINDOWS\\Quorvane.scr"},
    UninstallCase{"AnsweredNoKeepsTheEntry", {WinScr}, {}, {IDNO}, {Question}, {WinScr}, "C:\\WINDOWS\\QUORVANE.SCR",
                  "C:\\WINDOWS\\QUORVANE.SCR"}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

} // namespace
