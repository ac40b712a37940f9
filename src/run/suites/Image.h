// A test's picture on the platform: a 32-bit image's header, and the drawing area read
// back as one, whatever its depth.
#pragma once

#include "UTypes.h"

#include <cstdint>
#include <vector>

// A 32-bit image's header, top-down, with the channels' masks (0x00RRGGBB), which the
// handheld platform requires at that depth and the desktop reads alike.
struct Image32 {
    BITMAPINFOHEADER Header;
    DWORD Masks[3];
};
void DescribeImage(Image32 &image, INT width, INT height);

// The area's pixels as 0x00RRGGBB, row by row from the top, copied from dc whatever
// its depth; empty when no copy can be made.
std::vector<std::uint32_t> ReadArea(HDC dc, INT width, INT height);
