// The striped off-screen picture that TestBitBlt copies from: one random colour
// per pixel row, the size of the drawing area, built once at start-up.
#pragma once

// Builds the picture into Bench.SourceDC; takes 3 draws per row, top row first.
void SetupSourceBitmap();

// Gives the memory DC its own bitmap back, then deletes the DC, then the picture.
void ReleaseSourceBitmap();
