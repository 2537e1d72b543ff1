#include "screensaver/render/reference_renderer.h"

#include "screensaver/render/planet_painter.h"
#include "screensaver/render/sky_and_ground.h"

namespace {

// The ridge's crest is worked out a strip of columns at a time: no memory to keep.
void PaintRidgeOver(const PixelFrame& frame) {
    constexpr int Strip = 256;
    float crest[Strip];
    for (int left = 0; left < frame.width; left += Strip) {
        const int right = left + Strip < frame.width ? left + Strip : frame.width;
        for (int x = left; x < right; ++x) crest[x - left] = RidgeCrest(x, frame.width, frame.height);
        PaintRidge(frame, crest, PixelRect{left, 0, right, frame.height});
    }
}

} // namespace

void RenderReferenceFrame(const Scene& scene, const PixelFrame& frame, PlanetLayer& planetLayer) {
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) return;
    PaintSky(frame, PixelRect{0, 0, frame.width, frame.height});
    if (scene.aurora) PaintAurora(scene, frame, 0, frame.width);
    PaintStars(scene, frame);
    PaintMeteor(scene, frame);
    PaintPlanetSystem(scene, frame, planetLayer);
    PaintRidgeOver(frame);
}
