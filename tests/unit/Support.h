// The unit tests' fixture on the real Win32: zeroed state, the generator at its
// start and a white 800 x 600 DIB section as the drawing area.
#pragma once

#include "Bench.h"
#include "Display.h"
#include "Random.h"
#include "SourceBitmap.h"

#include <gtest/gtest.h>

#include <vector>

// The desktop's own calls: the handheld's CE pseudo-handles mean nothing to them.
#undef GetCurrentProcess
#undef GetCurrentThread

using Ints = std::vector<INT>;
constexpr bool kHandheld = sizeof(TCHAR) == 2; // the handheld passes UTF-16 text
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Room for more GDI objects, which shrinks by each object alive (Wine does not tell
// their number): pens made until the platform refuses one, then deleted.
inline int GdiRoom() {
    std::vector<HPEN> pens;
    for (HPEN pen; pens.size() < 100000 && (pen = CreatePen(PS_SOLID, 1, 0)) != nullptr;) {
        pens.push_back(pen);
    }
    EXPECT_LT(pens.size(), 100000u) << "the platform sets a limit";
    for (const HPEN pen : pens) {
        DeleteObject(pen);
    }
    return static_cast<int>(pens.size());
}

// A failure names the pixel, the colour found and the colour expected.
#define EXPECT_PIXEL(dc, x, y, colour)                                                             \
    EXPECT_EQ(GetPixel(dc, x, y), COLORREF(colour))                                                \
        << std::hex << "pixel (" << std::dec << (x) << ", " << (y) << ") is 0x" << std::hex        \
        << GetPixel(dc, x, y) << ", expected 0x" << COLORREF(colour)

class Fresh : public ::testing::Test {
  protected:
    void SetUp() override {
        Bench = BenchState{};
        RandomReset();
        Bench.DrawDC = AreaDC = CreateCompatibleDC(nullptr);
        NewArea(800, 600);
    }
    void TearDown() override {
        if (Bench.SourceDC != nullptr) {
            ReleaseSourceBitmap();
        }
        DeleteObject(SelectObject(AreaDC, OldBitmap));
        DeleteDC(AreaDC);
    }
    // BitBlt's source, built as at start-up; the generator back at its start.
    void Source() {
        SetupSourceBitmap();
        Bench.DrawDC = AreaDC;
        RandomReset();
    }
    // A new white drawing area of that size; Bits are its pixels, top row first.
    void NewArea(INT width, INT height) {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                           {}};
        void *bits;
        const HGDIOBJ old = SelectObject(
            AreaDC, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        OldBitmap == nullptr ? void(OldBitmap = old) : void(DeleteObject(old));
        Bits = static_cast<const DWORD *>(bits);
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = height;
        PaintWhite(AreaDC);
    }
    std::vector<DWORD> Pixels() const {
        GdiFlush();
        return std::vector<DWORD>(Bits, Bits + Bench.ScreenWidth * Bench.ScreenHeight);
    }
    // How many draws the generator has made since its start.
    static int DrawsTaken() {
        const int probe = RandomInt(0x7fffffff);
        RandomReset();
        int taken = 0;
        while (taken < 100000 && RandomInt(0x7fffffff) != probe) {
            taken++;
        }
        return taken;
    }
    HDC AreaDC;
    const DWORD *Bits = nullptr;
    HGDIOBJ OldBitmap = nullptr;
};
