#include "screensaver/render/scene_canvas.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "screensaver/render/pixel_rows.h"
#include "screensaver/render/sky_and_ground.h"

namespace {

enum TileFlag : std::uint8_t { TileDrawnBefore = 1, TileDrawnNow = 2, TileChanged = 4 };

// Northern-light pixels recomputed a frame, up to a sixth of them all: a
// column then shows them at most two and a half frames early or late, and
// where a band meets the oldest one they differ by five. With more bands that
// step showed on large screens, where the same moment spans more pixels.
constexpr long AuroraPixelsPerFrame = 180000;
constexpr int MaxAuroraBands = 6;
constexpr double MaxPlanetLead = 4.0; // seconds of the scene's clock

std::size_t Aligned(std::size_t bytes) { return (bytes + 15) & ~static_cast<std::size_t>(15); }

int TilesFor(int pixels) { return (pixels + CanvasTile - 1) / CanvasTile; }
// Rows of the tile map are whole words of tiles (see CollectChanges).
int TileStride(int width) { return (TilesFor(width) + 7) & ~7; }

void Mark(SceneCanvas& canvas, PixelRect area, std::uint8_t flag) {
    if (area.left < 0) area.left = 0;
    if (area.top < 0) area.top = 0;
    if (area.right > canvas.frame.width) area.right = canvas.frame.width;
    if (area.bottom > canvas.frame.height) area.bottom = canvas.frame.height;
    if (area.right <= area.left || area.bottom <= area.top) return;
    const int left = area.left / CanvasTile, right = (area.right - 1) / CanvasTile;
    const int top = area.top / CanvasTile, bottom = (area.bottom - 1) / CanvasTile;
    for (int ty = top; ty <= bottom; ++ty) {
        std::uint8_t* row = canvas.tiles + ty * canvas.tileStride;
        for (int tx = left; tx <= right; ++tx) row[tx] |= flag;
    }
}

// From the scene's pixels to the frame's.
PixelRect InFrame(PixelRect area, const PixelFrame& frame) {
    return {area.left - frame.left, area.top - frame.top, area.right - frame.left, area.bottom - frame.top};
}

PixelRect LayerRect(const PlanetLayer& layer) {
    if (!layer.painted) return {0, 0, 0, 0};
    return {layer.left, layer.top, layer.left + layer.width, layer.top + layer.height};
}

PixelRect Union(PixelRect a, PixelRect b) {
    if (a.right <= a.left || a.bottom <= a.top) return b;
    if (b.right <= b.left || b.bottom <= b.top) return a;
    return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top, a.right > b.right ? a.right : b.right,
            a.bottom > b.bottom ? a.bottom : b.bottom};
}

bool Inside(const PlanetLayer& layer, int left, int top, int right, int bottom) {
    return layer.painted && left >= layer.left && top >= layer.top && right <= layer.left + layer.width &&
           bottom <= layer.top + layer.height;
}

// A small move of the planet changes its edges and little else: only the
// tiles where the two layers differ are blended again.
void MarkLayerChanges(SceneCanvas& canvas, const PlanetLayer& before, const PlanetLayer& after) {
    const PixelRect area = Union(LayerRect(before), LayerRect(after));
    for (int ty = area.top / CanvasTile; ty * CanvasTile < area.bottom; ++ty) {
        std::uint8_t* row = canvas.tiles + ty * canvas.tileStride;
        const int top = ty * CanvasTile > area.top ? ty * CanvasTile : area.top;
        const int bottom = (ty + 1) * CanvasTile < area.bottom ? (ty + 1) * CanvasTile : area.bottom;
        // Outside the columns either layer holds anything in, both are clear.
        int from = area.right, to = area.left;
        for (int y = top; y < bottom; ++y)
            for (const PlanetLayer* layer : {&before, &after}) {
                int left, right;
                if (!PlanetLayerColumns(*layer, y, left, right)) continue;
                if (left < from) from = left;
                if (right > to) to = right;
            }
        for (int tx = from / CanvasTile; tx * CanvasTile < to; ++tx) {
            const int left = tx * CanvasTile > area.left ? tx * CanvasTile : area.left;
            const int right = (tx + 1) * CanvasTile < area.right ? (tx + 1) * CanvasTile : area.right;
            bool differs = false;
            if (Inside(before, left, top, right, bottom) && Inside(after, left, top, right, bottom)) {
                for (int y = top; y < bottom && !differs; ++y) {
                    const std::uint32_t* a = before.pixels + (y - before.top) * before.width + (left - before.left);
                    const std::uint32_t* b = after.pixels + (y - after.top) * after.width + (left - after.left);
                    differs = !SamePixels(a, b, right - left);
                }
            } else {
                for (int y = top; y < bottom && !differs; ++y)
                    for (int x = left; x < right && !differs; ++x)
                        differs = PlanetLayerPixel(before, x, y) != PlanetLayerPixel(after, x, y);
            }
            if (differs) row[tx] |= TileChanged;
        }
    }
}

// Only where the lights were or now are does the band change: its strips are
// set up again, and what either covered marked, a column of tiles at a time.
void RefreshAuroraBand(const Scene& scene, SceneCanvas& canvas) {
    const PixelFrame& frame = canvas.frame;
    const int band = canvas.nextAuroraBand;
    canvas.nextAuroraBand = (band + 1) % canvas.auroraBands;
    // Bands start and end on tile edges, so that tile columns are never shared.
    const int tiles = canvas.tilesAcross;
    // In int: at most MaxAuroraBands times the tiles across, and the 32-bit
    // build would call a library division for a wider one every frame.
    const int left = tiles * band / canvas.auroraBands * CanvasTile;
    int right = tiles * (band + 1) / canvas.auroraBands * CanvasTile;
    if (right > frame.width) right = frame.width;
    RowSpan* reach = canvas.auroraReach;
    RowSpan* marks = canvas.auroraMarks + left / CanvasTile;
    for (int x = left; x < right; ++x) {
        RowSpan& mark = marks[(x - left) / CanvasTile];
        if (x % CanvasTile == 0) mark = RowSpan{frame.height, 0};
        Widen(mark, reach[x]);
    }
    // Set up for the middle of the frames it will be shown in, it is never
    // more than half a sweep early or late.
    const double maxStep = MaxStepMs * 0.001 * scene.speedFactor;
    double step = scene.seconds - canvas.lastSeconds;
    step = step < 0.0 ? 0.0 : (step > maxStep ? maxStep : step);
    SetUpAuroraStrips(scene, frame, *canvas.auroraLights, left, right, canvas.auroraStrips + left / 4, reach + left,
                      0.5 * (canvas.auroraBands - 1) * step);
    for (int x = left; x < right; ++x) Widen(marks[(x - left) / CanvasTile], reach[x]);
    for (int tileLeft = left; tileLeft < right; tileLeft += CanvasTile) {
        const RowSpan& mark = marks[(tileLeft - left) / CanvasTile];
        if (mark.top < mark.bottom) Mark(canvas, PixelRect{tileLeft, mark.top, tileLeft + CanvasTile, mark.bottom}, TileChanged);
    }
}

// Painted for where the planet will be a little later, a layer fits from now
// until as far past that: half the repaints, each no further from the planet.
PlanetPlacement PlanetAhead(const Scene& scene, const PixelFrame& frame, const PlanetPlacement& now) {
    double fits = 0.0, fails = MaxPlanetLead;
    const auto at = [&](double lead) { return PlanetInFrame(PlacePlanetAt(scene, scene.seconds + lead), frame); };
    if (PlanetPlacementsClose(frame, at(fails), now)) fits = fails;
    for (int step = 0; step < 10 && fits < fails; ++step) {
        const double lead = 0.5 * (fits + fails);
        (PlanetPlacementsClose(frame, at(lead), now) ? fits : fails) = lead;
    }
    return fits > 0.0 ? at(fits) : now;
}

void PaintWhole(const Scene& scene, SceneCanvas& canvas) {
    const PixelFrame& frame = canvas.frame;
    for (int x = 0; x < frame.width; ++x) canvas.auroraReach[x] = RowSpan{0, 0};
    if (scene.aurora)
        SetUpAuroraStrips(scene, frame, *canvas.auroraLights, 0, frame.width, canvas.auroraStrips, canvas.auroraReach);
    Mark(canvas, PixelRect{0, 0, frame.width, frame.height}, TileChanged);
}

std::uint32_t LoadTiles(const std::uint8_t* tiles) {
    std::uint32_t word;
    std::memcpy(&word, tiles, sizeof word);
    return word;
}

// Every tile something was drawn on last frame or is drawn on now must be
// restored; runs of such tiles along a row become the frame's changes. The
// map is read four tiles at a time, most of it being clear, and left ready
// for the next frame: what is drawn now was drawn before. Words of 32 bits:
// the 32-bit build would do 64-bit ones in pairs.
void CollectChanges(SceneCanvas& canvas) {
    constexpr std::uint32_t Tiles = 0x01010101u;
    constexpr std::uint32_t Before = Tiles * TileDrawnBefore, Now = Tiles * TileDrawnNow;
    constexpr int PerWord = sizeof(std::uint32_t);
    canvas.changeCount = 0;
    const int width = canvas.frame.width, height = canvas.frame.height;
    for (int ty = 0; ty < canvas.tilesDown; ++ty) {
        std::uint8_t* row = canvas.tiles + ty * canvas.tileStride;
        const int top = ty * CanvasTile, bottom = top + CanvasTile < height ? top + CanvasTile : height;
        int start = -1;
        for (int tx = 0; tx < canvas.tileStride; tx += PerWord) {
            std::uint32_t word = LoadTiles(row + tx);
            if (word == 0 && start < 0) continue; // clear, and clear it stays
            const std::uint32_t next = (word & Now) >> 1;
            std::memcpy(row + tx, &next, sizeof next);
            word |= (word & Before) << 2 | (word & Now) << 1;
            for (int i = 0; i < PerWord; ++i) {
                const bool changed = (word >> (8 * i) & TileChanged) != 0; // the map is little-endian bytes
                if (changed && start < 0) start = tx + i;
                if (!changed && start >= 0) {
                    const int right = (tx + i) * CanvasTile < width ? (tx + i) * CanvasTile : width;
                    canvas.changes[canvas.changeCount++] = PixelRect{start * CanvasTile, top, right, bottom};
                    start = -1;
                }
            }
        }
        if (start >= 0) canvas.changes[canvas.changeCount++] = PixelRect{start * CanvasTile, top, width, bottom};
    }
}

// The sky, and the northern lights where they may be, made again from their
// numbers: no picture of them is kept, and none read back from memory.
void Restore(const SceneCanvas& canvas, PixelRect area, bool aurora) {
    const int width = canvas.frame.width;
    int lightsTop = aurora ? canvas.auroraTop : area.bottom, lightsBottom = aurora ? canvas.auroraBottom : area.bottom;
    lightsTop = lightsTop < area.top ? area.top : (lightsTop > area.bottom ? area.bottom : lightsTop);
    lightsBottom = lightsBottom < lightsTop ? lightsTop : (lightsBottom > area.bottom ? area.bottom : lightsBottom);
    for (int y = area.top; y < area.bottom; ++y) {
        if (y == lightsTop && lightsTop < lightsBottom) {
            PaintSkyAndAurora(canvas.frame, canvas.sky, *canvas.auroraLights, canvas.auroraStrips,
                              PixelRect{area.left, lightsTop, area.right, lightsBottom});
            y = lightsBottom - 1;
            continue;
        }
        RepeatPixels(canvas.frame.pixels + y * width + area.left, canvas.sky + 4 * y, area.right - area.left);
    }
}

// Stars keep their rows as they drift: the order by row changes only where
// one has gone and a new one come, so that sorting it again is a short pass.
void OrderStarsByRow(const Scene& scene, SceneCanvas& canvas) {
    std::uint16_t* order = canvas.starOrder;
    int* rows = canvas.starRows;
    if (canvas.orderedStars != scene.starCount) {
        for (int i = 0; i < scene.starCount; ++i) order[i] = static_cast<std::uint16_t>(i);
        canvas.orderedStars = scene.starCount;
    }
    for (int i = 0; i < scene.starCount; ++i) rows[i] = StarBounds(scene.stars[i]).top;
    for (int i = 1; i < scene.starCount; ++i) {
        const std::uint16_t star = order[i];
        int j = i;
        for (; j > 0 && rows[order[j - 1]] > rows[star]; --j) order[j] = order[j - 1];
        order[j] = star;
    }
}

// Restoring, then drawing over, a band of rows at a time: at 4K a frame's
// changes span more than the caches hold, and were read back from memory by
// every layer painted over them in turn.
constexpr int BandRows = 8 * CanvasTile;

void PaintChangesInBands(const Scene& scene, SceneCanvas& canvas, PixelRect meteor, const MoonPlacement& moon) {
    const PixelFrame& frame = canvas.frame;
    const PixelRect moonArea = MoonBounds(moon);
    int change = 0, firstStar = 0, lastStar = 0;
    for (int top = 0; top < frame.height && change < canvas.changeCount; top += BandRows) {
        const int bottom = top + BandRows < frame.height ? top + BandRows : frame.height;
        int end = change;
        while (end < canvas.changeCount && canvas.changes[end].top < bottom) ++end;
        const PixelFrame band = {frame.pixels + top * frame.width, frame.width, bottom - top, frame.left,
                                 frame.top + top};
        const int sceneTop = frame.top + top, sceneBottom = frame.top + bottom;
        while (firstStar < scene.starCount && canvas.starRows[canvas.starOrder[firstStar]] + MostStarRows <= sceneTop)
            ++firstStar;
        if (lastStar < firstStar) lastStar = firstStar;
        while (lastStar < scene.starCount && canvas.starRows[canvas.starOrder[lastStar]] < sceneBottom) ++lastStar;
        if (end == change) continue; // nothing drawn here, then or now
        for (int i = change; i < end; ++i) Restore(canvas, canvas.changes[i], scene.aurora);
        PaintStars(scene, band, canvas.starOrder, firstStar, lastStar);
        if (meteor.top < bottom && meteor.bottom > top) PaintMeteor(scene, band);
        const bool moonHere = moonArea.top < bottom && moonArea.bottom > top;
        if (moonHere && !moon.inFront) PaintMoon(frame, moon, top, bottom);
        for (int i = change; i < end; ++i) CompositePlanetLayer(canvas.planetLayer, frame, canvas.changes[i]);
        if (moonHere && moon.inFront) PaintMoon(frame, moon, top, bottom);
        for (int i = change; i < end; ++i) {
            const PixelRect& area = canvas.changes[i];
            if (area.bottom > canvas.ridgeTop) PaintRidge(frame, canvas.crest + area.left, area);
        }
        change = end;
    }
}

} // namespace

// A run needs an unchanged tile after it, but for the last of a row.
std::size_t SceneCanvasMaxChanges(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::size_t>(TilesFor(height)) * static_cast<std::size_t>((TilesFor(width) + 1) / 2);
}

std::size_t SceneCanvasBytes(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return Aligned(sizeof(AuroraLights)) + Aligned(static_cast<std::size_t>(TilesFor(width)) * sizeof(AuroraStrip)) +
           Aligned(static_cast<std::size_t>(width) * sizeof(float)) +
           Aligned(static_cast<std::size_t>(width) * sizeof(RowSpan)) +
           Aligned(static_cast<std::size_t>(TilesFor(width)) * sizeof(RowSpan)) +
           Aligned(static_cast<std::size_t>(height) * 4 * sizeof(std::uint32_t)) +
           Aligned(static_cast<std::size_t>(TileStride(width)) * static_cast<std::size_t>(TilesFor(height))) +
           Aligned(SceneCanvasMaxChanges(width, height) * sizeof(PixelRect)) +
           Aligned(MaxStars * sizeof(std::uint16_t)) + Aligned(MaxStars * sizeof(int)) +
           2 * PlanetLayerCapacity(width, height) * sizeof(std::uint32_t);
}

int AuroraBandsFor(int width, int height) {
    int top, bottom;
    AuroraRows(height, top, bottom);
    const long long pixels = static_cast<long long>(width) * (bottom > top ? bottom - top : 0);
    const long long bands = (pixels + AuroraPixelsPerFrame - 1) / AuroraPixelsPerFrame;
    const long long most = width < MaxAuroraBands ? width : MaxAuroraBands;
    return bands < 1 ? 1 : (bands > most ? (most > 0 ? static_cast<int>(most) : 1) : static_cast<int>(bands));
}

SceneCanvas NewSceneCanvas(const PixelFrame& frame, void* memory) {
    SceneCanvas canvas = {};
    canvas.block = memory;
    canvas.frame = frame;
    canvas.planetLayer = EmptyPlanetLayer(nullptr, 0);
    if (memory == nullptr || frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) {
        canvas.frame.pixels = nullptr;
        return canvas;
    }
    const int width = frame.width, height = frame.height;
    unsigned char* next = static_cast<unsigned char*>(memory);
    canvas.auroraLights = reinterpret_cast<AuroraLights*>(next);
    next += Aligned(sizeof(AuroraLights));
    canvas.auroraStrips = reinterpret_cast<AuroraStrip*>(next);
    next += Aligned(static_cast<std::size_t>(TilesFor(width)) * sizeof(AuroraStrip));
    canvas.crest = reinterpret_cast<float*>(next);
    next += Aligned(static_cast<std::size_t>(width) * sizeof(float));
    canvas.auroraReach = reinterpret_cast<RowSpan*>(next);
    next += Aligned(static_cast<std::size_t>(width) * sizeof(RowSpan));
    canvas.auroraMarks = reinterpret_cast<RowSpan*>(next);
    next += Aligned(static_cast<std::size_t>(TilesFor(width)) * sizeof(RowSpan));
    canvas.sky = reinterpret_cast<std::uint32_t*>(next);
    next += Aligned(static_cast<std::size_t>(height) * 4 * sizeof(std::uint32_t));
    canvas.tilesAcross = TilesFor(width);
    canvas.tileStride = TileStride(width);
    canvas.tilesDown = TilesFor(height);
    canvas.tiles = next;
    next += Aligned(static_cast<std::size_t>(canvas.tileStride) * static_cast<std::size_t>(canvas.tilesDown));
    canvas.changes = reinterpret_cast<PixelRect*>(next);
    next += Aligned(SceneCanvasMaxChanges(width, height) * sizeof(PixelRect));
    canvas.starOrder = reinterpret_cast<std::uint16_t*>(next);
    next += Aligned(MaxStars * sizeof(std::uint16_t));
    canvas.starRows = reinterpret_cast<int*>(next);
    next += Aligned(MaxStars * sizeof(int));
    const std::size_t layerCapacity = PlanetLayerCapacity(width, height);
    canvas.planetLayer = EmptyPlanetLayer(reinterpret_cast<std::uint32_t*>(next), layerCapacity);
    canvas.spareLayer = EmptyPlanetLayer(reinterpret_cast<std::uint32_t*>(next) + layerCapacity, layerCapacity);
    std::memset(canvas.tiles, 0, static_cast<std::size_t>(canvas.tileStride) * canvas.tilesDown);
    canvas.ridgeTop = height;
    for (int x = 0; x < width; ++x) {
        canvas.crest[x] = RidgeCrest(x, width, height);
        const float crestRow = std::floor(canvas.crest[x]);
        const int row = crestRow < 0.0f ? 0 : (crestRow < static_cast<float>(height) ? static_cast<int>(crestRow) : height);
        if (row < canvas.ridgeTop) canvas.ridgeTop = row;
    }
    for (int y = 0; y < height; ++y) SkyPattern(y, height, canvas.sky + 4 * y);
    AuroraRows(height, canvas.auroraTop, canvas.auroraBottom);
    canvas.auroraBands = AuroraBandsFor(width, height);
    SetUpAuroraLights(height, *canvas.auroraLights);
    return canvas;
}

void DrawScene(const Scene& scene, SceneCanvas& canvas) {
    const PixelFrame& frame = canvas.frame;
    if (frame.pixels == nullptr) return;
    if (!canvas.painted)
        PaintWhole(scene, canvas);
    else if (scene.aurora)
        RefreshAuroraBand(scene, canvas);
    canvas.painted = true;
    canvas.lastSeconds = scene.seconds;

    const PlanetPlacement planet = PlanetInFrame(PlacePlanet(scene), frame);
    // On a monitor of a scene across several, the planet may be on another.
    if (PlanetSystemTouches(planet, frame)) {
        const PlanetLayer shown = canvas.planetLayer;
        if (!FitPlanetLayer(canvas.planetLayer, frame, planet)) {
            RepaintPlanetLayer(canvas.spareLayer, frame, PlanetAhead(scene, frame, planet));
            canvas.planetLayer = canvas.spareLayer;
            canvas.spareLayer = shown;
            FitPlanetLayer(canvas.planetLayer, frame, planet); // painted ahead: moved back to now
        }
        if (canvas.planetLayer.left != shown.left || canvas.planetLayer.top != shown.top ||
            canvas.planetLayer.pixels != shown.pixels)
            MarkLayerChanges(canvas, shown, canvas.planetLayer);
    }
    OrderStarsByRow(scene, canvas);
    for (int i = 0; i < scene.starCount; ++i)
        Mark(canvas, InFrame(StarBounds(scene.stars[canvas.starOrder[i]]), frame), TileDrawnNow);
    PixelRect meteor = {0, 0, 0, 0};
    if (MeteorBounds(scene, meteor)) {
        meteor = InFrame(meteor, frame);
        Mark(canvas, meteor, TileDrawnNow);
    }
    const MoonPlacement moon = PlaceMoon(scene, planet);
    Mark(canvas, MoonBounds(moon), TileDrawnNow);

    CollectChanges(canvas);
    PaintChangesInBands(scene, canvas, meteor, moon);
}
