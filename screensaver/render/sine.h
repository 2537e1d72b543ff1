// A sine for the per-column and per-star loops: the C library's float sine
// costs a hundred cycles or more on 32-bit Windows and showed high in the
// profile. Off by no more than 1e-6 from std::sin, far below what a pixel shows.
#pragma once

#include <cmath>

inline float Sine(float x) {
    constexpr double Pi = 3.14159265358979323846;
    const double turns = static_cast<double>(x) * (0.5 / Pi);
    if (!(turns > -1.0e9 && turns < 1.0e9)) return std::sin(x); // huge or not a number
    // To [-pi, pi] in double, which keeps the float's own precision, then to [-pi/2, pi/2].
    const int whole = static_cast<int>(turns + (turns >= 0.0 ? 0.5 : -0.5));
    double reduced = static_cast<double>(x) - static_cast<double>(whole) * (2.0 * Pi);
    if (reduced > 0.5 * Pi) reduced = Pi - reduced;
    if (reduced < -0.5 * Pi) reduced = -Pi - reduced;
    const float r = static_cast<float>(reduced), r2 = r * r;
    // Taylor to the 11th power: the rest is below 6e-8 on [-pi/2, pi/2].
    return r * (1.0f + r2 * (-1.0f / 6 + r2 * (1.0f / 120 + r2 * (-1.0f / 5040 +
                r2 * (1.0f / 362880 + r2 * (-1.0f / 39916800))))));
}
