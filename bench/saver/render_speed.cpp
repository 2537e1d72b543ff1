// The renderer's time a frame on the host, for the full repaint and the
// canvas, at the sizes given: bench/saver/render_speed SECONDS WxH...
// Prints one line a size: width height full_ms canvas_ms (means).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "screensaver/render/reference_renderer.h"
#include "screensaver/render/scene_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

// The mean, not the median: the planet's occasional repaint is part of the cost.
double Mean(const std::vector<double>& values) {
    double sum = 0.0;
    for (double value : values) sum += value;
    return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

// Frames at the saver's own pace (33 ms of animation each) for about the given time.
template <typename Draw> double MillisecondsAFrame(int width, int height, double seconds, Draw draw) {
    auto scene = std::make_unique<Scene>();
    InitScene(*scene, width, height, DefaultSettings(), 7);
    std::vector<double> times;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < end || times.size() < 30) {
        AdvanceScene(*scene, 33);
        const Clock::time_point start = Clock::now();
        draw(*scene);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return Mean(times);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_speed SECONDS WIDTHxHEIGHT...\n");
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    for (int i = 2; i < argc; ++i) {
        int width = 0, height = 0;
        if (std::sscanf(argv[i], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) return 2;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        std::vector<std::uint32_t> layerMemory(PlanetLayerCapacity(width, height));
        PlanetLayer layer = EmptyPlanetLayer(layerMemory.data(), layerMemory.size());
        const PixelFrame frame = {pixels.data(), width, height};
        const double full = MillisecondsAFrame(width, height, seconds,
                                               [&](const Scene& scene) { RenderReferenceFrame(scene, frame, layer); });
        std::vector<std::uint32_t> canvasMemory(SceneCanvasBytes(width, height) / 4 + 1);
        SceneCanvas canvas = NewSceneCanvas(frame, canvasMemory.data());
        const double parts =
            MillisecondsAFrame(width, height, seconds, [&](const Scene& scene) { DrawScene(scene, canvas); });
        std::printf("%d %d %.2f %.2f\n", width, height, full, parts);
    }
    return 0;
}
