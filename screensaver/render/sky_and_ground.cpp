#include "screensaver/render/sky_and_ground.h"

#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "screensaver/render/pixel_color.h"
#include "screensaver/render/pixel_rows.h"
#include "screensaver/render/sine.h"

namespace {

// x and y in the scene's pixels.
void AddLight(const PixelFrame& frame, int x, int y, std::uint32_t light) {
    x -= frame.left;
    y -= frame.top;
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return;
    std::uint32_t& pixel = frame.pixels[y * frame.width + x];
    pixel = AddPixel(pixel, light);
}

// A point of light at a fractional position, shared among four pixels so that
// slow movement stays smooth instead of stepping a pixel at a time. Thousands
// of stars a frame come here, nearly all well inside the frame.
void SplatLight(const PixelFrame& frame, float x, float y, Color c) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float ax = x - fx, ay = y - fy;
    const float weights[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
    std::uint32_t lights[4];
    ShareLight(c, weights, lights);
    const int left = ix - frame.left, top = iy - frame.top;
    if (left >= 0 && top >= 0 && left + 1 < frame.width && top + 1 < frame.height) {
        std::uint32_t* pixel = frame.pixels + top * frame.width + left;
        pixel[0] = AddPixel(pixel[0], lights[0]);
        pixel[1] = AddPixel(pixel[1], lights[1]);
        pixel[frame.width] = AddPixel(pixel[frame.width], lights[2]);
        pixel[frame.width + 1] = AddPixel(pixel[frame.width + 1], lights[3]);
        return;
    }
    for (int corner = 0; corner < 4; ++corner) AddLight(frame, ix + (corner & 1), iy + (corner >> 1), lights[corner]);
}

PixelRect Clipped(PixelRect area, const PixelFrame& frame) {
    if (area.left < 0) area.left = 0;
    if (area.top < 0) area.top = 0;
    if (area.right > frame.width) area.right = frame.width;
    if (area.bottom > frame.height) area.bottom = frame.height;
    return area;
}

struct Ribbon {
    float base;                      // the lower edge, as a share of the height
    float amplitude1, waves1, rate1; // the large fold
    float amplitude2, waves2, rate2; // the small ripple
    float strengthWaves, strengthRate;
    float height; // the curtain above the edge, as a share of the height
    Color low, high;
    float intensity;
};

const Ribbon ribbons[] = {
    {0.64f, 0.055f, 0.9f, 0.11f, 0.018f, 3.2f, 0.37f, 1.6f, 0.09f, 0.26f, {70, 255, 150}, {110, 70, 210}, 0.75f},
    {0.72f, 0.040f, 1.4f, -0.08f, 0.014f, 4.1f, -0.29f, 2.3f, -0.13f, 0.19f, {40, 210, 205}, {150, 60, 190}, 0.50f},
};
constexpr float BelowEdge = 0.04f; // the glow under the lower edge, as a share of the height

constexpr int ProfileSteps = AuroraProfileSteps;
constexpr unsigned FaintestWeight = 8; // of 256

// The light of one curtain from its top (step 0) to below its lower edge.
void FillProfile(const Ribbon& ribbon, float edgeShare, std::uint32_t* profile) {
    for (int k = 0; k < ProfileSteps; ++k) {
        const float s = (static_cast<float>(k) + 0.5f) / ProfileSteps;
        float light;
        Color c;
        if (s < edgeShare) {
            const float up = (edgeShare - s) / edgeShare; // 1 at the top, 0 at the edge
            light = std::exp(-2.4f * up) * (1.0f - up);
            c = MixColor(ribbon.low, ribbon.high, SmoothStep(0.0f, 0.85f, up));
        } else {
            const float down = (s - edgeShare) / (1.0f - edgeShare);
            light = std::exp(-3.5f * down) * (1.0f - down);
            c = ribbon.low;
        }
        profile[k] = PackColor(ScaleColor(c, light * ribbon.intensity));
    }
}

} // namespace

// The sky: deep navy above, a faint violet glow at the horizon, dithered so
// the gradient shows no bands.
void SkyPattern(int y, int height, std::uint32_t pattern[4]) {
    static const Color top = {2, 4, 18}, middle = {8, 15, 46}, horizon = {36, 28, 82};
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const float span = height > 1 ? static_cast<float>(height - 1) : 1.0f;
    const float t = static_cast<float>(y) / span;
    const Color c = t < 0.55f ? MixColor(top, middle, t / 0.55f) : MixColor(middle, horizon, (t - 0.55f) / 0.45f);
    for (int i = 0; i < 4; ++i) {
        const float offset = (static_cast<float>(bayer[y & 3][i]) + 0.5f) / 16.0f - 0.5f;
        pattern[i] = PackColor({c.r + offset, c.g + offset, c.b + offset});
    }
}

void PaintSky(const PixelFrame& frame, PixelRect area) {
    area = Clipped(area, frame);
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t pattern[4];
        SkyPattern(y, frame.height, pattern);
        std::uint32_t* row = frame.pixels + y * frame.width;
        for (int x = area.left; x < area.right; ++x) row[x] = pattern[x & 3];
    }
}

void AuroraRows(int height, int& top, int& bottom) {
    const float h = static_cast<float>(height);
    top = height;
    bottom = 0;
    for (const Ribbon& ribbon : ribbons) {
        const float swing = ribbon.amplitude1 + ribbon.amplitude2;
        const int from = static_cast<int>(std::floor(h * (ribbon.base - swing - ribbon.height))) - 1;
        const int to = static_cast<int>(std::ceil(h * (ribbon.base + swing + BelowEdge))) + 2;
        if (from < top) top = from;
        if (to > bottom) bottom = to;
    }
    if (top < 0) top = 0;
    if (bottom > height) bottom = height;
}

namespace {

// One curtain over one column: rows y0..y1, the profile's position at row y0
// in 16.16 fixed point, and its strength (0: not drawn).
struct CurtainColumn {
    int y0, y1;
    int position;
    unsigned weight;
};

// Across, the curtains follow the scene, so that they run on from one monitor
// to the next; up and down, the frame, so that they stand above its ridge.
CurtainColumn SetUpColumn(const Ribbon& ribbon, const PixelFrame& frame, float sceneWidth, int x, float t, int step) {
    const float h = static_cast<float>(frame.height);
    const float curtain = ribbon.height * h, span = curtain + BelowEdge * h;
    const float u = static_cast<float>(x + frame.left) / sceneWidth;
    float strength = 0.5f + 0.5f * Sine(Tau * ribbon.strengthWaves * u + ribbon.strengthRate * t);
    strength *= strength;
    const float rays = 0.72f + 0.18f * Sine(Tau * 41.0f * u + 1.9f * t) + 0.10f * Sine(Tau * 97.0f * u - 1.3f * t);
    const unsigned weight = ToWeight(strength * rays);
    if (weight < FaintestWeight) return {0, -1, 0, 0}; // cheap, and too faint to see
    const float edge = h * (ribbon.base + ribbon.amplitude1 * Sine(Tau * ribbon.waves1 * u + ribbon.rate1 * t) +
                            ribbon.amplitude2 * Sine(Tau * ribbon.waves2 * u - ribbon.rate2 * t));
    const float top = edge - curtain;
    int y0 = static_cast<int>(std::ceil(top)), y1 = static_cast<int>(std::floor(top + span));
    if (y0 < 0) y0 = 0;
    if (y1 > frame.height - 1) y1 = frame.height - 1;
    if (y0 > y1) return {0, -1, 0, 0};
    return {y0, y1, static_cast<int>((static_cast<float>(y0) - top) * static_cast<float>(step)), weight};
}


// The rows where light was added are widened into *reach: at the faint ends of
// the curtain it scales down to nothing and leaves the sky as it was.
void LightColumn(const PixelFrame& frame, int x, const CurtainColumn& column, const std::uint32_t* profile, int step,
                 RowSpan* reach) {
    if (column.weight == 0) return;
    int position = column.position;
    std::uint32_t* pixel = frame.pixels + column.y0 * frame.width + x;
    int litTop = column.y1 + 1, litBottom = column.y0;
    for (int y = column.y0; y <= column.y1; ++y, position += step, pixel += frame.width) {
        const int k = position >> 16;
        if (k >= ProfileSteps) break;
        const std::uint32_t light = ScalePixel(profile[k < 0 ? 0 : k], column.weight);
        if (light == 0) continue;
        *pixel = AddPixel(*pixel, light);
        if (y < litTop) litTop = y;
        litBottom = y + 1;
    }
    if (reach != nullptr) Widen(*reach, RowSpan{litTop, litBottom});
}

// The rows of a column that get light, as LightColumn finds them, without
// painting: the first and the last whose light does not scale down to
// nothing, that is whose brightest channel times the weight reaches 256.
RowSpan LitRows(const CurtainColumn& column, const std::uint8_t* brightest, int step) {
    if (column.weight == 0) return RowSpan{0, 0};
    const auto lit = [&](int y, bool& past) {
        const int k = (column.position + (y - column.y0) * step) >> 16;
        past = k >= ProfileSteps;
        return !past && brightest[k < 0 ? 0 : k] * column.weight >= 256u;
    };
    bool past = false;
    int top = column.y0;
    for (; top <= column.y1 && !lit(top, past) && !past; ++top) {}
    if (top > column.y1 || past) return RowSpan{0, 0};
    int bottom = column.y1;
    while (!lit(bottom, past)) --bottom;
    return RowSpan{top, bottom + 1};
}

// Four neighbouring columns of one curtain as lanes; those past the frame's
// edge, like those too faint to paint, get no light.
void SetLanes(CurtainLanes& lanes, const CurtainColumn* columns, int step) {
    lanes.any = RowSpan{1 << 30, -1};
    lanes.every = RowSpan{0, 1 << 30};
    for (int lane = 0; lane < 4; ++lane) {
        const CurtainColumn& c = columns[lane];
        // Lanes without light are in no row; the rest step from row 0.
        lanes.start[lane] = c.weight ? c.position - c.y0 * step : 0;
        lanes.fromRow[lane] = c.weight ? c.y0 : 1 << 30;
        lanes.toRow[lane] = c.weight ? c.y1 : -1;
        for (int i = 0; i < 4; ++i) lanes.weights[4 * lane + i] = static_cast<std::uint16_t>(c.weight);
        if (c.weight == 0) {
            lanes.every = RowSpan{0, 0};
            continue;
        }
        if (c.y0 < lanes.any.top) lanes.any.top = c.y0;
        if (c.y1 + 1 > lanes.any.bottom) lanes.any.bottom = c.y1 + 1;
        if (c.y0 > lanes.every.top) lanes.every.top = c.y0;
        if (c.y1 + 1 < lanes.every.bottom) lanes.every.bottom = c.y1 + 1;
    }
}

#ifdef __SSE2__
// One curtain over four neighbouring columns as the vector code loads it.
struct FourCurtains {
    __m128i start, fromRow, toRow, lowWeights, highWeights;
};

inline FourCurtains Load(const CurtainLanes& lanes) {
    const auto load = [](const void* from) { return _mm_load_si128(static_cast<const __m128i*>(from)); };
    return {load(lanes.start), load(lanes.fromRow), load(lanes.toRow), load(lanes.weights), load(lanes.weights + 8)};
}

// Four lights, each scaled by its lane's weight, as ScalePixel scales one.
inline __m128i Weighted(const FourCurtains& lanes, __m128i light) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(light, zero), lanes.lowWeights), 8);
    const __m128i high = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(light, zero), lanes.highWeights), 8);
    return _mm_packus_epi16(low, high);
}

inline __m128i Gather(const std::uint32_t* profile, __m128i k) {
    alignas(16) std::int32_t index[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(index), k);
    return _mm_setr_epi32(static_cast<int>(profile[index[0]]), static_cast<int>(profile[index[1]]),
                          static_cast<int>(profile[index[2]]), static_cast<int>(profile[index[3]]));
}

// The light of one curtain in four neighbouring pixels of row y, the
// profile's position there given: what LightFourPixels adds.
inline __m128i LightOfFour(const FourCurtains& lanes, const std::uint32_t* profile, int y, __m128i position) {
    const __m128i row = _mm_set1_epi32(y);
    __m128i k = _mm_srai_epi32(position, 16);
    const __m128i inside =
        _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi32(lanes.fromRow, row), _mm_cmpgt_epi32(row, lanes.toRow)),
                         _mm_cmplt_epi32(k, _mm_set1_epi32(ProfileSteps)));
    k = _mm_and_si128(_mm_andnot_si128(_mm_srai_epi32(k, 31), k), inside);
    return Weighted(lanes, _mm_and_si128(Gather(profile, k), inside));
}

// The same where every lane's curtain covers the row: no lane needs a test,
// and a step past the profile's end reads its dark last one.
inline __m128i LightOfFourInside(const FourCurtains& lanes, const std::uint32_t* profile, __m128i position) {
    return Weighted(lanes, Gather(profile, _mm_min_epi16(_mm_srai_epi32(position, 16), _mm_set1_epi32(ProfileSteps))));
}
#endif

#ifndef __SSE2__
// One curtain's light at row y of one lane, as LightColumn adds it.
std::uint32_t LightOfLane(const CurtainLanes& lanes, int lane, const std::uint32_t* profile, int step, int y) {
    if (y < lanes.fromRow[lane] || y > lanes.toRow[lane]) return 0;
    const int k = (lanes.start[lane] + y * step) >> 16;
    return k >= ProfileSteps ? 0 : ScalePixel(profile[k < 0 ? 0 : k], lanes.weights[4 * lane]);
}
#endif

} // namespace

void SetUpAuroraLights(int frameHeight, AuroraLights& lights) {
    const float height = static_cast<float>(frameHeight);
    for (int r = 0; r < AuroraCurtains; ++r) {
        const Ribbon& ribbon = ribbons[r];
        const float span = (ribbon.height + BelowEdge) * height;
        lights.shown[r] = span >= 1.0f;
        if (!lights.shown[r]) continue;
        FillProfile(ribbon, ribbon.height * height / span, lights.profile[r]);
        lights.profile[r][ProfileSteps] = 0; // past the end: dark
        for (int k = 0; k < ProfileSteps; ++k) {
            const std::uint32_t p = lights.profile[r][k];
            const std::uint32_t red = p >> 16 & 0xFF, green = p >> 8 & 0xFF, blue = p & 0xFF;
            lights.brightest[r][k] = static_cast<std::uint8_t>(
                red > green ? (red > blue ? red : blue) : (green > blue ? green : blue));
        }
        lights.step[r] = static_cast<int>(static_cast<float>(ProfileSteps << 16) / span);
    }
}

void SetUpAuroraStrips(const Scene& scene, const PixelFrame& frame, const AuroraLights& lights, int left, int right,
                       AuroraStrip* strips, RowSpan* reach, double lead) {
    static_assert(sizeof ribbons / sizeof ribbons[0] == AuroraCurtains, "a curtain a ribbon");
    const float sceneWidth = static_cast<float>(scene.width > 0 ? scene.width : 1);
    const float t = SceneClockAt(scene.seconds + lead);
    if (right > frame.width) right = frame.width;
    for (int x = left; x < right; x += 4) {
        AuroraStrip& strip = strips[(x - left) / 4];
        for (int lane = 0; lane < 4 && x + lane < right; ++lane) reach[x + lane - left] = RowSpan{0, 0};
        for (int r = 0; r < AuroraCurtains; ++r) {
            const int step = lights.step[r];
            CurtainColumn columns[4];
            for (int lane = 0; lane < 4; ++lane) {
                const bool inFrame = x + lane < right;
                columns[lane] = lights.shown[r] && inFrame ? SetUpColumn(ribbons[r], frame, sceneWidth, x + lane, t, step)
                                                           : CurtainColumn{0, -1, 0, 0};
                if (inFrame) Widen(reach[x + lane - left], LitRows(columns[lane], lights.brightest[r], step));
            }
            SetLanes(strip.curtains[r], columns, step);
        }
    }
}

void PaintSkyAndAurora(const PixelFrame& frame, const std::uint32_t* skyRows, const AuroraLights& lights,
                       const AuroraStrip* strips, PixelRect area) {
    for (int x = area.left; x < area.right; x += 4) {
        const AuroraStrip& strip = strips[x / 4];
        const int lanes = area.right - x < 4 ? area.right - x : 4;
#ifdef __SSE2__
        FourCurtains curtains[AuroraCurtains];
        for (int r = 0; r < AuroraCurtains; ++r) curtains[r] = Load(strip.curtains[r]);
#endif
        std::uint32_t* pixel = frame.pixels + area.top * frame.width + x;
        for (int y = area.top; y < area.bottom; ++y, pixel += frame.width) {
#ifdef __SSE2__
            __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(skyRows + 4 * y));
            for (int r = 0; r < AuroraCurtains; ++r) {
                const CurtainLanes& lane = strip.curtains[r];
                if (y < lane.any.top || y >= lane.any.bottom) continue;
                const __m128i position = _mm_add_epi32(curtains[r].start, _mm_set1_epi32(y * lights.step[r]));
                four = _mm_adds_epu8(four, y >= lane.every.top && y < lane.every.bottom
                                               ? LightOfFourInside(curtains[r], lights.profile[r], position)
                                               : LightOfFour(curtains[r], lights.profile[r], y, position));
            }
            if (lanes == 4) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), four);
                continue;
            }
            alignas(16) std::uint32_t out[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(out), four);
            for (int i = 0; i < lanes; ++i) pixel[i] = out[i];
#else
            for (int i = 0; i < lanes; ++i) {
                std::uint32_t value = skyRows[4 * y + i];
                for (int r = 0; r < AuroraCurtains; ++r)
                    value = AddPixel(value, LightOfLane(strip.curtains[r], i, lights.profile[r], lights.step[r], y));
                pixel[i] = value;
            }
#endif
        }
    }
}

// Curtains of light: brightest along a waving lower edge, fading upward
// into violet, with fine vertical rays.
void PaintAurora(const Scene& scene, const PixelFrame& frame, int left, int right, RowSpan* reach, double lead) {
    const float sceneWidth = static_cast<float>(scene.width > 0 ? scene.width : 1);
    const float t = SceneClockAt(scene.seconds + lead);
    if (left < 0) left = 0;
    if (right > frame.width) right = frame.width;
    if (reach != nullptr)
        for (int x = left; x < right; ++x) reach[x - left] = RowSpan{0, 0};
    const auto reachOf = [&](int x) { return reach != nullptr ? reach + (x - left) : nullptr; };
    AuroraLights lights;
    SetUpAuroraLights(frame.height, lights);
    for (int r = 0; r < AuroraCurtains; ++r) {
        if (!lights.shown[r]) continue;
        const Ribbon& ribbon = ribbons[r];
        const std::uint32_t* profile = lights.profile[r];
        const int step = lights.step[r];
        int x = left;
#ifdef __SSE2__
        // Four neighbouring columns at once, a row of them at a time.
        for (; x + 4 <= right; x += 4) {
            CurtainColumn columns[4];
            for (int lane = 0; lane < 4; ++lane) {
                columns[lane] = SetUpColumn(ribbon, frame, sceneWidth, x + lane, t, step);
                if (reach != nullptr) Widen(reach[x + lane - left], LitRows(columns[lane], lights.brightest[r], step));
            }
            CurtainLanes lanes;
            SetLanes(lanes, columns, step);
            const FourCurtains four = Load(lanes);
            for (int y = lanes.any.top; y < lanes.any.bottom; ++y) {
                __m128i* pixels = reinterpret_cast<__m128i*>(frame.pixels + y * frame.width + x);
                const __m128i position = _mm_add_epi32(four.start, _mm_set1_epi32(y * step));
                _mm_storeu_si128(pixels, _mm_adds_epu8(_mm_loadu_si128(pixels),
                                                       y >= lanes.every.top && y < lanes.every.bottom
                                                           ? LightOfFourInside(four, profile, position)
                                                           : LightOfFour(four, profile, y, position)));
            }
        }
#endif
        for (; x < right; ++x)
            LightColumn(frame, x, SetUpColumn(ribbon, frame, sceneWidth, x, t, step), profile, step, reachOf(x));
    }
}

constexpr float BrightStar = 0.88f; // the brightest stars get short rays
constexpr int RayLength = StarRayLength;

namespace {

void PaintStar(const Star& star, float t, const PixelFrame& frame) {
    static const Color tints[] = {{255, 255, 255}, {185, 205, 255}, {255, 228, 185}};
    const float twinkle = 0.72f + 0.28f * Sine(star.twinklePhase + star.twinkleRate * t);
    const Color c = ScaleColor(tints[star.tint], star.brightness * twinkle * 1.7f);
    SplatLight(frame, star.x, star.y, c);
    if (star.brightness > BrightStar) {
        for (int arm = 1; arm <= RayLength; ++arm) {
            const float a = static_cast<float>(arm);
            const Color ray = ScaleColor(c, arm == 1 ? 0.22f : 0.09f);
            SplatLight(frame, star.x + a, star.y, ray);
            SplatLight(frame, star.x - a, star.y, ray);
            SplatLight(frame, star.x, star.y + a, ray);
            SplatLight(frame, star.x, star.y - a, ray);
        }
    }
}

} // namespace

void PaintStars(const Scene& scene, const PixelFrame& frame) {
    const float t = SceneClock(scene);
    for (int i = 0; i < scene.starCount; ++i) PaintStar(scene.stars[i], t, frame);
}

void PaintStars(const Scene& scene, const PixelFrame& frame, const std::uint16_t* order, int first, int last) {
    const float t = SceneClock(scene);
    for (int i = first; i < last; ++i) PaintStar(scene.stars[order[i]], t, frame);
}

PixelRect StarBounds(const Star& star) {
    const int reach = star.brightness > BrightStar ? RayLength : 0;
    const int x = static_cast<int>(std::floor(star.x)), y = static_cast<int>(std::floor(star.y));
    return {x - reach, y - reach, x + reach + 2, y + reach + 2};
}

namespace {

int MeteorLength(int frameHeight) { return static_cast<int>(0.13f * static_cast<float>(frameHeight)) + 1; }

} // namespace

void PaintMeteor(const Scene& scene, const PixelFrame& frame) {
    const ShootingStar& meteor = scene.meteor;
    if (!meteor.active || meteor.life <= 0.0f) return;
    const float fade = std::sin(3.1415927f * Clamp01(meteor.age / meteor.life));
    const float speed = std::sqrt(meteor.vx * meteor.vx + meteor.vy * meteor.vy);
    if (speed <= 0.0f) return;
    const float dx = meteor.vx / speed, dy = meteor.vy / speed;
    const int length = MeteorLength(scene.height);
    const Color head = {225, 238, 255};
    for (int s = 0; s < length; ++s) {
        const float along = 1.0f - static_cast<float>(s) / static_cast<float>(length);
        SplatLight(frame, meteor.x - dx * static_cast<float>(s), meteor.y - dy * static_cast<float>(s),
                   ScaleColor(head, fade * along * along));
    }
}

bool MeteorBounds(const Scene& scene, PixelRect& bounds) {
    const ShootingStar& meteor = scene.meteor;
    if (!meteor.active || meteor.life <= 0.0f) return false;
    const float speed = std::sqrt(meteor.vx * meteor.vx + meteor.vy * meteor.vy);
    if (speed <= 0.0f) return false;
    const float tail = static_cast<float>(MeteorLength(scene.height));
    const float tailX = meteor.x - meteor.vx / speed * tail, tailY = meteor.y - meteor.vy / speed * tail;
    bounds.left = static_cast<int>(std::floor(std::fmin(meteor.x, tailX))) - 1;
    bounds.top = static_cast<int>(std::floor(std::fmin(meteor.y, tailY))) - 1;
    bounds.right = static_cast<int>(std::ceil(std::fmax(meteor.x, tailX))) + 2;
    bounds.bottom = static_cast<int>(std::ceil(std::fmax(meteor.y, tailY))) + 2;
    return true;
}

// Far mountains along the bottom, dark against the glow of the horizon.
float RidgeCrest(int x, int width, int height) {
    const float u = static_cast<float>(x) / static_cast<float>(width);
    return static_cast<float>(height) *
           (0.885f + 0.035f * std::sin(Tau * 1.3f * u + 0.6f) + 0.022f * std::sin(Tau * 3.7f * u + 2.1f) +
            0.009f * std::sin(Tau * 9.1f * u + 0.3f) + 0.004f * std::sin(Tau * 23.0f * u + 1.1f));
}

void PaintRidge(const PixelFrame& frame, const float* crest, PixelRect area) {
    const std::uint32_t rock = PackRgb(5, 7, 17);
    for (int x = area.left; x < area.right; ++x) {
        const float crestRow = std::floor(crest[x - area.left]);
        int y = crestRow < 0.0f ? 0 : static_cast<int>(crestRow);
        if (y >= area.bottom) continue;
        if (y >= area.top) { // the crest's pixel, partly covered
            std::uint32_t& pixel = frame.pixels[y * frame.width + x];
            pixel = BlendPixel(pixel, rock, ToWeight(crestRow + 1.0f - crest[x - area.left]));
            ++y;
        } else {
            y = area.top;
        }
        for (std::uint32_t* pixel = frame.pixels + y * frame.width + x; y < area.bottom; ++y, pixel += frame.width)
            *pixel = rock;
    }
}
