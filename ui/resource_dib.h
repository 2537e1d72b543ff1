// A packed device-independent bitmap copied out of the resources, with its palette.
#pragma once

#include "platform/platform.h"

class ResourceDib {
  public:
    ResourceDib();
    ~ResourceDib();
    ResourceDib(const ResourceDib&) = delete;
    ResourceDib& operator=(const ResourceDib&) = delete;

    // True when the picture was copied; a picture that cannot be read safely is refused.
    BOOL LoadFromResource(HINSTANCE instance, LPCSTR name, LPCSTR type);
    // Number of colour-table entries. Needs a loaded picture.
    int ColorCount() const;
    // The palette from the colour table, built on first use; null without one.
    HPALETTE GetPalette();
    // First pixel row. Needs a loaded picture.
    const BYTE* Bits() const;

    BITMAPINFOHEADER* Header; // the locked copy; null while nothing is loaded
    HGLOBAL Memory;           // the block holding the copy
    HPALETTE Palette;         // built from the colour table on first demand
};

extern ResourceDib banner;
