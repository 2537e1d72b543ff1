// The saver on several monitors, as laid out and drawn per monitor: every
// monitor covered, nothing drawn between them, the ridge along each one's
// bottom, the planet wholly on one monitor, no twins; and the change list
// merged into the window's clip region without losing a change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "screensaver/change_region.h"
#include "screensaver/monitor_layout.h"
#include "screensaver/render/planet_painter.h"
#include "screensaver/render/reference_renderer.h"
#include "screensaver/render/scene_canvas.h"

namespace {

constexpr std::uint32_t Untouched = 0xA5A5A5A5u; // its top byte is never in a pixel the renderer writes
const std::uint32_t Rock = 0x050711;               // the ridge

struct LayoutCase {
    const char* name;
    MonitorSet set;
    int distinct; // monitors worth a view
};

std::ostream& operator<<(std::ostream& out, const LayoutCase& c) { return out << c.name; }

MonitorSet Monitors(std::initializer_list<PixelRect> rects, int primary) {
    MonitorSet set = {};
    for (const PixelRect& r : rects) set.monitors[set.count++] = r;
    set.primary = primary;
    return set;
}

// Shapes of real desks, at a fraction of their pixels (the layout is the same
// at any scale), and one huge monitor beside a tiny one at full size.
const LayoutCase layouts[] = {
    {"one", Monitors({{0, 0, 800, 600}}, 0), 1},
    {"TwoTopAligned", Monitors({{0, 0, 640, 360}, {640, 0, 1120, 270}}, 0), 2},
    {"TwoBottomAligned", Monitors({{0, 0, 640, 360}, {640, 90, 1120, 360}}, 0), 2},
    {"SecondLeftOfAndAboveTheMain", Monitors({{0, 0, 640, 360}, {-480, -200, 0, 70}}, 0), 2},
    {"ThreeInARowMainInTheMiddle", Monitors({{-480, 0, 0, 270}, {0, 0, 480, 270}, {480, 0, 960, 270}}, 1), 3},
    {"PortraitLeftOfTheMain", Monitors({{-360, -100, 0, 540}, {0, 0, 640, 360}}, 1), 2},
    {"TinyBesideHuge", Monitors({{0, 0, 3840, 2160}, {3840, 0, 4000, 120}}, 0), 2},
    {"MirroredCountsOnce", Monitors({{0, 0, 640, 360}, {0, 0, 640, 360}, {0, 0, 0, 0}}, 1), 1},
};

const MonitorsChoice choices[] = {MonitorsEach, MonitorsAcross, MonitorsMainOnly};
const char* const choiceNames[] = {"Each", "Across", "MainOnly"};

int Width(const PixelRect& r) { return r.right - r.left; }
int Height(const PixelRect& r) { return r.bottom - r.top; }

bool Inside(float left, float top, float right, float bottom, const PixelRect& r) {
    return left >= static_cast<float>(r.left) && top >= static_cast<float>(r.top) &&
           right <= static_cast<float>(r.right) && bottom <= static_cast<float>(r.bottom);
}

SaverSettings Settings() { return DefaultSettings(); }

// Every monitor's view drawn by its own canvas into one window-sized buffer,
// as the window shows them; black monitors are left to the window.
class DrawnWindow {
  public:
    explicit DrawnWindow(const SaverLayout& layout)
        : layout_(layout), pixels_(static_cast<std::size_t>(Width(layout.window)) * Height(layout.window), Untouched) {
        for (int i = 0; i < layout.sceneCount; ++i) {
            scenes_.push_back(std::make_unique<Scene>());
            InitScene(*scenes_.back(), layout.scenes[i], Settings());
            AdvanceScene(*scenes_.back(), 40);
        }
        for (int i = 0; i < layout.viewCount; ++i) {
            const MonitorView& view = layout.views[i];
            frames_.emplace_back(static_cast<std::size_t>(Width(view.area)) * Height(view.area));
            memory_.emplace_back(SceneCanvasBytes(Width(view.area), Height(view.area)) / 4 + 1);
            canvases_.push_back(NewSceneCanvas(
                PixelFrame{frames_.back().data(), Width(view.area), Height(view.area), view.sceneLeft, view.sceneTop},
                memory_.back().data()));
        }
    }

    void Draw() {
        for (int i = 0; i < layout_.viewCount; ++i) {
            const MonitorView& view = layout_.views[i];
            if (view.scene < 0) continue;
            DrawScene(*scenes_[view.scene], canvases_[i]);
            for (int y = 0; y < Height(view.area); ++y)
                std::copy_n(frames_[i].begin() + static_cast<std::ptrdiff_t>(y) * Width(view.area), Width(view.area),
                            pixels_.begin() + static_cast<std::ptrdiff_t>(view.area.top + y) * Width(layout_.window) +
                                view.area.left);
        }
    }

    std::uint32_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * Width(layout_.window) + x]; }
    Scene& scene(int i) { return *scenes_[i]; }

  private:
    SaverLayout layout_;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::unique_ptr<Scene>> scenes_;
    std::vector<std::vector<std::uint32_t>> frames_, memory_;
    std::vector<SceneCanvas> canvases_;
};

class ScreensaverMonitors : public ::testing::TestWithParam<std::tuple<LayoutCase, int>> {
  protected:
    const LayoutCase& layoutCase() const { return std::get<0>(GetParam()); }
    MonitorsChoice choice() const { return choices[std::get<1>(GetParam())]; }
    SaverLayout Layout() const { return LayOutMonitors(layoutCase().set, choice(), 77); }
};

TEST_P(ScreensaverMonitors, EveryMonitorHasOneViewAndTheWindowIsTheirBoundingBox) {
    const SaverLayout layout = Layout();
    ASSERT_EQ(layout.viewCount, layoutCase().distinct);
    const MonitorSet& set = layoutCase().set;
    PixelRect box = set.monitors[0];
    for (int m = 0; m < set.count; ++m) {
        const PixelRect& monitor = set.monitors[m];
        if (Width(monitor) <= 0) continue;
        box = {std::min(box.left, monitor.left), std::min(box.top, monitor.top), std::max(box.right, monitor.right),
               std::max(box.bottom, monitor.bottom)};
        int views = 0;
        for (int i = 0; i < layout.viewCount; ++i) {
            const PixelRect& a = layout.views[i].area;
            views += a.left + layout.window.left == monitor.left && a.top + layout.window.top == monitor.top &&
                     a.right + layout.window.left == monitor.right && a.bottom + layout.window.top == monitor.bottom;
        }
        EXPECT_EQ(views, 1) << "monitor " << m;
    }
    EXPECT_TRUE(box.left == layout.window.left && box.top == layout.window.top && box.right == layout.window.right &&
                box.bottom == layout.window.bottom);
    const int scenes = choice() == MonitorsEach ? layoutCase().distinct : 1;
    EXPECT_EQ(layout.sceneCount, scenes);
    for (int i = 0; i < layout.viewCount; ++i) {
        const MonitorView& view = layout.views[i];
        const bool main = view.area.left + layout.window.left == 0 && view.area.top + layout.window.top == 0;
        if (choice() == MonitorsMainOnly) {
            EXPECT_EQ(view.scene >= 0, main) << "view " << i;
            continue;
        }
        ASSERT_GE(view.scene, 0);
        // The view shows its part of the scene, all inside it.
        const SceneSetup& scene = layout.scenes[view.scene];
        EXPECT_GE(view.sceneLeft, 0);
        EXPECT_GE(view.sceneTop, 0);
        EXPECT_LE(view.sceneLeft + Width(view.area), scene.width);
        EXPECT_LE(view.sceneTop + Height(view.area), scene.height);
    }
}

// Over an hour of drifting, planet, rings and moon stay wholly on one monitor.
TEST_P(ScreensaverMonitors, PlanetStaysWhollyOnOneMonitor) {
    const SaverLayout layout = Layout();
    for (int s = 0; s < layout.sceneCount; ++s) {
        auto scene = std::make_unique<Scene>();
        InitScene(*scene, layout.scenes[s], Settings());
        for (int step = 0; step < 360; ++step) {
            AdvanceScene(*scene, 100);
            scene->seconds += 10.0;
            const PlanetPlacement planet = PlacePlanet(*scene);
            float across, down;
            PlanetSystemReach(planet, across, down);
            int monitors = 0;
            for (int i = 0; i < layout.viewCount; ++i) {
                const MonitorView& view = layout.views[i];
                if (view.scene != s) continue;
                const PixelRect inScene = {view.sceneLeft, view.sceneTop, view.sceneLeft + Width(view.area),
                                           view.sceneTop + Height(view.area)};
                monitors += Inside(planet.centerX - across, planet.centerY - down, planet.centerX + across,
                                   planet.centerY + down, inScene);
            }
            ASSERT_EQ(monitors, 1) << "scene " << s << " at " << scene->seconds << " s";
        }
    }
}

// Drawn as the window shows it: every pixel of a monitor with a scene written,
// none between monitors, the ridge along each monitor's bottom and sky at its top.
TEST_P(ScreensaverMonitors, DrawsEveryMonitorWithItsOwnGroundAndNothingBetween) {
    const SaverLayout layout = Layout();
    DrawnWindow window(layout);
    window.Draw();
    std::vector<std::uint8_t> owner(static_cast<std::size_t>(Width(layout.window)) * Height(layout.window), 0);
    for (int i = 0; i < layout.viewCount; ++i) {
        const MonitorView& view = layout.views[i];
        const PixelRect& a = view.area;
        for (int y = a.top; y < a.bottom; ++y)
            for (int x = a.left; x < a.right; ++x) owner[static_cast<std::size_t>(y) * Width(layout.window) + x] = 1;
        if (view.scene < 0) continue; // the window paints it black
        int rockAtBottom = 0, rockAtTop = 0, unwritten = 0;
        for (int x = a.left; x < a.right; ++x) {
            rockAtBottom += window.At(x, a.bottom - 1) == Rock;
            rockAtTop += window.At(x, a.top) == Rock;
        }
        for (int y = a.top; y < a.bottom; ++y)
            for (int x = a.left; x < a.right; ++x) unwritten += window.At(x, y) >> 24 != 0;
        EXPECT_EQ(unwritten, 0) << "view " << i;
        EXPECT_EQ(rockAtBottom, Width(a)) << "view " << i;
        EXPECT_EQ(rockAtTop, 0) << "view " << i;
    }
    int drawnBetween = 0;
    for (int y = 0; y < Height(layout.window); ++y)
        for (int x = 0; x < Width(layout.window); ++x)
            drawnBetween += !owner[static_cast<std::size_t>(y) * Width(layout.window) + x] && window.At(x, y) != Untouched;
    EXPECT_EQ(drawnBetween, 0);
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<LayoutCase, int>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + choiceNames[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Layouts, ScreensaverMonitors,
                         ::testing::Combine(::testing::ValuesIn(layouts), ::testing::Values(0, 1, 2)), CaseName);

// Past the monitors the set can list, one more is still inside the window and
// kept black, and the listed ones keep their views; the same set twice is
// the same layout, one more monitor a new one.
TEST(ScreensaverMonitorsMany, AMonitorPastTheListIsCoveredAndKeptBlack) {
    MonitorSet set = {};
    for (int i = 0; i < MaxMonitors; ++i) AddToMonitorSet(set, PixelRect{i * 100, 0, i * 100 + 100, 80}, i == 0);
    const SaverLayout listed = LayOutMonitors(set, MonitorsEach, 3);
    EXPECT_EQ(listed.unlisted.right, 0);
    // Two more, past the list: one box around both.
    AddToMonitorSet(set, PixelRect{0, 80, 100, 160}, false);
    AddToMonitorSet(set, PixelRect{200, 100, 300, 140}, false);
    EXPECT_EQ(set.count, MaxMonitors);
    const SaverLayout layout = LayOutMonitors(set, MonitorsEach, 3);
    EXPECT_EQ(layout.viewCount, MaxMonitors);
    EXPECT_TRUE(layout.window.left == 0 && layout.window.top == 0 && layout.window.right == 1600 &&
                layout.window.bottom == 160);
    EXPECT_TRUE(layout.unlisted.left == 0 && layout.unlisted.top == 80 && layout.unlisted.right == 300 &&
                layout.unlisted.bottom == 160);
    EXPECT_TRUE(SameViews(layout, LayOutMonitors(set, MonitorsEach, 3)));
    EXPECT_FALSE(SameViews(layout, listed));
    set.count = 2;
    EXPECT_FALSE(SameViews(layout, LayOutMonitors(set, MonitorsEach, 3)));
}

// Two monitors of one size do not show twins: the planets rest apart and
// the skies differ.
TEST(ScreensaverMonitorsEach, NeighboursAreNoTwins) {
    const SaverLayout layout = LayOutMonitors(Monitors({{0, 0, 640, 360}, {640, 0, 1280, 360}}, 0), MonitorsEach, 5);
    ASSERT_EQ(layout.sceneCount, 2);
    auto a = std::make_unique<Scene>(), b = std::make_unique<Scene>();
    InitScene(*a, layout.scenes[0], Settings());
    InitScene(*b, layout.scenes[1], Settings());
    EXPECT_GT(std::abs(PlacePlanet(*a).centerX - PlacePlanet(*b).centerX), 100.0f);
    EXPECT_NE(a->stars[0].x, b->stars[0].x);
    EXPECT_NE(a->seconds, b->seconds) << "moons and lights in step";
}

// One scene across two monitors: each monitor's canvas, showing its part of
// the scene, draws exactly what the reference renderer gives for that part.
TEST(ScreensaverMonitorsAcross, EachMonitorsCanvasDrawsTheReferencePicture) {
    const SaverLayout layout =
        LayOutMonitors(Monitors({{0, 0, 320, 180}, {320, 30, 560, 165}}, 0), MonitorsAcross, 9);
    auto scene = std::make_unique<Scene>();
    InitScene(*scene, layout.scenes[0], Settings());
    for (int i = 0; i < layout.viewCount; ++i) {
        const MonitorView& view = layout.views[i];
        const int w = Width(view.area), h = Height(view.area);
        std::vector<std::uint32_t> drawn(static_cast<std::size_t>(w) * h), reference(drawn.size());
        std::vector<std::uint32_t> memory(SceneCanvasBytes(w, h) / 4 + 1), layerMemory(PlanetLayerCapacity(w, h));
        SceneCanvas canvas = NewSceneCanvas(PixelFrame{drawn.data(), w, h, view.sceneLeft, view.sceneTop}, memory.data());
        canvas.auroraBands = 1;
        auto shown = std::make_unique<Scene>(*scene);
        for (int step = 0; step < 60; ++step, AdvanceScene(*shown, 100)) {
            DrawScene(*shown, canvas);
            PlanetLayer layer = canvas.planetLayer;
            RenderReferenceFrame(*shown, PixelFrame{reference.data(), w, h, view.sceneLeft, view.sceneTop}, layer);
            ASSERT_TRUE(drawn == reference) << "view " << i << " at " << shown->seconds << " s";
        }
    }
}

// The window's clip region: a row of changes at a time, those close together
// merged, every changed pixel still inside, moved to the monitor's place.
struct MergeCase {
    const char* name;
    std::vector<PixelRect> changes;
    int first, dx, dy;
    std::vector<PixelRect> merged;
    int next;
};

std::ostream& operator<<(std::ostream& out, const MergeCase& c) { return out << c.name; }

class ScreensaverChangeRegion : public ::testing::TestWithParam<MergeCase> {};

TEST_P(ScreensaverChangeRegion, MergesOneRowAndKeepsEveryChange) {
    const MergeCase& c = GetParam();
    std::vector<PixelRect> rects(c.changes.size() + 1, PixelRect{-1, -1, -1, -1});
    int merged = -1;
    EXPECT_EQ(MergeChangeRow(c.changes.data(), static_cast<int>(c.changes.size()), c.first, c.dx, c.dy, rects.data(),
                             merged),
              c.next);
    ASSERT_EQ(merged, static_cast<int>(c.merged.size()));
    for (int i = 0; i < merged; ++i)
        EXPECT_TRUE(rects[i].left == c.merged[i].left && rects[i].top == c.merged[i].top &&
                    rects[i].right == c.merged[i].right && rects[i].bottom == c.merged[i].bottom)
            << "rectangle " << i << ": " << rects[i].left << "," << rects[i].top << "," << rects[i].right << ","
            << rects[i].bottom;
    EXPECT_EQ(rects[merged].left, -1) << "written past the merged rectangles";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreensaverChangeRegion,
    ::testing::Values(
        MergeCase{"Nothing", {}, 0, 0, 0, {}, 0},
        MergeCase{"OneChange", {{8, 4, 16, 8}}, 0, 0, 0, {{8, 4, 16, 8}}, 1},
        MergeCase{"StopsAtTheNextRow", {{0, 0, 4, 4}, {200, 0, 204, 4}, {0, 4, 4, 8}}, 0, 0, 0,
                  {{0, 0, 4, 4}, {200, 0, 204, 4}}, 2},
        MergeCase{"StartsAtTheGivenRow", {{0, 0, 4, 4}, {0, 4, 4, 8}, {40, 4, 48, 8}}, 1, 0, 0, {{0, 4, 48, 8}}, 3},
        MergeCase{"MovedToItsMonitor", {{0, 0, 4, 4}, {100, 0, 104, 4}}, 0, 2560, 30,
                  {{2560, 30, 2564, 34}, {2660, 30, 2664, 34}}, 2},
        // 64 pixels apart merge, 65 do not.
        MergeCase{"ChainOfCloseOnes", {{0, 0, 4, 4}, {68, 0, 72, 4}, {136, 0, 140, 4}, {205, 0, 208, 4}}, 0, 0, 0,
                  {{0, 0, 140, 4}, {205, 0, 208, 4}}, 4},
        MergeCase{"PastTheEnd", {{0, 0, 4, 4}}, 1, 0, 0, {}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
