// Which scene each monitor shows, and where: a whole scene on each, one scene
// across all of them, or one on the main monitor and black on the others.
// Every monitor gets one view; what lies between monitors gets none.
#pragma once

#include <cstdint>

#include "screensaver/render/pixel_types.h"
#include "screensaver/scene.h"

// The values of the Monitors setting.
enum MonitorsChoice { MonitorsEach = 0, MonitorsAcross = 1, MonitorsMainOnly = 2 };

constexpr int MaxMonitors = 16;

// The monitors as the system lists them, in desktop pixels (those left of or
// above the main monitor at negative coordinates).
struct MonitorSet {
    int count;
    PixelRect monitors[MaxMonitors];
    int primary;      // index of the main monitor
    PixelRect beyond; // the bounding box of those past the first MaxMonitors; empty when none
};

// One more monitor as the system lists it: past MaxMonitors, into beyond.
void AddToMonitorSet(MonitorSet& set, const PixelRect& monitor, bool primary);

// One monitor's part of the window and what it shows there.
struct MonitorView {
    PixelRect area;          // in the window's pixels
    int scene;               // index into SaverLayout::scenes; -1: black
    int sceneLeft, sceneTop; // the scene's pixel at the area's top left corner
};

struct SaverLayout {
    PixelRect window;    // in desktop pixels: the bounding box of every monitor
    PixelRect unlisted;  // in the window's pixels: around the monitors past MaxMonitors, kept black
    int viewCount;
    MonitorView views[MaxMonitors];
    int sceneCount;
    SceneSetup scenes[MaxMonitors];
};

// Empty monitors and second copies of a mirrored one are left out; with none
// left the layout is empty. seed varies the whole show from run to run, the
// index of a monitor varies its scene from its neighbours'.
SaverLayout LayOutMonitors(const MonitorSet& set, MonitorsChoice choice, std::uint32_t seed);

// Whether two layouts show the same scenes in the same places.
bool SameViews(const SaverLayout& a, const SaverLayout& b);

// The monitors of the Monitors setting's value (clamped into range).
MonitorsChoice MonitorsChoiceFrom(int settingValue);
