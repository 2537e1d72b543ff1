// Draws one frame of the scene into a 32-bit pixel buffer in memory: the
// night sky, the northern lights, the stars, the ringed planet with its moon,
// and a mountain ridge. The buffer is what a top-down 32-bit DIB holds.
#pragma once

#include <cstdint>

#include "screensaver/render/pixel_types.h"
#include "screensaver/scene.h"

struct PlanetLayer;

// The reference: every pixel of the frame painted afresh, nothing outside it.
// The layer keeps the planet between frames (see planet_painter.h).
void RenderReferenceFrame(const Scene& scene, const PixelFrame& frame, PlanetLayer& planetLayer);
