// Shared type declarations of the benchmark. Holds no variables and no routines.
#pragma once

#include <windows.h>

// One operation of a test: draws one primitive on DrawDC.
typedef void (*TestProc)();

// Tests are numbered 1 to TEST_COUNT; index 0 of every per-test array is unused.
constexpr INT TEST_COUNT = 7;

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

static_assert(sizeof(bool) == 1, "the button flags are one byte");
