#include "driver/install_state.h"

#include "tests/wine/driver.h"
#include "tests/wine/install_settings.h"

#include <cctype>

namespace bench {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

void ResetInstallState() {
    driver::RemoveInstalledFiles();
    driver::ClearInstallSettings();
}

std::string CheckSameBytes(const std::string& path, const std::string& expectedScr) {
    const auto expected = driver::ReadBytes(expectedScr);
    const auto actual = driver::ReadBytes(path);
    if (expected.empty()) return "cannot read " + expectedScr;
    if (actual != expected)
        return path + " holds " + std::to_string(actual.size()) + " bytes, not the " + std::to_string(expected.size()) +
               " of " + expectedScr;
    return "";
}

std::string CheckInstalled(const std::string& expectedScr) {
    const std::string installed = driver::WindowsDir() + "\\Quorvane.scr";
    const std::string bytes = CheckSameBytes(installed, expectedScr);
    if (!bytes.empty()) return bytes;

    const std::string named = driver::BootScreenSaver();
    char longForm[MAX_PATH] = "";
    if (GetLongPathNameA(named.c_str(), longForm, sizeof longForm) == 0 || Lower(longForm) != Lower(installed))
        return "system.ini [boot] SCRNSAVE.EXE is \"" + named + "\"";
    const std::string active = driver::ScreenSaveActive();
    if (active != "1") return "screen saving is not on (ScreenSaveActive \"" + active + "\")";
    return "";
}

} // namespace bench
