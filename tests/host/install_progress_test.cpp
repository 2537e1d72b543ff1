// The Install command's progress window and the order of what the user sees.
#include "app/app_state.h"
#include "install/install_command.h"
#include "resources/resource_ids.h"
#include "tests/host/scenario.h"

namespace {

using fake::world;

class InstallProgressTest : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ResetWorldKeepingWindow();
    }

    std::vector<fake::WindowRecord*> ProgressWindowsMade() {
        std::vector<fake::WindowRecord*> made;
        for (auto& window : world.state.windows)
            if (window.className == "#32770") made.push_back(&window);
        return made;
    }
};

TEST_F(InstallProgressTest, ProgressWindowStaysThroughThePauseThenTheSuccessBox) {
    HWND duringPause = nullptr;
    world.knobs.onSleep = [&] {
        duringPause = app.progressWindow;
        EXPECT_TRUE(world.record.boxes.empty()) << "a box before the pause ended";
    };
    InstallScreenSaver(mainWindow);

    ASSERT_EQ(1u, ProgressWindowsMade().size());
    const fake::WindowRecord& progress = *ProgressWindowsMade()[0];
    EXPECT_EQ("Installing", progress.dialogTemplate);
    EXPECT_EQ(mainWindow, progress.parent);
    EXPECT_EQ(&ProgressDialogProc, progress.dialogProc);
    EXPECT_EQ(progress.handle, duringPause);
    EXPECT_FALSE(progress.alive);
    EXPECT_EQ(nullptr, app.progressWindow) << "cleared when the window closed";
    EXPECT_EQ(std::vector<DWORD>{2000}, world.record.sleeps);

    // The visible effects in order; the size written is the whole payload.
    const std::string windowsProbe = "SearchPathA C:\\WINDOWS\\ Quorvane.scr";
    const std::vector<std::string> expected = {
        windowsProbe,
        "CreateDialogParamA Installing",
        "UpdateWindow",
        "CreateFileA C:\\WINDOWS\\QUORVANE.SC_",
        "WriteFile " + std::to_string(ShippedPayload().size()),
        "LZOpenFileA C:\\WINDOWS\\QUORVANE.SC_ read",
        "LZOpenFileA C:\\WINDOWS\\QUORVANE.SCR.NEW create",
        "LZCopy",
        "CreateFileA C:\\WINDOWS\\QUORVANE.SCR.NEW", // read back and checked before it takes the real name
        "MoveFileExA C:\\WINDOWS\\QUORVANE.SCR.NEW C:\\WINDOWS\\QUORVANE.SCR 1",
        "DeleteFileA C:\\WINDOWS\\QUORVANE.SC_",
        "UpdateWindow",
        "Sleep 2000",
        "DestroyWindow",
        windowsProbe,
        "MessageBoxA " + world.state.strings.at(IDS_INSTALL_SUCCESS),
        windowsProbe, // still there once the box is answered
        "WritePrivateProfileStringA SYSTEM.INI|BOOT|SCRNSAVE.EXE=C:\\WINDOWS\\QUORVANE.SCR",
        "SystemParametersInfoA 17 1 null 1",
    };
    const std::set<std::string> wanted(expected.begin(), expected.end());
    std::vector<std::string> seen;
    for (const std::string& entry : world.record.log)
        if (wanted.count(entry) != 0) seen.push_back(entry);
    EXPECT_EQ(expected, seen);
}

TEST_F(InstallProgressTest, PaintingTheProgressWindowStartsNoQueuedCommand) {
    fake::PostMessage(mainWindow, WM_COMMAND, BtnExit, 0);
    InstallScreenSaver(mainWindow);
    EXPECT_GE(world.record.calls["PeekMessageA"], 1);
    EXPECT_FALSE(world.record.peekRemoved);
    ASSERT_EQ(1u, world.state.queue.size());
    EXPECT_FALSE(world.state.quitPosted);
    EXPECT_EQ(Boxes({Box(IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, MB_ICONINFORMATION)}), world.record.boxes);
}

TEST_F(InstallProgressTest, DialogProcedureKeepsItsHandleAndHandlesNothing) {
    const HWND dialog = reinterpret_cast<HWND>(uintptr_t{0x4242});
    const HWND other = reinterpret_cast<HWND>(uintptr_t{0x4343});
    EXPECT_EQ(FALSE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0));
    EXPECT_EQ(dialog, app.progressWindow);
    EXPECT_EQ(FALSE, ProgressDialogProc(other, WM_DESTROY, 0, 0));
    EXPECT_EQ(dialog, app.progressWindow) << "another window's end";
    EXPECT_EQ(FALSE, ProgressDialogProc(dialog, WM_COMMAND, IDCANCEL, 0));
    EXPECT_EQ(FALSE, ProgressDialogProc(dialog, WM_DESTROY, 0, 0));
    EXPECT_EQ(nullptr, app.progressWindow);
}

// An earlier window's handle, since reused by another window, is never closed.
TEST_F(InstallProgressTest, StaleHandleIsNotClosedWhenNoWindowOpens) {
    app.progressWindow = mainWindow;
    world.knobs.failing = {"CreateDialogParamA"};
    InstallScreenSaver(mainWindow);
    EXPECT_EQ(Boxes({Box(IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, 0x40)}), world.record.boxes);
    EXPECT_EQ(0, world.record.calls["DestroyWindow"]);
    EXPECT_TRUE(fake::Window(mainWindow)->alive);
}

// The main window stays usable under an error box, so Install can start again
// inside it; each run closes its own progress window and only that one.
TEST_F(InstallProgressTest, NestedInstallInsideAnErrorBoxClosesOnlyItsOwnWindow) {
    fake::AddDirectory("C:\\WINDOWS\\Quorvane.sc_");
    int nested = 0;
    world.knobs.onMessageBox = [&](const fake::MessageBoxRecord&) {
        if (nested++ == 0) InstallScreenSaver(mainWindow);
        return IDOK;
    };
    InstallScreenSaver(mainWindow);

    EXPECT_EQ(Boxes({Box(IDS_TEMP_NOT_CREATED, IDS_INSTALL_ERROR_CAPTION, 0x30),
                     Box(IDS_TEMP_NOT_CREATED, IDS_INSTALL_ERROR_CAPTION, 0x30)}),
              world.record.boxes);
    ASSERT_EQ(2u, ProgressWindowsMade().size());
    EXPECT_FALSE(ProgressWindowsMade()[0]->alive);
    EXPECT_FALSE(ProgressWindowsMade()[1]->alive);
    EXPECT_EQ(2, world.record.calls["DestroyWindow"]) << "one close each, no close of a closed window";
    EXPECT_TRUE(fake::Window(mainWindow)->alive);
    EXPECT_EQ(nullptr, app.progressWindow);
}

} // namespace
