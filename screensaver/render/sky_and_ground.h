// The sky, the northern lights, stars, meteor and the ridge, each paintable
// over part of a frame, so that the reference renderer (reference_renderer.h)
// and the canvas (scene_canvas.h) draw the very same pixels. Painting order:
// sky, northern lights, stars, meteor, planet system (planet_painter.h), ridge.
#pragma once

#include <cstdint>

#include "screensaver/render/pixel_types.h"
#include "screensaver/scene.h"

// The sky gradient over the rectangle (clipped to the frame).
void PaintSky(const PixelFrame& frame, PixelRect area);
// The sky's row y repeats these four pixels (x & 3) on a frame this high.
void SkyPattern(int y, int height, std::uint32_t pattern[4]);

// The northern lights added over columns left..right-1, as they are lead
// seconds after the scene's clock. With reach, the rows each column got light
// in are written to reach[x - left].
void PaintAurora(const Scene& scene, const PixelFrame& frame, int left, int right, RowSpan* reach = nullptr,
                 double lead = 0.0);
// The sky (skyRows + 4 * y: row y's pattern, SkyPattern's) with the northern
// lights over it, as PaintSky then PaintAurora give them, over columns
// left..right-1 (left a multiple of four), each pixel written once. Written
// are the rows each column's reach[x - left] held, where the lights were,
// and those they reach now, which reach is set to.
void RepaintSkyAndAurora(const Scene& scene, const PixelFrame& frame, const std::uint32_t* skyRows, int left,
                         int right, RowSpan* reach, double lead);
// The rows the northern lights may ever reach on a frame this high.
void AuroraRows(int height, int& top, int& bottom);

// Stars and the meteor added where they are; StarBounds and MeteorBounds give the
// pixels each may touch, in the scene's pixels, so that a caller can restore them.
void PaintStars(const Scene& scene, const PixelFrame& frame);
// The stars order[first..last) alone: the canvas paints a band of rows at a time.
void PaintStars(const Scene& scene, const PixelFrame& frame, const std::uint16_t* order, int first, int last);
void PaintMeteor(const Scene& scene, const PixelFrame& frame);
PixelRect StarBounds(const Star& star);
bool MeteorBounds(const Scene& scene, PixelRect& bounds);

// The ridge's top edge at column x, in rows from the top (fractional).
float RidgeCrest(int x, int width, int height);
// The ridge over the rectangle, which lies inside the frame; crest[i] is the
// crest of column area.left + i.
void PaintRidge(const PixelFrame& frame, const float* crest, PixelRect area);
