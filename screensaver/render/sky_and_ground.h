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
// The northern lights by parts, for a canvas that keeps no picture of them:
// each curtain's light down a column, set up once for a frame's height; the
// curtains over each strip of four columns, set up whenever that strip is
// recomputed; and from those any pixels of the sky with the lights over it,
// the very pixels PaintSky and PaintAurora give.
constexpr int AuroraCurtains = 2;
constexpr int AuroraProfileSteps = 256;

struct AuroraLights {
    std::uint32_t profile[AuroraCurtains][AuroraProfileSteps + 1]; // the extra last step is dark
    std::uint8_t brightest[AuroraCurtains][AuroraProfileSteps];
    int step[AuroraCurtains]; // the profile's steps a row, 16.16
    bool shown[AuroraCurtains];
};

// One curtain over four neighbouring columns; a lane without light covers no row.
struct CurtainLanes {
    alignas(16) std::int32_t start[4]; // the profile's position at row 0, 16.16
    alignas(16) std::int32_t fromRow[4];
    alignas(16) std::int32_t toRow[4];
    alignas(16) std::uint16_t weights[16]; // each lane's strength, four times over
    RowSpan any, every;                    // the rows some lane covers, and those every lane does
};

struct AuroraStrip {
    CurtainLanes curtains[AuroraCurtains];
};

void SetUpAuroraLights(int frameHeight, AuroraLights& lights);
// The strips of columns left..right-1 (left a multiple of four), strips[0]
// being left's, as they are lead seconds after the scene's clock; the rows each
// column gets light in are written to reach[x - left].
void SetUpAuroraStrips(const Scene& scene, const PixelFrame& frame, const AuroraLights& lights, int left, int right,
                       AuroraStrip* strips, RowSpan* reach, double lead = 0.0);
// The sky (skyRows + 4 * y: row y's pattern, SkyPattern's) with the lights
// over it, over the rectangle (its left a multiple of four, inside the
// frame); strips[0] is that of the frame's first four columns.
void PaintSkyAndAurora(const PixelFrame& frame, const std::uint32_t* skyRows, const AuroraLights& lights,
                       const AuroraStrip* strips, PixelRect area);

// The rows the northern lights may ever reach on a frame this high.
void AuroraRows(int height, int& top, int& bottom);

// Stars and the meteor added where they are; StarBounds and MeteorBounds give the
// pixels each may touch, in the scene's pixels, so that a caller can restore them.
void PaintStars(const Scene& scene, const PixelFrame& frame);
// The stars order[first..last) alone: the canvas paints a band of rows at a time.
void PaintStars(const Scene& scene, const PixelFrame& frame, const std::uint16_t* order, int first, int last);
void PaintMeteor(const Scene& scene, const PixelFrame& frame);
PixelRect StarBounds(const Star& star);
constexpr int StarRayLength = 2;                    // pixels: the brightest stars get short rays
constexpr int MostStarRows = 2 * StarRayLength + 2; // the rows StarBounds may span
bool MeteorBounds(const Scene& scene, PixelRect& bounds);

// The ridge's top edge at column x, in rows from the top (fractional).
float RidgeCrest(int x, int width, int height);
// The ridge over the rectangle, which lies inside the frame; crest[i] is the
// crest of column area.left + i.
void PaintRidge(const PixelFrame& frame, const float* crest, PixelRect area);
