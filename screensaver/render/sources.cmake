# The renderer's sources, for the screen saver's build and the benchmark's
# host-side measure of it (bench/saver/run prints them with print-sources.cmake).
set(SCREENSAVER_RENDER_SOURCES
    render/sky_and_ground.cpp
    render/scene_canvas.cpp
    render/planet_look.cpp
    render/planet_layer.cpp
)
# The full repaint the canvas is held to: for the tests and the benchmark
# only, never in the screen saver.
set(SCREENSAVER_REFERENCE_SOURCES render/reference_renderer.cpp)
