// The tests' names and their window as plain C++, for code that needs no Win32: the
// test table in Bench.cpp is checked against these names when it compiles.
#pragma once

#include <cstdint>

// Tests are numbered 1 to TEST_COUNT; index 0 of every per-test array is unused.
constexpr int TEST_COUNT = 7;

// A test runs until strictly more than this many milliseconds have passed.
constexpr std::uint32_t TEST_WINDOW_MS = 10000;

constexpr const char *TEST_NAMES[TEST_COUNT + 1] = {"",          "Pixel",   "Line",   "Rectangle",
                                                    "RoundRect", "Ellipse", "BitBlt", "TextOut"};
