// Paints the ringed planet and its moon over what the frame already holds:
// lit from the upper left, banded by latitude, rings passing behind and in
// front of the planet, the planet's shadow on the rings.
//
// The planet drifts by a fraction of a pixel a frame, so it is painted into a
// layer that is moved by whole pixels as it drifts, and repainted only when
// its size or turn has changed enough to matter; each frame then only blends
// the layer over the sky. The moon moves faster and is painted
// every frame. The look is planet_look.cpp's, the layer planet_layer.cpp's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "screensaver/render/pixel_types.h"
#include "screensaver/scene.h"

struct PlanetLayer {
    std::uint32_t* pixels;        // premultiplied colour in the low 24 bits, coverage 0..255 in the top byte
    std::size_t capacity;         // how many words the memory holds; 0 paints straight into the frame
    RowSpan* columns;             // after the pixels: per row, the columns anything was painted in
    int left, top, width, height; // the painted rectangle, in frame pixels
    int frameWidth, frameHeight;  // the frame it was painted for
    bool painted;
    bool tidy;  // the memory is clear but where the layer is painted
    bool whole; // nothing was cut off at the frame's edge: the layer may move
    PlanetPlacement paintedFor;
    float tiltCosine, tiltSine; // of paintedFor.tilt
};

// The words a layer needs for any planet of a frame this size: its pixels
// and its rows' columns.
std::size_t PlanetLayerCapacity(int frameWidth, int frameHeight);

// A layer over memory the caller owns (pixels may be null: no caching).
PlanetLayer EmptyPlanetLayer(std::uint32_t* pixels, std::size_t capacity);

void PaintPlanetSystem(const Scene& scene, const PixelFrame& frame, PlanetLayer& layer);

// The scene's placement in the frame's pixels; PlaceMoon, the painters and
// the layer work in those.
PlanetPlacement PlanetInFrame(const PlanetPlacement& planet, const PixelFrame& frame);
// Whether anything of the planet system may show in the frame.
bool PlanetSystemTouches(const PlanetPlacement& planetInFrame, const PixelFrame& frame);

// The moon circles the planet in the rings' plane, in front of it half the time.
struct MoonPlacement {
    float x, y, radius;
    bool inFront;
};
MoonPlacement PlaceMoon(const Scene& scene, const PlanetPlacement& planet);
// Its rows firstRow..endRow-1 (frame rows), or all of it.
void PaintMoon(const PixelFrame& frame, const MoonPlacement& moon, int firstRow = 0, int endRow = 1 << 30);
PixelRect MoonBounds(const MoonPlacement& moon);

// For painting by parts: bringing the layer to the planet, moved by whole
// pixels if it must (false: it no longer shows the planet closely enough),
// repainting it, what it holds at a frame pixel (0: nothing), and blending
// it over part of the frame.
bool FitPlanetLayer(PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& placement);
// Whether a layer painted for one placement would still fit the other.
bool PlanetPlacementsClose(const PixelFrame& frame, const PlanetPlacement& painted, const PlanetPlacement& now);
void RepaintPlanetLayer(PlanetLayer& layer, const PixelFrame& frame, const PlanetPlacement& placement);
std::uint32_t PlanetLayerPixel(const PlanetLayer& layer, int x, int y);
// Columns left..right-1 of frame row y are all the layer may hold anything in; false when none.
bool PlanetLayerColumns(const PlanetLayer& layer, int y, int& left, int& right);
void CompositePlanetLayer(const PlanetLayer& layer, const PixelFrame& frame, PixelRect area);
