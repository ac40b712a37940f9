#include "WideState.h"

WideState Wide;

// The set-up's parts the families share.

DWORD RopCode(INT rop) {
    static const DWORD CODES[] = {PATCOPY, PATINVERT, DSTINVERT, SRCCOPY,
                                  SRCAND,  SRCPAINT,  SRCINVERT, NOTSRCCOPY};
    return CODES[rop];
}

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

TestProc WideBegin(INT test) {
    Wide = WideState{};
    Wide.Test = &WIDE_TABLE[test];
    Wide.Side = Wide.Test->Size;
    RandomRestore(RandomStateFrom(WideSeed(*Wide.Test)));
    Wide.Ink = RandomColor();
    Wide.Paper = RandomColor();
    switch (Wide.Test->Op) {
    case WideOp::SetPixel:
    case WideOp::SetPixelV:
    case WideOp::GetPixel:
    case WideOp::Line:
    case WideOp::Polyline:
    case WideOp::PolyBezier:
        Wide.Workload = SetUpLines(*Wide.Test);
        break;
    case WideOp::Rectangle:
    case WideOp::FillRect:
    case WideOp::PatBlt:
    case WideOp::Ellipse:
    case WideOp::RoundRect:
    case WideOp::Pie:
    case WideOp::Chord:
    case WideOp::Arc:
    case WideOp::Polygon:
    case WideOp::PolyPolygon:
        Wide.Workload = SetUpShapes(*Wide.Test);
        break;
    case WideOp::TextOut:
    case WideOp::ExtTextOut:
    case WideOp::DrawText:
        Wide.Workload = SetUpText(*Wide.Test);
        break;
    case WideOp::FillRgn:
    case WideOp::PaintRgn:
    case WideOp::ClipLines:
        Wide.Workload = SetUpRegions(*Wide.Test);
        break;
    default:
        Wide.Workload = SetUpCopies(*Wide.Test);
        break;
    }
    return Wide.Workload.Live;
}

TestProc WideRecording() {
    return Wide.Workload.Record;
}

TestProc WideReplaying() {
    return Wide.Workload.Replay;
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
