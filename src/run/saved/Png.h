// A test's picture as a file a person opens: PNG, written and read back.
#pragma once

#include "Record.h"

#include <string>

// The picture as a PNG file (8 bits a channel, RGB); empty when it cannot be made.
std::string PngOf(const Pixels &picture);

// The pixels of a PNG file; false when the bytes are no PNG, or one larger than
// 16384 pixels a side.
bool ReadPng(const std::string &png, Pixels &picture);

// A test's picture's file name in a pictures folder: "BitBlt.SRCCOPY.100.png"; with
// a suffix, "BitBlt.SRCCOPY.100-diff.png".
std::string PictureFile(const std::string &test, const std::string &suffix = "");
