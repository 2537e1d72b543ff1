#include "screensaver/render/planet_painter.h"

#include "screensaver/render/pixel_rows.h"
#include "screensaver/render/planet_look.h"

using namespace planet_look;

namespace {

constexpr float LayerTolerance = 0.2f; // pixels

// tolerance: how far, in pixels, the planet may be from where a layer painted for then shows it.
bool PlacementsClose(const PlanetPlacement& then, const PlanetPlacement& now, float tolerance) {
    // At the centre, and about that at the rings' tips.
    const float tiltLimit = tolerance / (RingOuter * (now.radius > 1.0f ? now.radius : 1.0f));
    return std::fabs(now.centerX - then.centerX) < tolerance && std::fabs(now.centerY - then.centerY) < tolerance &&
           std::fabs(now.radius - then.radius) < 0.5f * tolerance && std::fabs(now.tilt - then.tilt) < tiltLimit;
}

bool LayerStillFits(const PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& now,
                    float tolerance = LayerTolerance) {
    return layer.painted && layer.frameWidth == frame.width && layer.frameHeight == frame.height &&
           PlacementsClose(layer.paintedFor, now, tolerance);
}

SampledArea AreaOf(const PlanetLayer& layer) {
    const PlanetPlacement& p = layer.paintedFor;
    return {p.centerX, p.centerY, p.radius, layer.tiltCosine, layer.tiltSine};
}

// Worked out once a paint, not for every change a frame blends.
bool LayerColumns(const PlanetLayer& layer, int y, int& left, int& right) {
    if (!layer.painted || y < layer.top || y >= layer.top + layer.height) return false;
    const RowSpan& columns = layer.columns[y - layer.top];
    left = columns.top;
    right = columns.bottom;
    return left < right;
}

void NoteLayerColumns(PlanetLayer& layer, const SampledArea& area) {
    for (int y = layer.top; y < layer.top + layer.height; ++y) {
        int x0, x1;
        RowSpan& columns = layer.columns[y - layer.top];
        columns = RowSpan{0, 0};
        if (!area.Columns(y, layer.frameWidth, x0, x1)) continue;
        columns.top = x0 > layer.left ? x0 : layer.left;
        columns.bottom = x1 + 1 < layer.left + layer.width ? x1 + 1 : layer.left + layer.width;
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
    const float reach = RingOuter * view.radius + 2.0f;
    int left = static_cast<int>(std::floor(view.centerX - reach)),
        right = static_cast<int>(std::ceil(view.centerX + reach));
    int top = static_cast<int>(std::floor(view.centerY - reach)),
        bottom = static_cast<int>(std::ceil(view.centerY + reach));
    left = left < 0 ? 0 : left;
    top = top < 0 ? 0 : top;
    right = right > frame.width - 1 ? frame.width - 1 : right;
    bottom = bottom > frame.height - 1 ? frame.height - 1 : bottom;
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
    if (LayerStillFits(layer, frame, placement)) {
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

// The same share of the screen as a fifth of a pixel at 1080 rows: on a
// denser screen a repaint is as often as there, not more.
float ToleranceFor(const PixelFrame& frame) {
    const float rows = static_cast<float>(frame.height);
    return rows > 1080.0f ? LayerTolerance * rows / 1080.0f : LayerTolerance;
}

bool PlanetLayerFits(const PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& placement) {
    return LayerStillFits(layer, frame, placement, ToleranceFor(frame));
}

bool PlanetPlacementsClose(const PixelFrame& frame, const PlanetPlacement& painted, const PlanetPlacement& now) {
    return PlacementsClose(painted, now, ToleranceFor(frame));
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
