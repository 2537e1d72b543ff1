// The fixture every host test starts from: a fresh fake world holding the
// installer's real strings, banner and payload, and a clean application state.
#pragma once

#include "tests/fake/fake_platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace fake {
bool operator==(const MessageBoxRecord& a, const MessageBoxRecord& b);
void PrintTo(const MessageBoxRecord& box, std::ostream* out);
} // namespace fake

// Where the fake platform's standard directories put the installer's files.
const std::string WinScr = "C:\\WINDOWS\\Quorvane.scr";
const std::string WinTemp = "C:\\WINDOWS\\Quorvane.sc_";
const std::string WinPrefs = "C:\\WINDOWS\\Quorvane-Prefs.ini";
const std::string SysScr = "C:\\WINDOWS\\SYSTEM\\Quorvane.scr";
const std::string SysPrefs = "C:\\WINDOWS\\SYSTEM\\Quorvane-Prefs.ini";
// The real System directory as a 32-bit program reaches it on 64-bit Windows.
const std::string NatScr = "C:\\WINDOWS\\Sysnative\\Quorvane.scr";
const std::string NatPrefs = "C:\\WINDOWS\\Sysnative\\Quorvane-Prefs.ini";
// Preferences a screen saver without rights wrote, kept by Windows for the user.
const std::string VirtualStore = "C:\\Users\\Ann\\AppData\\Local\\VirtualStore\\";
const std::string VsWinPrefs = VirtualStore + "WINDOWS\\Quorvane-Prefs.ini";
const std::string VsSysPrefs = VirtualStore + "WINDOWS\\SYSTEM\\Quorvane-Prefs.ini";
const std::string VsWow64Prefs = VirtualStore + "WINDOWS\\SysWOW64\\Quorvane-Prefs.ini";

// A message box as a table row gives it: string ids and type.
struct Shown {
    UINT text, caption, type;
};

class Scenario : public ::testing::Test {
  public:
    HWND mainWindow = nullptr;

    // Forgets what the program did and the scripted failures and answers, keeping windows and files.
    void ResetWorldKeepingWindow();

  protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the class and creates the main window, as the program's start does.
    void StartProgram();
    // Queues a message for the main window as soon as WinMain has created it.
    void PostToMainWindowOnceCreated(UINT message, WPARAM wordParam, LPARAM longParam);

    // The box the user sees for these string ids, with no owner.
    static fake::MessageBoxRecord Box(UINT textId, UINT captionId, UINT type);
    static std::vector<fake::MessageBoxRecord> Boxes(std::initializer_list<fake::MessageBoxRecord> boxes) {
        return boxes;
    }
    static fake::Bytes ShippedBanner();  // the bitmap resource as the program carries it
    static fake::Bytes ShippedPayload(); // the compressed screen saver
    static fake::Bytes PayloadProgram(); // what it expands to
};

// Runs command while the first box with this text is open, as a user may
// choose it from the main window, which stays usable. Scripted answers go in
// the order boxes are answered: the nested command's first.
void DuringBox(UINT textId, std::function<void()> command);
