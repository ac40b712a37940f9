// The seven workloads. Each draws exactly one randomly placed, sized and coloured
// primitive on Bench.DrawDC and leaves the DC's objects and colours as it found them.
#pragma once

void TestPixel();
void TestLine();
void TestRectangle();
void TestRoundRect();
void TestEllipse();
void TestBitBlt();
void TestTextOut();
