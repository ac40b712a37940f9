// The wide suite on the real Win32: each test's first calls and what a reading shows,
// pixel for pixel against what the table says it draws, made apart from the workloads;
// the replay, the pictures read back, the DC and GDI objects after many calls.
#include "Bench.h"
#include "GdiRoom.h"
#include "Image.h"
#include "Random.h"
#include "Wide.h"
#include "Workloads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWhite = 0x00FFFFFF;
constexpr INT kArea = 560; // the surface the tests know, inside a larger bitmap
constexpr INT kBitmap = 600;
constexpr INT kCalls = 4;
const TCHAR kText[] = TEXT("Quenzel draws this text to time it; each line holds sixty-four..");

bool Offered(const WideTest &test) {
    return sizeof(TCHAR) == 1 || OnHandheld(test);
}

DWORD Rgb(COLORREF c) {
    return static_cast<DWORD>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
}

// A white 600 x 600 32-bit DIB section and its DC.
struct Surface {
    HDC Dc = CreateCompatibleDC(nullptr);
    DWORD *Bits = nullptr;
    HBITMAP Bitmap;
    HGDIOBJ Old;
    Surface() {
        BITMAPINFO info = {
            {sizeof(BITMAPINFOHEADER), kBitmap, -kBitmap, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&Bits),
                                  nullptr, 0);
        Old = SelectObject(Dc, Bitmap);
        White();
    }
    ~Surface() {
        SelectObject(Dc, Old);
        DeleteObject(Bitmap);
        DeleteDC(Dc);
    }
    void White() {
        PatBlt(Dc, 0, 0, kBitmap, kBitmap, WHITENESS);
        GdiFlush();
    }
    DWORD &At(INT x, INT y) {
        return Bits[y * kBitmap + x];
    }
};

// Draws with a GDI object selected into dc, then deletes it.
template <class Draw> void With(HDC dc, HGDIOBJ object, Draw draw) {
    const HGDIOBJ old = SelectObject(dc, object);
    draw();
    SelectObject(dc, old);
    DeleteObject(object);
}

// What test i draws, made apart from its workload: the test's two colours and places
// are drawn from its own start in the order its description gives.
class Expectation {
  public:
    Expectation(INT test, Surface &into) : T(WIDE_TABLE[test]), S(T.Size), E(into) {
        RandomRestore(RandomStateFrom(WideSeed(T)));
        Ink = RandomColor();
        Paper = RandomColor();
    }
    void Make();
    // The box the test's shapes need: a text's in its font, a wide pen's side and width.
    SIZE Box = {};
    bool Reads() const {
        return T.Op == WideOp::GetPixel || T.Op == WideOp::GetDIBits ||
               T.Op == WideOp::ColourToMono;
    }

  private:
    const WideTest &T;
    const INT S;
    Surface &E;
    COLORREF Ink, Paper;

    // A square of side S whose edge a pen of that width keeps off the surface's edges.
    POINT Place(INT margin = 0) {
        const INT x = margin + RandomInt(kArea - S - 2 * margin + 1);
        return {x, margin + RandomInt(kArea - S - 2 * margin + 1)};
    }
    // The set-up's bands, 8 rows each, of the ink, white and the paper, the odd ones
    // from 4 pixels in, over an area of that width and height.
    DWORD Band(INT x, INT y, INT width, INT height) const {
        const INT band = y / 8;
        const DWORD colours[3] = {Rgb(Ink), kWhite, Rgb(Paper)};
        return x < width && y < height && x >= band % 2 * 4 ? colours[band % 3] : kWhite;
    }
    void Backdrop() {
        for (INT y = 0; y < kArea; y++) {
            for (INT x = 0; x < kArea; x++) {
                E.At(x, y) = Band(x, y, kArea, kArea);
            }
        }
    }
    // Each pixel of the square at p from what it holds and where it lies in the square.
    template <class Pixel> void Square(POINT p, INT side, Pixel pixel) {
        for (INT v = 0; v < side; v++) {
            for (INT u = 0; u < side; u++) {
                DWORD &d = E.At(p.x + u, p.y + v);
                d = pixel(u, v, d) & kWhite;
            }
        }
    }
    HBRUSH Brush(INT mode, COLORREF colour) {
        static const WORD kRows[8] = {0x0F, 0x0F, 0x0F, 0x0F, 0xF0, 0xF0, 0xF0, 0xF0};
        return mode == BRUSH_HATCH ? CreateHatchBrush(HS_DIAGCROSS, colour)
               : mode == BRUSH_PATTERN
                   ? CreatePatternBrush(Pattern = CreateBitmap(8, 8, 1, 1, kRows))
                   : CreateSolidBrush(colour);
    }
    HBITMAP Pattern = nullptr;
    // The places of sixteen shapes of n points each, point k from point(k).
    template <class Point> std::vector<POINT> Shapes(INT n, Point point) {
        std::vector<POINT> shapes;
        for (INT place = 0; place < 16; place++) {
            const POINT at = Place();
            for (INT k = 0; k < n; k++) {
                const POINT p = point(k);
                shapes.push_back({at.x + p.x, at.y + p.y});
            }
        }
        return shapes;
    }
    void Shapes();
    void Copies();
    void Text();
};

void Expectation::Make() {
    const HDC dc = E.Dc;
    Box = {S, S};
    switch (T.Op) {
    case WideOp::SetPixel:
    case WideOp::SetPixelV:
        for (INT i = 0; i < kCalls; i++) {
            const INT x = RandomInt(kArea);
            E.At(x, RandomInt(kArea)) = Rgb(Ink);
        }
        break;
    case WideOp::GetPixel: {
        // Each value read shown as a square of 8 x 8 in a row.
        Backdrop();
        for (INT i = 0; i < kCalls; i++) {
            const INT x = RandomInt(kArea), y = RandomInt(kArea);
            const DWORD seen = Band(x, y, kArea, kArea);
            Square({i * 8, 0}, 8, [&](INT, INT, DWORD) { return seen; });
        }
        break;
    }
    case WideOp::Line:
    case WideOp::ClipLines: {
        const INT width = T.Mode == PEN_WIDTH5 ? 5 : T.Mode == PEN_WIDTH20 ? 20 : 1;
        const INT style = T.Mode == PEN_DASH ? PS_DASH : T.Mode == PEN_DOT ? PS_DOT : PS_SOLID;
        if (T.Op == WideOp::ClipLines) {
            // One rectangle in the middle of each cell of a 4 x 4 grid.
            const HRGN clip = CreateRectRgn(0, 0, 0, 0);
            for (INT cell = 0; cell < 16; cell++) {
                const INT x = cell % 4 * 140, y = cell / 4 * 140;
                const HRGN part = CreateRectRgn(x + 35, y + 35, x + 105, y + 105);
                CombineRgn(clip, clip, part, RGN_OR);
                DeleteObject(part);
            }
            SelectClipRgn(dc, clip);
            DeleteObject(clip);
        }
        Box.cx = Box.cy = S + (width > 1 ? width : 0);
        With(dc, CreatePen(style, width, Ink), [&] {
            for (INT i = 0; i < kCalls; i++) {
                const POINT p = Place(width > 1 ? (width + 1) / 2 : 0);
                const INT slant = RandomInt(S);
                const POINT ends[2] = {{p.x, p.y + slant}, {p.x + S - 1, p.y + S - 1 - slant}};
                Polyline(dc, ends, 2);
            }
        });
        SelectClipRgn(dc, nullptr);
        break;
    }
    case WideOp::Polyline:
    case WideOp::PolyBezier: {
        const INT n = T.Op == WideOp::Polyline ? 32 : 31;
        const std::vector<POINT> shapes = Shapes(n, [this](INT) {
            const INT x = RandomInt(S);
            return POINT{x, RandomInt(S)};
        });
        With(dc, CreatePen(PS_SOLID, 1, Ink), [&] {
            for (INT i = 0; i < kCalls; i++) {
                const POINT *p = &shapes[RandomInt(16) * n];
                MoveToEx(dc, p[0].x, p[0].y, nullptr);
                if (T.Op == WideOp::Polyline) {
                    for (INT k = 1; k < n; k++) {
                        LineTo(dc, p[k].x, p[k].y);
                    }
                } else {
                    PolyBezierTo(dc, p + 1, n - 1);
                }
            }
        });
        break;
    }
    default:
        Shapes();
        break;
    }
    if (Pattern != nullptr) {
        DeleteObject(Pattern);
    }
    GdiFlush();
}

void Expectation::Shapes() {
    const HDC dc = E.Dc;
    const INT s = S;
    switch (T.Op) {
    case WideOp::Rectangle:
    case WideOp::FillRect:
        // Filled with the brush; Rectangle's outline in the ink.
        With(dc, Brush(T.Mode, Paper), [&] {
            const HBRUSH ink = CreateSolidBrush(Ink);
            for (INT i = 0; i < kCalls; i++) {
                const POINT p = Place();
                const RECT box = {p.x, p.y, p.x + s, p.y + s};
                PatBlt(dc, p.x, p.y, s, s, PATCOPY);
                if (T.Op == WideOp::Rectangle) {
                    FrameRect(dc, &box, ink);
                }
            }
            DeleteObject(ink);
        });
        break;
    case WideOp::PatBlt:
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, [&](INT, INT, DWORD d) {
                return T.Mode == ROP_PATCOPY     ? Rgb(Paper)
                       : T.Mode == ROP_PATINVERT ? d ^ Rgb(Paper)
                                                 : ~d;
            });
        }
        break;
    case WideOp::Ellipse:
    case WideOp::RoundRect:
    case WideOp::Pie:
    case WideOp::Chord:
    case WideOp::Arc:
        With(dc, CreateSolidBrush(Paper), [&] {
            With(dc, CreatePen(PS_SOLID, 1, Ink), [&] {
                for (INT i = 0; i < kCalls; i++) {
                    const POINT p = Place();
                    const INT x = p.x, y = p.y, r = x + s, b = y + s;
                    switch (T.Op) {
                    case WideOp::Ellipse:
                        Ellipse(dc, x, y, r, b);
                        break;
                    case WideOp::RoundRect: // corners a quarter of the side
                        RoundRect(dc, x, y, r, b, s / 4, s / 4);
                        break;
                    case WideOp::Pie: // from the right to the top
                        Pie(dc, x, y, r, b, r, y + s / 2, x + s / 2, y);
                        break;
                    case WideOp::Chord: // from the bottom-right corner to a quarter down the left
                        Chord(dc, x, y, r, b, r, b, x, y + s / 4);
                        break;
                    default: // from the right round the top to the bottom
                        Arc(dc, x, y, r, b, r, y + s / 2, x + s / 2, b);
                        break;
                    }
                }
            });
        });
        break;
    case WideOp::Polygon:
    case WideOp::PolyPolygon: {
        // A five-pointed star in one stroke, or four triangles, one in each quarter.
        static const double X[5] = {0.5, 0.794, 0.024, 0.976, 0.206};
        static const double Y[5] = {0.0, 0.905, 0.345, 0.345, 0.905};
        const INT h = s / 2, n = T.Op == WideOp::Polygon ? 5 : 12;
        const std::vector<POINT> shapes = Shapes(n, [&](INT k) {
            if (T.Op == WideOp::Polygon) {
                return POINT{static_cast<LONG>(X[k] * (s - 1)), static_cast<LONG>(Y[k] * (s - 1))};
            }
            const LONG x = k / 3 % 2 * h, y = k / 6 * h, v = k % 3;
            return POINT{x + (v == 1 ? h - 1 : v == 2 ? h / 2 : 0), y + (v == 2 ? h - 1 : 0)};
        });
        SetPolyFillMode(dc, T.Mode == FILL_WINDING ? WINDING : ALTERNATE);
        const INT each = n == 12 ? 3 : 5;
        With(dc, CreateSolidBrush(Paper), [&] {
            With(dc, CreatePen(PS_SOLID, 1, Ink), [&] {
                for (INT i = 0; i < kCalls; i++) {
                    const POINT *p = &shapes[RandomInt(16) * n];
                    for (INT k = 0; k < n; k += each) {
                        Polygon(dc, p + k, each);
                    }
                }
            });
        });
        break;
    }
    case WideOp::FillRgn:
    case WideOp::PaintRgn: {
        std::vector<POINT> places;
        for (INT i = 0; i < 16; i++) {
            places.push_back(Place());
        }
        With(dc, CreateSolidBrush(Paper), [&] {
            for (INT i = 0; i < kCalls; i++) {
                const POINT p = places[RandomInt(16)];
                if (T.Mode == REGION_RECT) {
                    Square(p, s, [&](INT, INT, DWORD) { return Rgb(Paper); });
                    continue;
                }
                const HRGN round = CreateEllipticRgn(p.x, p.y, p.x + s, p.y + s);
                PaintRgn(dc, round);
                DeleteObject(round);
            }
        });
        break;
    }
    default:
        Copies();
        break;
    }
}

void Expectation::Copies() {
    const INT s = S;
    const auto band = [&](INT u, INT v, DWORD) { return Band(u, v, s, s); };
    const auto diagonal = [&](INT u, INT v, DWORD) {
        const DWORD colours[3] = {Rgb(Ink), Rgb(Paper), kWhite};
        return colours[(u + v) / 6 % 3];
    };
    switch (T.Op) {
    case WideOp::BitBlt:
        if (T.Mode == ROP_SRCAND || T.Mode == ROP_SRCPAINT || T.Mode == ROP_SRCINVERT) {
            Backdrop();
        }
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, [&](INT u, INT v, DWORD d) {
                const DWORD b = Band(u, v, s, s);
                return T.Mode == ROP_SRCCOPY     ? b
                       : T.Mode == ROP_SRCAND    ? b & d
                       : T.Mode == ROP_SRCPAINT  ? b | d
                       : T.Mode == ROP_SRCINVERT ? b ^ d
                                                 : ~b;
            });
        }
        break;
    case WideOp::Scroll:
        Backdrop();
        for (INT i = 0; i < kCalls; i++) {
            const POINT to = Place(), from = Place();
            std::vector<DWORD> block;
            Square(from, s, [&](INT, INT, DWORD d) { return block.push_back(d), d; });
            Square(to, s, [&](INT u, INT v, DWORD) { return block[v * s + u]; });
        }
        break;
    case WideOp::MonoToColour:
        // Cells of 4 x 8, set and clear by turns: set in the paper, clear in the ink.
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, [&](INT u, INT v, DWORD) {
                return (u / 4 + v / 8) % 2 == 0 ? Rgb(Paper) : Rgb(Ink);
            });
        }
        break;
    case WideOp::ColourToMono: {
        // Each copy's target: 1 where it read the paper; shown in the paper there, else
        // in the ink.
        Backdrop();
        std::vector<bool> target(s * s, true);
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, [&](INT u, INT v, DWORD d) {
                target[v * s + u] = d == Rgb(Paper);
                return d;
            });
        }
        Square({0, 0}, s,
               [&](INT u, INT v, DWORD) { return target[v * s + u] ? Rgb(Paper) : Rgb(Ink); });
        break;
    }
    case WideOp::StretchBlt: {
        const bool half = T.Mode == STRETCH_COLOR_HALF || T.Mode == STRETCH_HALFTONE_HALF;
        const INT from = half ? 2 * s : (s + 1) / 2;
        std::vector<DWORD> image(from * from);
        for (INT v = 0; v < from; v++) {
            for (INT u = 0; u < from; u++) {
                image[v * from + u] = Band(u, v, from, from);
            }
        }
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), from, -from, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                           {}};
        const bool halftone = T.Mode == STRETCH_HALFTONE_HALF || T.Mode == STRETCH_HALFTONE_DOUBLE;
        SetStretchBltMode(E.Dc, halftone ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(E.Dc, 0, 0, nullptr);
        for (INT i = 0; i < kCalls; i++) {
            const POINT p = Place();
            StretchDIBits(E.Dc, p.x, p.y, s, s, 0, 0, from, from, image.data(), &info,
                          DIB_RGB_COLORS, SRCCOPY);
        }
        break;
    }
    case WideOp::StretchDIBits:
    case WideOp::SetDIBitsToDevice:
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, diagonal);
        }
        break;
    case WideOp::GetDIBits:
        // The bits read, shown at the top-left corner.
        Square({0, 0}, s, band);
        break;
    case WideOp::MaskBlt:
        // The mask's left half copies the source; its right half keeps the surface.
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s,
                   [&](INT u, INT v, DWORD d) { return u < s / 2 ? band(u, v, d) : d; });
        }
        break;
    case WideOp::TransparentBlt:
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, [&](INT u, INT v, DWORD d) {
                return band(u, v, d) == kWhite ? d : band(u, v, d);
            });
        }
        break;
    case WideOp::AlphaBlend:
        // Half and half: 128 of 255 of the source (within 1 of a channel, for rounding).
        for (INT i = 0; i < kCalls; i++) {
            Square(Place(), s, [&](INT u, INT v, DWORD d) {
                DWORD out = 0;
                for (INT shift = 0; shift < 24; shift += 8) {
                    const DWORD a = band(u, v, d) >> shift & 0xFF, b = d >> shift & 0xFF;
                    out |= (a * 128 + b * 127 + 127) / 255 << shift;
                }
                return out;
            });
        }
        break;
    default:
        Text();
        break;
    }
}

void Expectation::Text() {
    const HDC dc = E.Dc;
    // Arial at the test's size in points, bold or italic; 4, 16 or 64 characters.
    LOGFONT font = {};
    font.lfHeight = -MulDiv(T.Size, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = T.Mode & TEXT_BOLD ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (T.Mode & TEXT_ITALIC) != 0;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpy(font.lfFaceName, TEXT("Arial"));
    const INT length = T.Mode & TEXT_SHORT ? 4 : T.Mode & TEXT_LONG ? 64 : 16;
    SetTextColor(dc, Ink);
    SetBkColor(dc, Paper);
    SetBkMode(dc, T.Mode & TEXT_BACKGROUND ? OPAQUE : TRANSPARENT);
    With(dc, CreateFontIndirect(&font), [&] {
        SIZE size;
        GetTextExtentPoint32(dc, kText, length, &size);
        Box = T.Op == WideOp::DrawText ? SIZE{100, 8 * size.cy} : size;
        for (INT i = 0; i < kCalls; i++) {
            if (T.Op == WideOp::DrawText) {
                // Broken into lines at word breaks in a box 100 pixels wide, eight lines
                // of the font high.
                const INT x = RandomInt(kArea - 100 + 1), y = RandomInt(kArea - 8 * size.cy + 1);
                RECT box = {x, y, x + 100, y + 8 * size.cy};
                DrawText(dc, kText, length, &box, DT_WORDBREAK);
                continue;
            }
            const INT x = RandomInt(kArea - size.cx + 1), y = RandomInt(kArea - size.cy + 1);
            if (T.Mode & TEXT_OPAQUE) {
                const HBRUSH paper = CreateSolidBrush(Paper);
                const RECT box = {x, y, x + size.cx, y + size.cy};
                FillRect(dc, &box, paper);
                DeleteObject(paper);
            }
            if (T.Mode & TEXT_CLIPPED) {
                IntersectClipRect(dc, x, y, x + size.cx / 2, y + size.cy);
            }
            TextOut(dc, x, y, kText, length);
            SelectClipRgn(dc, nullptr);
        }
    });
}

// The workload's drawing on a white surface: test i's first calls from its start,
// then what it read shown.
void DrawWorkload(Surface &on, INT test, INT calls) {
    on.White();
    Bench = BenchState{};
    Bench.DrawDC = on.Dc;
    Bench.ScreenWidth = Bench.ScreenHeight = kArea;
    const TestProc proc = WideBegin(test);
    for (INT i = 0; i < calls; i++) {
        proc();
    }
    WideShow();
    WideEnd();
    GdiFlush();
}

// The pixels that differ by more than tolerance in a channel, and the first.
std::string Differences(Surface &a, Surface &b, DWORD tolerance) {
    INT count = 0, first = -1;
    for (INT i = 0; i < kBitmap * kBitmap; i++) {
        bool differs = false;
        for (INT shift = 0; shift < 24; shift += 8) {
            differs |=
                std::abs(static_cast<INT>(a.Bits[i] >> shift & 0xFF) -
                         static_cast<INT>(b.Bits[i] >> shift & 0xFF)) > static_cast<INT>(tolerance);
        }
        first = differs && first < 0 ? i : first;
        count += differs;
    }
    return count == 0
               ? ""
               : std::to_string(count) + " pixels differ, the first at (" +
                     std::to_string(first % kBitmap) + ", " + std::to_string(first / kBitmap) + ")";
}

// Every test offered draws its first calls exactly as its description says, and nothing
// beyond; a test that reads shows what it read, which reading nothing would not.
TEST(Wide, EveryTestDrawsWhatItsNameSays) {
    Surface drawn, unread;
    for (INT i = 1; i <= WIDE_COUNT; i++) {
        const WideTest &test = WIDE_TABLE[i];
        if (!Offered(test)) {
            continue;
        }
        Surface expected; // a DC in its first state
        Expectation expectation(i, expected);
        expectation.Make();
        DrawWorkload(drawn, i, kCalls);
        const SIZE box = WideExtent(i);
        EXPECT_EQ(std::make_pair(box.cx, box.cy),
                  std::make_pair(expectation.Box.cx, expectation.Box.cy))
            << test.Name;
        EXPECT_EQ(Differences(drawn, expected, test.Op == WideOp::AlphaBlend), "") << test.Name;
        if (expectation.Reads()) {
            DrawWorkload(unread, i, 0);
            EXPECT_NE(Differences(drawn, unread, 0), "") << test.Name << " shows no reading";
        }
    }
}

// The ceiling's replay makes the scored calls: a test of each family drawn live, and with
// its random values recorded on a scratch DC and replayed, draws the very same pixels,
// whose shapes overlap: the same calls, in the same order, with the same arguments.
TEST(Wide, TheReplayMakesTheScoredCalls) {
    Surface live, replayed, scratch;
    std::vector<INT> tape(64 * MAX_DRAWS_PER_CALL);
    for (const char *name :
         {"SetPixel", "GetPixel", "Line.width5.100", "Polyline.100", "Rectangle.pattern.100",
          "PatBlt.PATINVERT.100", "Polygon.star.alternate.100", "BitBlt.SRCINVERT.100",
          "Scroll.100", "StretchBlt.COLORONCOLOR.half.100", "ExtTextOut.opaque",
          "DrawText.wordbreak", "FillRgn.rect.100", "Clip.Line.100"}) {
        const INT test = WideIndex(name);
        DrawWorkload(live, test, 64);
        replayed.White();
        Bench.DrawDC = replayed.Dc;
        WideBegin(test);
        DrawTape = tape.data();
        DrawTapeAt = 0;
        Bench.DrawDC = scratch.Dc;
        for (INT i = 0; i < 64; i++) {
            WideRecording()();
        }
        const size_t draws = DrawTapeAt;
        Bench.DrawDC = replayed.Dc;
        DrawTapeAt = 0;
        for (INT i = 0; i < 64; i++) {
            WideReplaying()();
        }
        EXPECT_EQ(DrawTapeAt, draws) << name;
        EXPECT_GE(draws, 64u) << name << ": a call's place is drawn";
        WideShow();
        WideEnd();
        GdiFlush();
        EXPECT_EQ(Differences(live, replayed, 0), "") << name;
    }
}

// A picture is read back as 0x00RRGGBB row by row from the top, whatever the depth,
// without the fourth byte a 32-bit pixel may carry.
TEST(Wide, PicturesAreReadBackAtEveryDepth) {
    for (const WORD depth : {1, 8, 16, 24, 32}) {
        struct {
            BITMAPINFOHEADER Header;
            RGBQUAD Colours[2];
        } info = {{sizeof(BITMAPINFOHEADER), 5, -3, 1, depth, BI_RGB, 0, 0, 0, 2, 0},
                  {{0, 0, 0, 0}, {255, 255, 255, 0}}};
        void *bits;
        const HDC dc = CreateCompatibleDC(nullptr);
        const HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&info),
                                                DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT all = {0, 0, 5, 3};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetPixel(dc, 4, 0, RGB(0, 0, 0));
        SetPixel(dc, 1, 2, RGB(0, 0, 0));
        std::vector<std::uint32_t> expected(15, kWhite);
        expected[4] = expected[11] = 0;
        if (depth >= 16) {
            // A colour each depth holds exactly: 5 bits a channel, widened again.
            SetPixel(dc, 0, 1, RGB(0x08, 0x84, 0x7B));
            expected[5] = 0x08847B;
        }
        if (depth == 32) {
            static_cast<DWORD *>(bits)[14] = 0xFF123456;
            expected[14] = 0x123456;
        }
        GdiFlush();
        EXPECT_EQ(ReadArea(dc, 5, 3), expected) << depth << " bits";
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
}

// After a thousand calls of each test, the DC holds the objects, colours and modes it
// held before, and no GDI object is left alive.
TEST(Wide, TheDcIsAsFoundAfterThousandsOfCalls) {
    Surface surface;
    const HDC dc = surface.Dc;
    const auto state = [dc] {
        POINT origin;
        GetBrushOrgEx(dc, &origin);
        const HRGN clip = CreateRectRgn(0, 0, 0, 0);
        const int clipped = GetClipRgn(dc, clip);
        DeleteObject(clip);
        return std::vector<UINT_PTR>{reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_PEN)),
                                     reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_BRUSH)),
                                     reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_FONT)),
                                     reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_BITMAP)),
                                     GetTextColor(dc),
                                     GetBkColor(dc),
                                     static_cast<UINT_PTR>(GetBkMode(dc)),
                                     static_cast<UINT_PTR>(GetPolyFillMode(dc)),
                                     static_cast<UINT_PTR>(GetStretchBltMode(dc)),
                                     static_cast<UINT_PTR>(origin.x),
                                     static_cast<UINT_PTR>(origin.y),
                                     static_cast<UINT_PTR>(clipped)};
    };
    // Not the defaults, so that a reset to them shows.
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    SetStretchBltMode(dc, BLACKONWHITE);
    SetBrushOrgEx(dc, 3, 5, nullptr);
    const std::vector<UINT_PTR> found = state();
    const int room = GdiRoom();
    Bench = BenchState{};
    Bench.DrawDC = dc;
    Bench.ScreenWidth = Bench.ScreenHeight = kArea;
    for (INT i = 1; i <= WIDE_COUNT; i++) {
        // The slow large copies and stretches add nothing their smaller sizes do not.
        if (!Offered(WIDE_TABLE[i]) || WIDE_TABLE[i].Size == 500) {
            continue;
        }
        const TestProc proc = WideBegin(i);
        for (INT k = 0; k < 1000; k++) {
            proc();
        }
        WideShow();
        WideEnd();
        EXPECT_EQ(state(), found) << WIDE_TABLE[i].Name;
    }
    EXPECT_EQ(GdiRoom(), room) << "objects left alive";
}

} // namespace
