// The animation's state and its step: a drifting starfield, an occasional
// shooting star, and a clock that the ringed planet, its moon and the
// northern lights follow. No drawing and no platform calls here.
#pragma once

#include <cstdint>

#include "screensaver/random.h"
#include "screensaver/settings.h"

constexpr int MinStars = 24;
constexpr int MaxStars = 4096;
constexpr unsigned MaxStepMs = 100; // a stalled timer must not make the scene jump

enum StarTint : std::uint8_t { TintWhite, TintBlue, TintWarm };

struct Star {
    float x;          // in [-1, width): a star leaving on the left comes back on the right
    float y;          // in [0, height)
    float speed;      // pixels per second at speed factor 1
    float brightness; // 0..1
    float twinklePhase;
    float twinkleRate;
    StarTint tint;
};

struct ShootingStar {
    bool active;
    float x, y;   // the head
    float vx, vy; // pixels per second
    float age;    // seconds since it appeared
    float life;   // seconds it lasts
};

struct Scene {
    int width;
    int height;
    float speedFactor;
    bool aurora;
    double seconds; // the animation clock, already scaled by the speed factor
    Random random;
    int starCount;
    Star stars[MaxStars];
    ShootingStar meteor;
    float secondsToNextMeteor;
};

constexpr float Tau = 6.2831853f;

// The animation clock as a float, wrapped so that it keeps its precision
// however long the saver runs.
float SceneClock(const Scene& scene);
// The same at another time of the scene's clock.
float SceneClockAt(double seconds);
constexpr double SceneClockPeriod = 100000.0; // seconds

constexpr float PlanetRadiusShare = 0.15f; // of the frame's smaller side

// Where the ringed planet is at the scene's clock; the renderer and tests share it.
struct PlanetPlacement {
    float centerX;
    float centerY;
    float radius;
    float tilt; // radians: the ring's and the bands' angle to the horizontal
};

float SpeedFactor(int speedSetting);
int StarCountFor(int width, int height, int starsSetting);

void InitScene(Scene& scene, int width, int height, const SaverSettings& settings, std::uint32_t seed);
void AdvanceScene(Scene& scene, unsigned elapsedMs);
PlanetPlacement PlacePlanet(const Scene& scene);
// Where it is, was or will be at another time on the scene's clock.
PlanetPlacement PlacePlanetAt(const Scene& scene, double seconds);
