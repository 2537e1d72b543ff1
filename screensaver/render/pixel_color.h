// Colour arithmetic on 0x00RRGGBB pixels, done on two channels at a time so
// that full-screen frames stay cheap even without a vector unit.
#pragma once

#include <cmath>
#include <cstdint>

struct Color {
    float r, g, b; // 0..255, may exceed 255 before packing
};

inline Color MixColor(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Color ScaleColor(Color c, float s) { return {c.r * s, c.g * s, c.b * s}; }

inline float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

// Rounds to nearest. With -fno-math-errno this is one instruction even on an
// x87 FPU, where a plain cast switches the rounding mode twice per pixel.
inline int RoundToInt(float v) { return static_cast<int>(std::lrintf(v)); }

// 0..1 to a weight of 0..256 for the packed operations below.
inline unsigned ToWeight(float v) {
    return v <= 0.0f ? 0u : (v >= 1.0f ? 256u : static_cast<unsigned>(RoundToInt(v * 256.0f)));
}

inline int ToChannel(float v) { return v <= 0.0f ? 0 : (v >= 255.0f ? 255 : RoundToInt(v)); }

inline std::uint32_t PackRgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}
inline std::uint32_t PackColor(Color c) { return PackRgb(ToChannel(c.r), ToChannel(c.g), ToChannel(c.b)); }

// Each channel times weight / 256.
inline std::uint32_t ScalePixel(std::uint32_t c, unsigned weight) {
    return (((c & 0xFF00FFu) * weight >> 8) & 0xFF00FFu) | (((c & 0x00FF00u) * weight >> 8) & 0x00FF00u);
}

// over on top of under with coverage alpha / 256.
inline std::uint32_t BlendPixel(std::uint32_t under, std::uint32_t over, unsigned alpha) {
    const unsigned rest = 256u - alpha;
    const std::uint32_t rb = ((over & 0xFF00FFu) * alpha + (under & 0xFF00FFu) * rest) >> 8 & 0xFF00FFu;
    const std::uint32_t g = ((over & 0x00FF00u) * alpha + (under & 0x00FF00u) * rest) >> 8 & 0x00FF00u;
    return rb | g;
}

// Light adds up and saturates per channel, as it does on film.
inline std::uint32_t AddPixel(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t low = (a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu);
    const std::uint32_t high = (a ^ b) & 0x80808080u;
    const std::uint32_t carry = ((a & b) | (high & low)) & 0x80808080u;
    return (low ^ high) | ((carry >> 7) * 0xFFu);
}
