#include "screensaver/render/planet_painter.h"

#include "screensaver/render/pixel_rows.h"
#include "screensaver/render/planet_look.h"

using namespace planet_look;

namespace {

constexpr float LayerTolerance = 0.2f; // pixels

// The same share of the screen as a fifth of a pixel at 1080 rows: on a
// denser screen a repaint is as often as there, not more.
float ToleranceFor(const PixelFrame& frame) {
    const float rows = static_cast<float>(frame.height);
    return rows > 1080.0f ? LayerTolerance * rows / 1080.0f : LayerTolerance;
}

// tolerance: how far, in pixels, the planet may be from where a layer painted for then shows it.
bool CentreClose(const PlanetPlacement& then, const PlanetPlacement& now, float tolerance) {
    return std::fabs(now.centerX - then.centerX) < tolerance && std::fabs(now.centerY - then.centerY) < tolerance;
}

// The size, and the turn at the rings' tips: what moving a layer cannot follow.
bool ShapeClose(const PlanetPlacement& then, const PlanetPlacement& now, float tolerance) {
    const float tiltLimit = tolerance / (RingOuter * (now.radius > 1.0f ? now.radius : 1.0f));
    return std::fabs(now.radius - then.radius) < 0.5f * tolerance && std::fabs(now.tilt - then.tilt) < tiltLimit;
}

// The rectangle a layer for this placement covers, inclusive, kept inside the
// frame; true when nothing of it had to be cut off.
bool LayerBounds(const PlanetPlacement& placement, const PixelFrame& frame, int& left, int& top, int& right,
                 int& bottom) {
    const float reach = RingOuter * placement.radius + 2.0f;
    left = static_cast<int>(std::floor(placement.centerX - reach));
    right = static_cast<int>(std::ceil(placement.centerX + reach));
    top = static_cast<int>(std::floor(placement.centerY - reach));
    bottom = static_cast<int>(std::ceil(placement.centerY + reach));
    const bool whole = left >= 0 && top >= 0 && right <= frame.width - 1 && bottom <= frame.height - 1;
    left = left < 0 ? 0 : left;
    top = top < 0 ? 0 : top;
    right = right > frame.width - 1 ? frame.width - 1 : right;
    bottom = bottom > frame.height - 1 ? frame.height - 1 : bottom;
    return whole;
}

// A layer painted whole shows the planet anywhere whole pixels away, within
// half a pixel: a planet drifting a fraction of a pixel a frame is never
// repainted for that, only moved, and only for its size and turn. A layer cut
// off by the frame's edge must stay where it was painted.
bool FitLayer(PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& now, float tolerance) {
    if (!layer.painted || layer.frameWidth != frame.width || layer.frameHeight != frame.height ||
        !ShapeClose(layer.paintedFor, now, tolerance))
        return false;
    if (!layer.whole) return CentreClose(layer.paintedFor, now, tolerance);
    const int dx = RoundToInt(now.centerX - layer.paintedFor.centerX);
    const int dy = RoundToInt(now.centerY - layer.paintedFor.centerY);
    if (dx == 0 && dy == 0) return true;
    if (layer.left + dx < 0 || layer.top + dy < 0 || layer.left + dx + layer.width > frame.width ||
        layer.top + dy + layer.height > frame.height)
        return false;
    layer.left += dx;
    layer.top += dy;
    layer.paintedFor.centerX += static_cast<float>(dx);
    layer.paintedFor.centerY += static_cast<float>(dy);
    return true;
}

SampledArea AreaOf(const PlanetLayer& layer) {
    const PlanetPlacement& p = layer.paintedFor;
    return {p.centerX, p.centerY, p.radius, layer.tiltCosine, layer.tiltSine};
}

// Worked out once a paint, not for every change a frame blends.
bool LayerColumns(const PlanetLayer& layer, int y, int& left, int& right) {
    if (!layer.painted || y < layer.top || y >= layer.top + layer.height) return false;
    const RowSpan& columns = layer.columns[y - layer.top]; // from the layer's left, so that it can move
    left = layer.left + columns.top;
    right = layer.left + columns.bottom;
    return left < right;
}

void NoteLayerColumns(PlanetLayer& layer, const SampledArea& area) {
    for (int y = layer.top; y < layer.top + layer.height; ++y) {
        int x0, x1;
        RowSpan& columns = layer.columns[y - layer.top];
        columns = RowSpan{0, 0};
        if (!area.Columns(y, layer.frameWidth, x0, x1)) continue;
        columns.top = (x0 > layer.left ? x0 : layer.left) - layer.left;
        columns.bottom = (x1 + 1 < layer.left + layer.width ? x1 + 1 : layer.left + layer.width) - layer.left;
    }
}

// Clears only what the last paint wrote: the rows and columns the planet
// system reaches, not the corners of its square.
void ClearLayer(PlanetLayer& layer) {
    if (!layer.tidy) {
        ClearPixels(layer.pixels, layer.capacity);
        layer.tidy = true;
        return;
    }
    for (int y = layer.top; y < layer.top + layer.height; ++y) {
        int left, right;
        if (LayerColumns(layer, y, left, right))
            ClearPixels(layer.pixels + (y - layer.top) * layer.width + (left - layer.left),
                        static_cast<std::size_t>(right - left));
    }
    ClearPixels(reinterpret_cast<std::uint32_t*>(layer.columns), 2 * static_cast<std::size_t>(layer.height));
}

bool PaintLayer(PlanetLayer& layer, const PixelFrame& frame, const PlanetView& view, const PlanetPlacement& placement) {
    int left, top, right, bottom;
    const bool whole = LayerBounds(placement, frame, left, top, right, bottom);
    if (layer.pixels != nullptr) ClearLayer(layer);
    layer.painted = false;
    if (right < left || bottom < top) return false;
    const std::size_t width = static_cast<std::size_t>(right - left + 1),
                      height = static_cast<std::size_t>(bottom - top + 1);
    if (layer.pixels == nullptr || width * height + 2 * height > layer.capacity) return false;
    layer.left = left;
    layer.top = top;
    layer.width = static_cast<int>(width);
    layer.height = static_cast<int>(height);
    SamplePlanet(view, frame, [&layer](int x, int y, Sample sample) {
        if (x >= layer.left && y >= layer.top && x < layer.left + layer.width && y < layer.top + layer.height)
            layer.pixels[(y - layer.top) * layer.width + (x - layer.left)] = StoreSample(sample);
    });
    layer.frameWidth = frame.width;
    layer.frameHeight = frame.height;
    layer.paintedFor = placement;
    layer.whole = whole;
    layer.tiltCosine = view.cosTilt;
    layer.tiltSine = view.sinTilt;
    layer.columns = reinterpret_cast<RowSpan*>(layer.pixels + width * height);
    NoteLayerColumns(layer, AreaOf(layer));
    layer.painted = true;
    return true;
}

void CompositeLayer(const PlanetLayer& layer, const PixelFrame& frame, PixelRect area) {
    const int left = area.left > layer.left ? area.left : layer.left;
    const int top = area.top > layer.top ? area.top : layer.top;
    const int bottom = area.bottom < layer.top + layer.height ? area.bottom : layer.top + layer.height;
    for (int y = top; y < bottom; ++y) {
        int from, to; // outside these the layer is clear
        if (!LayerColumns(layer, y, from, to)) continue;
        const std::uint32_t* source = layer.pixels + (y - layer.top) * layer.width - layer.left;
        std::uint32_t* target = frame.pixels + y * frame.width;
        int x = left > from ? left : from;
        const int right = area.right < to ? area.right : to;
        for (; x + 4 <= right; x += 4) {
            const FourCover cover = CoverOfFour(source + x);
            if (cover == FourCover::Opaque) CopyColorsOfFour(target + x, source + x);
            if (cover == FourCover::Mixed) CompositeFour(target + x, source + x);
        }
        for (; x < right; ++x) CompositeStored(target[x], source[x]);
    }
}

const PixelRect WholeFrame = {0, 0, 1 << 30, 1 << 30};

void PaintPlanetAndRings(const PixelFrame& frame, const PlanetPlacement& placement, PlanetLayer& layer) {
    if (FitLayer(layer, frame, placement, ToleranceFor(frame))) {
        CompositeLayer(layer, frame, WholeFrame);
        return;
    }
    PlanetView view;
    SetUpView(view, placement);
    if (PaintLayer(layer, frame, view, placement)) {
        CompositeLayer(layer, frame, WholeFrame);
        return;
    }
    // No memory for a layer: paint straight into the frame.
    SamplePlanet(view, frame, [&frame](int x, int y, Sample sample) {
        std::uint32_t& pixel = frame.pixels[y * frame.width + x];
        pixel = Composite(pixel, sample);
    });
}

} // namespace

std::size_t PlanetLayerCapacity(int frameWidth, int frameHeight) {
    if (frameWidth <= 0 || frameHeight <= 0) return 0;
    const float size = static_cast<float>(frameWidth < frameHeight ? frameWidth : frameHeight);
    const std::size_t side = static_cast<std::size_t>(2.0f * (RingOuter * PlanetRadiusShare * size + 2.0f)) + 3;
    return side * side + 2 * side;
}

PlanetLayer EmptyPlanetLayer(std::uint32_t* pixels, std::size_t capacity) {
    PlanetLayer layer = {};
    layer.pixels = pixels;
    layer.capacity = pixels != nullptr ? capacity : 0;
    return layer;
}

bool FitPlanetLayer(PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& placement) {
    return FitLayer(layer, frame, placement, ToleranceFor(frame));
}

bool PlanetPlacementsClose(const PixelFrame& frame, const PlanetPlacement& painted, const PlanetPlacement& now) {
    const float tolerance = ToleranceFor(frame);
    int left, top, right, bottom;
    return ShapeClose(painted, now, tolerance) &&
           (LayerBounds(painted, frame, left, top, right, bottom) || CentreClose(painted, now, tolerance));
}

void RepaintPlanetLayer(PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& placement) {
    PlanetView view;
    SetUpView(view, placement);
    PaintLayer(layer, frame, view, placement);
}

bool PlanetLayerColumns(const PlanetLayer& layer, int y, int& left, int& right) {
    return LayerColumns(layer, y, left, right);
}

std::uint32_t PlanetLayerPixel(const PlanetLayer& layer, int x, int y) {
    if (!layer.painted || x < layer.left || y < layer.top || x >= layer.left + layer.width ||
        y >= layer.top + layer.height)
        return 0;
    return layer.pixels[(y - layer.top) * layer.width + (x - layer.left)];
}

void CompositePlanetLayer(const PlanetLayer& layer, const PixelFrame& frame, PixelRect area) {
    if (layer.painted) CompositeLayer(layer, frame, area);
}

void PaintPlanetSystem(const Scene& scene, const PixelFrame& frame, PlanetLayer& layer) {
    const PlanetPlacement placement = PlanetInFrame(PlacePlanet(scene), frame);
    if (!PlanetSystemTouches(placement, frame)) return;
    const MoonPlacement moon = PlaceMoon(scene, placement);
    if (!moon.inFront) PaintMoon(frame, moon);
    PaintPlanetAndRings(frame, placement, layer);
    if (moon.inFront) PaintMoon(frame, moon);
}
