#include "Workloads.h"

#include <cstdlib>

#include "Bench.h"
#include "Random.h"

void TestPixel() {
    const INT x = RandomInt(Bench.ScreenWidth);
    const INT y = RandomInt(Bench.ScreenHeight);
    SetPixel(Bench.DrawDC, x, y, RandomColor());
}

void TestLine() {
    const INT x1 = RandomInt(Bench.ScreenWidth);
    const INT y1 = RandomInt(Bench.ScreenHeight);
    const INT x2 = RandomInt(Bench.ScreenWidth);
    const INT y2 = RandomInt(Bench.ScreenHeight);
    const HPEN pen = RandomPen();
    const HGDIOBJ oldPen = SelectObject(Bench.DrawDC, pen);
    MoveToEx(Bench.DrawDC, x1, y1, nullptr);
    LineTo(Bench.DrawDC, x2, y2);
    SelectObject(Bench.DrawDC, oldPen);
    DeleteObject(pen);
}

// The shapes' common frame: the brush is drawn, created and selected before any
// draw of the pen, and the pen is put back and deleted before the brush.
enum Shape { ShapeRectangle, ShapeRoundRect, ShapeEllipse };

static inline void DrawShape(Shape shape) {
    const INT left = RandomInt(Bench.ScreenWidth);
    const INT top = RandomInt(Bench.ScreenHeight);
    const INT right = RandomInt(Bench.ScreenWidth);
    const INT bottom = RandomInt(Bench.ScreenHeight);
    INT cornerWidth = 0;
    INT cornerHeight = 0;
    if (shape == ShapeRoundRect) {
        cornerWidth = RandomInt(abs(left - right) / 2);
        cornerHeight = RandomInt(abs(top - bottom) / 2);
    }

    const HBRUSH brush = CreateSolidBrush(RandomColor());
    const HGDIOBJ oldBrush = SelectObject(Bench.DrawDC, brush);
    const HPEN pen = RandomPen();
    const HGDIOBJ oldPen = SelectObject(Bench.DrawDC, pen);

    switch (shape) {
    case ShapeRectangle:
        Rectangle(Bench.DrawDC, left, top, right, bottom);
        break;
    case ShapeRoundRect:
        RoundRect(Bench.DrawDC, left, top, right, bottom, cornerWidth, cornerHeight);
        break;
    case ShapeEllipse:
        Ellipse(Bench.DrawDC, left, top, right, bottom);
        break;
    }

    SelectObject(Bench.DrawDC, oldPen);
    DeleteObject(pen);
    SelectObject(Bench.DrawDC, oldBrush);
    DeleteObject(brush);
}

void TestRectangle() {
    DrawShape(ShapeRectangle);
}

void TestRoundRect() {
    DrawShape(ShapeRoundRect);
}

void TestEllipse() {
    DrawShape(ShapeEllipse);
}

void TestBitBlt() {
    const INT x = RandomInt(Bench.ScreenWidth);
    const INT y = RandomInt(Bench.ScreenHeight);
    const INT sourceX = RandomInt(Bench.ScreenWidth);
    const INT sourceY = RandomInt(Bench.ScreenHeight);
    // Bounded by the larger of the two corners, so both rectangles stay inside the
    // area and never reach its last row or column.
    const INT width = RandomInt(Bench.ScreenWidth - (x > sourceX ? x : sourceX));
    const INT height = RandomInt(Bench.ScreenHeight - (y > sourceY ? y : sourceY));
    BitBlt(Bench.DrawDC, x, y, width, height, Bench.SourceDC, sourceX, sourceY, SRCCOPY);
}

void TestTextOut() {
    RECT rect;
    rect.left = RandomInt(Bench.ScreenWidth);
    rect.top = RandomInt(Bench.ScreenHeight);
    rect.right = rect.left + RandomInt(Bench.ScreenWidth - rect.left);
    rect.bottom = rect.top + 16;

    LOGFONT logFont = {};
    logFont.lfWeight = RandomInt(1000);
    logFont.lfItalic = static_cast<BYTE>(RandomInt(2));
    logFont.lfUnderline = static_cast<BYTE>(RandomInt(2));
    logFont.lfStrikeOut = static_cast<BYTE>(RandomInt(2));
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const HFONT font = CreateFontIndirect(&logFont);
    const HGDIOBJ oldFont = SelectObject(Bench.DrawDC, font);

    const COLORREF oldBkColor = SetBkColor(Bench.DrawDC, RandomColor());
    const COLORREF oldTextColor = SetTextColor(Bench.DrawDC, RandomColor());

    // At most 8 characters: a buffer on the stack, so the timed loop never allocates.
    TCHAR text[8];
    const INT length = RandomInt(8) + 1;
    for (INT i = 0; i < length; i++) {
        text[i] = static_cast<TCHAR>(RandomInt(96) + 32);
    }
    ExtTextOut(Bench.DrawDC, rect.left, rect.top, ETO_OPAQUE, &rect, text, length, nullptr);

    SetBkColor(Bench.DrawDC, oldBkColor);
    SetTextColor(Bench.DrawDC, oldTextColor);
    SelectObject(Bench.DrawDC, oldFont);
    DeleteObject(font);
}
