// The two directories and three names, and the path and presence helpers.
#include "install/locations.h"
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
