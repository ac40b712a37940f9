#include "Workloads.h"

#include <cstdlib>

#include "Bench.h"
#include "Random.h"

// Each workload is written once, for any source of random values (see Random.h);
// TestPixel and the others take theirs from the generator.

template <class Draw> static void Pixel() {
    const INT x = Draw::Int(Bench.ScreenWidth);
    const INT y = Draw::Int(Bench.ScreenHeight);
    SetPixel(Bench.DrawDC, x, y, RandomColor<Draw>());
}

template <class Draw> static void Line() {
    const INT x1 = Draw::Int(Bench.ScreenWidth);
    const INT y1 = Draw::Int(Bench.ScreenHeight);
    const INT x2 = Draw::Int(Bench.ScreenWidth);
    const INT y2 = Draw::Int(Bench.ScreenHeight);
    const HPEN pen = RandomPen<Draw>();
    const HGDIOBJ oldPen = SelectObject(Bench.DrawDC, pen);
    MoveToEx(Bench.DrawDC, x1, y1, nullptr);
    LineTo(Bench.DrawDC, x2, y2);
    SelectObject(Bench.DrawDC, oldPen);
    DeleteObject(pen);
}

// The shapes' common frame: the brush is drawn, created and selected before any
// draw of the pen, and the pen is put back and deleted before the brush.
enum Shape { ShapeRectangle, ShapeRoundRect, ShapeEllipse };

template <class Draw, Shape shape> static void DrawShape() {
    const INT left = Draw::Int(Bench.ScreenWidth);
    const INT top = Draw::Int(Bench.ScreenHeight);
    const INT right = Draw::Int(Bench.ScreenWidth);
    const INT bottom = Draw::Int(Bench.ScreenHeight);
    INT cornerWidth = 0;
    INT cornerHeight = 0;
    if (shape == ShapeRoundRect) {
        cornerWidth = Draw::Int(abs(left - right) / 2);
        cornerHeight = Draw::Int(abs(top - bottom) / 2);
    }

    const HBRUSH brush = CreateSolidBrush(RandomColor<Draw>());
    const HGDIOBJ oldBrush = SelectObject(Bench.DrawDC, brush);
    const HPEN pen = RandomPen<Draw>();
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

template <class Draw> static void BlockCopy() {
    const INT x = Draw::Int(Bench.ScreenWidth);
    const INT y = Draw::Int(Bench.ScreenHeight);
    const INT sourceX = Draw::Int(Bench.ScreenWidth);
    const INT sourceY = Draw::Int(Bench.ScreenHeight);
    // Bounded by the larger of the two corners, so both rectangles stay inside the
    // area and never reach its last row or column.
    const INT width = Draw::Int(Bench.ScreenWidth - (x > sourceX ? x : sourceX));
    const INT height = Draw::Int(Bench.ScreenHeight - (y > sourceY ? y : sourceY));
    BitBlt(Bench.DrawDC, x, y, width, height, Bench.SourceDC, sourceX, sourceY, SRCCOPY);
}

// Int(8) is below 8, so the text fits its buffer; the x86_64 compiler cannot see that
// through RandomInt and would warn of a write past its end.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
template <class Draw> static void ShortText() {
    RECT rect;
    rect.left = Draw::Int(Bench.ScreenWidth);
    rect.top = Draw::Int(Bench.ScreenHeight);
    rect.right = rect.left + Draw::Int(Bench.ScreenWidth - rect.left);
    rect.bottom = rect.top + 16;

    LOGFONT logFont = {};
    logFont.lfWeight = Draw::Int(1000);
    logFont.lfItalic = static_cast<BYTE>(Draw::Int(2));
    logFont.lfUnderline = static_cast<BYTE>(Draw::Int(2));
    logFont.lfStrikeOut = static_cast<BYTE>(Draw::Int(2));
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const HFONT font = CreateFontIndirect(&logFont);
    const HGDIOBJ oldFont = SelectObject(Bench.DrawDC, font);

    const COLORREF oldBkColor = SetBkColor(Bench.DrawDC, RandomColor<Draw>());
    const COLORREF oldTextColor = SetTextColor(Bench.DrawDC, RandomColor<Draw>());

    // At most 8 characters: a buffer on the stack, so the timed loop never allocates.
    TCHAR text[8];
    const INT length = Draw::Int(8) + 1;
    for (INT i = 0; i < length; i++) {
        text[i] = static_cast<TCHAR>(Draw::Int(96) + 32);
    }
    ExtTextOut(Bench.DrawDC, rect.left, rect.top, ETO_OPAQUE, &rect, text, length, nullptr);

    SetBkColor(Bench.DrawDC, oldBkColor);
    SetTextColor(Bench.DrawDC, oldTextColor);
    SelectObject(Bench.DrawDC, oldFont);
    DeleteObject(font);
}
#pragma GCC diagnostic pop

void TestPixel() {
    Pixel<LiveDraw>();
}

void TestLine() {
    Line<LiveDraw>();
}

void TestRectangle() {
    DrawShape<LiveDraw, ShapeRectangle>();
}

void TestRoundRect() {
    DrawShape<LiveDraw, ShapeRoundRect>();
}

void TestEllipse() {
    DrawShape<LiveDraw, ShapeEllipse>();
}

void TestBitBlt() {
    BlockCopy<LiveDraw>();
}

void TestTextOut() {
    ShortText<LiveDraw>();
}

INT *DrawTape;
size_t DrawTapeAt;

// The seven workloads for one source of values, indexed like the test table.
#define WORKLOADS(Draw)                                                                            \
    {                                                                                              \
        nullptr, Pixel<Draw>, Line<Draw>, DrawShape<Draw, ShapeRectangle>,                         \
            DrawShape<Draw, ShapeRoundRect>, DrawShape<Draw, ShapeEllipse>, BlockCopy<Draw>,       \
            ShortText<Draw>                                                                        \
    }

const TestProc RecordProcs[TEST_COUNT + 1] = WORKLOADS(RecordDraw);
const TestProc ReplayProcs[TEST_COUNT + 1] = WORKLOADS(ReplayDraw);
