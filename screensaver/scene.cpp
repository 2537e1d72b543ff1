#include "screensaver/scene.h"

#include <cmath>

namespace {

// Three depths of stars: far ones are many, dim and slow.
struct StarLayer {
    float share; // of all stars, cumulative
    float speed; // pixels per second on a 768-pixel-high screen
    float brightnessLow;
    float brightnessHigh;
};

constexpr StarLayer starLayers[] = {
    {0.60f, 4.0f, 0.25f, 0.55f},
    {0.90f, 9.0f, 0.45f, 0.80f},
    {1.00f, 18.0f, 0.70f, 1.00f},
};

constexpr float speedFactors[] = {0.35f, 0.65f, 1.0f, 1.6f, 2.5f};
constexpr int pixelsPerStar[] = {3600, 1800, 900};

constexpr float MeteorWaitLow = 4.0f, MeteorWaitHigh = 11.0f; // seconds of scene time

void SpawnStar(Scene& scene, Star& star, float x) {
    Random& random = scene.random;
    const float pick = RandomUnit(random);
    const StarLayer* layer = &starLayers[0];
    for (const StarLayer& candidate : starLayers) {
        layer = &candidate;
        if (pick < candidate.share) break;
    }
    const float scale = static_cast<float>(scene.height) / 768.0f;
    star.x = x;
    star.y = RandomUnit(random) * static_cast<float>(scene.height);
    star.speed = layer->speed * scale * RandomBetween(random, 0.85f, 1.15f);
    star.brightness = RandomBetween(random, layer->brightnessLow, layer->brightnessHigh);
    star.twinklePhase = RandomBetween(random, 0.0f, Tau);
    star.twinkleRate = RandomBetween(random, 0.8f, 3.0f);
    const float tint = RandomUnit(random);
    star.tint = tint < 0.6f ? TintWhite : (tint < 0.85f ? TintBlue : TintWarm);
}

void LaunchMeteor(Scene& scene) {
    Random& random = scene.random;
    const float w = static_cast<float>(scene.width), h = static_cast<float>(scene.height);
    ShootingStar& meteor = scene.meteor;
    meteor.active = true;
    meteor.x = RandomBetween(random, 0.25f * w, 0.95f * w);
    meteor.y = RandomBetween(random, 0.02f * h, 0.35f * h);
    const float angle = RandomBetween(random, 0.35f, 0.75f); // below the horizontal, heading left
    const float speed = h * RandomBetween(random, 0.55f, 0.85f);
    meteor.vx = -speed * std::cos(angle);
    meteor.vy = speed * std::sin(angle);
    meteor.age = 0.0f;
    meteor.life = RandomBetween(random, 0.7f, 1.3f);
}

} // namespace

float SpeedFactor(int speedSetting) { return speedFactors[ClampSetting(SettingSpeed, speedSetting) - 1]; }

int StarCountFor(int width, int height, int starsSetting) {
    if (width <= 0 || height <= 0) return 0;
    const long long area = static_cast<long long>(width) * height;
    const long long count = area / pixelsPerStar[ClampSetting(SettingStars, starsSetting) - 1];
    if (count < MinStars) return MinStars;
    if (count > MaxStars) return MaxStars;
    return static_cast<int>(count);
}

SceneSetup WholeSceneSetup(int width, int height, std::uint32_t seed) {
    return SceneSetup{width, height, PixelRect{0, 0, width, height}, 0.66f, 0.0, seed};
}

void InitScene(Scene& scene, int width, int height, const SaverSettings& settings, std::uint32_t seed) {
    InitScene(scene, WholeSceneSetup(width, height, seed), settings);
}

void InitScene(Scene& scene, const SceneSetup& setup, const SaverSettings& settings) {
    scene.width = setup.width > 0 ? setup.width : 0;
    scene.height = setup.height > 0 ? setup.height : 0;
    scene.planetStage = setup.planetStage;
    scene.planetHome = setup.planetHome;
    scene.speedFactor = SpeedFactor(settings.values[SettingSpeed]);
    scene.aurora = ClampSetting(SettingAurora, settings.values[SettingAurora]) != 0;
    scene.seconds = setup.clockStart;
    scene.random = SeededRandom(setup.seed);
    scene.starCount = StarCountFor(scene.width, scene.height, settings.values[SettingStars]);
    for (int i = 0; i < scene.starCount; ++i)
        SpawnStar(scene, scene.stars[i], RandomUnit(scene.random) * static_cast<float>(scene.width));
    scene.meteor = ShootingStar{};
    scene.secondsToNextMeteor = RandomBetween(scene.random, 1.5f, MeteorWaitHigh);
}

void AdvanceScene(Scene& scene, unsigned elapsedMs) {
    if (elapsedMs > MaxStepMs) elapsedMs = MaxStepMs;
    const float dt = static_cast<float>(elapsedMs) * 0.001f * scene.speedFactor;
    scene.seconds += dt;

    const float width = static_cast<float>(scene.width);
    for (int i = 0; i < scene.starCount; ++i) {
        Star& star = scene.stars[i];
        star.x -= star.speed * dt;
        if (star.x < -1.0f) {
            float x = star.x + width + 1.0f;
            if (x < -1.0f || x >= width) x = width - 1.0f;
            SpawnStar(scene, star, x); // a new star, so the sky does not repeat
        }
    }

    ShootingStar& meteor = scene.meteor;
    if (meteor.active) {
        meteor.x += meteor.vx * dt;
        meteor.y += meteor.vy * dt;
        meteor.age += dt;
        if (meteor.age >= meteor.life) meteor.active = false;
    } else if (scene.width > 0 && scene.height > 0) {
        scene.secondsToNextMeteor -= dt;
        if (scene.secondsToNextMeteor <= 0.0f) {
            LaunchMeteor(scene);
            scene.secondsToNextMeteor = RandomBetween(scene.random, MeteorWaitLow, MeteorWaitHigh);
        }
    }
}

float SceneClock(const Scene& scene) { return SceneClockAt(scene.seconds); }

float SceneClockAt(double seconds) { return static_cast<float>(std::fmod(seconds, SceneClockPeriod)); }

PlanetPlacement PlacePlanet(const Scene& scene) { return PlacePlanetAt(scene, scene.seconds); }

namespace {

// Half the width and height of an ellipse with these half-axes, turned by the tilt.
void EllipseReach(float along, float across, float cosTilt, float sinTilt, float& width, float& height) {
    width = std::sqrt(along * along * cosTilt * cosTilt + across * across * sinTilt * sinTilt);
    height = std::sqrt(along * along * sinTilt * sinTilt + across * across * cosTilt * cosTilt);
}

// Where between low and high a centre may go; the middle when nothing fits.
float Keep(float value, float low, float high) {
    if (low > high) return 0.5f * (low + high);
    return value < low ? low : (value > high ? high : value);
}

} // namespace

void PlanetSystemReach(const PlanetPlacement& planet, float& across, float& down) {
    const float cosTilt = std::cos(planet.tilt), sinTilt = std::sin(planet.tilt), r = planet.radius;
    float ringsAcross, ringsDown, moonAcross, moonDown;
    EllipseReach(RingOuter * r, RingOuter * RingRatio * r, cosTilt, sinTilt, ringsAcross, ringsDown);
    EllipseReach(MoonOrbit * r, MoonOrbit * RingRatio * r, cosTilt, sinTilt, moonAcross, moonDown);
    // A couple of pixels of smoothing around every edge.
    const float moon = MoonSize * r + 2.0f;
    across = std::fmax(ringsAcross + 2.0f, moonAcross + moon);
    down = std::fmax(std::fmax(ringsDown, PlanetHalo * r) + 2.0f, moonDown + moon);
}

PlanetPlacement PlacePlanetAt(const Scene& scene, double seconds) {
    const PixelRect& stage = scene.planetStage;
    const float left = static_cast<float>(stage.left), top = static_cast<float>(stage.top);
    const float w = static_cast<float>(stage.right - stage.left), h = static_cast<float>(stage.bottom - stage.top);
    const float t = SceneClockAt(seconds);
    const float size = w < h ? w : h;
    PlanetPlacement planet;
    // A slow float around a resting place, above the lights.
    planet.centerX = left + w * (scene.planetHome + 0.035f * std::sin(t * 0.021f));
    planet.centerY = top + h * (0.36f + 0.03f * std::sin(t * 0.015f + 1.3f));
    planet.radius = size * PlanetRadiusShare;
    planet.tilt = -0.36f + 0.05f * std::sin(t * 0.023f);
    // On a squarer screen the moon's orbit would leave it: the planet gives way.
    float across, down;
    PlanetSystemReach(planet, across, down);
    planet.centerX = Keep(planet.centerX, left + across, left + w - across);
    planet.centerY = Keep(planet.centerY, top + down, top + h - down);
    return planet;
}
