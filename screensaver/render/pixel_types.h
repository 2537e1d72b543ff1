// The types every painter shares: a frame of pixels, a rectangle of it, and
// a span of rows.
#pragma once

#include <cstdint>

// A 32-bit top-down DIB's pixels, showing part of a scene: its first pixel is
// the scene's pixel (left, top). A frame that shows a whole scene has both 0.
struct PixelFrame {
    std::uint32_t* pixels; // 0x00RRGGBB, rows top to bottom, width pixels per row
    int width;
    int height;
    int left = 0, top = 0;
};

// A rectangle of pixels, right and bottom exclusive.
struct PixelRect {
    int left, top, right, bottom;
};

// Rows top..bottom-1 of one column; empty when top >= bottom.
struct RowSpan {
    int top, bottom;
};

// Grows rows to take in more as well; empty rows become more.
inline void Widen(RowSpan& rows, RowSpan more) {
    if (more.top >= more.bottom) return;
    if (rows.top >= rows.bottom) rows = more;
    if (more.top < rows.top) rows.top = more.top;
    if (more.bottom > rows.bottom) rows.bottom = more.bottom;
}
