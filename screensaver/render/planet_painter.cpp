#include "screensaver/render/planet_painter.h"

#include <cmath>

#include "screensaver/render/pixel_color.h"
#include "screensaver/render/pixel_rows.h"

namespace {

struct Vector3 {
    float x, y, z;
};
// Light from the upper left, a little in front: the sun behind the viewer's shoulder.
const Vector3 light = {-0.52f, -0.45f, 0.726f};

// The proportions (rings, halo, moon) are the scene's: scene.h.

constexpr int BandCount = 128;
constexpr int RingSteps = 512; // over the squared radius, which the pixel loop has without a square root

struct PlanetView {
    float centerX, centerY, radius;
    float cosTilt, sinTilt;
    float cosView;     // cosine of the view's elevation above the ring plane
    Vector3 ringLight; // the light in the ring's axes
    std::uint32_t bands[BandCount];
    std::uint32_t ringColors[RingSteps];
    unsigned ringAlphas[RingSteps];
};

// The planet's colour by latitude: warm yellow bands, darker towards the poles.
void FillBands(PlanetView& view) {
    const Color dark = {192, 126, 48}, bright = {255, 228, 128};
    for (int i = 0; i < BandCount; ++i) {
        const float lat = -1.0f + 2.0f * (static_cast<float>(i) + 0.5f) / BandCount;
        const float s = 0.55f + 0.22f * std::sin(lat * 11.0f) + 0.14f * std::sin(lat * 27.0f + 1.0f) +
                        0.09f * std::sin(lat * 5.0f + 2.0f);
        const float polar = 1.0f - 0.35f * lat * lat * lat * lat;
        view.bands[i] = PackColor(ScaleColor(MixColor(dark, bright, Clamp01(s)), polar));
    }
}

// The rings by radius: a faint grey inner ring, pale gold main rings with a
// dark gap, and fine ringlets only where the rings are large enough to show them.
void FillRings(PlanetView& view) {
    const float ringlets = SmoothStep(25.0f, 70.0f, view.radius);
    const Color inner = {150, 140, 132}, outer = {236, 210, 160};
    for (int i = 0; i < RingSteps; ++i) {
        const float squared = RingInner * RingInner + (RingOuter * RingOuter - RingInner * RingInner) *
                                                          (static_cast<float>(i) + 0.5f) / RingSteps;
        const float q = (std::sqrt(squared) - RingInner) / (RingOuter - RingInner);
        float density = q < 0.18f ? 0.25f : 0.78f;
        density *= 1.0f - ringlets * (0.18f - 0.18f * std::sin(q * 71.0f) * std::sin(q * 23.0f));
        density *= 1.0f - 0.92f * (1.0f - SmoothStep(0.0f, 0.025f, std::fabs(q - 0.70f)));
        density *= SmoothStep(0.0f, 0.03f, q) * SmoothStep(0.0f, 0.05f, 1.0f - q);
        view.ringAlphas[i] = ToWeight(density);
        view.ringColors[i] = PackColor(MixColor(inner, outer, SmoothStep(0.0f, 0.3f, q)));
    }
}

void SetUpView(PlanetView& view, const PlanetPlacement& placement) {
    view.centerX = placement.centerX;
    view.centerY = placement.centerY;
    view.radius = placement.radius;
    view.cosTilt = std::cos(placement.tilt);
    view.sinTilt = std::sin(placement.tilt);
    view.cosView = std::sqrt(1.0f - RingRatio * RingRatio);
    view.ringLight = {light.x * view.cosTilt + light.y * view.sinTilt, -light.x * view.sinTilt + light.y * view.cosTilt,
                      light.z};
    FillBands(view);
    FillRings(view);
}

// The columns of row dy (in planet radii) that the rings or the halo may touch,
// as offsets from the centre in planet radii; false when none.
bool ColumnsOfRow(float cosTilt, float sinTilt, float dy, float& from, float& to) {
    bool any = false;
    const float haloSquared = PlanetHalo * PlanetHalo - dy * dy;
    if (haloSquared > 0.0f) {
        const float half = std::sqrt(haloSquared);
        from = -half;
        to = half;
        any = true;
    }
    // Inside the outer ring's ellipse: a quadratic in dx.
    const float c = cosTilt, s = sinTilt, k2 = RingRatio * RingRatio;
    const float a = c * c + s * s / k2;
    const float b = 2.0f * dy * c * s * (1.0f - 1.0f / k2);
    const float d = dy * dy * (s * s + c * c / k2) - RingOuter * RingOuter;
    const float discriminant = b * b - 4.0f * a * d;
    if (discriminant > 0.0f) {
        const float root = std::sqrt(discriminant);
        const float left = (-b - root) / (2.0f * a), right = (-b + root) / (2.0f * a);
        from = any && from < left ? from : left;
        to = any && to > right ? to : right;
        any = true;
    }
    return any;
}

// The pixels the planet system may touch, row by row: what SamplePlanet
// visits, and so all a layer can hold.
struct SampledArea {
    float centerX, centerY, radius, cosTilt, sinTilt;

    int FirstRow() const { return static_cast<int>(std::floor(centerY - RingOuter * radius - 1.0f)); }
    int LastRow() const { return static_cast<int>(std::ceil(centerY + RingOuter * radius + 1.0f)); }
    // Columns x0..x1 of row y, on a frame this wide; false when none.
    bool Columns(int y, int frameWidth, int& x0, int& x1) const {
        if (radius < 0.5f || y < FirstRow() || y > LastRow()) return false;
        const float dy = (static_cast<float>(y) + 0.5f - centerY) * (1.0f / radius);
        float from, to;
        if (!ColumnsOfRow(cosTilt, sinTilt, dy, from, to)) return false;
        x0 = static_cast<int>(std::floor(centerX + from * radius - 1.0f));
        x1 = static_cast<int>(std::ceil(centerX + to * radius + 1.0f));
        if (x0 < 0) x0 = 0;
        if (x1 > frameWidth - 1) x1 = frameWidth - 1;
        return x0 <= x1;
    }
};

std::uint32_t PlanetColor(const PlanetView& view, float dx, float dy, float d2, float rv) {
    const float z = d2 < 1.0f ? std::sqrt(1.0f - d2) : 0.0f;
    const float latitude = rv * view.cosView - z * RingRatio;
    int band = RoundToInt((latitude + 1.0f) * (0.5f * BandCount) - 0.5f);
    band = band < 0 ? 0 : (band >= BandCount ? BandCount - 1 : band);
    const float diffuse = Clamp01(dx * light.x + dy * light.y + z * light.z);
    const float lit = (0.05f + 0.95f * diffuse) * (0.72f + 0.28f * z);
    return ScalePixel(view.bands[band], ToWeight(lit));
}

// What the planet system puts over one pixel: colour already multiplied by
// its coverage, and the coverage (0..256); light the halo only adds.
struct Sample {
    std::uint32_t color;
    unsigned alpha;
};

void Cover(Sample& sample, std::uint32_t color, unsigned alpha) {
    sample.color = AddPixel(ScalePixel(color, alpha), ScalePixel(sample.color, 256u - alpha));
    sample.alpha = alpha + (sample.alpha * (256u - alpha) >> 8);
}

// Samples the planet system over every pixel of rows top..bottom it may touch,
// handing each to visit(x, y, sample); pixels it leaves clear are skipped.
template <typename Visit> void SamplePlanet(const PlanetView& view, const PixelFrame& frame, Visit visit) {
    const float r = view.radius;
    if (r < 0.5f) return;
    const float inverse = 1.0f / r;
    const std::uint32_t haloColor = PackRgb(60, 48, 20);
    const float innerSquared = RingInner * RingInner, outerSquared = RingOuter * RingOuter;
    const float ringScale = RingSteps / (outerSquared - innerSquared);
    const float solid = 1.0f - 0.5f * inverse; // inside this the planet covers whole pixels
    const float solidSquared = solid > 0.0f ? solid * solid : 0.0f;
    const Vector3& l = view.ringLight;
    const float lightAlongDepth = RingRatio * l.y + view.cosView * l.z;

    const SampledArea area = {view.centerX, view.centerY, r, view.cosTilt, view.sinTilt};
    for (int y = area.FirstRow() < 0 ? 0 : area.FirstRow(); y <= area.LastRow() && y < frame.height; ++y) {
        const float dy = (static_cast<float>(y) + 0.5f - view.centerY) * inverse;
        int x0, x1;
        if (!area.Columns(y, frame.width, x0, x1)) continue;
        for (int x = x0; x <= x1; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - view.centerX) * inverse;
            const float d2 = dx * dx + dy * dy;
            const float ru = dx * view.cosTilt + dy * view.sinTilt, rv = -dx * view.sinTilt + dy * view.cosTilt;
            const float depth = rv * (1.0f / RingRatio); // along the ring plane, towards the viewer
            const float rr2 = ru * ru + depth * depth;
            if (d2 > PlanetHalo * PlanetHalo && rr2 > outerSquared) continue;

            const bool ringInFront = rv > 0.0f;
            const bool solidPlanet = d2 <= solidSquared;
            unsigned ringAlpha = 0;
            std::uint32_t ring = 0;
            // Behind the planet's solid disc a ring would be painted over at once.
            if (rr2 > innerSquared && rr2 < outerSquared && (ringInFront || !solidPlanet)) {
                const int step = RoundToInt((rr2 - innerSquared) * ringScale - 0.5f);
                const int index = step < 0 ? 0 : (step >= RingSteps ? RingSteps - 1 : step);
                ringAlpha = view.ringAlphas[index];
                ring = view.ringColors[index];
                // The planet's shadow: from this point the way to the light passes through the planet.
                const float along = ru * l.x + depth * lightAlongDepth;
                if (ringAlpha != 0 && along < 0.0f) {
                    const float miss2 = rr2 - along * along;
                    if (miss2 < 1.17f)
                        ring = ScalePixel(ring, ToWeight(0.22f + 0.78f * SmoothStep(0.92f, 1.17f, miss2)));
                }
            }
            Sample sample = {0, 0};
            if (ringAlpha != 0 && !ringInFront) Cover(sample, ring, ringAlpha);
            if (solidPlanet) {
                sample = {PlanetColor(view, dx, dy, d2, rv), 256u};
            } else {
                const float distance = std::sqrt(d2);
                const unsigned coverage = ToWeight((1.0f - distance) * r + 0.5f);
                if (coverage != 0) Cover(sample, PlanetColor(view, dx, dy, d2, rv), coverage);
                if (distance > 1.0f && distance < PlanetHalo) {
                    const float glow = 1.0f - (distance - 1.0f) / (PlanetHalo - 1.0f);
                    sample.color = AddPixel(sample.color, ScalePixel(haloColor, ToWeight(glow * glow)));
                }
            }
            if (ringAlpha != 0 && ringInFront) Cover(sample, ring, ringAlpha);
            if (sample.alpha != 0 || sample.color != 0) visit(x, y, sample);
        }
    }
}

std::uint32_t Composite(std::uint32_t under, Sample sample) {
    return AddPixel(sample.color, ScalePixel(under, 256u - sample.alpha));
}

// Coverage 0..256 kept in a byte: 255 stands for whole.
std::uint32_t StoreSample(Sample sample) {
    const unsigned alpha = sample.alpha >= 255u ? 255u : sample.alpha;
    return static_cast<std::uint32_t>(alpha) << 24 | sample.color;
}
Sample LoadSample(std::uint32_t stored) {
    const unsigned alpha = stored >> 24;
    return {stored & 0xFFFFFFu, alpha == 255u ? 256u : alpha};
}

void CompositeStored(std::uint32_t& pixel, std::uint32_t stored) {
    if (stored >> 24 == 255u)
        pixel = stored & 0xFFFFFFu; // the planet's disc hides everything behind it
    else if (stored != 0)
        pixel = Composite(pixel, LoadSample(stored));
}

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

void PaintMoonDisc(const PixelFrame& frame, float cx, float cy, float radius) {
    if (radius < 0.5f) return;
    const std::uint32_t surface = PackRgb(182, 190, 212);
    const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0 < 0 ? 0 : y0; y <= y1 && y < frame.height; ++y) {
        for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < frame.width; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / radius,
                        dy = (static_cast<float>(y) + 0.5f - cy) / radius;
            const float d2 = dx * dx + dy * dy;
            const unsigned coverage = ToWeight(radius - std::sqrt(d2) * radius + 0.5f);
            if (coverage == 0) continue;
            const float z = d2 < 1.0f ? std::sqrt(1.0f - d2) : 0.0f;
            const float lit = 0.05f + 0.95f * Clamp01(dx * light.x + dy * light.y + z * light.z);
            std::uint32_t& pixel = frame.pixels[y * frame.width + x];
            pixel = BlendPixel(pixel, ScalePixel(surface, ToWeight(lit)), coverage);
        }
    }
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

MoonPlacement PlaceMoon(const Scene& scene, const PlanetPlacement& planet) {
    const float cosTilt = std::cos(planet.tilt), sinTilt = std::sin(planet.tilt);
    const float phase = static_cast<float>(std::fmod(scene.seconds * 0.11, static_cast<double>(Tau)));
    const float along = std::cos(phase) * MoonOrbit, depth = std::sin(phase) * MoonOrbit;
    const float rv = depth * RingRatio;
    MoonPlacement moon;
    moon.x = planet.centerX + (along * cosTilt - rv * sinTilt) * planet.radius;
    moon.y = planet.centerY + (along * sinTilt + rv * cosTilt) * planet.radius;
    moon.radius = MoonSize * planet.radius;
    moon.inFront = depth > 0.0f;
    return moon;
}

void PaintMoon(const PixelFrame& frame, const MoonPlacement& moon) { PaintMoonDisc(frame, moon.x, moon.y, moon.radius); }

PixelRect MoonBounds(const MoonPlacement& moon) {
    return {static_cast<int>(std::floor(moon.x - moon.radius - 1)), static_cast<int>(std::floor(moon.y - moon.radius - 1)),
            static_cast<int>(std::ceil(moon.x + moon.radius + 1)) + 1,
            static_cast<int>(std::ceil(moon.y + moon.radius + 1)) + 1};
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

PlanetPlacement PlanetInFrame(const PlanetPlacement& planet, const PixelFrame& frame) {
    PlanetPlacement inFrame = planet;
    inFrame.centerX -= static_cast<float>(frame.left);
    inFrame.centerY -= static_cast<float>(frame.top);
    return inFrame;
}

bool PlanetSystemTouches(const PlanetPlacement& planetInFrame, const PixelFrame& frame) {
    float across, down;
    PlanetSystemReach(planetInFrame, across, down);
    return planetInFrame.centerX + across > 0.0f && planetInFrame.centerX - across < static_cast<float>(frame.width) &&
           planetInFrame.centerY + down > 0.0f && planetInFrame.centerY - down < static_cast<float>(frame.height);
}

void PaintPlanetSystem(const Scene& scene, const PixelFrame& frame, PlanetLayer& layer) {
    const PlanetPlacement placement = PlanetInFrame(PlacePlanet(scene), frame);
    if (!PlanetSystemTouches(placement, frame)) return;
    const MoonPlacement moon = PlaceMoon(scene, placement);
    if (!moon.inFront) PaintMoon(frame, moon);
    PaintPlanetAndRings(frame, placement, layer);
    if (moon.inFront) PaintMoon(frame, moon);
}
