// Small services of the program: the single-instance guard, the fatal error box,
// the size of the drawing area, the end of the process and text conversion.
#pragma once

#include "UTypes.h"

// Returns only when no copy of the program runs; otherwise brings that copy's
// window forward and ends this process with exit code 0. Both the class name and
// the title must match.
void CheckSingleInstance(const WCHAR *className, const WCHAR *title);

// Shows the fatal error box and ends the process with exit code 1.
void FatalError(HWND owner, const WCHAR *message);

// Ends the process at once with the given exit code, without further clean-up.
void EndProcess(UINT code);

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

// Decimal text of a signed 32-bit integer.
WideString IntToWStr(INT value);

// UTF-16 text in the width of this flavour's platform calls (the desktop's system
// code page, or unchanged on the handheld).
Text ToText(const WideString &wide);
