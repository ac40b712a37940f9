// The wide suite: QuenzelRun's second table of tests. Each draws one operation at one
// size, mode or style, so that a change in speed can be named by the drawing path it
// touched. Plain C++: names, families and what each draws; the drawing itself is in
// the Wide*.cpp files, a family each.
#pragma once

#include <cstdint>
#include <string>

// The operation a wide test times.
enum class WideOp : std::uint8_t {
    SetPixel,
    SetPixelV,
    GetPixel,
    Line,
    Polyline,
    PolyBezier,
    Rectangle,
    FillRect,
    PatBlt,
    Ellipse,
    RoundRect,
    Pie,
    Chord,
    Arc,
    Polygon,
    PolyPolygon,
    BitBlt,
    Scroll,
    MonoToColour,
    ColourToMono,
    StretchBlt,
    StretchDIBits,
    SetDIBitsToDevice,
    GetDIBits,
    MaskBlt,
    TransparentBlt,
    AlphaBlend,
    TextOut,
    ExtTextOut,
    DrawText,
    FillRgn,
    PaintRgn,
    ClipLines,
};

// The variants an operation's Mode names, by the kind of operation.
enum WidePen { PEN_THIN, PEN_WIDTH5, PEN_WIDTH20, PEN_DASH, PEN_DOT };
enum WideBrush { BRUSH_SOLID, BRUSH_HATCH, BRUSH_PATTERN };
enum WideRop {
    ROP_PATCOPY,
    ROP_PATINVERT,
    ROP_DSTINVERT,
    ROP_SRCCOPY,
    ROP_SRCAND,
    ROP_SRCPAINT,
    ROP_SRCINVERT,
    ROP_NOTSRCCOPY,
};
enum WideFill { FILL_ALTERNATE, FILL_WINDING };
// A stretch's mode and scale: half the source's side, or twice.
enum WideStretch {
    STRETCH_COLOR_HALF,
    STRETCH_COLOR_DOUBLE,
    STRETCH_HALFTONE_HALF,
    STRETCH_HALFTONE_DOUBLE
};
// A text's flags.
enum WideText {
    TEXT_PLAIN = 0,
    TEXT_BOLD = 1,
    TEXT_ITALIC = 2,
    TEXT_OPAQUE = 4,
    TEXT_LONG = 8,
    TEXT_CLIPPED = 16,
    TEXT_SHORT = 32,
    TEXT_BACKGROUND = 64
};
enum WideRegion { REGION_RECT, REGION_ELLIPSE };

struct WideTest {
    const char *Name;
    const char *Family;
    WideOp Op;
    int Size; // pixels (a line's length, a shape's or a copy's side); a text's points
    int Mode; // the variant, of the enum above that fits Op
    const char *Says;
};

// Tests are numbered 1 to WIDE_COUNT, as the seven are 1 to 7; entry 0 is unused.
constexpr int WIDE_COUNT = 149;
extern const WideTest WIDE_TABLE[WIDE_COUNT + 1];

// The families, in the table's order.
extern const char *const WIDE_FAMILIES[6];

// The side in pixels a surface must hold for the test (0: any surface).
int WideReach(const WideTest &test);

// Whether the handheld platform offers the test's operation in that mode.
bool OnHandheld(const WideTest &test);

// Where the test's random values start: a state of its own, from its name, whatever
// ran before it.
std::uint32_t WideSeed(const WideTest &test);

// The test of that name (exactly), or 0.
int WideIndex(const std::string &name);
