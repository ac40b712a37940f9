// What a test drew, as a person can see it: its pixels as a digest, written as a PNG
// file and read back, and where two pictures differ, how and an image that shows it.
// Plain C++: the pixels are read from the platform elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Values;
};

// 16 hexadecimal digits of the pixels (64-bit FNV-1a over each pixel's four bytes,
// the lowest first); empty for no pixels.
std::string DigestOf(const std::vector<std::uint32_t> &pixels);

// The picture as a PNG file (8 bits a channel, RGB); empty when it cannot be made.
std::string PngOf(const Pixels &picture);

// The pixels of a PNG file; false when the bytes are no PNG, or one larger than
// 16384 pixels a side.
bool ReadPng(const std::string &png, Pixels &picture);

// Where two pictures of one size differ: how many pixels, the box that holds them
// (inclusive), and the largest difference of a channel.
struct PictureDifference {
    long long Pixels = 0;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Largest = 0;
};

// False when the two are not of one size.
bool Differ(const Pixels &a, const Pixels &b, PictureDifference &difference);

// The two pictures side by side, and third a dimmed copy of the first on which the
// pixels that differ stand in magenta. Of one size.
Pixels DifferenceImage(const Pixels &a, const Pixels &b);

// The difference in words: "12 pixels in x 40 to 52, y 10 to 20, by at most 1 in a
// channel".
std::string DifferenceText(const PictureDifference &difference);

// A test's picture's file name in a pictures folder: "BitBlt.SRCCOPY.100.png"; with
// a suffix, "BitBlt.SRCCOPY.100-diff.png".
std::string PictureFile(const std::string &test, const std::string &suffix = "");
