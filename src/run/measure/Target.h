// Where QuenzelRun draws: a window like the interactive program's, or a memory DC
// on a DIB section of a chosen size and depth ("off screen").
#pragma once

#include "Record.h"
#include "UTypes.h"

#include <string>

struct Target {
    HDC Memory = nullptr; // the off-screen DC; null on the window
    HBITMAP Bitmap = nullptr;
    HGDIOBJ OldBitmap = nullptr;
    INT Bits = 32; // off screen: bits per pixel, 1, 8, 16, 24 or 32

    // A width of 0 opens the window; either way the drawing area's size goes to
    // Bench.ScreenWidth and Bench.ScreenHeight. False when it cannot be made.
    bool Open(INT width, INT height, INT depth);
    // Gives the window or the bitmap back.
    void Close();

    // A DC to draw on, and its release.
    HDC Obtain() const;
    void Release(HDC dc) const;
    // Whether what was drawn on dc (from Obtain) can have reached the drawing area:
    // the DC is still one, and on the window, the window still exists and shows some
    // of itself. Asked after a sample, never during one.
    bool Reached(HDC dc) const;

    // White, as the interactive program's screen is when a test starts; then lets
    // the window system catch up (never during a test).
    void Clear() const;

    const char *Name() const;
    // Bits per pixel of the drawing area.
    INT Depth() const;
    // The drawing area's pixels, read back from the window's area on the screen or
    // from the bitmap; none when no copy can be made.
    Pixels Read() const;
    // The drawing area as a 24-bit BMP file; empty when no copy can be made.
    std::string Snapshot() const;
};
