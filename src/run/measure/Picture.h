// What a test drew, as pixels and as a digest: both sides of a comparison must have
// drawn the same picture for their speeds to be compared.
#pragma once

#include "UTypes.h"

#include <string>
#include <vector>

// The area's pixels as 0x00RRGGBB, row by row from the top, copied from dc whatever
// its depth; empty when no copy can be made.
std::vector<DWORD> ReadArea(HDC dc, INT width, INT height);

// 16 hexadecimal digits of the pixels (64-bit FNV-1a); empty for no pixels.
std::string DigestOf(const std::vector<DWORD> &pixels);
