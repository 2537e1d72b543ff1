// Draws one frame of the scene into a 32-bit pixel buffer in memory: the
// night sky, the northern lights, the stars, the ringed planet with its moon,
// and a mountain ridge. The buffer is what a top-down 32-bit DIB holds.
#pragma once

#include <cstdint>

#include "screensaver/scene.h"

struct PixelFrame {
    std::uint32_t* pixels; // 0x00RRGGBB, rows top to bottom, width pixels per row
    int width;
    int height;
};

struct PlanetLayer;

// Every pixel of the frame is written; nothing outside it is. The layer keeps
// the planet between frames (see planet_painter.h).
void RenderScene(const Scene& scene, const PixelFrame& frame, PlanetLayer& planetLayer);
