#include "screensaver/renderer.h"

#include <cmath>

namespace {

constexpr float Tau = 6.2831853f;

struct Color {
    float r, g, b;
};

Color Mix(Color a, Color b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Color Scale(Color c, float s) { return {c.r * s, c.g * s, c.b * s}; }

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

int ToChannel(float v) { return v <= 0.0f ? 0 : (v >= 255.0f ? 255 : static_cast<int>(v + 0.5f)); }
std::uint32_t Pack(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}
std::uint32_t Pack(Color c) { return Pack(ToChannel(c.r), ToChannel(c.g), ToChannel(c.b)); }
Color Unpack(std::uint32_t pixel) {
    return {static_cast<float>(pixel >> 16 & 0xFF), static_cast<float>(pixel >> 8 & 0xFF),
            static_cast<float>(pixel & 0xFF)};
}

// Light adds up and saturates, as it does on film.
void AddLight(const PixelFrame& frame, int x, int y, int r, int g, int b) {
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return;
    std::uint32_t& pixel = frame.pixels[y * frame.width + x];
    int nr = static_cast<int>(pixel >> 16 & 0xFF) + r, ng = static_cast<int>(pixel >> 8 & 0xFF) + g,
        nb = static_cast<int>(pixel & 0xFF) + b;
    pixel = Pack(nr > 255 ? 255 : nr, ng > 255 ? 255 : ng, nb > 255 ? 255 : nb);
}

// A point of light at a fractional position, shared among four pixels so that
// slow movement stays smooth instead of stepping a pixel at a time.
void SplatLight(const PixelFrame& frame, float x, float y, Color c) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float ax = x - fx, ay = y - fy;
    const float weights[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
    for (int corner = 0; corner < 4; ++corner) {
        const float w = weights[corner];
        AddLight(frame, ix + (corner & 1), iy + (corner >> 1), ToChannel(c.r * w), ToChannel(c.g * w),
                 ToChannel(c.b * w));
    }
}

// The sky: deep navy above, a faint violet glow at the horizon, dithered so
// the gradient shows no bands.
void DrawSky(const PixelFrame& frame) {
    static const Color top = {2, 4, 18}, middle = {8, 15, 46}, horizon = {36, 28, 82};
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const float span = frame.height > 1 ? static_cast<float>(frame.height - 1) : 1.0f;
    for (int y = 0; y < frame.height; ++y) {
        const float t = static_cast<float>(y) / span;
        const Color c = t < 0.55f ? Mix(top, middle, t / 0.55f) : Mix(middle, horizon, (t - 0.55f) / 0.45f);
        std::uint32_t pattern[4];
        for (int i = 0; i < 4; ++i) {
            const float offset = (static_cast<float>(bayer[y & 3][i]) + 0.5f) / 16.0f - 0.5f;
            pattern[i] = Pack(ToChannel(c.r + offset), ToChannel(c.g + offset), ToChannel(c.b + offset));
        }
        std::uint32_t* row = frame.pixels + y * frame.width;
        for (int x = 0; x < frame.width; ++x) row[x] = pattern[x & 3];
    }
}

struct Ribbon {
    float base;                   // the lower edge, as a share of the height
    float amplitude1, waves1, rate1; // the large fold
    float amplitude2, waves2, rate2; // the small ripple
    float strengthWaves, strengthRate;
    float height; // the curtain above the edge, as a share of the height
    Color low, high;
    float intensity;
};

const Ribbon ribbons[] = {
    {0.64f, 0.055f, 0.9f, 0.11f, 0.018f, 3.2f, 0.37f, 1.6f, 0.09f, 0.30f, {70, 255, 150}, {110, 70, 210}, 0.75f},
    {0.72f, 0.040f, 1.4f, -0.08f, 0.014f, 4.1f, -0.29f, 2.3f, -0.13f, 0.22f, {40, 210, 205}, {150, 60, 190}, 0.50f},
};

constexpr int ProfileSteps = 256;

// Curtains of light: brightest along a waving lower edge, fading upward
// into violet, with fine vertical rays.
void DrawAurora(const Scene& scene, const PixelFrame& frame) {
    const float w = static_cast<float>(frame.width), h = static_cast<float>(frame.height);
    const float t = static_cast<float>(std::fmod(scene.seconds, 100000.0));
    for (const Ribbon& ribbon : ribbons) {
        const float curtain = ribbon.height * h, below = 0.05f * h;
        const float span = curtain + below;
        if (span < 1.0f) continue;
        const float edgeShare = curtain / span;
        int profile[ProfileSteps][3];
        for (int k = 0; k < ProfileSteps; ++k) {
            const float s = (static_cast<float>(k) + 0.5f) / ProfileSteps;
            float light;
            Color c;
            if (s < edgeShare) {
                const float up = (edgeShare - s) / edgeShare; // 1 at the top, 0 at the edge
                light = std::exp(-2.4f * up) * (1.0f - up) * SmoothStep(0.0f, 0.04f, 1.0f - up + 0.02f);
                c = Mix(ribbon.low, ribbon.high, SmoothStep(0.0f, 0.85f, up));
            } else {
                const float down = (s - edgeShare) / (1.0f - edgeShare);
                light = std::exp(-3.5f * down) * (1.0f - down);
                c = ribbon.low;
            }
            c = Scale(c, light * ribbon.intensity);
            profile[k][0] = ToChannel(c.r);
            profile[k][1] = ToChannel(c.g);
            profile[k][2] = ToChannel(c.b);
        }
        const int step = static_cast<int>(static_cast<float>(ProfileSteps << 16) / span);
        for (int x = 0; x < frame.width; ++x) {
            const float u = static_cast<float>(x) / w;
            const float edge = h * (ribbon.base + ribbon.amplitude1 * std::sin(Tau * ribbon.waves1 * u + ribbon.rate1 * t) +
                                    ribbon.amplitude2 * std::sin(Tau * ribbon.waves2 * u - ribbon.rate2 * t));
            float strength = 0.5f + 0.5f * std::sin(Tau * ribbon.strengthWaves * u + ribbon.strengthRate * t);
            strength *= strength;
            const float rays = 0.72f + 0.18f * std::sin(Tau * 41.0f * u + 1.9f * t) + 0.10f * std::sin(Tau * 97.0f * u - 1.3f * t);
            const int weight = ToChannel(256.0f * strength * rays);
            if (weight == 0) continue;
            const float top = edge - curtain;
            int y0 = static_cast<int>(std::ceil(top)), y1 = static_cast<int>(std::floor(top + span));
            if (y0 < 0) y0 = 0;
            if (y1 > frame.height - 1) y1 = frame.height - 1;
            int position = static_cast<int>((static_cast<float>(y0) - top) * static_cast<float>(step));
            for (int y = y0; y <= y1; ++y, position += step) {
                int k = position >> 16;
                if (k < 0) k = 0;
                if (k >= ProfileSteps) break;
                AddLight(frame, x, y, profile[k][0] * weight >> 8, profile[k][1] * weight >> 8,
                         profile[k][2] * weight >> 8);
            }
        }
    }
}

void DrawStars(const Scene& scene, const PixelFrame& frame) {
    static const Color tints[] = {{255, 255, 255}, {185, 205, 255}, {255, 228, 185}};
    const float t = static_cast<float>(std::fmod(scene.seconds, 100000.0));
    for (int i = 0; i < scene.starCount; ++i) {
        const Star& star = scene.stars[i];
        const float twinkle = 0.72f + 0.28f * std::sin(star.twinklePhase + star.twinkleRate * t);
        const float light = star.brightness * twinkle * 1.7f;
        const Color c = Scale(tints[star.tint], light);
        SplatLight(frame, star.x, star.y, c);
        if (star.brightness > 0.88f) {
            // The brightest stars get short rays.
            const Color ray = Scale(c, 0.22f);
            for (int arm = 1; arm <= 2; ++arm) {
                const float a = static_cast<float>(arm);
                const Color fade = Scale(ray, arm == 1 ? 1.0f : 0.4f);
                SplatLight(frame, star.x + a, star.y, fade);
                SplatLight(frame, star.x - a, star.y, fade);
                SplatLight(frame, star.x, star.y + a, fade);
                SplatLight(frame, star.x, star.y - a, fade);
            }
        }
    }
}

void DrawMeteor(const Scene& scene, const PixelFrame& frame) {
    const ShootingStar& meteor = scene.meteor;
    if (!meteor.active || meteor.life <= 0.0f) return;
    const float fade = std::sin(3.1415927f * Clamp01(meteor.age / meteor.life));
    const float speed = std::sqrt(meteor.vx * meteor.vx + meteor.vy * meteor.vy);
    if (speed <= 0.0f) return;
    const float dx = meteor.vx / speed, dy = meteor.vy / speed;
    const int length = static_cast<int>(0.13f * static_cast<float>(frame.height)) + 1;
    const Color head = {225, 238, 255};
    for (int s = 0; s < length; ++s) {
        const float along = 1.0f - static_cast<float>(s) / static_cast<float>(length);
        SplatLight(frame, meteor.x - dx * static_cast<float>(s), meteor.y - dy * static_cast<float>(s),
                   Scale(head, fade * along * along));
    }
}

// Light from the upper left, a little in front: the sun behind the viewer's shoulder.
struct Vector3 {
    float x, y, z;
};
const Vector3 light = {-0.52f, -0.45f, 0.726f};

constexpr float RingRatio = 0.30f; // how flat the rings look: the sine of the view's elevation
constexpr float RingInner = 1.32f, RingOuter = 2.30f;
constexpr float MoonOrbit = 2.9f, MoonSize = 0.17f;

// ringlets: how much fine structure to show; small rings would only alias it.
float RingDensity(float radius, float ringlets) {
    const float q = (radius - RingInner) / (RingOuter - RingInner);
    if (q <= 0.0f || q >= 1.0f) return 0.0f;
    float density = q < 0.18f ? 0.25f : 0.78f;                           // the faint inner ring
    density *= 1.0f - ringlets * (0.18f - 0.18f * std::sin(q * 71.0f) * std::sin(q * 23.0f));
    density *= 1.0f - 0.92f * (1.0f - SmoothStep(0.0f, 0.025f, std::fabs(q - 0.70f))); // the gap
    density *= SmoothStep(0.0f, 0.03f, q) * SmoothStep(0.0f, 0.05f, 1.0f - q);
    return density;
}

struct PlanetFrame {
    float centerX, centerY, radius;
    float cosTilt, sinTilt;
    float cosView; // cosine of the view's elevation above the ring plane
    Vector3 ringLight; // the light in the ring's axes
};

PlanetFrame MakePlanetFrame(const PlanetPlacement& placement) {
    PlanetFrame p;
    p.centerX = placement.centerX;
    p.centerY = placement.centerY;
    p.radius = placement.radius;
    p.cosTilt = std::cos(placement.tilt);
    p.sinTilt = std::sin(placement.tilt);
    p.cosView = std::sqrt(1.0f - RingRatio * RingRatio);
    p.ringLight = {light.x * p.cosTilt + light.y * p.sinTilt, -light.x * p.sinTilt + light.y * p.cosTilt, light.z};
    return p;
}

void DrawMoon(const PixelFrame& frame, float cx, float cy, float radius) {
    if (radius < 0.5f) return;
    const Color surface = {182, 190, 212};
    const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0 < 0 ? 0 : y0; y <= y1 && y < frame.height; ++y) {
        for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < frame.width; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / radius, dy = (static_cast<float>(y) + 0.5f - cy) / radius;
            const float d2 = dx * dx + dy * dy;
            const float coverage = Clamp01(radius - std::sqrt(d2) * radius + 0.5f);
            if (coverage <= 0.0f) continue;
            const float z = d2 < 1.0f ? std::sqrt(1.0f - d2) : 0.0f;
            const float lit = 0.05f + 0.95f * Clamp01(dx * light.x + dy * light.y + z * light.z);
            std::uint32_t& pixel = frame.pixels[y * frame.width + x];
            pixel = Pack(Mix(Unpack(pixel), Scale(surface, lit), coverage));
        }
    }
}

// The planet's colour by latitude: warm yellow bands, darker towards the poles.
void FillBandTable(Color* bands, int count) {
    const Color dark = {192, 126, 48}, bright = {255, 228, 128};
    for (int i = 0; i < count; ++i) {
        const float lat = -1.0f + 2.0f * (static_cast<float>(i) + 0.5f) / static_cast<float>(count);
        float s = 0.55f + 0.22f * std::sin(lat * 11.0f) + 0.14f * std::sin(lat * 27.0f + 1.0f) +
                  0.09f * std::sin(lat * 5.0f + 2.0f);
        const float polar = 1.0f - 0.35f * lat * lat * lat * lat;
        bands[i] = Scale(Mix(dark, bright, Clamp01(s)), polar);
    }
}

void DrawPlanetAndRings(const PixelFrame& frame, const PlanetFrame& p) {
    constexpr int BandCount = 128;
    Color bands[BandCount];
    FillBandTable(bands, BandCount);
    const Color ringColor = {232, 208, 158}, haloColor = {120, 96, 40};
    const float r = p.radius;
    if (r < 0.5f) return;

    const float a = RingOuter * r, b = a * RingRatio;
    float halfWidth = std::sqrt(a * p.cosTilt * a * p.cosTilt + b * p.sinTilt * b * p.sinTilt);
    float halfHeight = std::sqrt(a * p.sinTilt * a * p.sinTilt + b * p.cosTilt * b * p.cosTilt);
    if (halfHeight < 1.15f * r) halfHeight = 1.15f * r;
    if (halfWidth < 1.15f * r) halfWidth = 1.15f * r;
    int x0 = static_cast<int>(std::floor(p.centerX - halfWidth)), x1 = static_cast<int>(std::ceil(p.centerX + halfWidth));
    int y0 = static_cast<int>(std::floor(p.centerY - halfHeight)), y1 = static_cast<int>(std::ceil(p.centerY + halfHeight));
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > frame.width - 1) x1 = frame.width - 1;
    if (y1 > frame.height - 1) y1 = frame.height - 1;

    const float outer2 = RingOuter * RingOuter, halo = 1.12f;
    const float ringlets = SmoothStep(25.0f, 70.0f, r);
    for (int y = y0; y <= y1; ++y) {
        const float dy = (static_cast<float>(y) + 0.5f - p.centerY) / r;
        for (int x = x0; x <= x1; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - p.centerX) / r;
            const float d2 = dx * dx + dy * dy;
            const float ru = dx * p.cosTilt + dy * p.sinTilt, rv = -dx * p.sinTilt + dy * p.cosTilt;
            const float depth = rv / RingRatio; // along the ring plane, towards the viewer
            const float rr2 = ru * ru + depth * depth;
            if (d2 > halo * halo && rr2 > outer2) continue;

            std::uint32_t& pixel = frame.pixels[y * frame.width + x];
            Color c = Unpack(pixel);

            float ringAlpha = 0.0f;
            Color ring = ringColor;
            if (rr2 <= outer2) {
                ringAlpha = RingDensity(std::sqrt(rr2), ringlets);
                if (ringAlpha > 0.0f) {
                    // The planet's shadow: the ray from this point of the ring towards the light meets the planet.
                    const Vector3 point = {ru, depth * RingRatio, depth * p.cosView};
                    const Vector3& l = p.ringLight;
                    const float along = point.x * l.x + point.y * l.y + point.z * l.z;
                    const float miss2 = point.x * point.x + point.y * point.y + point.z * point.z - along * along;
                    const float shade = along < 0.0f ? 0.22f + 0.78f * SmoothStep(0.96f, 1.08f, miss2) : 1.0f;
                    ring = Scale(ringColor, shade * (0.78f + 0.22f * std::fabs(ru) / RingOuter));
                }
            }
            const bool ringInFront = rv > 0.0f;
            if (ringAlpha > 0.0f && !ringInFront) c = Mix(c, ring, ringAlpha);

            const float distance = std::sqrt(d2);
            const float coverage = Clamp01((1.0f - distance) * r + 0.5f);
            if (coverage > 0.0f) {
                const float z = d2 < 1.0f ? std::sqrt(1.0f - d2) : 0.0f;
                const float latitude = rv * p.cosView - z * RingRatio;
                int band = static_cast<int>((latitude + 1.0f) * 0.5f * BandCount);
                band = band < 0 ? 0 : (band >= BandCount ? BandCount - 1 : band);
                const float diffuse = Clamp01(dx * light.x + dy * light.y + z * light.z);
                const float lit = (0.05f + 0.95f * diffuse) * (0.72f + 0.28f * z);
                c = Mix(c, Scale(bands[band], lit), coverage);
            } else if (distance < halo) {
                const float glow = 1.0f - (distance - 1.0f) / (halo - 1.0f);
                const Color added = Scale(haloColor, glow * glow * 0.5f);
                c = {c.r + added.r, c.g + added.g, c.b + added.b};
            }
            if (ringAlpha > 0.0f && ringInFront) c = Mix(c, ring, ringAlpha);
            pixel = Pack(c);
        }
    }
}

void DrawPlanetSystem(const Scene& scene, const PixelFrame& frame) {
    const PlanetFrame p = MakePlanetFrame(PlacePlanet(scene));
    const float phase = static_cast<float>(std::fmod(scene.seconds * 0.11, static_cast<double>(Tau)));
    const float along = std::cos(phase) * MoonOrbit, depth = std::sin(phase) * MoonOrbit;
    const float rv = depth * RingRatio;
    const float moonX = p.centerX + (along * p.cosTilt - rv * p.sinTilt) * p.radius;
    const float moonY = p.centerY + (along * p.sinTilt + rv * p.cosTilt) * p.radius;
    const float moonRadius = MoonSize * p.radius;
    const bool moonInFront = depth > 0.0f;
    if (!moonInFront) DrawMoon(frame, moonX, moonY, moonRadius);
    DrawPlanetAndRings(frame, p);
    if (moonInFront) DrawMoon(frame, moonX, moonY, moonRadius);
}

// Far mountains along the bottom, dark against the glow of the horizon.
void DrawRidge(const PixelFrame& frame) {
    const float w = static_cast<float>(frame.width), h = static_cast<float>(frame.height);
    const Color rock = {5, 7, 17};
    for (int x = 0; x < frame.width; ++x) {
        const float u = static_cast<float>(x) / w;
        const float crest = h * (0.885f + 0.035f * std::sin(Tau * 1.3f * u + 0.6f) + 0.022f * std::sin(Tau * 3.7f * u + 2.1f) +
                                 0.009f * std::sin(Tau * 9.1f * u + 0.3f) + 0.004f * std::sin(Tau * 23.0f * u + 1.1f));
        int y = static_cast<int>(std::floor(crest));
        if (y < 0) y = 0;
        for (; y < frame.height; ++y) {
            const float coverage = Clamp01(static_cast<float>(y) + 1.0f - crest);
            std::uint32_t& pixel = frame.pixels[y * frame.width + x];
            pixel = Pack(Mix(Unpack(pixel), rock, coverage));
        }
    }
}

} // namespace

void RenderScene(const Scene& scene, const PixelFrame& frame) {
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) return;
    DrawSky(frame);
    if (scene.aurora) DrawAurora(scene, frame);
    DrawStars(scene, frame);
    DrawMeteor(scene, frame);
    DrawPlanetSystem(scene, frame);
    DrawRidge(frame);
}
