#include "screensaver/monitor_layout.h"

#include "screensaver/settings.h"

namespace {

bool Empty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Same(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Width(const PixelRect& r) { return r.right - r.left; }
int Height(const PixelRect& r) { return r.bottom - r.top; }

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top, a.right > b.right ? a.right : b.right,
            a.bottom > b.bottom ? a.bottom : b.bottom};
}

PixelRect Moved(const PixelRect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// The planet rests right of centre on one monitor, left on the next; the
// clocks start apart, so that the moons and lights are never in step.
SceneSetup MonitorScene(int width, int height, int index, std::uint32_t seed) {
    SceneSetup setup = WholeSceneSetup(width, height, seed + static_cast<std::uint32_t>(index) * 0x9E3779B9u);
    setup.planetHome = index % 2 == 0 ? 0.66f : 0.34f;
    setup.clockStart = 977.0 * index;
    return setup;
}

} // namespace

bool SameViews(const SaverLayout& a, const SaverLayout& b) {
    if (a.viewCount != b.viewCount || a.sceneCount != b.sceneCount || !Same(a.unlisted, b.unlisted)) return false;
    for (int i = 0; i < a.viewCount; ++i)
        if (!Same(a.views[i].area, b.views[i].area) || a.views[i].scene != b.views[i].scene) return false;
    return true;
}

MonitorsChoice MonitorsChoiceFrom(int settingValue) {
    return static_cast<MonitorsChoice>(ClampSetting(SettingMonitors, settingValue));
}

void AddToMonitorSet(MonitorSet& set, const PixelRect& monitor, bool primary) {
    if (set.count < MaxMonitors) {
        if (primary) set.primary = set.count;
        set.monitors[set.count++] = monitor;
    } else {
        set.beyond = Empty(set.beyond) ? monitor : Union(set.beyond, monitor);
    }
}

SaverLayout LayOutMonitors(const MonitorSet& set, MonitorsChoice choice, std::uint32_t seed) {
    SaverLayout layout = {};
    // The monitors worth a view; the main one among them, or else the first.
    PixelRect monitors[MaxMonitors];
    int count = 0, primary = 0;
    const int listed = set.count < MaxMonitors ? (set.count > 0 ? set.count : 0) : MaxMonitors;
    for (int i = 0; i < listed; ++i) {
        const PixelRect& monitor = set.monitors[i];
        bool copy = Empty(monitor);
        for (int j = 0; j < count && !copy; ++j) copy = Same(monitors[j], monitor);
        if (copy) continue;
        if (i == set.primary) primary = count;
        monitors[count++] = monitor;
    }
    if (count == 0) return layout;

    PixelRect& window = layout.window;
    window = monitors[0];
    for (int i = 1; i < count; ++i) window = Union(window, monitors[i]);
    // Monitors past those the set lists get no scene, but the window covers
    // them too, and they are kept black: nothing else would hide the desktop there.
    if (!Empty(set.beyond)) {
        window = Union(window, set.beyond);
        layout.unlisted = Moved(set.beyond, -window.left, -window.top);
    }

    if (choice == MonitorsAcross) {
        // One scene the size of the window; the planet on the main monitor.
        SceneSetup setup = WholeSceneSetup(Width(window), Height(window), seed);
        setup.planetStage = Moved(monitors[primary], -window.left, -window.top);
        layout.scenes[layout.sceneCount++] = setup;
    }
    for (int i = 0; i < count; ++i) {
        MonitorView& view = layout.views[layout.viewCount++];
        view.area = Moved(monitors[i], -window.left, -window.top);
        switch (choice) {
        case MonitorsAcross:
            view.scene = 0;
            view.sceneLeft = view.area.left;
            view.sceneTop = view.area.top;
            break;
        case MonitorsMainOnly:
            view.scene = i == primary ? layout.sceneCount : -1;
            if (i == primary) layout.scenes[layout.sceneCount++] = MonitorScene(Width(view.area), Height(view.area), 0, seed);
            break;
        case MonitorsEach:
            view.scene = layout.sceneCount;
            layout.scenes[layout.sceneCount++] = MonitorScene(Width(view.area), Height(view.area), i, seed);
            break;
        }
    }
    return layout;
}
