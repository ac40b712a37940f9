#include "Picture.h"

#include <cstdio>

std::vector<DWORD> ReadArea(HDC dc, INT width, INT height) {
    // 32 bits a pixel with the channels' masks, which the handheld platform requires at
    // that depth and the desktop reads alike.
    struct {
        BITMAPINFOHEADER Header;
        DWORD Masks[3];
    } info = {};
    info.Header.biSize = sizeof info.Header;
    info.Header.biWidth = width;
    info.Header.biHeight = -height; // top-down
    info.Header.biPlanes = 1;
    info.Header.biBitCount = 32;
    info.Header.biCompression = BI_BITFIELDS;
    info.Masks[0] = 0xFF0000;
    info.Masks[1] = 0x00FF00;
    info.Masks[2] = 0x0000FF;
    void *bits = nullptr;
    const HDC copy = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&info),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
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
