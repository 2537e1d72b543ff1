// Filling, clearing, comparing and blending runs of pixels with SSE2: under
// Wine the C library's memset and memcmp stood high in the saver's profile.
// Each has the plain loop it must match beside it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "screensaver/render/pixel_color.h"
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// A row of sky: pattern[x & 3] at every pixel x, the run starting where x & 3 is 0.
inline void RepeatPixels(std::uint32_t* target, const std::uint32_t pattern[4], int count) {
    int i = 0;
#ifdef __SSE2__
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
    for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), four);
#endif
    for (; i < count; ++i) target[i] = pattern[i & 3];
}

inline void ClearPixels(std::uint32_t* target, std::size_t count) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), zero);
#endif
    for (; i < count; ++i) target[i] = 0;
}

inline bool SamePixels(const std::uint32_t* a, const std::uint32_t* b, int count) {
    int i = 0;
#ifdef __SSE2__
    for (; i + 4 <= count; i += 4) {
        const __m128i equal = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)),
                                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)));
        if (_mm_movemask_epi8(equal) != 0xFFFF) return false;
    }
#endif
    for (; i < count; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// A colour shared out among four pixels by weight, each share packed as
// PackColor packs it: clamped to 0..255 and rounded to nearest, as lrintf
// and the vector conversion both round.
inline void ShareLightPlain(Color c, const float weights[4], std::uint32_t lights[4]) {
    for (int i = 0; i < 4; ++i) lights[i] = PackColor(ScaleColor(c, weights[i]));
}

inline void ShareLight(Color c, const float weights[4], std::uint32_t lights[4]) {
#ifdef __SSE2__
    const __m128 color = _mm_setr_ps(c.b, c.g, c.r, 0.0f), zero = _mm_setzero_ps(), full = _mm_set1_ps(255.0f);
    const auto share = [&](int i) {
        return _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(_mm_mul_ps(color, _mm_set1_ps(weights[i])), zero), full));
    };
    const __m128i packed =
        _mm_packus_epi16(_mm_packs_epi32(share(0), share(1)), _mm_packs_epi32(share(2), share(3)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lights), packed);
#else
    ShareLightPlain(c, weights, lights);
#endif
}

// Four pixels of a layer whose top byte is coverage: all clear, all opaque
// (255), or mixed. Most of a planet layer is one of the first two.
enum class FourCover { Clear, Opaque, Mixed };

inline FourCover CoverOfFour(const std::uint32_t* stored) {
#ifdef __SSE2__
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stored));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(four, _mm_setzero_si128())) == 0xFFFF) return FourCover::Clear;
    const __m128i coverage = _mm_srli_epi32(four, 24);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(coverage, _mm_set1_epi32(255))) == 0xFFFF) return FourCover::Opaque;
    return FourCover::Mixed;
#else
    bool clear = true, opaque = true;
    for (int i = 0; i < 4; ++i) {
        clear = clear && stored[i] == 0;
        opaque = opaque && stored[i] >> 24 == 255u;
    }
    return clear ? FourCover::Clear : (opaque ? FourCover::Opaque : FourCover::Mixed);
#endif
}

// The colours of four opaque layer pixels, their coverage byte dropped.
inline void CopyColorsOfFour(std::uint32_t* target, const std::uint32_t* stored) {
#ifdef __SSE2__
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stored));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_and_si128(four, _mm_set1_epi32(0xFFFFFF)));
#else
    for (int i = 0; i < 4; ++i) target[i] = stored[i] & 0xFFFFFFu;
#endif
}

// Four layer pixels over four frame pixels: each colour plus the frame's
// times what the coverage leaves (coverage 255 standing for whole), per
// channel, saturating. The plain loop is the reference the tests hold the
// vector one to.
inline void CompositeFourPlain(std::uint32_t* target, const std::uint32_t* stored) {
    for (int i = 0; i < 4; ++i) {
        const unsigned coverage = stored[i] >> 24;
        const unsigned rest = 256u - (coverage == 255u ? 256u : coverage);
        target[i] = AddPixel(stored[i] & 0xFFFFFFu, ScalePixel(target[i], rest));
    }
}

inline void CompositeFour(std::uint32_t* target, const std::uint32_t* stored) {
#ifdef __SSE2__
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stored));
    const __m128i coverage = _mm_srli_epi32(four, 24);
    const __m128i whole = _mm_sub_epi32(coverage, _mm_cmpeq_epi32(coverage, _mm_set1_epi32(255)));
    const __m128i rest = _mm_sub_epi32(_mm_set1_epi32(256), whole);
    const __m128i restPairs = _mm_or_si128(rest, _mm_slli_epi32(rest, 16)); // a pixel's weight in both halves
    const __m128i zero = _mm_setzero_si128();
    __m128i* frame = reinterpret_cast<__m128i*>(target);
    const __m128i under = _mm_loadu_si128(frame);
    // A channel (at most 255) times a weight (at most 256) fits 16 bits.
    const __m128i low = _mm_srli_epi16(
        _mm_mullo_epi16(_mm_unpacklo_epi8(under, zero), _mm_unpacklo_epi32(restPairs, restPairs)), 8);
    const __m128i high = _mm_srli_epi16(
        _mm_mullo_epi16(_mm_unpackhi_epi8(under, zero), _mm_unpackhi_epi32(restPairs, restPairs)), 8);
    const __m128i colors = _mm_and_si128(four, _mm_set1_epi32(0xFFFFFF));
    _mm_storeu_si128(frame, _mm_adds_epu8(colors, _mm_packus_epi16(low, high)));
#else
    CompositeFourPlain(target, stored);
#endif
}
