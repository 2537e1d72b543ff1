// libFuzzer target: arbitrary resource bytes as the banner, both as a bitmap resource and as a whole
// bitmap file under a named type, loaded, counted, given a palette and painted. The fake platform holds
// each resource and memory block in an allocation of exactly its size, so AddressSanitizer reports any
// read beyond the copy.
#include "tests/fake/fake_platform.h"
#include "ui/layout.h"
#include "ui/resource_dib.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// The invariants a loaded picture keeps; abort() makes libFuzzer save the input.
void Require(bool holds) {
    if (!holds) std::abort();
}

size_t PixelBytes(const BITMAPINFOHEADER& header) {
    const size_t rowBytes = (size_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const int64_t height = header.biHeight;
    return rowBytes * size_t(height < 0 ? -height : height);
}

void LoadAndPaint(LPCSTR type, const uint8_t* data, size_t size, HWND window) {
    fake::AddResource(BannerName, type, fake::Bytes(data, data + size));
    banner.~ResourceDib();
    new (&banner) ResourceDib;
    if (banner.LoadFromResource(fake::Instance, BannerName, type)) {
        const size_t copied = type == RT_BITMAP ? size : size - 14;
        const BYTE* start = reinterpret_cast<const BYTE*>(banner.Header);
        Require(banner.ColorCount() >= 0);
        Require(size_t(banner.Bits() - start) + PixelBytes(*banner.Header) <= copied);
        const HPALETTE palette = banner.GetPalette();
        Require(palette == nullptr || palette == banner.GetPalette());
    }
    // Reads the header, the colour table and every pixel row, or nothing without a picture.
    PaintBanner(window);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fake::Reset();
    const HWND window =
        platform::CreateWindowExA(0, "button", "", WS_CHILD, 0, 0, 400, 300, nullptr, nullptr, fake::Instance, nullptr);
    LoadAndPaint(RT_BITMAP, data, size, window);
    LoadAndPaint("BMPFILE", data, size, window);
    banner.~ResourceDib();
    new (&banner) ResourceDib;
    return 0;
}
