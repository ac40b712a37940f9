#include "SourceBitmap.h"

#include "Bench.h"
#include "Random.h"

void SetupSourceBitmap() {
    Bench.DrawDC = GetDC(nullptr);
    Bench.SourceDC = CreateCompatibleDC(Bench.DrawDC);
    // Compatible with the screen, not with the memory DC, which would give a
    // monochrome bitmap.
    Bench.SourceBitmap =
        CreateCompatibleBitmap(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
    Bench.SourceOldBitmap = SelectObject(Bench.SourceDC, Bench.SourceBitmap);

    for (INT y = 0; y < Bench.ScreenHeight; y++) {
        const HPEN pen = CreatePen(PS_SOLID, 1, RandomColor());
        const HGDIOBJ oldPen = SelectObject(Bench.SourceDC, pen);
        MoveToEx(Bench.SourceDC, 0, y, nullptr);
        LineTo(Bench.SourceDC, Bench.ScreenWidth - 1, y);
        SelectObject(Bench.SourceDC, oldPen);
        DeleteObject(pen);
    }

    ReleaseDC(nullptr, Bench.DrawDC);
}

void ReleaseSourceBitmap() {
    SelectObject(Bench.SourceDC, Bench.SourceOldBitmap);
    DeleteDC(Bench.SourceDC);
    DeleteObject(Bench.SourceBitmap);
}
