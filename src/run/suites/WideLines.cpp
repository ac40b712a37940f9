// The points and the lines: a pixel set or read anywhere, a line of the test's length
// in a pen of a width or style, a polyline and joined Bezier curves.
#include "WideState.h"

namespace {

constexpr INT POLYLINE_POINTS = 32;
constexpr INT BEZIER_POINTS = 31; // ten joined curves

template <class Draw> void DrawSetPixel() {
    const INT x = Draw::Int(Bench.ScreenWidth), y = Draw::Int(Bench.ScreenHeight);
    SetPixel(Bench.DrawDC, x, y, Wide.Ink);
}

template <class Draw> void DrawGetPixel() {
    const INT x = Draw::Int(Bench.ScreenWidth), y = Draw::Int(Bench.ScreenHeight);
    Wide.Seen[Wide.Reads++ % SEEN] = GetPixel(Bench.DrawDC, x, y);
}

template <class Draw> void DrawLine() {
    const INT x = Across<Draw>(), y = Down<Draw>(), slant = Draw::Int(Wide.Side);
    MoveToEx(Bench.DrawDC, x, y + slant, nullptr);
    LineTo(Bench.DrawDC, x + Wide.Side - 1, y + Wide.Side - 1 - slant);
}

template <class Draw> void DrawPolyline() {
    Polyline(Bench.DrawDC, Place<Draw>(POLYLINE_POINTS), POLYLINE_POINTS);
}

#ifndef UNDER_CE
// Operations the handheld platform does not offer.

template <class Draw> void DrawSetPixelV() {
    const INT x = Draw::Int(Bench.ScreenWidth), y = Draw::Int(Bench.ScreenHeight);
    SetPixelV(Bench.DrawDC, x, y, Wide.Ink);
}

template <class Draw> void DrawPolyBezier() {
    PolyBezier(Bench.DrawDC, Place<Draw>(BEZIER_POINTS), BEZIER_POINTS);
}
#endif

// Points of a shape anywhere in the test's square.
POINT Scattered(INT) {
    const INT x = RandomInt(Wide.Side);
    return POINT{x, RandomInt(Wide.Side)};
}

} // namespace

Workload LineWorkload() {
    return WORKLOAD(DrawLine);
}

Workload SetUpLines(const WideTest &test) {
    switch (test.Op) {
    case WideOp::SetPixel:
        return WORKLOAD(DrawSetPixel);
    case WideOp::GetPixel:
        PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        return WORKLOAD(DrawGetPixel);
    case WideOp::Polyline:
        SelectPen(MakePen(test.Mode, Wide.Ink));
        PlaceShapes(POLYLINE_POINTS, Scattered);
        return WORKLOAD(DrawPolyline);
#ifndef UNDER_CE
    case WideOp::SetPixelV:
        return WORKLOAD(DrawSetPixelV);
    case WideOp::PolyBezier:
        SelectPen(MakePen(test.Mode, Wide.Ink));
        PlaceShapes(BEZIER_POINTS, Scattered);
        return WORKLOAD(DrawPolyBezier);
#endif
    default:
        // A wide pen reaches half its width beyond the line's ends.
        SelectPen(MakePen(test.Mode, Wide.Ink));
        Wide.Margin = (WideReach(test) - test.Size + 1) / 2;
        return WORKLOAD(DrawLine);
    }
}
