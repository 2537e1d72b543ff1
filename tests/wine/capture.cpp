// Screen capture and reference rendering through GDI, into 32-bit top-down DIB sections.
#include "tests/wine/capture.h"

#include <cstdio>
#include <cstring>

namespace driver {

namespace {

// A memory context drawing into a top-down true-colour DIB section; released in one place.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ready() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    Image Take() const {
        GdiFlush();
        Image image{width_, height_, std::vector<uint32_t>(size_t(width_) * size_t(height_))};
        const uint32_t* source = static_cast<const uint32_t*>(bits_);
        for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = source[i] & 0xFFFFFF;
        return image;
    }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

} // namespace

uint32_t Rgb(COLORREF color) { return uint32_t(GetRValue(color)) << 16 | GetGValue(color) << 8 | GetBValue(color); }

Image CaptureScreen(int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    Canvas canvas(width, height);
    if (!canvas.Ready()) return {};
    HDC screen = GetDC(nullptr);
    const BOOL copied = BitBlt(canvas.Dc(), 0, 0, width, height, screen, left, top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return copied ? canvas.Take() : Image{};
}

Image RenderPackedDib(const std::vector<uint8_t>& packed) {
    BITMAPINFOHEADER header;
    if (packed.size() < sizeof header) return {};
    std::memcpy(&header, packed.data(), sizeof header);
    const size_t colors =
        header.biClrUsed != 0 ? header.biClrUsed : (header.biBitCount <= 8 ? size_t{1} << header.biBitCount : 0);
    const size_t pixelsAt = header.biSize + 4 * colors;
    const int width = header.biWidth;
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const size_t rowBytes = (size_t(width) * header.biBitCount + 31) / 32 * 4;
    if (pixelsAt + rowBytes * size_t(height) > packed.size()) return {};
    Canvas canvas(width, height);
    if (!canvas.Ready()) return {};
    const int drawn = StretchDIBits(canvas.Dc(), 0, 0, width, height, 0, 0, width, height, packed.data() + pixelsAt,
                                    reinterpret_cast<const BITMAPINFO*>(packed.data()), DIB_RGB_COLORS, SRCCOPY);
    return drawn > 0 ? canvas.Take() : Image{};
}

bool SaveBmp(const Image& image, const std::string& path) {
    if (image.Empty()) return false;
    const size_t rowBytes = (size_t(image.width) * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + rowBytes * size_t(image.height));
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1;
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = image.height - 1; written && y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t pixel = image.At(x, y);
            row[size_t(x) * 3] = uint8_t(pixel);
            row[size_t(x) * 3 + 1] = uint8_t(pixel >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(pixel >> 16);
        }
        written = std::fwrite(row.data(), 1, rowBytes, out) == rowBytes;
    }
    return std::fclose(out) == 0 && written;
}

} // namespace driver
