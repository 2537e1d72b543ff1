// The canvas's changes (scene_canvas.h) as the window's clip region. Wine
// adds a region's rectangles one at a time, copying all it has so far each
// time: thousands of stars' rectangles took half the saver's time at 4K. So
// the region is built a row of tiles at a time (this file), from few and wide
// rectangles, changes close together along a row merged (a few unchanged
// pixels cost less than another rectangle, and they are what the window shows
// already), and the rows' regions are combined in pairs (saver_window.cpp):
// the work stays near linear.
#pragma once

#include "screensaver/render/pixel_types.h"

// Changes this few pixels apart along a row go to the window as one rectangle.
constexpr int MergeGap = 64;

// The changes from first on that lie in first's row (they are listed top to
// bottom, left to right), merged and moved by (dx, dy) into rects (room for
// as many as the row has); merged is set to how many. Returns the index of
// the next row's first change.
int MergeChangeRow(const PixelRect* changes, int count, int first, int dx, int dy, PixelRect* rects, int& merged);
