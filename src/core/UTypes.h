// Shared type declarations of the benchmark. Holds no variables and no routines.
#pragma once

#include "TestNames.h"

#include <windows.h>

#include <cwchar>
#include <string>

// One operation of a test: draws one primitive on DrawDC.
typedef void (*TestProc)();

// One row of the test table.
struct TestEntry {
    TestProc Proc;
    const TCHAR *Name;
};

// The whole mutable state of the program; one instance, zero at load.
struct BenchState {
    HWND MainWindow;
    HWND NextButton;
    HWND CloseButton;
    HDC DrawDC;
    HDC SourceDC;
    HBITMAP SourceBitmap;
    INT ScreenWidth;
    INT ScreenHeight;
    INT TestResults[TEST_COUNT + 1];
    INT StepIndex;
    bool NextShown;
    bool CloseShown;
    INT ScreenIndex;
    HGDIOBJ SourceOldBitmap;
};

// A width and a height, in pixels.
struct SizePair {
    INT Width;
    INT Height;
};

// Text in the width the platform calls of this flavour take: 8-bit on the desktop,
// UTF-16 on the handheld.
typedef std::basic_string<TCHAR> Text;

// UTF-16 text, on every build.
typedef std::basic_string<WCHAR> WideString;

// A UTF-16 literal. Windows' wchar_t is UTF-16; where wchar_t is wider, WCHAR is
// char16_t and the literal must be one too.
#if WCHAR_MAX > 0xFFFF
#define WIDE(quote) u##quote
#else
#define WIDE(quote) L##quote
#endif

static_assert(sizeof(WCHAR) == 2, "UTF-16 text is 16-bit units");
static_assert(sizeof(bool) == 1, "the button flags are one byte");
