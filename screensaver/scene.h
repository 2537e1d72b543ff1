// The animation's state and its step: a drifting starfield, an occasional
// shooting star, and a clock that the ringed planet, its moon and the
// northern lights follow. No drawing and no platform calls here.
#pragma once

#include <cstdint>

#include "screensaver/random.h"
#include "screensaver/render/pixel_types.h"
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

// One scene as a monitor layout asks for it (monitor_layout.h): its size, the
// part of it where the planet lives (one monitor's), and what sets it apart
// from the scenes on the other monitors.
struct SceneSetup {
    int width;
    int height;
    PixelRect planetStage; // in the scene's pixels
    float planetHome;      // where across the stage the planet rests, as a share of its width
    double clockStart;     // seconds: the planet, moon and lights start at another phase
    std::uint32_t seed;
};

// The whole scene the planet's stage, resting right of centre.
SceneSetup WholeSceneSetup(int width, int height, std::uint32_t seed);

struct Scene {
    int width;
    int height;
    PixelRect planetStage;
    float planetHome;
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

constexpr float PlanetRadiusShare = 0.15f; // of the stage's smaller side

// The planet system's proportions, in planet radii: what the painter draws
// and what placing it must keep on its monitor. tools/make-icon.py reads the
// rings' three from here: keep them as written.
constexpr float RingRatio = 0.30f;                    // how flat the rings look: the sine of the view's elevation
constexpr float RingInner = 1.32f, RingOuter = 2.30f;
constexpr float PlanetHalo = 1.12f;                   // the glow of the atmosphere
constexpr float MoonOrbit = 2.9f, MoonSize = 0.17f;

// Where the ringed planet is at the scene's clock; the renderer and tests share it.
struct PlanetPlacement {
    float centerX;
    float centerY;
    float radius;
    float tilt; // radians: the ring's and the bands' angle to the horizontal
};

float SpeedFactor(int speedSetting);
int StarCountFor(int width, int height, int starsSetting);

void InitScene(Scene& scene, const SceneSetup& setup, const SaverSettings& settings);
void InitScene(Scene& scene, int width, int height, const SaverSettings& settings, std::uint32_t seed);
void AdvanceScene(Scene& scene, unsigned elapsedMs);
PlanetPlacement PlacePlanet(const Scene& scene);
// Where it is, was or will be at another time on the scene's clock: always
// with its rings and moon wholly inside the stage.
PlanetPlacement PlacePlanetAt(const Scene& scene, double seconds);
// Half the width and half the height of what the planet, its rings and its
// moon may cover around the planet's centre, in pixels.
void PlanetSystemReach(const PlanetPlacement& planet, float& across, float& down);
