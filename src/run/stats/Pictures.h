// Two drawings compared: a picture's digest, which two runs' files carry, and where
// two pictures differ, how and an image that shows it.
#pragma once

#include "Record.h"

#include <cstdint>
#include <string>
#include <vector>

// 16 hexadecimal digits of the pixels (64-bit FNV-1a over each pixel's four bytes,
// the lowest first); empty for no pixels.
std::string DigestOf(const std::vector<std::uint32_t> &pixels);

// False when the two are not of one size.
bool Differ(const Pixels &a, const Pixels &b, PictureDifference &difference);

// The two pictures side by side, and third a dimmed copy of the first on which the
// pixels that differ stand in magenta. Of one size.
Pixels DifferenceImage(const Pixels &a, const Pixels &b);
