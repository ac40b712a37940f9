// Small services of the program: the single-instance guard, the fatal error box,
// the end of the process and text conversion. The size of the drawing area is
// QuenzelRun's too: see Display.h.
#pragma once

#include "Display.h"

// Returns only when no copy of the program runs; otherwise brings that copy's
// window forward and ends this process with exit code 0. Both the class name and
// the title must match.
void CheckSingleInstance(const WCHAR *className, const WCHAR *title);

// Shows the fatal error box and ends the process with exit code 1.
void FatalError(HWND owner, const WCHAR *message);

// Ends the process at once with the given exit code, without further clean-up.
void EndProcess(UINT code);

// Decimal text of a signed 32-bit integer.
WideString IntToWStr(INT value);

// UTF-16 text in the width of this flavour's platform calls (the desktop's system
// code page, or unchanged on the handheld).
Text ToText(const WideString &wide);
