// The filled shapes: squares by Rectangle, FillRect and PatBlt, circles and their parts,
// a rounded square, a star and four triangles, in a thin pen of the ink and a brush of
// the paper.
#include "WideState.h"

namespace {

constexpr INT STAR_POINTS = 5;
constexpr INT TRIANGLES = 4;

template <class Draw> void DrawRectangle() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    Rectangle(Bench.DrawDC, x, y, x + Wide.Side, y + Wide.Side);
}

template <class Draw> void DrawFillRect() {
    RECT box;
    box.left = Across<Draw>();
    box.top = Down<Draw>();
    box.right = box.left + Wide.Side;
    box.bottom = box.top + Wide.Side;
    FillRect(Bench.DrawDC, &box, Wide.Brush);
}

template <class Draw> void DrawPatBlt() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    PatBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.Rop);
}

template <class Draw> void DrawEllipse() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    Ellipse(Bench.DrawDC, x, y, x + Wide.Side, y + Wide.Side);
}

template <class Draw> void DrawRoundRect() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    RoundRect(Bench.DrawDC, x, y, x + Wide.Side, y + Wide.Side, Wide.Side / 4, Wide.Side / 4);
}

template <class Draw> void DrawPolygon() {
    Polygon(Bench.DrawDC, Place<Draw>(STAR_POINTS), STAR_POINTS);
}

#ifndef UNDER_CE
// Operations the handheld platform does not offer.

template <class Draw> void DrawPie() {
    const INT x = Across<Draw>(), y = Down<Draw>(), s = Wide.Side;
    Pie(Bench.DrawDC, x, y, x + s, y + s, x + s, y + s / 2, x + s / 2, y);
}

template <class Draw> void DrawChord() {
    const INT x = Across<Draw>(), y = Down<Draw>(), s = Wide.Side;
    Chord(Bench.DrawDC, x, y, x + s, y + s, x + s, y + s, x, y + s / 4);
}

template <class Draw> void DrawArc() {
    const INT x = Across<Draw>(), y = Down<Draw>(), s = Wide.Side;
    Arc(Bench.DrawDC, x, y, x + s, y + s, x + s, y + s / 2, x + s / 2, y + s);
}

template <class Draw> void DrawPolyPolygon() {
    static const INT COUNTS[TRIANGLES] = {3, 3, 3, 3};
    PolyPolygon(Bench.DrawDC, Place<Draw>(3 * TRIANGLES), COUNTS, TRIANGLES);
}
#endif

// A five-pointed star drawn in one stroke: its point k is the circle's point 2k.
POINT StarPoint(INT k) {
    static const double X[5] = {0.5, 0.794, 0.024, 0.976, 0.206};
    static const double Y[5] = {0.0, 0.905, 0.345, 0.345, 0.905};
    const double s = Wide.Side - 1;
    return {static_cast<LONG>(X[k] * s), static_cast<LONG>(Y[k] * s)};
}

#ifndef UNDER_CE
// Four triangles, one in each quarter of the square.
POINT TrianglePoint(INT k) {
    const INT half = Wide.Side / 2, corner = k / 3, vertex = k % 3;
    const LONG x = corner % 2 * half, y = corner / 2 * half;
    return {x + (vertex == 1   ? half - 1
                 : vertex == 2 ? half / 2
                               : 0),
            y + (vertex == 2 ? half - 1 : 0)};
}
#endif

} // namespace

Workload SetUpShapes(const WideTest &test) {
    const INT mode = test.Mode;
    switch (test.Op) {
    case WideOp::FillRect:
        Wide.Brush = MakeBrush(mode, Wide.Paper);
        return WORKLOAD(DrawFillRect);
    case WideOp::PatBlt:
        Wide.Rop = RopCode(mode);
        SelectBrush(MakeBrush(BRUSH_SOLID, Wide.Paper));
        return WORKLOAD(DrawPatBlt);
    case WideOp::Polygon:
        SelectPen(MakePen(PEN_THIN, Wide.Ink));
        SelectBrush(MakeBrush(BRUSH_SOLID, Wide.Paper));
#ifndef UNDER_CE
        if (mode == FILL_WINDING) {
            Wide.OldFill = SetPolyFillMode(Bench.DrawDC, WINDING);
        }
#endif
        PlaceShapes(STAR_POINTS, StarPoint);
        return WORKLOAD(DrawPolygon);
    default:
        break;
    }
    SelectPen(MakePen(PEN_THIN, Wide.Ink));
    switch (test.Op) {
    case WideOp::Ellipse:
        SelectBrush(MakeBrush(mode, Wide.Paper));
        return WORKLOAD(DrawEllipse);
    case WideOp::RoundRect:
        SelectBrush(MakeBrush(mode, Wide.Paper));
        return WORKLOAD(DrawRoundRect);
#ifndef UNDER_CE
    case WideOp::Pie:
        SelectBrush(MakeBrush(mode, Wide.Paper));
        return WORKLOAD(DrawPie);
    case WideOp::Chord:
        SelectBrush(MakeBrush(mode, Wide.Paper));
        return WORKLOAD(DrawChord);
    case WideOp::Arc:
        return WORKLOAD(DrawArc);
    case WideOp::PolyPolygon:
        SelectBrush(MakeBrush(BRUSH_SOLID, Wide.Paper));
        PlaceShapes(3 * TRIANGLES, TrianglePoint);
        return WORKLOAD(DrawPolyPolygon);
#endif
    default:
        SelectBrush(MakeBrush(mode, Wide.Paper));
        return WORKLOAD(DrawRectangle);
    }
}
