// Graphics: device contexts, the stock font and text extents, palettes, drawing.
#include "tests/fake/fake_platform.h"

#include <cstring>

using namespace fake;

namespace {

const HDC ScreenDC = AsHandle<HDC>(StockHandle(Stock::ScreenDC));
const HDC WindowDC = AsHandle<HDC>(StockHandle(Stock::WindowDC));
const HDC PaintDC = AsHandle<HDC>(StockHandle(Stock::PaintDC));

HGDIOBJ FontIn(HDC dc) {
    auto found = world.state.selectedFont.find(dc);
    return found != world.state.selectedFont.end() ? found->second : SystemFont;
}

// Default GUI font: 6 pixels a character, 13 high; the system font is wider and taller.
SIZE DefaultMeasure(HGDIOBJ font, const std::string& text) {
    const bool gui = font == DefaultGuiFont;
    return SIZE{static_cast<LONG>(text.size()) * (gui ? 6 : 8), gui ? 13 : 16};
}

uint32_t Checksum(const uint8_t* bytes, size_t size) {
    uint32_t sum = 2166136261u;
    for (size_t i = 0; i < size; ++i) sum = (sum ^ bytes[i]) * 16777619u;
    return sum;
}

} // namespace

namespace platform {

HDC GetDC(HWND window) {
    if (Fails("GetDC")) return nullptr;
    ++world.state.openDCs;
    const HDC dc = window == nullptr ? ScreenDC : WindowDC;
    world.state.selectedFont[dc] = SystemFont;
    return dc;
}

int ReleaseDC(HWND /*window*/, HDC dc) {
    Fails("ReleaseDC");
    if (dc == nullptr) return 0;
    --world.state.openDCs;
    if (FontIn(dc) != SystemFont) ++world.record.releasedWithFontSelected;
    return 1;
}

HDC BeginPaint(HWND /*window*/, LPPAINTSTRUCT paint) {
    std::memset(paint, 0, sizeof *paint);
    if (Fails("BeginPaint")) return nullptr;
    ++world.state.openPaints;
    paint->hdc = PaintDC;
    world.state.selectedPalette[PaintDC] = nullptr;
    return PaintDC;
}

BOOL EndPaint(HWND /*window*/, const PAINTSTRUCT* /*paint*/) {
    Fails("EndPaint");
    --world.state.openPaints;
    return TRUE;
}

int GetDeviceCaps(HDC /*dc*/, int index) {
    Fails("GetDeviceCaps", std::to_string(index));
    if (index == HORZRES) return world.knobs.screenWidth;
    if (index == VERTRES) return world.knobs.screenHeight;
    return 0;
}

HGDIOBJ GetStockObject(int object) {
    if (Fails("GetStockObject", std::to_string(object))) return nullptr;
    if (object == DEFAULT_GUI_FONT) return DefaultGuiFont;
    if (object == SYSTEM_FONT) return SystemFont;
    return nullptr;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (Fails("SelectObject") || dc == nullptr || object == nullptr) return nullptr;
    const HGDIOBJ previous = FontIn(dc);
    world.state.selectedFont[dc] = object;
    return previous;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    const std::string measured(text, static_cast<size_t>(std::max(length, 0)));
    if (Fails("GetTextExtentPoint32A", measured)) return FALSE;
    world.record.measured.push_back(measured);
    *size = world.knobs.measure ? world.knobs.measure(FontIn(dc), measured) : DefaultMeasure(FontIn(dc), measured);
    return TRUE;
}

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (Fails("CreatePalette")) return nullptr;
    PaletteRecord record;
    record.version = palette->palVersion;
    record.entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    const uintptr_t handle = world.state.handles.Issue(Kind::Palette);
    world.state.palettes[handle] = record;
    return AsHandle<HPALETTE>(handle);
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL /*forceBackground*/) {
    Fails("SelectPalette");
    if (palette == nullptr) return nullptr; // as on Windows: no effect
    const HPALETTE previous = world.state.selectedPalette[dc];
    world.state.selectedPalette[dc] = palette;
    return previous;
}

UINT RealizePalette(HDC /*dc*/) {
    Fails("RealizePalette");
    ++world.record.realized;
    return 0;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (Fails("DeleteObject")) return FALSE;
    auto found = world.state.palettes.find(ValueOf(object));
    if (found == world.state.palettes.end() || found->second.deleted) return FALSE;
    found->second.deleted = true;
    return TRUE;
}

int StretchDIBits(HDC dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (Fails("StretchDIBits")) return 0;
    // Read the header, colour table and every pixel row, as the real call would.
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const size_t rowBytes = (size_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const size_t rows = size_t(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    const size_t colors =
        header.biClrUsed != 0 ? header.biClrUsed : (header.biBitCount <= 8 ? 1u << header.biBitCount : 0);
    uint32_t checksum = Checksum(reinterpret_cast<const uint8_t*>(info), header.biSize + 4 * colors);
    checksum ^= Checksum(static_cast<const uint8_t*>(bits), rowBytes * rows);
    world.record.drawings.push_back({destX, destY, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight, bits, info,
                                     usage, rop, world.state.selectedPalette[dc], checksum});
    return static_cast<int>(rows);
}

} // namespace platform
