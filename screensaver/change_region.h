// The canvas's changes (scene_canvas.h) as rectangles of the window's clip
// region, a row of tiles at a time: Wine adds a region's rectangles one at a
// time, so fewer and wider ones cost less.
#pragma once

#include "screensaver/render/pixel_types.h"

// Changes this few pixels apart along a row go to the window as one
// rectangle: Wine copies a region rectangle by rectangle, a row at a time,
// and a few unchanged pixels cost less than another rectangle. Unchanged
// pixels may go along: they are what the window shows already.
constexpr int MergeGap = 64;

// The changes from first on that lie in first's row (they are listed top to
// bottom, left to right), merged and moved by (dx, dy) into rects (room for
// as many as the row has); merged is set to how many. Returns the index of
// the next row's first change.
int MergeChangeRow(const PixelRect* changes, int count, int first, int dx, int dy, PixelRect* rects, int& merged);
