# The renderer's sources, for the screen saver's build and the benchmark's
# host-side measure of it (bench/saver/run prints them with print-sources.cmake).
set(SCREENSAVER_RENDER_SOURCES
    render/reference_renderer.cpp
    render/sky_and_ground.cpp
    render/scene_canvas.cpp
    render/planet_painter.cpp
)
