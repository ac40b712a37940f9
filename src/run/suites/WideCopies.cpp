// The copies: a square of a memory bitmap onto the surface in a raster operation, of
// the surface onto itself, between monochrome and colour, stretched, put from an image
// in memory or read back into one, through a mask, leaving white out, blended.
#include "WideState.h"

namespace {

template <class Draw> void DrawBitBlt() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    BitBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Rop);
}

template <class Draw> void DrawScroll() {
    const INT x = Across<Draw>(), y = Down<Draw>(), fromX = Across<Draw>(), fromY = Down<Draw>();
    BitBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Bench.DrawDC, fromX, fromY, SRCCOPY);
}

template <class Draw> void DrawToMono() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    BitBlt(Wide.SourceDC, 0, 0, Wide.Side, Wide.Side, Bench.DrawDC, x, y, SRCCOPY);
}

template <class Draw> void DrawStretchBlt() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    StretchBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.From, Wide.From,
               SRCCOPY);
}

template <class Draw> void DrawStretchDIBits() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    StretchDIBits(Bench.DrawDC, x, y, Wide.Side, Wide.Side, 0, 0, Wide.Side, Wide.Side,
                  Wide.Image.data(), reinterpret_cast<BITMAPINFO *>(&Wide.Info), DIB_RGB_COLORS,
                  SRCCOPY);
}

template <class Draw> void DrawSetDIBits() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    SetDIBitsToDevice(Bench.DrawDC, x, y, Wide.Side, Wide.Side, 0, 0, 0, Wide.Side,
                      Wide.Image.data(), reinterpret_cast<BITMAPINFO *>(&Wide.Info),
                      DIB_RGB_COLORS);
}

template <class Draw> void DrawMaskBlt() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    // Where the mask is 1 the source is copied; where 0 the surface stays.
    MaskBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Mask, 0, 0,
            MAKEROP4(SRCCOPY, 0x00AA0029));
}

template <class Draw> void DrawTransparentBlt() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    TransparentBlt(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Side,
                   Wide.Side, RGB(255, 255, 255));
}

// Half the source over half the surface.
constexpr BLENDFUNCTION HALF = {
    .BlendOp = AC_SRC_OVER, .BlendFlags = {}, .SourceConstantAlpha = 128, .AlphaFormat = {}};

template <class Draw> void DrawAlphaBlend() {
    const INT x = Across<Draw>(), y = Down<Draw>();
    AlphaBlend(Bench.DrawDC, x, y, Wide.Side, Wide.Side, Wide.SourceDC, 0, 0, Wide.Side, Wide.Side,
               HALF);
}

#ifndef UNDER_CE
// An operation the handheld platform does not offer.
template <class Draw> void DrawGetDIBits() {
    GetDIBits(Bench.DrawDC, Wide.Source, 0, Wide.Side, Wide.Image.data(),
              reinterpret_cast<BITMAPINFO *>(&Wide.Info), DIB_RGB_COLORS);
}
#endif

// A 32-bit image of the test's side in diagonal bands of the two colours on white.
void SetUpImage() {
    const INT s = Wide.Side;
    DescribeImage(Wide.Info, s, s);
    Wide.Image.assign(static_cast<size_t>(s * s), 0x00FFFFFF);
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

// The stretch's mode, and the source's side: twice the test's, or half.
Workload SetUpStretch(INT mode, INT s) {
    const bool half = mode == STRETCH_COLOR_HALF || mode == STRETCH_HALFTONE_HALF;
    Wide.From = half ? s * 2 : (s + 1) / 2;
    MakeSource(Wide.From, Wide.From);
#ifndef UNDER_CE
    if (mode == STRETCH_HALFTONE_HALF || mode == STRETCH_HALFTONE_DOUBLE) {
        Wide.OldStretch = SetStretchBltMode(Bench.DrawDC, HALFTONE);
        // HALFTONE needs the brush origin set again after the mode.
        Wide.MovedOrigin = SetBrushOrgEx(Bench.DrawDC, 0, 0, &Wide.OldOrigin) != 0;
        return WORKLOAD(DrawStretchBlt);
    }
#endif
    Wide.OldStretch = SetStretchBltMode(Bench.DrawDC, COLORONCOLOR);
    return WORKLOAD(DrawStretchBlt);
}

} // namespace

Workload SetUpCopies(const WideTest &test) {
    const INT mode = test.Mode, s = test.Size;
    switch (test.Op) {
    case WideOp::Scroll:
        PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        return WORKLOAD(DrawScroll);
    case WideOp::MonoToColour:
        // Cells of 4 x 8 pixels, set and clear by turns: 0 is drawn in the text colour,
        // 1 in the background colour.
        Wide.Rop = RopCode(mode);
        HoldSource(MonoBitmap(s, [](INT x, INT y) { return (x / 4 + y / 8) % 2 == 0; }));
        Wide.OldText = SetTextColor(Bench.DrawDC, Wide.Ink);
        Wide.OldBack = SetBkColor(Bench.DrawDC, Wide.Paper);
        return WORKLOAD(DrawBitBlt);
    case WideOp::ColourToMono:
        // The copy makes the background colour 1 and every other colour 0; its target
        // starts all 1.
        PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        HoldSource(MonoBitmap(s, [](INT, INT) { return true; }));
        Wide.OldText = SetTextColor(Bench.DrawDC, Wide.Ink);
        Wide.OldBack = SetBkColor(Bench.DrawDC, Wide.Paper);
        return WORKLOAD(DrawToMono);
    case WideOp::StretchBlt:
        return SetUpStretch(mode, s);
    case WideOp::StretchDIBits:
        SetUpImage();
        return WORKLOAD(DrawStretchDIBits);
    case WideOp::SetDIBitsToDevice:
        SetUpImage();
        return WORKLOAD(DrawSetDIBits);
#ifndef UNDER_CE
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
        return WORKLOAD(DrawGetDIBits);
#endif
    case WideOp::BitBlt:
        Wide.Rop = RopCode(mode);
        // What these do to white is white, or the source: they are drawn on bands.
        if (mode == ROP_SRCAND || mode == ROP_SRCPAINT || mode == ROP_SRCINVERT) {
            PaintBands(Bench.DrawDC, Bench.ScreenWidth, Bench.ScreenHeight);
        }
        break;
    default:
        break;
    }
    MakeSource(s, s);
    switch (test.Op) {
    case WideOp::MaskBlt:
        // A monochrome mask: the left half copied, the right half kept.
        Wide.Mask = MonoBitmap(s, [s](INT x, INT) { return x < s / 2; });
        return WORKLOAD(DrawMaskBlt);
    case WideOp::TransparentBlt:
        return WORKLOAD(DrawTransparentBlt);
    case WideOp::AlphaBlend:
        return WORKLOAD(DrawAlphaBlend);
    default:
        return WORKLOAD(DrawBitBlt);
    }
}
