// What each command line the system (or a user) may pass makes the screen saver do.
#include <gtest/gtest.h>

#include "screensaver/command_line.h"

namespace {

struct CommandLineCase {
    const char* label;
    const char* commandLine;
    LaunchMode mode;
    UINT_PTR window;
};

std::ostream& operator<<(std::ostream& out, const CommandLineCase& c) { return out << c.label; }

const char* ModeName(LaunchMode mode) {
    switch (mode) {
    case LaunchMode::FullScreen: return "FullScreen";
    case LaunchMode::Preview: return "Preview";
    case LaunchMode::Configure: return "Configure";
    case LaunchMode::ChangePassword: return "ChangePassword";
    case LaunchMode::Nothing: return "Nothing";
    }
    return "?";
}

class ScreensaverCommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ScreensaverCommandLine, ChoosesModeAndWindow) {
    const CommandLineCase& c = GetParam();
    const LaunchRequest request = ParseCommandLine(c.commandLine);
    EXPECT_STREQ(ModeName(request.mode), ModeName(c.mode))
        << "for \"" << (c.commandLine ? c.commandLine : "(null)") << "\"";
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(request.window), c.window);
}

INSTANTIATE_TEST_SUITE_P(RunFullScreen, ScreensaverCommandLine,
                         ::testing::Values(CommandLineCase{"slash", "/s", LaunchMode::FullScreen, 0},
                                           CommandLineCase{"dash", "-s", LaunchMode::FullScreen, 0},
                                           CommandLineCase{"upper case", "/S", LaunchMode::FullScreen, 0},
                                           CommandLineCase{"surrounding spaces", "  /s  ", LaunchMode::FullScreen, 0},
                                           CommandLineCase{"extra words ignored", "/s /x", LaunchMode::FullScreen, 0}),
                         [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Preview, ScreensaverCommandLine,
    ::testing::Values(CommandLineCase{"space", "/p 1234", LaunchMode::Preview, 1234},
                      CommandLineCase{"colon, upper case", "/P:1234", LaunchMode::Preview, 1234},
                      CommandLineCase{"dash and tab", "-p\t42", LaunchMode::Preview, 42},
                      CommandLineCase{"digits straight after", "/p1234", LaunchMode::Preview, 1234},
                      CommandLineCase{"colon then space", "/p: 77", LaunchMode::Preview, 77},
                      CommandLineCase{"largest 32-bit handle", "/p 4294967295", LaunchMode::Preview, 0xFFFFFFFFu},
                      CommandLineCase{"no handle", "/p", LaunchMode::Nothing, 0},
                      CommandLineCase{"zero handle", "/p 0", LaunchMode::Nothing, 0},
                      CommandLineCase{"handle not a number", "/p abc", LaunchMode::Nothing, 0},
                      CommandLineCase{"trailing junk", "/p 12x", LaunchMode::Nothing, 0},
                      CommandLineCase{"overflows 32 bits", "/p 4294967296", LaunchMode::Nothing, 0},
                      CommandLineCase{"negative", "/p -5", LaunchMode::Nothing, 0}),
    [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Settings, ScreensaverCommandLine,
                         ::testing::Values(CommandLineCase{"empty", "", LaunchMode::Configure, 0},
                                           CommandLineCase{"null", nullptr, LaunchMode::Configure, 0},
                                           CommandLineCase{"only spaces", "   ", LaunchMode::Configure, 0},
                                           CommandLineCase{"plain", "/c", LaunchMode::Configure, 0},
                                           CommandLineCase{"with owner", "/c:1234", LaunchMode::Configure, 1234},
                                           CommandLineCase{"owner after space", "-C 77", LaunchMode::Configure, 77},
                                           CommandLineCase{"unusable owner", "/c:junk", LaunchMode::Configure, 0},
                                           CommandLineCase{"unknown option", "/x", LaunchMode::Configure, 0},
                                           CommandLineCase{"word starting with s", "/save", LaunchMode::Configure, 0},
                                           CommandLineCase{"no switch character", "s", LaunchMode::Configure, 0},
                                           CommandLineCase{"switch character alone", "/", LaunchMode::Configure, 0}),
                         [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(ChangePassword, ScreensaverCommandLine,
                         ::testing::Values(CommandLineCase{"plain", "/a", LaunchMode::ChangePassword, 0},
                                           CommandLineCase{"with window", "/A 1234", LaunchMode::ChangePassword, 0}),
                         [](const auto& info) { return std::to_string(info.index); });

} // namespace
