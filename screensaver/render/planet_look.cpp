#include "screensaver/render/planet_look.h"

#include "screensaver/render/planet_painter.h"
#include "screensaver/render/planet_palette.h"

namespace planet_look {

// The planet's colour by latitude: warm yellow bands, darker towards the poles.
void FillBands(PlanetView& view) {
    for (int i = 0; i < BandCount; ++i) {
        const float lat = -1.0f + 2.0f * (static_cast<float>(i) + 0.5f) / BandCount;
        const float s = 0.55f + 0.22f * std::sin(lat * 11.0f) + 0.14f * std::sin(lat * 27.0f + 1.0f) +
                        0.09f * std::sin(lat * 5.0f + 2.0f);
        const float polar = 1.0f - 0.35f * lat * lat * lat * lat;
        view.bands[i] = PackColor(ScaleColor(MixColor(BandDark, BandBright, Clamp01(s)), polar));
    }
}

// The rings by radius: a faint grey inner ring, pale gold main rings with a
// dark gap, and fine ringlets only where the rings are large enough to show them.
void FillRings(PlanetView& view) {
    const float ringlets = SmoothStep(25.0f, 70.0f, view.radius);
    for (int i = 0; i < RingSteps; ++i) {
        const float squared = RingInner * RingInner + (RingOuter * RingOuter - RingInner * RingInner) *
                                                          (static_cast<float>(i) + 0.5f) / RingSteps;
        const float q = (std::sqrt(squared) - RingInner) / (RingOuter - RingInner);
        float density = q < 0.18f ? 0.25f : 0.78f;
        density *= 1.0f - ringlets * (0.18f - 0.18f * std::sin(q * 71.0f) * std::sin(q * 23.0f));
        density *= 1.0f - 0.92f * (1.0f - SmoothStep(0.0f, 0.025f, std::fabs(q - 0.70f)));
        density *= SmoothStep(0.0f, 0.03f, q) * SmoothStep(0.0f, 0.05f, 1.0f - q);
        view.ringAlphas[i] = ToWeight(density);
        view.ringColors[i] = PackColor(MixColor(RingInnerColor, RingOuterColor, SmoothStep(0.0f, 0.3f, q)));
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



void PaintMoonDisc(const PixelFrame& frame, float cx, float cy, float radius, int firstRow, int endRow) {
    if (radius < 0.5f) return;
    if (endRow > frame.height) endRow = frame.height;
    const std::uint32_t surface = PackRgb(182, 190, 212);
    const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0 < firstRow ? firstRow : y0; y <= y1 && y < endRow; ++y) {
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

} // namespace planet_look

using namespace planet_look;

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

void PaintMoon(const PixelFrame& frame, const MoonPlacement& moon, int firstRow, int endRow) {
    PaintMoonDisc(frame, moon.x, moon.y, moon.radius, firstRow < 0 ? 0 : firstRow, endRow);
}

PixelRect MoonBounds(const MoonPlacement& moon) {
    return {static_cast<int>(std::floor(moon.x - moon.radius - 1)), static_cast<int>(std::floor(moon.y - moon.radius - 1)),
            static_cast<int>(std::ceil(moon.x + moon.radius + 1)) + 1,
            static_cast<int>(std::ceil(moon.y + moon.radius + 1)) + 1};
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
