// The preferences file's values as the screen saver reads them, and where the file lives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "screensaver/settings.h"

namespace {

struct TextCase {
    SettingId setting;
    const char* text;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) {
    return out << settingSpecs[c.setting].key << "=\"" << (c.text ? c.text : "(null)") << "\"";
}

class ScreensaverSettingText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ScreensaverSettingText, ReadsClampsOrFallsBack) {
    EXPECT_EQ(SettingFromText(GetParam().setting, GetParam().text), GetParam().expected) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(InRange, ScreensaverSettingText,
                         ::testing::Values(TextCase{SettingSpeed, "4", 4}, TextCase{SettingSpeed, "1", 1},
                                           TextCase{SettingSpeed, "5", 5}, TextCase{SettingSpeed, " 2 ", 2},
                                           TextCase{SettingSpeed, "+2", 2}, TextCase{SettingStars, "3", 3},
                                           TextCase{SettingAurora, "0", 0}, TextCase{SettingAurora, "1", 1},
                                           TextCase{SettingMonitors, "1", 1}, TextCase{SettingMonitors, "2", 2}));

INSTANTIATE_TEST_SUITE_P(OutOfRangeClamps, ScreensaverSettingText,
                         ::testing::Values(TextCase{SettingSpeed, "0", 1}, TextCase{SettingSpeed, "-7", 1},
                                           TextCase{SettingSpeed, "6", 5}, TextCase{SettingStars, "4", 3},
                                           TextCase{SettingAurora, "2", 1}, TextCase{SettingAurora, "-3", 0},
                                           TextCase{SettingMonitors, "3", 2},
                                           TextCase{SettingSpeed, "99999999999999999999", 5},
                                           TextCase{SettingSpeed, "-99999999999999999999", 1}));

INSTANTIATE_TEST_SUITE_P(MissingOrNonsenseFallsBack, ScreensaverSettingText,
                         ::testing::Values(TextCase{SettingSpeed, "", 3}, TextCase{SettingSpeed, nullptr, 3},
                                           TextCase{SettingSpeed, "fast", 3}, TextCase{SettingSpeed, "2x", 3},
                                           TextCase{SettingSpeed, "-", 3}, TextCase{SettingSpeed, "2 3", 3},
                                           TextCase{SettingSpeed, "1.5", 3}, TextCase{SettingStars, "   ", 2},
                                           TextCase{SettingAurora, "yes", 1},
                                           // An older file has no key: a scene on each monitor.
                                           TextCase{SettingMonitors, "", 0}, TextCase{SettingMonitors, "all", 0}));

struct PathCase {
    const char* label;
    const char* windowsDirectory;
    std::size_t size;
    const char* expected; // null: the call fails
};

std::ostream& operator<<(std::ostream& out, const PathCase& c) { return out << c.label; }

class ScreensaverPrefsPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(ScreensaverPrefsPath, JoinsDirectoryAndFileName) {
    const PathCase& c = GetParam();
    char path[300];
    std::memset(path, 0xA5, sizeof path);
    ASSERT_LE(c.size, sizeof path);
    const bool joined = JoinPrefsPath(c.windowsDirectory, path, c.size);
    EXPECT_EQ(joined, c.expected != nullptr);
    if (joined) {
        EXPECT_STREQ(path, c.expected);
    }
    // Nothing is written past the size the caller gave.
    for (std::size_t i = c.size; i < sizeof path; ++i) ASSERT_EQ(static_cast<unsigned char>(path[i]), 0xA5) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreensaverPrefsPath,
    ::testing::Values(PathCase{"windows directory", "C:\\WINDOWS", 260, "C:\\WINDOWS\\Quorvane-Prefs.ini"},
                      PathCase{"root keeps one separator", "C:\\", 260, "C:\\Quorvane-Prefs.ini"},
                      PathCase{"exactly fits", "C:\\W", 24, "C:\\W\\Quorvane-Prefs.ini"},
                      PathCase{"one byte short", "C:\\W", 23, nullptr}, PathCase{"empty directory", "", 260, nullptr},
                      PathCase{"no room at all", "C:\\WINDOWS", 0, nullptr}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
