#include "ui/resource_dib.h"

#include <cstdint>
#include <cstring>

ResourceDib banner;

namespace {

constexpr size_t FileHeaderSize = 14; // BITMAPFILEHEADER, absent from RT_BITMAP resources
constexpr size_t InfoHeaderSize = 40;

bool IsBitmapType(LPCSTR type) { return IS_INTRESOURCE(type) && LOWORD(reinterpret_cast<ULONG_PTR>(type)) == 2; }

uint32_t ColorCountOf(const BITMAPINFOHEADER& header) {
    if (header.biClrUsed != 0) return header.biClrUsed;
    switch (header.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

// Painting and the palette read the colour table and every pixel row, so
// refuse a picture whose parts would lie beyond its bytes.
bool IsReadableDib(const BYTE* bytes, size_t size) {
    if (size < InfoHeaderSize) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    if (header.biSize < InfoHeaderSize || header.biSize > size) return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1) return false;
    if (header.biCompression != BI_RGB) return false;
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return false;
    }
    const uint64_t colorTableBytes = uint64_t{4} * ColorCountOf(header);
    const uint64_t rowBytes = (uint64_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const int64_t height = header.biHeight;
    const uint64_t rows = uint64_t(height < 0 ? -height : height);
    const uint64_t pixelStart = uint64_t(header.biSize) + colorTableBytes;
    return InfoHeaderSize + colorTableBytes <= size && pixelStart <= size && rowBytes * rows <= size - pixelStart;
}

} // namespace

ResourceDib::ResourceDib() : Header(nullptr), Memory(nullptr), Palette(nullptr) {}

ResourceDib::~ResourceDib() {
    if (Memory != nullptr) {
        platform::GlobalUnlock(Memory);
        platform::GlobalFree(Memory);
    }
    if (Palette != nullptr) platform::DeleteObject(Palette);
}

BOOL ResourceDib::LoadFromResource(HINSTANCE instance, LPCSTR name, LPCSTR type) {
    HRSRC found = platform::FindResourceA(instance, name, type);
    if (found == nullptr) return FALSE;
    size_t size = platform::SizeofResource(instance, found);
    HGLOBAL loaded = platform::LoadResource(instance, found);
    if (loaded == nullptr) return FALSE;
    const BYTE* source = static_cast<const BYTE*>(platform::LockResource(loaded));
    if (source == nullptr) return FALSE;
    if (!IsBitmapType(type)) {
        // Any other type holds a whole bitmap file.
        if (size < FileHeaderSize) return FALSE;
        source += FileHeaderSize;
        size -= FileHeaderSize;
    }
    if (!IsReadableDib(source, size)) return FALSE;

    Memory = platform::GlobalAlloc(GHND, size);
    if (Memory == nullptr) return FALSE;
    void* copy = platform::GlobalLock(Memory);
    if (copy == nullptr) return FALSE;
    std::memcpy(copy, source, size);
    Header = static_cast<BITMAPINFOHEADER*>(copy);
    platform::FreeResource(loaded);
    return TRUE;
}

int ResourceDib::ColorCount() const { return static_cast<int>(ColorCountOf(*Header)); }

HPALETTE ResourceDib::GetPalette() {
    if (Palette != nullptr) return Palette;
    const int count = ColorCount();
    if (count <= 0) return Palette;

    // Eight entries to spare beyond what a LOGPALETTE of count entries needs.
    HGLOBAL block = platform::GlobalAlloc(GHND, (size_t(count) + 8) * 4);
    if (block == nullptr) return nullptr;
    auto* logical = static_cast<LOGPALETTE*>(platform::GlobalLock(block));
    if (logical == nullptr) {
        platform::GlobalFree(block);
        return nullptr;
    }
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    const BYTE* colorTable = reinterpret_cast<const BYTE*>(Header) + InfoHeaderSize;
    for (int i = 0; i < count; ++i) {
        RGBQUAD color;
        std::memcpy(&color, colorTable + 4 * size_t(i), sizeof color);
        PALETTEENTRY& entry = logical->palPalEntry[i];
        entry.peRed = color.rgbRed;
        entry.peGreen = color.rgbGreen;
        entry.peBlue = color.rgbBlue;
        entry.peFlags = 0;
    }
    Palette = platform::CreatePalette(logical);
    platform::GlobalUnlock(block);
    platform::GlobalFree(block);
    return Palette;
}

const BYTE* ResourceDib::Bits() const {
    return reinterpret_cast<const BYTE*>(Header) + Header->biSize + 4 * size_t(ColorCount());
}
