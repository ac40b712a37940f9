#include "Picture.h"

#include <cstdio>

std::vector<DWORD> ReadArea(HDC dc, INT width, INT height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    const HDC copy = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (bitmap == nullptr || bits == nullptr) {
        DeleteDC(copy);
        return pixels;
    }
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD *from = static_cast<const DWORD *>(bits);
    pixels.assign(from, from + static_cast<size_t>(width) * static_cast<size_t>(height));
    // The fourth byte is not part of the colour, and a copy may leave anything there.
    for (DWORD &pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    SelectObject(copy, old);
    DeleteDC(copy);
    DeleteObject(bitmap);
    return pixels;
}

std::string DigestOf(const std::vector<DWORD> &pixels) {
    if (pixels.empty()) {
        return std::string();
    }
    UINT64 hash = 14695981039346656037ull;
    for (const DWORD pixel : pixels) {
        for (INT shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ (pixel >> shift & 0xFF)) * 1099511628211ull;
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}
