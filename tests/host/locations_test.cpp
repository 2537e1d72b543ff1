// The two directories and three names, and the path, comparison and presence helpers.
#include "install/locations.h"
#include "install/path_compare.h"
#include "resources/resource_ids.h"
#include "tests/host/scenario.h"

namespace {

using fake::world;

struct DirectoryCase {
    const char* label;
    std::string platformGives; // what the directory call reports
    bool callFails;
    std::string expected; // the buffer afterwards
};

void PrintTo(const DirectoryCase& row, std::ostream* out) { *out << row.label; }

class DirectoryTest : public Scenario, public ::testing::WithParamInterface<DirectoryCase> {};

// Each directory alone, so that one call's outcome cannot leak into the other.
TEST_P(DirectoryTest, EachDirectoryAlone) {
    struct Directory {
        std::string fake::Knobs::*given;
        const char* call;
        char (InstallLocations::*loaded)[DirectorySize];
        char (InstallLocations::*other)[DirectorySize];
        const char* otherExpected;
    };
    for (const Directory& directory :
         {Directory{&fake::Knobs::windowsDirectory, "GetWindowsDirectoryA", &InstallLocations::WindowsDir,
                    &InstallLocations::SystemDir, "C:\\WINDOWS\\SYSTEM\\"},
          Directory{&fake::Knobs::systemDirectory, "GetSystemDirectoryA", &InstallLocations::SystemDir,
                    &InstallLocations::WindowsDir, "C:\\WINDOWS\\"}}) {
        SetUp();
        world.knobs.*directory.given = GetParam().platformGives;
        if (GetParam().callFails) world.knobs.failing = {directory.call};
        LoadInstallSettings();
        EXPECT_EQ(GetParam().expected, std::string(locations.*directory.loaded)) << directory.call;
        EXPECT_EQ(directory.otherExpected, std::string(locations.*directory.other)) << directory.call;
    }
}

using LocationsTest = Scenario;

const std::string Name98 = "C:\\" + std::string(95, 'd');

INSTANTIATE_TEST_SUITE_P(
    Results, DirectoryTest,
    ::testing::Values(DirectoryCase{"GainsABackslash", "C:\\WINDOWS", false, "C:\\WINDOWS\\"},
                      DirectoryCase{"DriveRootUnchanged", "C:\\", false, "C:\\"},
                      DirectoryCase{"Longest98Characters", Name98, false, Name98 + "\\"},
                      DirectoryCase{"NoRoomFor99Characters", "C:\\" + std::string(96, 'd'), false, ""},
                      DirectoryCase{"TooLongFor100Characters", "C:\\" + std::string(97, 'd'), false, ""},
                      DirectoryCase{"TooLongFor260Characters", "C:\\" + std::string(257, 'd'), false, ""},
                      DirectoryCase{"CallFails", "C:\\WINDOWS", true, ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(LocationsTest, NamesComeFromTheStringTableCutToTheirBuffers) {
    LoadInstallSettings();
    EXPECT_EQ("Quorvane.sc_", std::string(names.TempName));
    EXPECT_EQ("Quorvane.scr", std::string(names.ScrName));
    EXPECT_EQ("Quorvane-Prefs.ini", std::string(names.PrefsName));

    world.state.strings[IDS_TEMP_NAME] = std::string(30, 't');
    world.state.strings[IDS_PREFS_NAME] = std::string(150, 'p');
    LoadInstallSettings();
    EXPECT_EQ(std::string(19, 't'), std::string(names.TempName));
    EXPECT_EQ(std::string(99, 'p'), std::string(names.PrefsName));
}

TEST_F(LocationsTest, ComposePathJoinsWithoutSeparatorAndNeverOverflows) {
    char path[PathSize];
    ComposePath(path, "C:\\WINDOWS\\", "Quorvane.scr");
    EXPECT_EQ("C:\\WINDOWS\\Quorvane.scr", std::string(path));
    ComposePath(path, std::string(250, 'd').c_str(), std::string(250, 'n').c_str());
    EXPECT_EQ(std::string(250, 'd') + std::string(49, 'n'), std::string(path));
}

struct SamePathCase {
    const char* label;
    const char* first;
    const char* second;
    bool same;
};

void PrintTo(const SamePathCase& row, std::ostream* out) { *out << row.label; }

class SamePathTest : public ::testing::TestWithParam<SamePathCase> {};

TEST_P(SamePathTest, ComparesTheSameInEveryLocale) {
    EXPECT_EQ(GetParam().same, SamePath(GetParam().first, GetParam().second));
    EXPECT_EQ(GetParam().same, SamePath(GetParam().second, GetParam().first)) << "in the other order";
}

// The Turkish rows are in code page 1254: 0xDD is the dotted capital I, 0xFD the dotless small i.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SamePathTest, ::testing::Values(
    SamePathCase{"OtherLetterCaseWithIAndSmallI", "C:\\WINDOWS\\QUORVANE.SCR", "c:\\windows\\quorvane.scr", true},
    SamePathCase{"ShortFormInOtherCase", "C:\\WINDOW~1\\QUORVA~1.SCR", "c:\\Window~1\\Quorva~1.scr", true},
    SamePathCase{"LongAndShortFormsAreTwoNames", "C:\\Windows Folder\\Quorvane.scr", "C:\\WINDOW~1\\QUORVANE.SCR", false},
    SamePathCase{"DottedCapitalIIsAnotherLetter", "C:\\W\xDDNDOWS\\QUORVANE.SCR", "C:\\windows\\Quorvane.scr", false},
    SamePathCase{"DotlessSmallIIsAnotherLetter", "C:\\w\xFDndows\\Quorvane.scr", "C:\\WINDOWS\\Quorvane.scr", false},
    SamePathCase{"LongerNameIsAnotherFile", "C:\\WINDOWS\\Quorvane.scr", "C:\\WINDOWS\\Quorvane.scr2", false},
    // Shift-JIS 0x83 0x41 and 0x83 0x61 are two katakana, not one letter in two cases.
    SamePathCase{"DoubleByteSecondByteIsNoLetter", "C:\\\x83\x41\\Quorvane.scr", "C:\\\x83\x61\\Quorvane.scr", false},
    SamePathCase{"AfterADoubleByteCharacterCaseIsIgnored", "C:\\\x83\x41\\Quorvane.scr", "C:\\\x83\x41\\QUORVANE.SCR", true}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

TEST_F(LocationsTest, IsPresentInSearchesOnlyTheOneDirectory) {
    fake::AddFile("C:\\WINDOWS\\SYSTEM\\Quorvane.scr");
    fake::AddDirectory("C:\\WINDOWS\\Quorvane-Prefs.ini");
    EXPECT_NE(0u, IsPresentIn("C:\\WINDOWS\\SYSTEM\\", "Quorvane.scr"));
    EXPECT_EQ(0u, IsPresentIn("C:\\WINDOWS\\", "Quorvane.scr"));
    EXPECT_EQ(0u, IsPresentIn("C:\\WINDOWS\\", "Quorvane-Prefs.ini")) << "a directory is not the file";

    // An empty directory is no directory: nothing is searched, not even the default places.
    const int searches = world.record.calls["SearchPathA"];
    EXPECT_EQ(0u, IsPresentIn("", "Quorvane.scr"));
    EXPECT_EQ(searches, world.record.calls["SearchPathA"]);
}

} // namespace
