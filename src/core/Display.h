// The drawing area both programs draw on: the top-most window that fills the
// screen, and its white ground.
#pragma once

#include "UTypes.h"

// Takes the mutex held by the copy of the benchmark that draws on the display, so
// that a second copy, however quickly started, steps aside: two benchmarks at once
// spoil each other's scores. False when another copy holds it; held until the
// process ends.
bool TakeDisplayMutex();

// Creates the visible top-most window of that class and title and makes it fill the
// screen (see FillScreen); null when no window can be made.
HWND CreateMainWindow(const TCHAR *className, const TCHAR *title, HINSTANCE instance);

#ifdef UNDER_CE
// The whole screen, from the system metrics.
void GetScreenSize(SizePair &size);
#else
// The client area of the window.
void GetClientSize(HWND window, SizePair &size);
#endif

// Makes the main window fill the screen, the desktop by maximising it, the
// handheld by hiding the shell's bars and covering the whole screen, and stores the
// size of the drawing area in Bench.ScreenWidth and Bench.ScreenHeight.
void FillScreen(HWND window);

// Paints the whole drawing area of dc white.
void PaintWhite(HDC dc);
