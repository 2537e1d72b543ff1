// The main window, its command table and the message boxes, against the fake platform.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "install/locations.h"
#include "resources/resource_ids.h"
#include "tests/fake/fake_platform.h"
#include "tests/host/scenario.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

namespace {

using fake::world;

class MainWindowTest : public Scenario {
  protected:
    // Runs the whole program with the messages already queued.
    int RunProgram() {
        char noCommandLine[] = "";
        return WinMain(fake::Instance, nullptr, noCommandLine, SW_SHOWDEFAULT);
    }
};

TEST_F(MainWindowTest, RegistersTheMainClass) {
    ASSERT_TRUE(RegisterMainClass(fake::Instance));
    const WNDCLASSA& registered = world.state.classes.at("PROGRAMINSTALLER");
    EXPECT_EQ(UINT(CS_HREDRAW | CS_VREDRAW), registered.style);
    EXPECT_EQ(&MainWindowProc, registered.lpfnWndProc);
    EXPECT_EQ(0, registered.cbClsExtra);
    EXPECT_EQ(0, registered.cbWndExtra);
    EXPECT_EQ(fake::Instance, registered.hInstance);
    EXPECT_NE(nullptr, registered.hIcon);
    EXPECT_NE(nullptr, registered.hCursor);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(INT_PTR{17}), registered.hbrBackground);
    EXPECT_STREQ("Menu_1", registered.lpszMenuName);
    EXPECT_EQ(1, world.record.calls["LoadIconA"]);
    EXPECT_NE(world.record.log.end(), std::find(world.record.log.begin(), world.record.log.end(), "LoadIconA AppIcon"));
}

TEST_F(MainWindowTest, ClassWithoutIconStillRegisters) {
    world.knobs.failing = {"LoadIconA"};
    ASSERT_TRUE(RegisterMainClass(fake::Instance));
    EXPECT_EQ(nullptr, world.state.classes.at("PROGRAMINSTALLER").hIcon);
}

TEST_F(MainWindowTest, CreatesTheTitledFixedWindowAndShowsIt) {
    ASSERT_TRUE(RegisterMainClass(fake::Instance));
    ASSERT_TRUE(CreateMainWindow(fake::Instance, SW_SHOWDEFAULT));
    ASSERT_EQ(1u, fake::WindowsOfClass("ProgramInstaller").size());
    const fake::WindowRecord& window = *fake::WindowsOfClass("ProgramInstaller")[0];
    EXPECT_EQ("Installer - Quorvane Ver 1.0", window.text);
    EXPECT_EQ(DWORD(0x00C80000), window.style);
    EXPECT_EQ(0u, window.exStyle);
    EXPECT_EQ(nullptr, window.parent);
    EXPECT_EQ(SW_SHOWDEFAULT, window.showCommand);
    EXPECT_EQ(fake::Instance, app.instance);
    // Buttons, settings and banner exist before the window is first shown.
    EXPECT_EQ(3u, fake::ChildrenOf(window.handle).size());
    EXPECT_EQ("C:\\WINDOWS\\", std::string(locations.WindowsDir));
    const auto showAt = std::find(world.record.log.begin(), world.record.log.end(), "ShowWindow 10");
    const auto lastButton = std::find(world.record.log.begin(), world.record.log.end(), "CreateWindowExA button");
    EXPECT_LT(lastButton - world.record.log.begin(), showAt - world.record.log.begin());
}

TEST_F(MainWindowTest, ProgramReturnsZeroWhenItCannotStart) {
    for (const char* failing : {"RegisterClassA", "CreateWindowExA"}) {
        SetUp();
        world.knobs.failing = {failing};
        EXPECT_EQ(0, RunProgram()) << failing;
        EXPECT_TRUE(world.record.boxes.empty()) << failing;
        EXPECT_EQ(0, world.record.calls["GetMessageA"]) << failing;
    }
}

// What the process does before its first window class, which loads DLLs by name.
struct DllSearchCase {
    const char* label;
    std::set<std::string> failing;
    std::vector<std::string> beforeTheClass;
};

class DllSearchTest : public MainWindowTest, public ::testing::WithParamInterface<DllSearchCase> {};

TEST_P(DllSearchTest, IsHardenedBeforeTheClass) {
    world.knobs.failing = GetParam().failing;
    world.knobs.failing.insert("RegisterClassA");
    RunProgram();
    const auto icon = std::find(world.record.log.begin(), world.record.log.end(), "LoadIconA AppIcon");
    ASSERT_NE(world.record.log.end(), icon);
    EXPECT_EQ(GetParam().beforeTheClass, std::vector<std::string>(world.record.log.begin(), icon));
}

const char LookUp[] = "GetModuleHandleA kernel32.dll";
const char Find[] = "GetProcAddress SetDefaultDllDirectories";
const char SystemOnly[] = "SetDefaultDllDirectories 0x800";
const char NoCurrentDirectory[] = "SetDllDirectoryA \"\"";
const char SystemDirectory[] = "GetSystemDirectoryA";
const char Uxtheme[] = "LoadLibraryExA C:\\WINDOWS\\SYSTEM\\uxtheme.dll 8";
const char Dwmapi[] = "LoadLibraryExA C:\\WINDOWS\\SYSTEM\\dwmapi.dll 8";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Platforms, DllSearchTest, ::testing::Values(
    DllSearchCase{"SystemDirectoryOnly", {}, {LookUp, Find, SystemOnly, NoCurrentDirectory}},
    DllSearchCase{"WithoutSetDefaultDllDirectoriesPreloadsFromSystem", {"GetProcAddress"},
                  {LookUp, Find, NoCurrentDirectory, SystemDirectory, Uxtheme, SystemDirectory, Dwmapi}},
    DllSearchCase{"RefusedSetDefaultDllDirectoriesPreloadsFromSystem", {"SetDefaultDllDirectories"},
                  {LookUp, Find, SystemOnly, NoCurrentDirectory, SystemDirectory, Uxtheme, SystemDirectory, Dwmapi}},
    DllSearchCase{"WithoutSystemDirectoryNothingLoadsByName", {"GetModuleHandleA", "GetSystemDirectoryA"},
                  {LookUp, NoCurrentDirectory, SystemDirectory, SystemDirectory}}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

struct ExitCase {
    const char* label;
    UINT message;
    WPARAM wordParam;
};

class ProgramExitTest : public MainWindowTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ProgramExitTest, ExitsWithCodeZero) {
    PostToMainWindowOnceCreated(GetParam().message, GetParam().wordParam, 0);
    EXPECT_EQ(0, RunProgram());
    EXPECT_FALSE(world.record.queueRanDry);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramExitTest,
                         ::testing::Values(ExitCase{"MenuExit", WM_COMMAND, CmdExit},
                                           ExitCase{"ButtonExit", WM_COMMAND, MAKEWPARAM(BtnExit, BN_CLICKED)},
                                           ExitCase{"Close", WM_CLOSE, 0}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, ExitPostsQuitWithoutDestroyingTheWindow) {
    StartProgram();
    DispatchCommand(mainWindow, CmdExit, 0, 0);
    EXPECT_TRUE(world.state.quitPosted);
    EXPECT_EQ(0, world.state.quitCode);
    EXPECT_TRUE(fake::Window(mainWindow)->alive);
}

TEST_F(MainWindowTest, ClosingDestroysTheWindowAndPostsQuit) {
    StartProgram();
    EXPECT_EQ(0, MainWindowProc(mainWindow, WM_CLOSE, 0, 0));
    EXPECT_FALSE(fake::Window(mainWindow)->alive);
    EXPECT_TRUE(world.state.quitPosted);
}

TEST_F(MainWindowTest, MessageLoopErrorEndsTheLoop) {
    world.knobs.failing = {"GetMessageA"};
    RunProgram();
    EXPECT_EQ(1, world.record.calls["GetMessageA"]);
    EXPECT_EQ(0, world.record.calls["DispatchMessageA"]);
}

TEST_F(MainWindowTest, ShowWindowIsNotPassedToDefaultProcessing) {
    StartProgram();
    world.record.defaultProcessed.clear();
    EXPECT_EQ(0, MainWindowProc(mainWindow, WM_SHOWWINDOW, TRUE, 0));
    EXPECT_TRUE(world.record.defaultProcessed.empty());
    EXPECT_EQ(0, MainWindowProc(mainWindow, WM_MOVE, 0, 0));
    EXPECT_EQ(1u, world.record.defaultProcessed.size());
}

TEST_F(MainWindowTest, AboutShowsTextZeroUnderTheInstallerCaption) {
    StartProgram();
    DispatchCommand(mainWindow, CmdAbout, 0, 0);
    ASSERT_EQ(1u, world.record.boxes.size());
    EXPECT_EQ(Box(IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, MB_OK), world.record.boxes[0]);
    EXPECT_EQ(nullptr, world.record.boxes[0].owner);
    EXPECT_EQ("Quorvane screen saver Ver 1.0   quorvane@example.com   http://www.example.com/quorvane",
              world.record.boxes[0].text);
}

// What each command id does, seen from outside: boxes shown and quit posted.
struct Outcome {
    std::vector<fake::MessageBoxRecord> boxes;
    bool quit;
};

Outcome RunCommand(Scenario& scenario, UINT id, UINT notifyCode, LPARAM control) {
    scenario.ResetWorldKeepingWindow();
    world.state.files.clear(); // each command starts with nothing installed
    DispatchCommand(scenario.mainWindow, id, control, notifyCode);
    return {world.record.boxes, world.state.quitPosted};
}

TEST_F(MainWindowTest, CommandTable) {
    StartProgram();
    // Nothing installed: Install installs, Uninstall reports nothing to do.
    const Outcome about = RunCommand(*this, CmdAbout, 0, 0);
    const Outcome exit = RunCommand(*this, CmdExit, 0, 0);
    const Outcome uninstall = RunCommand(*this, CmdUninstall, 0, 0);
    ASSERT_EQ(1u, about.boxes.size());
    EXPECT_EQ(Box(IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, MB_OK), about.boxes[0]);
    EXPECT_TRUE(exit.quit);
    EXPECT_TRUE(exit.boxes.empty());
    ASSERT_EQ(1u, uninstall.boxes.size());
    EXPECT_EQ(Box(IDS_NOTHING_TO_UNINSTALL, IDS_NOT_INSTALLED_CAPTION, MB_ICONINFORMATION), uninstall.boxes[0]);

    const Outcome install = RunCommand(*this, CmdInstall, 0, 0);
    EXPECT_EQ(1, world.record.calls["CreateDialogParamA"]) << "Install opens its progress window";

    // The buttons are their menu twins; notification code and control do not matter.
    const LPARAM someControl = 0x1234;
    for (UINT notify : {0u, UINT(BN_CLICKED), 0xFFFFu}) {
        EXPECT_EQ(exit.quit, RunCommand(*this, BtnExit, notify, someControl).quit);
        EXPECT_EQ(uninstall.boxes, RunCommand(*this, BtnUninstall, notify, someControl).boxes);
        EXPECT_EQ(about.boxes, RunCommand(*this, CmdAbout, notify, someControl).boxes);
        EXPECT_EQ(install.boxes, RunCommand(*this, BtnInstall, notify, someControl).boxes);
    }

    // Id 0 and ids above 7 do nothing at all.
    for (UINT id : {0u, 8u, 9u, 100u, 0xFFFFu}) {
        ResetWorldKeepingWindow();
        DispatchCommand(mainWindow, id, 0, 0);
        EXPECT_TRUE(world.record.boxes.empty()) << id;
        EXPECT_FALSE(world.state.quitPosted) << id;
        EXPECT_EQ(0, world.record.calls["CreateDialogParamA"]) << id;
        EXPECT_EQ(0, world.record.calls["SearchPathA"]) << id;
    }
}

TEST_F(MainWindowTest, WindowProcedureSplitsTheCommandWord) {
    StartProgram();
    ResetWorldKeepingWindow();
    // High word is a notification code, not part of the id.
    EXPECT_EQ(0, MainWindowProc(mainWindow, WM_COMMAND, MAKEWPARAM(CmdAbout, 0x8000), 0x55));
    ASSERT_EQ(1u, world.record.boxes.size());
    EXPECT_EQ(Box(IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, MB_OK), world.record.boxes[0]);
}

TEST_F(MainWindowTest, ShowMessageCutsLongTextsAndHasNoOwner) {
    world.state.strings[IDS_ABOUT_TEXT] = std::string(700, 't');
    world.state.strings[IDS_INSTALLER_CAPTION] = std::string(300, 'c');
    world.knobs.answers = {IDYES};
    EXPECT_EQ(IDYES, ShowMessage(fake::Instance, IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, MB_YESNO));
    ASSERT_EQ(1u, world.record.boxes.size());
    EXPECT_EQ(std::string(599, 't'), world.record.boxes[0].text);
    EXPECT_EQ(std::string(199, 'c'), world.record.boxes[0].caption);
    EXPECT_EQ(nullptr, world.record.boxes[0].owner);
    EXPECT_EQ(UINT(MB_YESNO), world.record.boxes[0].type);
}

// The user's language, where the code page can show it: the title, the About box and the
// menu come from the translation, any text it lacks from the language-neutral table.
struct TranslationCase {
    const char* label;
    LANGID userInterface;
    UINT ansiCodePage;
    const char* germanTitle;
    const char* title;
    const char* aboutCaption;
    bool translatedMenu;
    int englishAskedFor; // SetThreadUILanguage calls: only where a translation exists but cannot show
};

class TranslationTest : public MainWindowTest, public ::testing::WithParamInterface<TranslationCase> {};

std::vector<uint8_t> StringBlock(const std::map<UINT, std::string>& texts) {
    std::vector<uint8_t> block;
    for (UINT index = 0; index < 16; ++index) {
        const auto found = texts.find(index);
        const std::string text = found != texts.end() ? found->second : std::string();
        block.push_back(static_cast<uint8_t>(text.size()));
        block.push_back(0);
        for (char c : text) block.insert(block.end(), {static_cast<uint8_t>(c), 0}); // Latin-1 as UTF-16
    }
    return block;
}

TEST_P(TranslationTest, TitleAboutBoxAndMenu) {
    const LANGID german = MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL);
    world.knobs.userInterfaceLanguage = GetParam().userInterface;
    world.knobs.ansiCodePage = GetParam().ansiCodePage;
    // The About text itself is left out of the translation.
    fake::AddTranslatedResource(MAKEINTRESOURCEA(1), RT_STRING, german,
                                StringBlock({{IDS_WINDOW_TITLE, GetParam().germanTitle},
                                             {IDS_INSTALLER_CAPTION, "Bildschirmschoner-Installation"}}));
    fake::AddTranslatedResource("Menu_1", RT_MENU, german, {0, 0, 0, 0});
    ASSERT_TRUE(RegisterMainClass(fake::Instance));
    ASSERT_TRUE(CreateMainWindow(fake::Instance, SW_SHOWDEFAULT));
    const fake::WindowRecord& window = *fake::WindowsOfClass("ProgramInstaller")[0];
    EXPECT_EQ(GetParam().title, window.text);
    // A menu handle given to the window replaces the class menu.
    EXPECT_EQ(GetParam().translatedMenu, window.id != 0);
    DispatchCommand(window.handle, CmdAbout, 0, 0);
    ASSERT_EQ(1u, world.record.boxes.size());
    EXPECT_EQ(GetParam().aboutCaption, world.record.boxes[0].caption);
    EXPECT_EQ(world.state.strings.at(IDS_ABOUT_TEXT), world.record.boxes[0].text);
    EXPECT_EQ(GetParam().englishAskedFor, world.record.calls["SetThreadUILanguage"]);
    const bool askedForEnglish = std::find(world.record.log.begin(), world.record.log.end(),
                                           "SetThreadUILanguage 0409") != world.record.log.end();
    EXPECT_EQ(GetParam().englishAskedFor != 0, askedForEnglish);
}

// 200 characters into the title's 150: the first 149 and the terminator.
const std::string LongTitleText = std::string(200, 'T');
const char* const LongTitle = LongTitleText.c_str();
const std::string LongTitleCutText = std::string(149, 'T');
const char* const LongTitleCut = LongTitleCutText.c_str();

// clang-format off
INSTANTIATE_TEST_SUITE_P(Languages, TranslationTest, ::testing::Values(
    TranslationCase{"GermanOnWestern", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 1252, "Installationsprogramm",
                    "Installationsprogramm", "Bildschirmschoner-Installation", true, 0},
    TranslationCase{"LongTranslationIsCutLikeTheEnglish", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 1252, LongTitle,
                    LongTitleCut, "Bildschirmschoner-Installation", true, 0},
    TranslationCase{"GermanOnJapaneseCodePage", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 932, "Installationsprogramm",
                    "Installer - Quorvane Ver 1.0", "Screen Saver Installer", false, 1},
    TranslationCase{"EnglishIgnoresTheTranslation", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), 1252,
                    "Installationsprogramm", "Installer - Quorvane Ver 1.0", "Screen Saver Installer", false, 0},
    TranslationCase{"UntranslatedSwedishKeepsItsOwnButtons", MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH), 1252,
                    "Installationsprogramm", "Installer - Quorvane Ver 1.0", "Screen Saver Installer", false, 0}),
    [](const ::testing::TestParamInfo<TranslationCase>& info) { return std::string(info.param.label); });
// clang-format on

} // namespace
