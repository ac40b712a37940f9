#include "WideWorkloads.h"

#include "Bench.h"
#include "Picture.h"
#include "Random.h"

#include <vector>

namespace {

// Shapes made ready in the set-up, one of which each call draws: the timed loop then
// makes one random draw and the drawing call, nothing else.
constexpr INT PLACES = 16;
constexpr INT POLYLINE_POINTS = 32;
constexpr INT BEZIER_POINTS = 31; // ten joined curves
constexpr INT STAR_POINTS = 5;
constexpr INT TRIANGLES = 4;
constexpr UINT SEEN = 32; // the last values GetPixel read, kept for its picture

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
};

WideState Wide;

const TCHAR TEXT_LINE[] = TEXT("Quenzel draws this text to time it; each line holds sixty-four..");
static_assert(sizeof TEXT_LINE / sizeof TEXT_LINE[0] == 65, "64 characters and the end");
// DrawText's box: 100 pixels wide, eight lines of the font high.
constexpr INT WORDS_WIDTH = 100, WORDS_LINES = 8;

// Where a square of the test's side fits in the surface, a wide pen's half width
// (Wide.Margin) from its edges: a left or top edge.
INT Across() {
    return Wide.Margin + RandomInt(Bench.ScreenWidth - Wide.Side - 2 * Wide.Margin + 1);
}
INT Down() {
    return Wide.Margin + RandomInt(Bench.ScreenHeight - Wide.Side - 2 * Wide.Margin + 1);
}

// Where a box of the text's extent fits in the surface (a text too large for it is
// skipped): a left or top edge.
INT TextLeft(INT width) {
    return RandomInt(Bench.ScreenWidth - width + 1);
}
INT TextTop(INT height) {
    return RandomInt(Bench.ScreenHeight - height + 1);
}

DWORD RopCode(INT rop) {
    static const DWORD CODES[] = {PATCOPY, PATINVERT, DSTINVERT, SRCCOPY,
                                  SRCAND,  SRCPAINT,  SRCINVERT, NOTSRCCOPY};
    return CODES[rop];
}

// The workloads: one drawing call each, at a place drawn from the random source.

// A place's draws are separate statements: their order must not depend on the order in
// which the compiler evaluates a call's arguments.
void DrawSetPixel() {
    const INT x = RandomInt(Bench.ScreenWidth), y = RandomInt(Bench.ScreenHeight);
    SetPixel(Bench.DrawDC, x, y, Wide.Ink);
}

void DrawGetPixel() {
    const INT x = RandomInt(Bench.ScreenWidth), y = RandomInt(Bench.ScreenHeight);
    Wide.Seen[Wide.Reads++ % SEEN] = GetPixel(Bench.DrawDC, x, y);
}

void DrawLine() {
    const INT x = Across(), y = Down(), slant = RandomInt(Wide.Side);
    MoveToEx(Bench.DrawDC, x, y + slant, nullptr);
    LineTo(Bench.DrawDC, x + Wide.Side - 1, y + Wide.Side - 1 - slant);
}

const POINT *Place(INT points) {
    return Wide.Points.data() + RandomInt(PLACES) * points;
}

void DrawPolyline() {
    Polyline(Bench.DrawDC, Place(POLYLINE_POINTS), POLYLINE_POINTS);
}

void DrawRectangle() {
    const INT x = Across(), y = Down();
    Rectangle(Bench.DrawDC, x, y, x + Wide.Side, y + Wide.Side);
}

void DrawFillRect() {
    RECT box;
    box.left = Across();
    box.top = Down();
    box.right = box.left + Wide.Side;
    box.bottom = box.top + Wide.Side;
    FillRect(Bench.DrawDC, &box, Wide.Brush);
}

void DrawPatBlt() {
    const INT x = Across(), y = Down();
    PatBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.Rop);
}

void DrawEllipse() {
    const INT x = Across(), y = Down();
    Ellipse(Bench.DrawDC, x, y, x + Wide.Side, y + Wide.Side);
}

void DrawRoundRect() {
    const INT x = Across(), y = Down();
    RoundRect(Bench.DrawDC, x, y, x + Wide.Side, y + Wide.Side, Wide.Side / 4, Wide.Side / 4);
}

void DrawPolygon() {
    Polygon(Bench.DrawDC, Place(STAR_POINTS), STAR_POINTS);
}

void DrawBitBlt() {
    const INT x = Across(), y = Down();
    BitBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Rop);
}

void DrawScroll() {
    const INT x = Across(), y = Down(), fromX = Across(), fromY = Down();
    BitBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Bench.DrawDC, fromX, fromY, SRCCOPY);
}

void DrawToMono() {
    const INT x = Across(), y = Down();
    BitBlt(Wide.SourceDC, 0, 0, Wide.Side, Wide.Side, Bench.DrawDC, x, y, SRCCOPY);
}

void DrawStretchBlt() {
    const INT x = Across(), y = Down();
    StretchBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.From, Wide.From,
               SRCCOPY);
}

void DrawStretchDIBits() {
    const INT x = Across(), y = Down();
    StretchDIBits(Bench.DrawDC, x, y, Wide.Side, Wide.Side, 0, 0, Wide.Side, Wide.Side,
                  Wide.Image.data(), reinterpret_cast<BITMAPINFO *>(&Wide.Info), DIB_RGB_COLORS,
                  SRCCOPY);
}

void DrawSetDIBits() {
    const INT x = Across(), y = Down();
    SetDIBitsToDevice(Bench.DrawDC, x, y, Wide.Side, Wide.Side, 0, 0, 0, Wide.Side,
                      Wide.Image.data(), reinterpret_cast<BITMAPINFO *>(&Wide.Info),
                      DIB_RGB_COLORS);
}

void DrawMaskBlt() {
    const INT x = Across(), y = Down();
    // Where the mask is 1 the source is copied; where 0 the surface stays.
    MaskBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Mask, 0, 0,
            MAKEROP4(SRCCOPY, 0x00AA0029));
}

void DrawTransparentBlt() {
    const INT x = Across(), y = Down();
    TransparentBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Side,
                   Wide.Side, RGB(255, 255, 255));
}

// Half the source over half the surface.
constexpr BLENDFUNCTION HALF = {
    .BlendOp = AC_SRC_OVER, .BlendFlags = {}, .SourceConstantAlpha = 128, .AlphaFormat = {}};

void DrawAlphaBlend() {
    const INT x = Across(), y = Down();
    AlphaBlend(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Side, Wide.Side,
               HALF);
}

void DrawExtTextOut() {
    RECT box;
    box.left = TextLeft(Wide.TextSize.cx);
    box.top = TextTop(Wide.TextSize.cy);
    box.right = box.left + Wide.BoxWidth;
    box.bottom = box.top + Wide.TextSize.cy;
    ExtTextOut(Bench.DrawDC, box.left, box.top, Wide.TextOptions, &box, TEXT_LINE, Wide.Length,
               nullptr);
}

void DrawWords() {
    RECT box;
    box.left = TextLeft(WORDS_WIDTH);
    box.top = TextTop(Wide.TextSize.cy * WORDS_LINES);
    box.right = box.left + WORDS_WIDTH;
    box.bottom = box.top + Wide.TextSize.cy * WORDS_LINES;
    DrawText(Bench.DrawDC, TEXT_LINE, Wide.Length, &box, DT_WORDBREAK);
}

void DrawFillRgn() {
    FillRgn(Bench.DrawDC, Wide.Regions[RandomInt(PLACES)], Wide.Brush);
}

#ifndef UNDER_CE
// Operations the handheld platform does not offer.

void DrawSetPixelV() {
    const INT x = RandomInt(Bench.ScreenWidth), y = RandomInt(Bench.ScreenHeight);
    SetPixelV(Bench.DrawDC, x, y, Wide.Ink);
}

void DrawPolyBezier() {
    PolyBezier(Bench.DrawDC, Place(BEZIER_POINTS), BEZIER_POINTS);
}

void DrawPie() {
    const INT x = Across(), y = Down(), s = Wide.Side;
    Pie(Bench.DrawDC, x, y, x + s, y + s, x + s, y + s / 2, x + s / 2, y);
}

void DrawChord() {
    const INT x = Across(), y = Down(), s = Wide.Side;
    Chord(Bench.DrawDC, x, y, x + s, y + s, x + s, y + s, x, y + s / 4);
}

void DrawArc() {
    const INT x = Across(), y = Down(), s = Wide.Side;
    Arc(Bench.DrawDC, x, y, x + s, y + s, x + s, y + s / 2, x + s / 2, y + s);
}

void DrawPolyPolygon() {
    static const INT COUNTS[TRIANGLES] = {3, 3, 3, 3};
    PolyPolygon(Bench.DrawDC, Place(3 * TRIANGLES), COUNTS, TRIANGLES);
}

void DrawGetDIBits() {
    GetDIBits(Bench.DrawDC, Wide.Source, 0, Wide.Side, Wide.Image.data(),
              reinterpret_cast<BITMAPINFO *>(&Wide.Info), DIB_RGB_COLORS);
}

void DrawTextOut() {
    const INT x = TextLeft(Wide.TextSize.cx), y = TextTop(Wide.TextSize.cy);
    TextOut(Bench.DrawDC, x, y, TEXT_LINE, Wide.Length);
}

void DrawPaintRgn() {
    PaintRgn(Bench.DrawDC, Wide.Regions[RandomInt(PLACES)]);
}

#define DESKTOP_ONLY(workload) workload
#else
#define DESKTOP_ONLY(workload) nullptr
#endif

// Each operation's workload, in WideOp's order.
const TestProc WORKLOADS[] = {
    DrawSetPixel,
    DESKTOP_ONLY(DrawSetPixelV),
    DrawGetPixel,
    DrawLine,
    DrawPolyline,
    DESKTOP_ONLY(DrawPolyBezier),
    DrawRectangle,
    DrawFillRect,
    DrawPatBlt,
    DrawEllipse,
    DrawRoundRect,
    DESKTOP_ONLY(DrawPie),
    DESKTOP_ONLY(DrawChord),
    DESKTOP_ONLY(DrawArc),
    DrawPolygon,
    DESKTOP_ONLY(DrawPolyPolygon),
    DrawBitBlt,
    DrawScroll,
    DrawBitBlt,
    DrawToMono,
    DrawStretchBlt,
    DrawStretchDIBits,
    DrawSetDIBits,
    DESKTOP_ONLY(DrawGetDIBits),
    DrawMaskBlt,
    DrawTransparentBlt,
    DrawAlphaBlend,
    DESKTOP_ONLY(DrawTextOut),
    DrawExtTextOut,
    DrawWords,
    DrawFillRgn,
    DESKTOP_ONLY(DrawPaintRgn),
    DrawLine,
};
static_assert(sizeof WORKLOADS / sizeof WORKLOADS[0] == static_cast<size_t>(WideOp::ClipLines) + 1,
              "a workload for every operation");

// The set-up's parts.

HPEN MakePen(INT mode, COLORREF colour) {
    switch (mode) {
    case PEN_WIDTH5:
        return CreatePen(PS_SOLID, 5, colour);
    case PEN_WIDTH20:
        return CreatePen(PS_SOLID, 20, colour);
    case PEN_DASH:
        return CreatePen(PS_DASH, 1, colour);
    case PEN_DOT:
        return CreatePen(PS_DOT, 1, colour);
    default:
        return CreatePen(PS_SOLID, 1, colour);
    }
}

HBRUSH MakeBrush(INT mode, COLORREF colour) {
    switch (mode) {
#ifndef UNDER_CE
    case BRUSH_HATCH:
        return CreateHatchBrush(HS_DIAGCROSS, colour);
#endif
    case BRUSH_PATTERN: {
        // Two 4x4 squares and two clear: one word a row.
        static const WORD ROWS[8] = {0x0F, 0x0F, 0x0F, 0x0F, 0xF0, 0xF0, 0xF0, 0xF0};
        Wide.Pattern = CreateBitmap(8, 8, 1, 1, ROWS);
        return CreatePatternBrush(Wide.Pattern);
    }
    default:
        return CreateSolidBrush(colour);
    }
}

void SelectPen(HPEN pen) {
    Wide.Pen = pen;
    Wide.OldPen = SelectObject(Bench.DrawDC, pen);
}

void SelectBrush(HBRUSH brush) {
    Wide.Brush = brush;
    Wide.OldBrush = SelectObject(Bench.DrawDC, brush);
}

// Bands of the test's two colours and white on white, drawn with brushes only: a
// picture for copies to come from and for reads to find. The ground is a white brush's
// too, not WHITENESS, which sets a 32-bit pixel's fourth byte as well: a copy that
// leaves white out would then find two whites.
void PaintBands(HDC dc, INT width, INT height) {
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const COLORREF colours[3] = {Wide.Ink, RGB(255, 255, 255), Wide.Paper};
    for (INT band = 0; band * 8 < height; band++) {
        const HBRUSH brush = CreateSolidBrush(colours[band % 3]);
        RECT box = {band % 2 * 4, band * 8, width, band * 8 + 8};
        FillRect(dc, &box, brush);
        DeleteObject(brush);
    }
}

// A memory DC holding the bitmap: a copy's source, or a reading's target.
void HoldSource(HBITMAP bitmap) {
    Wide.SourceDC = CreateCompatibleDC(Bench.DrawDC);
    Wide.Source = bitmap;
    Wide.OldSource = SelectObject(Wide.SourceDC, bitmap);
}

// A source of width x height of the surface's format, painted with bands.
void MakeSource(INT width, INT height) {
    HoldSource(CreateCompatibleBitmap(Bench.DrawDC, width, height));
    PaintBands(Wide.SourceDC, width, height);
}

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
// in the surface; point k of a shape comes from shape(k, side).
template <class Shape> void PlaceShapes(INT points, Shape shape) {
    Wide.Points.resize(static_cast<size_t>(PLACES * points));
    for (INT place = 0; place < PLACES; place++) {
        const INT x = Across(), y = Down();
        for (INT k = 0; k < points; k++) {
            POINT &p = Wide.Points[static_cast<size_t>(place * points + k)];
            p = shape(k);
            p.x += x;
            p.y += y;
        }
    }
}

void SetUpImage() {
    const INT s = Wide.Side;
    Describe(Wide.Info, s, s);
    Wide.Image.assign(static_cast<size_t>(s * s), 0x00FFFFFF);
    // Diagonal bands of the two colours (as 0x00RRGGBB) on white.
    const DWORD ink = GetRValue(Wide.Ink) << 16 | GetGValue(Wide.Ink) << 8 | GetBValue(Wide.Ink);
    const DWORD paper =
        GetRValue(Wide.Paper) << 16 | GetGValue(Wide.Paper) << 8 | GetBValue(Wide.Paper);
    for (INT y = 0; y < s; y++) {
        for (INT x = 0; x < s; x++) {
            const INT band = (x + y) / 6 % 3;
            Wide.Image[static_cast<size_t>(y * s + x)] = band == 0   ? ink
                                                         : band == 1 ? paper
                                                                     : 0x00FFFFFF;
        }
    }
}

// The text test's font: Arial at its size in points on Bench.DrawDC, bold or italic.
HFONT MakeFont(const WideTest &test) {
    LOGFONT font = {};
    font.lfHeight = -MulDiv(test.Size, GetDeviceCaps(Bench.DrawDC, LOGPIXELSY), 72);
    font.lfWeight = test.Mode & TEXT_BOLD ? FW_BOLD : FW_NORMAL;
    font.lfItalic = test.Mode & TEXT_ITALIC ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpy(font.lfFaceName, TEXT("Arial"));
    return CreateFontIndirect(&font);
}

INT TextLength(INT mode) {
    return mode & TEXT_SHORT ? 4 : mode & TEXT_LONG ? 64 : 16;
}

void SetUpFont() {
    Wide.Font = MakeFont(*Wide.Test);
    Wide.OldFont = SelectObject(Bench.DrawDC, Wide.Font);
    const INT mode = Wide.Test->Mode;
    Wide.Length = TextLength(mode);
    GetTextExtentPoint32(Bench.DrawDC, TEXT_LINE, Wide.Length, &Wide.TextSize);
    Wide.BoxWidth = mode & TEXT_CLIPPED ? Wide.TextSize.cx / 2 : Wide.TextSize.cx;
    Wide.TextOptions = mode & TEXT_OPAQUE ? ETO_OPAQUE : mode & TEXT_CLIPPED ? ETO_CLIPPED : 0;
    Wide.OldText = SetTextColor(Bench.DrawDC, Wide.Ink);
    Wide.OldBack = SetBkColor(Bench.DrawDC, Wide.Paper);
    Wide.OldBackMode =
        SetBkMode(Bench.DrawDC, Wide.Test->Mode & TEXT_BACKGROUND ? OPAQUE : TRANSPARENT);
}

void SetUpRegions() {
    for (HRGN &region : Wide.Regions) {
        const INT x = Across(), y = Down(), s = Wide.Side;
        region = Wide.Test->Mode == REGION_ELLIPSE ? CreateEllipticRgn(x, y, x + s, y + s)
                                                   : CreateRectRgn(x, y, x + s, y + s);
    }
}

// Sixteen rectangles, one in the middle of each of a 4 x 4 grid's cells.
void SetUpClip() {
    const RECT none = {};
    Wide.OldClip = CreateRectRgnIndirect(&none);
    Wide.HadClip = GetClipRgn(Bench.DrawDC, Wide.OldClip) == 1;
    Wide.Clip = CreateRectRgnIndirect(&none);
    const INT w = Bench.ScreenWidth / 4, h = Bench.ScreenHeight / 4;
    for (INT cell = 0; cell < 16; cell++) {
        const INT x = cell % 4 * w, y = cell / 4 * h;
        const HRGN part = CreateRectRgn(x + w / 4, y + h / 4, x + w * 3 / 4, y + h * 3 / 4);
        CombineRgn(Wide.Clip, Wide.Clip, part, RGN_OR);
        DeleteObject(part);
    }
    SelectClipRgn(Bench.DrawDC, Wide.Clip);
}

// A five-pointed star drawn in one stroke: its point k is the circle's point 2k.
POINT StarPoint(INT k) {
    static const double X[5] = {0.5, 0.794, 0.024, 0.976, 0.206};
    static const double Y[5] = {0.0, 0.905, 0.345, 0.345, 0.905};
    const double s = Wide.Side - 1;
    return {static_cast<LONG>(X[k] * s), static_cast<LONG>(Y[k] * s)};
}

// Four triangles, one in each quarter of the square.
POINT TrianglePoint(INT k) {
    const INT half = Wide.Side / 2, corner = k / 3, vertex = k % 3;
    const LONG x = corner % 2 * half, y = corner / 2 * half;
    return {x + (vertex == 1   ? half - 1
                 : vertex == 2 ? half / 2
                               : 0),
            y + (vertex == 2 ? half - 1 : 0)};
}

} // namespace

TestProc WideBegin(INT test) {
    Wide = WideState{};
    Wide.Test = &WIDE_TABLE[test];
    Wide.Side = Wide.Test->Size;
    RandomRestore(RandomStateFrom(WideSeed(*Wide.Test)));
    Wide.Ink = RandomColor();
    Wide.Paper = RandomColor();
    const INT mode = Wide.Test->Mode, s = Wide.Side;
    switch (Wide.Test->Op) {
    case WideOp::Line:
    case WideOp::Arc:
        SelectPen(MakePen(Wide.Test->Op == WideOp::Arc ? PEN_THIN : mode, Wide.Ink));
        Wide.Margin = (WideReach(*Wide.Test) - s + 1) / 2;
        break;
    case WideOp::Polyline:
        SelectPen(MakePen(mode, Wide.Ink));
        PlaceShapes(POLYLINE_POINTS, [](INT) {
            return POINT{RandomInt(Wide.Side), RandomInt(Wide.Side)};
        });
        break;
    case WideOp::PolyBezier:
        SelectPen(MakePen(mode, Wide.Ink));
        PlaceShapes(BEZIER_POINTS, [](INT) {
            return POINT{RandomInt(Wide.Side), RandomInt(Wide.Side)};
        });
        break;
    case WideOp::Rectangle:
    case WideOp::Ellipse:
    case WideOp::RoundRect:
    case WideOp::Pie:
    case WideOp::Chord:
        SelectPen(MakePen(PEN_THIN, Wide.Ink));
        SelectBrush(MakeBrush(mode, Wide.Paper));
        break;
    case WideOp::Polygon:
    case WideOp::PolyPolygon:
        SelectPen(MakePen(PEN_THIN, Wide.Ink));
        SelectBrush(MakeBrush(BRUSH_SOLID, Wide.Paper));
#ifndef UNDER_CE
        if (mode == FILL_WINDING) {
            Wide.OldFill = SetPolyFillMode(Bench.DrawDC, WINDING);
        }
#endif
        if (Wide.Test->Op == WideOp::Polygon) {
            PlaceShapes(STAR_POINTS, StarPoint);
        } else {
            PlaceShapes(3 * TRIANGLES, TrianglePoint);
        }
        break;
    case WideOp::FillRect:
    case WideOp::FillRgn:
        Wide.Brush = MakeBrush(Wide.Test->Op == WideOp::FillRgn ? BRUSH_SOLID : mode, Wide.Paper);
        if (Wide.Test->Op == WideOp::FillRgn) {
            SetUpRegions();
        }
        break;
    case WideOp::PatBlt:
    case WideOp::PaintRgn:
        Wide.Rop = RopCode(mode);
        SelectBrush(MakeBrush(BRUSH_SOLID, Wide.Paper));
        if (Wide.Test->Op == WideOp::PaintRgn) {
            SetUpRegions();
        }
        break;
    case WideOp::ClipLines:
        SelectPen(MakePen(PEN_THIN, Wide.Ink));
        SetUpClip();
        break;
    case WideOp::GetPixel:
    case WideOp::Scroll:
        PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        break;
    case WideOp::BitBlt:
        Wide.Rop = RopCode(mode);
        // What these do to white is white, or the source: they are drawn on bands.
        if (mode == ROP_SRCAND || mode == ROP_SRCPAINT || mode == ROP_SRCINVERT) {
            PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        }
        [[fallthrough]];
    case WideOp::MaskBlt:
    case WideOp::TransparentBlt:
    case WideOp::AlphaBlend:
        MakeSource(s, s);
        if (Wide.Test->Op == WideOp::MaskBlt) {
            // A monochrome mask: the left half copied, the right half kept.
            Wide.Mask = MonoBitmap(s, [s](INT x, INT) { return x < s / 2; });
        }
        break;
    case WideOp::MonoToColour:
        // Cells of 4 x 8 pixels, set and clear by turns: 0 is drawn in the text colour,
        // 1 in the background colour.
        Wide.Rop = RopCode(mode);
        HoldSource(MonoBitmap(s, [](INT x, INT y) { return (x / 4 + y / 8) % 2 == 0; }));
        Wide.OldText = SetTextColor(Bench.DrawDC, Wide.Ink);
        Wide.OldBack = SetBkColor(Bench.DrawDC, Wide.Paper);
        break;
    case WideOp::ColourToMono:
        // The copy makes the background colour 1 and every other colour 0; its target
        // starts all 1.
        PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        HoldSource(MonoBitmap(s, [](INT, INT) { return true; }));
        Wide.OldText = SetTextColor(Bench.DrawDC, Wide.Ink);
        Wide.OldBack = SetBkColor(Bench.DrawDC, Wide.Paper);
        break;
    case WideOp::StretchBlt: {
        const bool half = mode == STRETCH_COLOR_HALF || mode == STRETCH_HALFTONE_HALF;
        Wide.From = half ? s * 2 : (s + 1) / 2;
        MakeSource(Wide.From, Wide.From);
#ifndef UNDER_CE
        if (mode == STRETCH_HALFTONE_HALF || mode == STRETCH_HALFTONE_DOUBLE) {
            Wide.OldStretch = SetStretchBltMode(Bench.DrawDC, HALFTONE);
            // HALFTONE needs the brush origin set again after the mode.
            Wide.MovedOrigin = SetBrushOrgEx(Bench.DrawDC, 0, 0, &Wide.OldOrigin) != 0;
            break;
        }
#endif
        Wide.OldStretch = SetStretchBltMode(Bench.DrawDC, COLORONCOLOR);
        break;
    }
    case WideOp::StretchDIBits:
    case WideOp::SetDIBitsToDevice:
        SetUpImage();
        break;
    case WideOp::GetDIBits:
        // The bitmap read must not be selected into a DC: its bands are painted, and
        // it is deselected. Read as plain 32-bit RGB: a desktop's own form, and one
        // every depth reads into (Wine reads other depths into bit fields wrongly).
        SetUpImage();
        Wide.Info.Header.biCompression = BI_RGB;
        MakeSource(s, s);
        SelectObject(Wide.SourceDC, Wide.OldSource);
        DeleteDC(Wide.SourceDC);
        Wide.SourceDC = nullptr;
        break;
    case WideOp::TextOut:
    case WideOp::ExtTextOut:
    case WideOp::DrawText:
        SetUpFont();
        break;
    case WideOp::SetPixel:
    case WideOp::SetPixelV:
        break;
    }
    return WORKLOADS[static_cast<size_t>(Wide.Test->Op)];
}

SIZE WideExtent(INT test) {
    const WideTest &t = WIDE_TABLE[test];
    if (t.Op != WideOp::TextOut && t.Op != WideOp::ExtTextOut && t.Op != WideOp::DrawText) {
        return {WideReach(t), WideReach(t)};
    }
    const HFONT font = MakeFont(t);
    const HGDIOBJ old = SelectObject(Bench.DrawDC, font);
    SIZE size;
    GetTextExtentPoint32(Bench.DrawDC, TEXT_LINE, TextLength(t.Mode), &size);
    SelectObject(Bench.DrawDC, old);
    DeleteObject(font);
    return t.Op == WideOp::DrawText ? SIZE{WORDS_WIDTH, size.cy * WORDS_LINES} : size;
}

void WideShow() {
    const HDC dc = Bench.DrawDC;
    const INT s = Wide.Side;
    switch (Wide.Test->Op) {
    case WideOp::GetPixel:
        // Each value read as a square of 8 x 8 pixels, in a row from the top-left corner.
        for (UINT i = 0; i < Wide.Reads && i < SEEN; i++) {
            const HBRUSH brush = CreateSolidBrush(Wide.Seen[i]);
            const RECT box = {static_cast<LONG>(i * 8), 0, static_cast<LONG>(i * 8 + 8), 8};
            FillRect(dc, &box, brush);
            DeleteObject(brush);
        }
        break;
    case WideOp::ColourToMono:
        // In the text colour where it read 0, the background colour where 1.
        BitBlt(dc, 0, 0, s, s, Wide.SourceDC, 0, 0, SRCCOPY);
        break;
#ifndef UNDER_CE
    case WideOp::GetDIBits:
        SetDIBitsToDevice(dc, 0, 0, s, s, 0, 0, 0, s, Wide.Image.data(),
                          reinterpret_cast<BITMAPINFO *>(&Wide.Info), DIB_RGB_COLORS);
        break;
#endif
    default:
        break;
    }
}

void WideEnd() {
    const HDC dc = Bench.DrawDC;
    if (Wide.Pen != nullptr) {
        SelectObject(dc, Wide.OldPen);
        DeleteObject(Wide.Pen);
    }
    if (Wide.OldBrush != nullptr) {
        SelectObject(dc, Wide.OldBrush);
    }
    if (Wide.Brush != nullptr) {
        DeleteObject(Wide.Brush);
    }
    if (Wide.Pattern != nullptr) {
        DeleteObject(Wide.Pattern);
    }
    if (Wide.Font != nullptr) {
        SelectObject(dc, Wide.OldFont);
        DeleteObject(Wide.Font);
        SetBkMode(dc, Wide.OldBackMode);
    }
    if (Wide.Font != nullptr || Wide.Test->Op == WideOp::MonoToColour ||
        Wide.Test->Op == WideOp::ColourToMono) {
        SetTextColor(dc, Wide.OldText);
        SetBkColor(dc, Wide.OldBack);
    }
    if (Wide.SourceDC != nullptr) {
        SelectObject(Wide.SourceDC, Wide.OldSource);
        DeleteDC(Wide.SourceDC);
    }
    if (Wide.Source != nullptr) {
        DeleteObject(Wide.Source);
    }
    if (Wide.Mask != nullptr) {
        DeleteObject(Wide.Mask);
    }
    for (HRGN region : Wide.Regions) {
        if (region != nullptr) {
            DeleteObject(region);
        }
    }
    if (Wide.Clip != nullptr) {
        SelectClipRgn(dc, Wide.HadClip ? Wide.OldClip : nullptr);
        DeleteObject(Wide.Clip);
        DeleteObject(Wide.OldClip);
    }
    // The modes a set-up changed: a mode is never 0.
#ifndef UNDER_CE
    if (Wide.OldFill != 0) {
        SetPolyFillMode(dc, Wide.OldFill);
    }
#endif
    if (Wide.OldStretch != 0) {
        SetStretchBltMode(dc, Wide.OldStretch);
    }
    if (Wide.MovedOrigin) {
        SetBrushOrgEx(dc, Wide.OldOrigin.x, Wide.OldOrigin.y, nullptr);
    }
    Wide = WideState{};
}
