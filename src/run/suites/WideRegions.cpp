// The regions: a square or round region filled with a brush or painted with the DC's,
// and a line through a clip region of sixteen rectangles.
#include "WideState.h"

namespace {

template <class Draw> void DrawFillRgn() {
    FillRgn(Bench.DrawDC, Wide.Regions[Draw::Int(PLACES)], Wide.Brush);
}

#ifndef UNDER_CE
// An operation the handheld platform does not offer.
template <class Draw> void DrawPaintRgn() {
    PaintRgn(Bench.DrawDC, Wide.Regions[Draw::Int(PLACES)]);
}
#endif

// Sixteen regions of the test's shape, each a square of its side somewhere in the
// surface.
void PlaceRegions(INT mode) {
    for (HRGN &region : Wide.Regions) {
        const INT x = Across<LiveDraw>(), y = Down<LiveDraw>(), s = Wide.Side;
        region = mode == REGION_ELLIPSE ? CreateEllipticRgn(x, y, x + s, y + s)
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

} // namespace

Workload SetUpRegions(const WideTest &test) {
    switch (test.Op) {
    case WideOp::FillRgn:
        Wide.Brush = MakeBrush(BRUSH_SOLID, Wide.Paper);
        PlaceRegions(test.Mode);
        return WORKLOAD(DrawFillRgn);
#ifndef UNDER_CE
    case WideOp::PaintRgn:
        SelectBrush(MakeBrush(BRUSH_SOLID, Wide.Paper));
        PlaceRegions(test.Mode);
        return WORKLOAD(DrawPaintRgn);
#endif
    default:
        SelectPen(MakePen(PEN_THIN, Wide.Ink));
        SetUpClip();
        return LineWorkload();
    }
}
