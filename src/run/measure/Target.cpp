#include "Target.h"

#include "Bench.h"
#include "Display.h"
#include "Image.h"
#include "Process.h"

#include <new>

static void Pump() {
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

// Closing the window (Alt+F4, WM_CLOSE from another program) stops the run as
// Ctrl+C does; the window stays until the run has wound down, so no sample draws on
// a window that is gone.
static LRESULT CALLBACK RunWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        StopRun(WINDOW_CLOSED);
        return 0;
    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}

static bool OpenWindow() {
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = RunWindowProc;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = TEXT("QuenzelRunForm");
    if (RegisterClass(&windowClass) == 0) {
        return false;
    }
    Bench.MainWindow =
        CreateMainWindow(TEXT("QuenzelRunForm"), TEXT("QuenzelRun"), windowClass.hInstance);
    Pump();
    return Bench.MainWindow != nullptr;
}

// A DIB section's header and its colour table: a palette for 1 and 8 bits a pixel,
// the channels' masks for 16 (5-6-5) and, as the handheld platform wants them, 32.
struct DibInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colours[256];
};

static void DescribeDib(DibInfo &info, INT depth) {
    info.Header.biCompression = BI_RGB;
    DWORD *masks = reinterpret_cast<DWORD *>(info.Colours);
    if (depth == 1) {
        info.Colours[1] = {255, 255, 255, 0};
        info.Header.biClrUsed = 2;
    } else if (depth == 8) {
        // A 6 x 6 x 6 colour cube, then 40 greys.
        for (INT i = 0; i < 256; i++) {
            const BYTE grey = static_cast<BYTE>((i - 216) * 255 / 39);
            info.Colours[i] =
                i < 216 ? RGBQUAD{static_cast<BYTE>(i % 6 * 51), static_cast<BYTE>(i / 6 % 6 * 51),
                                  static_cast<BYTE>(i / 36 * 51), 0}
                        : RGBQUAD{grey, grey, grey, 0};
        }
        info.Header.biClrUsed = 256;
    } else if (depth == 16) {
        info.Header.biCompression = BI_BITFIELDS;
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    }
#ifdef UNDER_CE
    else if (depth == 32) {
        info.Header.biCompression = BI_BITFIELDS;
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
#endif
}

bool Target::Open(INT width, INT height, INT depth) {
    if (width == 0) {
        return OpenWindow();
    }
    Bench.ScreenWidth = width;
    Bench.ScreenHeight = height;
    Bits = depth;
    DibInfo info = {};
    info.Header.biSize = sizeof info.Header;
    info.Header.biWidth = width;
    info.Header.biHeight = -height; // top-down
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(depth);
    DescribeDib(info, depth);
    void *bits = nullptr;
    Memory = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(Memory, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &bits,
                              nullptr, 0);
    if (Bitmap == nullptr || bits == nullptr) {
        DeleteDC(Memory);
        Memory = nullptr;
        return false;
    }
    OldBitmap = SelectObject(Memory, Bitmap);
    return true;
}

void Target::Close() {
    if (Memory == nullptr) {
        DestroyWindow(Bench.MainWindow);
        return;
    }
    SelectObject(Memory, OldBitmap);
    DeleteDC(Memory);
    DeleteObject(Bitmap);
    Memory = nullptr;
}

HDC Target::Obtain() const {
    return Memory != nullptr ? Memory : GetDC(Bench.MainWindow);
}

void Target::Release(HDC dc) const {
    if (Memory == nullptr) {
        ReleaseDC(Bench.MainWindow, dc);
    }
}

bool Target::Reached(HDC dc) const {
    RECT box;
    return dc != nullptr && (Memory != nullptr || IsWindow(Bench.MainWindow)) &&
           GetClipBox(dc, &box) > NULLREGION;
}

void Target::Clear() const {
    const HDC dc = Obtain();
    PaintWhite(dc);
    Release(dc);
    Pump();
}

const char *Target::Name() const {
    return Memory != nullptr ? "offscreen" : "window";
}

INT Target::Depth() const {
    if (Memory != nullptr) {
        return Bits;
    }
    const HDC screen = GetDC(nullptr);
    const INT depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
}

Pixels Target::Read() const {
    const HDC dc = Obtain();
    Pixels area{Bench.ScreenWidth, Bench.ScreenHeight,
                ReadArea(dc, Bench.ScreenWidth, Bench.ScreenHeight)};
    Release(dc);
    return area;
}

std::string Target::Snapshot() const {
    const INT width = Bench.ScreenWidth, height = Bench.ScreenHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    const HDC source = Obtain();
    const HDC copy = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        DeleteDC(copy);
        Release(source);
        return std::string();
    }
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    std::string out;
    try {
        out.reserve(file.bfSize);
        out.append(reinterpret_cast<const char *>(&file), sizeof file);
        out.append(reinterpret_cast<const char *>(&info.bmiHeader), sizeof info.bmiHeader);
        out.append(static_cast<const char *>(bits), imageBytes);
    } catch (const std::bad_alloc &) {
        out.clear();
    }
    SelectObject(copy, old);
    DeleteDC(copy);
    DeleteObject(bitmap);
    Release(source);
    return out;
}
