// Pixels for the Wine tier: what is on the screen, and what a packed bitmap looks like drawn by GDI.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

// Top-down 0x00RRGGBB pixels.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool Empty() const { return pixels.empty(); }
};

// The screen rectangle left, top, width x height as it is shown now.
Image CaptureScreen(int left, int top, int width, int height);
// A packed bitmap (header, colour table, rows) drawn 1:1 by GDI into a true-colour image.
Image RenderPackedDib(const std::vector<uint8_t>& packed);
// Saves the image as a 24-bit .bmp file.
bool SaveBmp(const Image& image, const std::string& path);
// 0x00RRGGBB of a COLORREF.
uint32_t Rgb(COLORREF color);

} // namespace driver
