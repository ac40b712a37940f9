#include "Display.h"

#include "Bench.h"

#ifdef UNDER_CE
#include <aygshell.h>
#endif

bool TakeDisplayMutex() {
    return CreateMutex(nullptr, TRUE, TEXT("NorvaleQuenzelBenchmark")) == nullptr ||
           GetLastError() != ERROR_ALREADY_EXISTS;
}

HWND CreateMainWindow(const TCHAR *className, const TCHAR *title, HINSTANCE instance) {
#ifndef UNDER_CE
    // Input during a ten-second test must wait, not make the system hide the busy
    // window behind a frozen copy (which would also clip what the test draws). The
    // CE layer does the same for the handheld when the class is registered.
    DisableProcessWindowsGhosting();
#endif
    const HWND window =
        CreateWindowEx(WS_EX_TOPMOST, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window != nullptr) {
        FillScreen(window);
    }
    return window;
}

#ifdef UNDER_CE
void GetScreenSize(SizePair &size) {
    size.Width = GetSystemMetrics(SM_CXSCREEN);
    size.Height = GetSystemMetrics(SM_CYSCREEN);
}
#else
void GetClientSize(HWND window, SizePair &size) {
    RECT rect;
    GetClientRect(window, &rect);
    size.Width = rect.right;
    size.Height = rect.bottom;
}
#endif

void FillScreen(HWND window) {
    SizePair size;
#ifdef UNDER_CE
    ShowWindow(window, SW_SHOWNORMAL);
    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    GetScreenSize(size);
    Bench.ScreenWidth = size.Width;
    Bench.ScreenHeight = size.Height;
    MoveWindow(window, 0, 0, Bench.ScreenWidth, Bench.ScreenHeight, TRUE);
#else
    ShowWindow(window, SW_MAXIMIZE);
    GetClientSize(window, size);
    Bench.ScreenWidth = size.Width;
    Bench.ScreenHeight = size.Height;
#endif
}

void PaintWhite(HDC dc) {
    const HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    const RECT rect = {0, 0, Bench.ScreenWidth, Bench.ScreenHeight};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}
