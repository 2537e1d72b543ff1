// The animation's step: seeded and repeatable, stars kept inside the frame,
// speed and density taken from the settings.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "screensaver/scene.h"
#include "screensaver/render/sine.h"

namespace {

SaverSettings SettingsWith(int speed, int stars, int aurora = 1) {
    SaverSettings settings = DefaultSettings();
    settings.values[SettingSpeed] = speed;
    settings.values[SettingStars] = stars;
    settings.values[SettingAurora] = aurora;
    return settings;
}

// Scenes are large: keep them off the stack.
std::unique_ptr<Scene> NewScene(int width, int height, const SaverSettings& settings, std::uint32_t seed) {
    auto scene = std::make_unique<Scene>();
    InitScene(*scene, width, height, settings, seed);
    return scene;
}

void ExpectSameStars(const Scene& a, const Scene& b) {
    ASSERT_EQ(a.starCount, b.starCount);
    for (int i = 0; i < a.starCount; ++i) {
        EXPECT_EQ(a.stars[i].x, b.stars[i].x) << "star " << i;
        EXPECT_EQ(a.stars[i].y, b.stars[i].y) << "star " << i;
        EXPECT_EQ(a.stars[i].brightness, b.stars[i].brightness) << "star " << i;
    }
}

TEST(ScreensaverScene, SameSeedReplaysExactly) {
    auto a = NewScene(640, 480, DefaultSettings(), 42), b = NewScene(640, 480, DefaultSettings(), 42);
    for (int step = 0; step < 500; ++step) {
        AdvanceScene(*a, 33);
        AdvanceScene(*b, 33);
    }
    ExpectSameStars(*a, *b);
    EXPECT_EQ(a->seconds, b->seconds);
    EXPECT_EQ(a->meteor.active, b->meteor.active);
}

struct BoundsCase {
    int width, height, speed;
};

std::ostream& operator<<(std::ostream& out, const BoundsCase& c) {
    return out << c.width << "x" << c.height << " speed " << c.speed;
}

class ScreensaverStarBounds : public ::testing::TestWithParam<BoundsCase> {};

// Stars drift left; one leaving on the left comes back as a new star on the right edge.
TEST_P(ScreensaverStarBounds, StarsStayInsideAndWrapToTheRightEdge) {
    const BoundsCase& c = GetParam();
    auto scene = NewScene(c.width, c.height, SettingsWith(c.speed, 3), 7);
    const float w = static_cast<float>(c.width), h = static_cast<float>(c.height);
    int wraps = 0;
    for (int step = 0; step < 1500; ++step) {
        float before[MaxStars];
        for (int i = 0; i < scene->starCount; ++i) before[i] = scene->stars[i].x;
        AdvanceScene(*scene, 100);
        for (int i = 0; i < scene->starCount; ++i) {
            const Star& star = scene->stars[i];
            ASSERT_GE(star.x, -1.0f) << "star " << i << " step " << step;
            ASSERT_LT(star.x, w) << "star " << i << " step " << step;
            ASSERT_GE(star.y, 0.0f) << "star " << i << " step " << step;
            ASSERT_LT(star.y, h) << "star " << i << " step " << step;
            if (star.x > before[i]) {
                ++wraps;
                ASSERT_GT(star.x, w - 2.0f - star.speed) << "star " << i << " came back away from the right edge";
            }
        }
    }
    EXPECT_GT(wraps, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScreensaverStarBounds,
                         ::testing::Values(BoundsCase{1024, 768, 3}, BoundsCase{152, 112, 5}, BoundsCase{152, 112, 1},
                                           BoundsCase{3840, 1080, 5}, BoundsCase{7, 5, 5}, BoundsCase{1, 1, 5}));

TEST(ScreensaverScene, FasterSettingMovesStarsProportionallyFurther) {
    auto slow = NewScene(800, 600, SettingsWith(1, 2), 9), fast = NewScene(800, 600, SettingsWith(5, 2), 9);
    ASSERT_EQ(slow->starCount, fast->starCount);
    Scene slowStart = *slow, fastStart = *fast;
    AdvanceScene(*slow, 100);
    AdvanceScene(*fast, 100);
    const float expectedRatio = SpeedFactor(5) / SpeedFactor(1);
    EXPECT_GT(expectedRatio, 2.0f);
    int compared = 0;
    for (int i = 0; i < slow->starCount; ++i) {
        const float slowMove = slowStart.stars[i].x - slow->stars[i].x,
                    fastMove = fastStart.stars[i].x - fast->stars[i].x;
        if (slowMove <= 0.0f || fastMove <= 0.0f) continue; // wrapped round: a new star
        EXPECT_NEAR(fastMove / slowMove, expectedRatio, 0.002f * expectedRatio) << "star " << i;
        ++compared;
    }
    EXPECT_GT(compared, slow->starCount * 9 / 10);
    EXPECT_NEAR(fast->seconds / slow->seconds, expectedRatio, 1e-6);
}

TEST(ScreensaverScene, AStalledTimerAdvancesOnlyOneLongStep) {
    auto stalled = NewScene(640, 480, DefaultSettings(), 5), capped = NewScene(640, 480, DefaultSettings(), 5);
    AdvanceScene(*stalled, 60000);
    AdvanceScene(*capped, MaxStepMs);
    ExpectSameStars(*stalled, *capped);
    EXPECT_EQ(stalled->seconds, capped->seconds);
}

TEST(ScreensaverScene, ShootingStarsComeAndGo) {
    auto scene = NewScene(1024, 768, DefaultSettings(), 3);
    int appeared = 0;
    bool wasActive = false;
    float lastX = 0, lastY = 0;
    for (int step = 0; step < 60 * 30; ++step) { // a minute at 30 frames a second
        AdvanceScene(*scene, 33);
        const ShootingStar& meteor = scene->meteor;
        if (meteor.active && wasActive) {
            EXPECT_LT(meteor.x, lastX); // heading left
            EXPECT_GT(meteor.y, lastY); // and down
        }
        if (meteor.active && !wasActive) ++appeared;
        wasActive = meteor.active;
        lastX = meteor.x;
        lastY = meteor.y;
    }
    EXPECT_GE(appeared, 3);
    EXPECT_LE(appeared, 20);
}

struct CountCase {
    int width, height, starsSetting, expected;
};

std::ostream& operator<<(std::ostream& out, const CountCase& c) {
    return out << c.width << "x" << c.height << " stars " << c.starsSetting;
}

class ScreensaverStarCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(ScreensaverStarCount, ScalesWithAreaAndDensityWithinLimits) {
    const CountCase& c = GetParam();
    EXPECT_EQ(StarCountFor(c.width, c.height, c.starsSetting), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScreensaverStarCount,
                         ::testing::Values(CountCase{1024, 768, 1, 218}, CountCase{1024, 768, 2, 436},
                                           CountCase{1024, 768, 3, 873}, CountCase{1024, 768, 9, 873},
                                           CountCase{1024, 768, -1, 218}, CountCase{152, 112, 2, MinStars},
                                           CountCase{7680, 4320, 3, MaxStars}, CountCase{0, 768, 2, 0},
                                           CountCase{1024, -5, 2, 0}));

struct FitCase {
    int width, height;
};

std::ostream& operator<<(std::ostream& out, const FitCase& c) { return out << c.width << "x" << c.height; }

class ScreensaverPlanetFit : public ::testing::TestWithParam<FitCase> {};

// Over an hour of drifting the planet, its rings and its moon stay on the
// screen, landscape, square or portrait.
TEST_P(ScreensaverPlanetFit, PlanetRingsAndMoonStayInsideTheFrame) {
    const FitCase& c = GetParam();
    auto scene = NewScene(c.width, c.height, SettingsWith(5, 1), 11);
    for (int step = 0; step < 36000; ++step) {
        AdvanceScene(*scene, 100);
        const PlanetPlacement planet = PlacePlanet(*scene);
        float across, down;
        PlanetSystemReach(planet, across, down);
        ASSERT_GE(across, 2.3f * planet.radius);
        ASSERT_GE(planet.centerX - across, 0.0f) << "at " << scene->seconds << " s";
        ASSERT_LE(planet.centerX + across, static_cast<float>(c.width)) << "at " << scene->seconds << " s";
        ASSERT_GE(planet.centerY - down, 0.0f) << "at " << scene->seconds << " s";
        ASSERT_LT(planet.centerY + planet.radius, 0.8f * static_cast<float>(c.height)) << "above the mountains";
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreensaverPlanetFit,
                         ::testing::Values(FitCase{1024, 768}, FitCase{1920, 1080}, FitCase{1280, 1024},
                                           FitCase{152, 112}, FitCase{3840, 1080}, FitCase{1080, 1920},
                                           FitCase{1024, 1024}));

} // namespace

// The renderer's own sine against the library's: small and large angles of
// both signs, the folding points, a clock that has run for a day, and what
// is no angle at all.
TEST(ScreensaverSine, MatchesTheLibrarySine) {
    const float angles[] = {0.0f,     1e-4f,    -0.3f,    1.5707963f, -1.5707964f, 3.1415927f, -3.1415927f,
                            4.712389f, 6.2831855f, -7.0f,  100.25f,  -2500.5f,  86400.0f * 1.9f, 190000.7f};
    for (float angle : angles) EXPECT_NEAR(Sine(angle), std::sin(angle), 1.5e-6) << angle;
    EXPECT_TRUE(std::isnan(Sine(NAN)));
    EXPECT_NEAR(Sine(3.0e10f), std::sin(3.0e10f), 1e-6);
}
