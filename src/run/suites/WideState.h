// Inside the wide suite's drawing: what a test holds between its set-up and its
// release, and what its families share. Each family's file holds its workloads and
// their set-up, as the families of a suite of drawing tests are each a file of their
// own: lines, shapes, copies, text and regions.
#pragma once

#include "Bench.h"
#include "Image.h"
#include "Random.h"
#include "Wide.h"
#include "Workloads.h"

#include <vector>

// Shapes made ready in the set-up, one of which each call draws: the timed loop then
// makes one random draw and the drawing call, nothing else.
constexpr INT PLACES = 16;
constexpr UINT SEEN = 32; // the last values GetPixel read, kept for its picture

// A test's workload for each source of its random values: the generator itself, and
// the tape a replay records and reads back.
struct Workload {
    TestProc Live, Record, Replay;
};

// Everything a wide test holds between its set-up and its release.
struct WideState {
    const WideTest *Test;
    INT Side;            // the test's size in pixels
    INT Margin;          // half a wide pen's width, kept from the surface's edges
    COLORREF Ink, Paper; // the test's two colours
    HPEN Pen;
    HBRUSH Brush;
    HBITMAP Pattern; // the pattern brush's 8x8 bitmap
    HFONT Font;
    HGDIOBJ OldPen, OldBrush, OldFont;
    HDC SourceDC; // a copy's source, or a colour copy's monochrome target
    HBITMAP Source, Mask;
    HGDIOBJ OldSource;
    HRGN Regions[PLACES];
    HRGN Clip, OldClip;
    bool HadClip;
    COLORREF OldText, OldBack;
    INT OldBackMode, OldFill, OldStretch;
    POINT OldOrigin;
    bool MovedOrigin;
    SIZE TextSize; // the text's extent in the test's font
    COLORREF Seen[SEEN];
    UINT Reads;
    // What the workload would otherwise work out in every call: the raster operation,
    // a stretch's source side, a text's length, box width and ExtTextOut options.
    DWORD Rop;
    INT From, Length, BoxWidth;
    UINT TextOptions;
    std::vector<POINT> Points;
    std::vector<DWORD> Image; // a 32-bit image put or read by the DIB calls
    Image32 Info;
    Workload Workload;
};

extern WideState Wide;
#define WORKLOAD(name)                                                                             \
    Workload {                                                                                     \
        name<LiveDraw>, name<RecordDraw>, name<ReplayDraw>                                         \
    }

// Where a square of the test's side fits in the surface, a wide pen's half width
// (Wide.Margin) from its edges: a left or top edge. A place's draws are separate
// statements: their order must not depend on the order in which the compiler
// evaluates a call's arguments.
template <class Draw> INT Across() {
    return Wide.Margin + Draw::Int(Bench.ScreenWidth - Wide.Side - 2 * Wide.Margin + 1);
}
template <class Draw> INT Down() {
    return Wide.Margin + Draw::Int(Bench.ScreenHeight - Wide.Side - 2 * Wide.Margin + 1);
}

// One of the shapes placed in the set-up, each of points points.
template <class Draw> const POINT *Place(INT points) {
    return Wide.Points.data() + Draw::Int(PLACES) * points;
}

// The set-up's parts the families share.
DWORD RopCode(INT rop);
HPEN MakePen(INT mode, COLORREF colour);
HBRUSH MakeBrush(INT mode, COLORREF colour);
void SelectPen(HPEN pen);
void SelectBrush(HBRUSH brush);
// Bands of the test's two colours and white on white: a picture for copies to come
// from and for reads to find.
void PaintBands(HDC dc, INT width, INT height);
// A memory DC holding the bitmap: a copy's source, or a reading's target.
void HoldSource(HBITMAP bitmap);
// A source of width x height of the surface's format, painted with bands.
void MakeSource(INT width, INT height);

// A monochrome bitmap of side s whose pixel (x, y) is bit(x, y): rows of whole 16-bit
// words, the leftmost pixel in a byte's high bit.
template <class Bit> HBITMAP MonoBitmap(INT s, Bit bit) {
    const INT stride = (s + 15) / 16 * 2;
    std::vector<BYTE> rows(static_cast<size_t>(stride * s), 0);
    for (INT y = 0; y < s; y++) {
        for (INT x = 0; x < s; x++) {
            if (bit(x, y)) {
                rows[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> x % 8);
            }
        }
    }
    return CreateBitmap(s, s, 1, 1, rows.data());
}

// Sixteen shapes of points points each, each in a square of the test's side somewhere
// in the surface; point k of a shape comes from shape(k).
template <class Shape> void PlaceShapes(INT points, Shape shape) {
    Wide.Points.resize(static_cast<size_t>(PLACES * points));
    for (INT place = 0; place < PLACES; place++) {
        const INT x = Across<LiveDraw>(), y = Down<LiveDraw>();
        for (INT k = 0; k < points; k++) {
            POINT &p = Wide.Points[static_cast<size_t>(place * points + k)];
            p = shape(k);
            p.x += x;
            p.y += y;
        }
    }
}

// The text tests' line, their font, and how many of its characters a test draws.
extern const TCHAR TEXT_LINE[];
HFONT MakeFont(const WideTest &test);
INT TextLength(INT mode);
// DrawText's box: 100 pixels wide, eight lines of the font high.
constexpr INT WORDS_WIDTH = 100, WORDS_LINES = 8;

// Each family's set-up of a test of its own, on Bench.DrawDC, giving its workload.
Workload SetUpLines(const WideTest &test); // points and lines
Workload SetUpShapes(const WideTest &test);
Workload SetUpCopies(const WideTest &test);
Workload SetUpText(const WideTest &test);
Workload SetUpRegions(const WideTest &test);
// The lines' workload, which the clip region's test draws too.
Workload LineWorkload();
