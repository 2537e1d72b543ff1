// Draws the scene frame after frame by parts: the same picture as the
// reference renderer (reference_renderer.h), but each frame only what changed
// is restored, redrawn and listed for the window.
//
// The sky and the northern lights are kept as numbers, from which any of
// their pixels is made again; the stars, the meteor and the moon are cleared
// to them and drawn again each frame in small tiles;
// the planet layer is blended again only over tiles that were restored, and
// over those a repaint of it changed. The northern lights change slowly, so
// each frame recomputes them in one band of columns, sweeping across the
// screen: a column is recomputed every AuroraBandsFor frames (6 from 1920 x 1080
// up), for the middle of the frames it is shown in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "screensaver/render/pixel_types.h"
#include "screensaver/render/planet_painter.h"
#include "screensaver/render/sky_and_ground.h"
#include "screensaver/scene.h"

constexpr int CanvasTile = 4; // pixels a side

struct SceneCanvas {
    PixelFrame frame;        // what the window shows
    void* block;             // the memory every buffer below is carved from, even when unused; its giver frees it
    AuroraLights* auroraLights; // the northern lights' curtains down a column on this frame
    AuroraStrip* auroraStrips;  // and over each strip of four columns, as last set up
    float* crest;            // the ridge's crest per column
    std::uint32_t* sky;      // the sky's pattern, four pixels a row
    RowSpan* auroraReach;    // per column, the rows the northern lights were last painted in
    RowSpan* auroraMarks;    // per column of tiles, the rows a band refresh changes
    std::uint8_t* tiles;     // flags per tile, tileStride a row, tilesDown rows
    PixelRect* changes;      // this frame's changed pixels as runs of tiles, top to bottom
    int changeCount;
    std::uint16_t* starOrder; // the scene's stars by their top rows
    int* starRows;            // per star, its top row in the scene
    int orderedStars;         // how many stars starOrder holds
    PlanetLayer planetLayer;  // the one shown
    PlanetLayer spareLayer;   // the next one is painted here, to find what it changes
    int tilesAcross, tilesDown, tileStride;
    int auroraTop, auroraBottom; // the rows the northern lights may reach
    int ridgeTop;                // changes above this row leave the ridge alone
    int auroraBands, nextAuroraBand;
    double lastSeconds; // the scene's clock at the frame before
    bool painted; // a first whole frame has been drawn
};

// The bytes of memory a canvas needs besides the frame itself.
std::size_t SceneCanvasBytes(int width, int height);

// At most this many changes are listed a frame.
std::size_t SceneCanvasMaxChanges(int width, int height);

// A canvas over the caller's frame and memory (SceneCanvasBytes of it); the
// first DrawScene paints the whole frame. A frame may show part of a larger
// scene (frame.left, frame.top).
SceneCanvas NewSceneCanvas(const PixelFrame& frame, void* memory);

// How many bands the northern lights are recomputed in: one per frame.
int AuroraBandsFor(int width, int height);

// Brings the frame up to the scene; canvas.changes then lists what changed.
void DrawScene(const Scene& scene, SceneCanvas& canvas);
