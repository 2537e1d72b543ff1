// The planet system's look, shared by the painter's two halves: the view a
// placement sets up, the pixels it may touch, and the sampling of each pixel
// (planet_look.cpp); the layer that keeps it between frames (planet_layer.cpp).
#pragma once

#include <cmath>
#include <cstdint>

#include "screensaver/render/pixel_color.h"
#include "screensaver/render/pixel_types.h"
#include "screensaver/scene.h"

namespace planet_look {

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

// The view and its tables of band and ring colours, for one placement.
void SetUpView(PlanetView& view, const PlanetPlacement& placement);

// The columns of row dy (in planet radii) that the rings or the halo may touch,
// as offsets from the centre in planet radii; false when none.
bool ColumnsOfRow(float cosTilt, float sinTilt, float dy, float& from, float& to);

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

// Inline: called for every pixel of a repaint.
inline std::uint32_t PlanetColor(const PlanetView& view, float dx, float dy, float d2, float rv) {
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

// sample covered by colour over alpha / 256 of it.
inline void Cover(Sample& sample, std::uint32_t color, unsigned alpha) {
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

inline std::uint32_t Composite(std::uint32_t under, Sample sample) {
    return AddPixel(sample.color, ScalePixel(under, 256u - sample.alpha));
}

// Coverage 0..256 kept in a byte: 255 stands for whole.
inline std::uint32_t StoreSample(Sample sample) {
    const unsigned alpha = sample.alpha >= 255u ? 255u : sample.alpha;
    return static_cast<std::uint32_t>(alpha) << 24 | sample.color;
}
inline Sample LoadSample(std::uint32_t stored) {
    const unsigned alpha = stored >> 24;
    return {stored & 0xFFFFFFu, alpha == 255u ? 256u : alpha};
}

inline void CompositeStored(std::uint32_t& pixel, std::uint32_t stored) {
    if (stored >> 24 == 255u)
        pixel = stored & 0xFFFFFFu; // the planet's disc hides everything behind it
    else if (stored != 0)
        pixel = Composite(pixel, LoadSample(stored));
}

// Rows firstRow..endRow-1 of it, of those in the frame.
void PaintMoonDisc(const PixelFrame& frame, float cx, float cy, float radius, int firstRow, int endRow);

} // namespace planet_look
