// What the user reads: the intro, the result screen of each test and the summary.
#pragma once

// Paints the whole drawing area white.
void ClearScreen();

// Draws the screen Bench.ScreenIndex selects: 0 (or less) the intro, 1 to 7 that
// test's result, 8 (or more) the summary. Draws only texts, on a cleared screen.
void PaintScreen();
