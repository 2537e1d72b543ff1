// The planet's colours. tools/make-icon.py reads this file too, so that the
// icon shows the planet the saver draws: keep one colour a line, as written.
#pragma once

#include "screensaver/render/pixel_color.h"

constexpr Color BandDark = {192, 126, 48};
constexpr Color BandBright = {255, 228, 128};
constexpr Color RingInnerColor = {150, 140, 132};
constexpr Color RingOuterColor = {236, 210, 160};
