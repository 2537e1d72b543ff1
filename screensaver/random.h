// A small seeded generator: the animation must replay exactly in tests.
#pragma once

#include <cstdint>

struct Random {
    std::uint32_t state; // never 0: xorshift would stay at 0
};

inline Random SeededRandom(std::uint32_t seed) { return Random{seed != 0 ? seed : 0x9E3779B9u}; }

inline std::uint32_t NextRandom(Random& random) {
    std::uint32_t x = random.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    random.state = x;
    return x;
}

// Uniform in [0, 1).
inline float RandomUnit(Random& random) { return static_cast<float>(NextRandom(random) >> 8) * (1.0f / 16777216.0f); }

// Uniform in [low, high).
inline float RandomBetween(Random& random, float low, float high) { return low + (high - low) * RandomUnit(random); }
