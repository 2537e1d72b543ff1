// Which mouse movements end the full-screen saver: the first position is only
// where the pointer rests; more than a few pixels away from it is the user.
#include <gtest/gtest.h>

#include <vector>

#include "screensaver/wake_detector.h"

namespace {

struct Point {
    int x, y;
};

struct WakeCase {
    const char* label;
    std::vector<Point> moves;
    int wakesAt; // index of the first move that ends the saver, -1 for none
};

std::ostream& operator<<(std::ostream& out, const WakeCase& c) { return out << c.label; }

class ScreensaverWake : public ::testing::TestWithParam<WakeCase> {};

TEST_P(ScreensaverWake, EndsOnlyOnALargeMove) {
    WakeDetector detector = FreshWakeDetector();
    int wokeAt = -1;
    for (std::size_t i = 0; i < GetParam().moves.size() && wokeAt < 0; ++i)
        if (MouseMoveWakes(detector, GetParam().moves[i].x, GetParam().moves[i].y)) wokeAt = static_cast<int>(i);
    EXPECT_EQ(wokeAt, GetParam().wakesAt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreensaverWake,
    ::testing::Values(
        WakeCase{"first position alone", {{500, 300}}, -1},
        WakeCase{"first position far from anything", {{0, 0}, {2, 1}}, -1},
        WakeCase{"same position repeated", {{10, 10}, {10, 10}, {10, 10}}, -1},
        WakeCase{"jitter within four pixels", {{100, 100}, {101, 99}, {104, 104}, {96, 100}, {100, 96}}, -1},
        WakeCase{"five pixels right", {{100, 100}, {105, 100}}, 1},
        WakeCase{"five pixels up", {{100, 100}, {100, 95}}, 1},
        WakeCase{"slow creep counts from the first position", {{100, 100}, {102, 100}, {104, 100}, {105, 100}}, 3},
        WakeCase{"large jump", {{100, 100}, {400, 380}}, 1},
        WakeCase{"monitor left of the primary", {{-500, -20}, {-503, -20}, {-505, -20}}, 2}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
