// The text: a line's first 4, 16 or 64 characters in Arial at a size in points, bold or
// italic, on the background colour or a filled box, clipped, or broken into lines.
#include "WideState.h"

const TCHAR TEXT_LINE[] = TEXT("Quenzel draws this text to time it; each line holds sixty-four..");
static_assert(sizeof TEXT_LINE / sizeof TEXT_LINE[0] == 65, "64 characters and the end");

namespace {

// Where a box of the text's extent fits in the surface (a text too large for it is
// skipped): a left or top edge.
template <class Draw> INT TextLeft(INT width) {
    return Draw::Int(Bench.ScreenWidth - width + 1);
}
template <class Draw> INT TextTop(INT height) {
    return Draw::Int(Bench.ScreenHeight - height + 1);
}

template <class Draw> void DrawExtTextOut() {
    RECT box;
    box.left = TextLeft<Draw>(Wide.TextSize.cx);
    box.top = TextTop<Draw>(Wide.TextSize.cy);
    box.right = box.left + Wide.BoxWidth;
    box.bottom = box.top + Wide.TextSize.cy;
    ExtTextOut(Bench.DrawDC, box.left, box.top, Wide.TextOptions, &box, TEXT_LINE, Wide.Length,
               nullptr);
}

template <class Draw> void DrawWords() {
    RECT box;
    box.left = TextLeft<Draw>(WORDS_WIDTH);
    box.top = TextTop<Draw>(Wide.TextSize.cy * WORDS_LINES);
    box.right = box.left + WORDS_WIDTH;
    box.bottom = box.top + Wide.TextSize.cy * WORDS_LINES;
    DrawText(Bench.DrawDC, TEXT_LINE, Wide.Length, &box, DT_WORDBREAK);
}

#ifndef UNDER_CE
// An operation the handheld platform does not offer.
template <class Draw> void DrawTextOut() {
    const INT x = TextLeft<Draw>(Wide.TextSize.cx), y = TextTop<Draw>(Wide.TextSize.cy);
    TextOut(Bench.DrawDC, x, y, TEXT_LINE, Wide.Length);
}
#endif

} // namespace

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

Workload SetUpText(const WideTest &test) {
    const INT mode = test.Mode;
    Wide.Font = MakeFont(test);
    Wide.OldFont = SelectObject(Bench.DrawDC, Wide.Font);
    Wide.Length = TextLength(mode);
    GetTextExtentPoint32(Bench.DrawDC, TEXT_LINE, Wide.Length, &Wide.TextSize);
    Wide.BoxWidth = mode & TEXT_CLIPPED ? Wide.TextSize.cx / 2 : Wide.TextSize.cx;
    Wide.TextOptions = mode & TEXT_OPAQUE ? ETO_OPAQUE : mode & TEXT_CLIPPED ? ETO_CLIPPED : 0;
    Wide.OldText = SetTextColor(Bench.DrawDC, Wide.Ink);
    Wide.OldBack = SetBkColor(Bench.DrawDC, Wide.Paper);
    Wide.OldBackMode = SetBkMode(Bench.DrawDC, mode & TEXT_BACKGROUND ? OPAQUE : TRANSPARENT);
    switch (test.Op) {
    case WideOp::DrawText:
        return WORKLOAD(DrawWords);
#ifndef UNDER_CE
    case WideOp::TextOut:
        return WORKLOAD(DrawTextOut);
#endif
    default:
        return WORKLOAD(DrawExtTextOut);
    }
}
