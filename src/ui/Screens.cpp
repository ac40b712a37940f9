#include "Screens.h"

#include "Bench.h"
#include "Services.h"

#ifdef UNDER_CE
constexpr LONG TITLE_WEIGHT = FW_HEAVY;
constexpr LONG TOTAL_BOTTOM = 204;
#else
constexpr LONG TITLE_WEIGHT = FW_BOLD;
constexpr LONG TOTAL_BOTTOM = 200;
#endif

constexpr UINT ALIGN_CENTER = TA_CENTER | TA_TOP | TA_NOUPDATECP;
constexpr UINT ALIGN_LEFT = TA_LEFT | TA_TOP | TA_NOUPDATECP;

// Draws text at (x, y), filling the rectangle with the background colour first
// unless told otherwise.
static void PutText(INT x, INT y, LONG left, LONG top, LONG right, LONG bottom, const Text &text,
                    UINT options = ETO_OPAQUE) {
    const RECT rect = {left, top, right, bottom};
    ExtTextOut(Bench.DrawDC, x, y, options, &rect, text.c_str(), static_cast<UINT>(text.size()),
               nullptr);
}

// A centred bold title across the top.
static void PutTitle(const LOGFONT &logFont, const Text &title) {
    const HFONT font = CreateFontIndirect(&logFont);
    const HGDIOBJ oldFont = SelectObject(Bench.DrawDC, font);
    SetTextAlign(Bench.DrawDC, ALIGN_CENTER);
    PutText(Bench.ScreenWidth / 2, 8, 0, 8, Bench.ScreenWidth, 32, title);
    SelectObject(Bench.DrawDC, oldFont);
    DeleteObject(font);
    SetTextAlign(Bench.DrawDC, ALIGN_LEFT);
}

static void PaintIntro(LOGFONT &logFont) {
    const INT width = Bench.ScreenWidth;
    const INT height = Bench.ScreenHeight;
    PutTitle(logFont, TEXT("Norvale Quenzel (v") QUENZEL_VERSION ")");
    PutText(8, 48, 8, 48, width, 64, TEXT("Copyright (C) 2026 Norvale Software"));

    logFont.lfHeight = height - 88;
    logFont.lfWidth = width / 3;
    const HFONT font = CreateFontIndirect(&logFont);
    const HGDIOBJ oldFont = SelectObject(Bench.DrawDC, font);
#ifndef UNDER_CE
    const COLORREF oldColor = SetTextColor(Bench.DrawDC, RGB(127, 127, 127));
    const int oldMode = SetBkMode(Bench.DrawDC, TRANSPARENT);
    PutText(16, 72, 8, 64, width - 8, height - 48, TEXT("2D"));
    SetTextColor(Bench.DrawDC, oldColor);
    // Over the shadow without an opaque fill: the fill would paint the shadow's
    // area white again (the background mode does not govern it), and the screen is
    // white already.
    PutText(8, 64, 8, 64, width - 8, height - 64, TEXT("2D"), 0);
    SetBkMode(Bench.DrawDC, oldMode);
#else
    PutText(8, 64, 8, 64, width - 8, height - 64, TEXT("2D"));
#endif
    SelectObject(Bench.DrawDC, oldFont);
    DeleteObject(font);
}

static void PaintResult(const LOGFONT &logFont, INT test) {
    PutTitle(logFont, Text(TestTable[test].Name) + TEXT(" Test"));
    // Joined as UTF-16 first, then converted as a whole.
    PutText(8, 48, 8, 48, Bench.ScreenWidth, 72,
            ToText(WIDE("Result: ") + IntToWStr(Bench.TestResults[test])));
}

static void PaintSummary(const LOGFONT &logFont) {
    const INT width = Bench.ScreenWidth;
    INT sum = 0;
    for (INT i = 1; i <= TEST_COUNT; i++) {
        const INT y = 48 + 18 * (i - 1);
        PutText(8, y, 8, y, width, y + 12, Text(TestTable[i].Name) + TEXT(":"));
        PutText(100, y, 100, y, width, y + 12, ToText(IntToWStr(Bench.TestResults[i])));
        sum = static_cast<INT>(static_cast<UINT>(sum) + static_cast<UINT>(Bench.TestResults[i]));
    }
    PutText(8, 192, 8, 192, width, 204, TEXT("TOTAL:"));

    const HFONT font = CreateFontIndirect(&logFont);
    const HGDIOBJ oldFont = SelectObject(Bench.DrawDC, font);
    PutText(100, 188, 100, 188, width, TOTAL_BOTTOM, ToText(IntToWStr(sum / TEST_COUNT)));
    // The alignment is left centred: the DC is released right after.
    SetTextAlign(Bench.DrawDC, ALIGN_CENTER);
    PutText(width / 2, 8, 0, 8, width, 32, TEXT("Results"));
    SelectObject(Bench.DrawDC, oldFont);
    DeleteObject(font);
}

void ClearScreen() {
    Bench.DrawDC = GetDC(Bench.MainWindow);
    PaintWhite(Bench.DrawDC);
    ReleaseDC(Bench.MainWindow, Bench.DrawDC);
}

void PaintScreen() {
    Bench.DrawDC = GetDC(Bench.MainWindow);

    // The title font; the logo font is the same record at the logo's size. Other
    // texts use the DC's own font.
    LOGFONT logFont = {};
    logFont.lfWeight = TITLE_WEIGHT;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;

    if (Bench.ScreenIndex <= 0) {
        PaintIntro(logFont);
    } else if (Bench.ScreenIndex <= TEST_COUNT) {
        PaintResult(logFont, Bench.ScreenIndex);
    } else {
        PaintSummary(logFont);
    }

    ReleaseDC(Bench.MainWindow, Bench.DrawDC);
}
