#include "Picture.h"

std::vector<std::uint32_t> ReadArea(HDC dc, INT width, INT height) {
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
    std::vector<std::uint32_t> pixels;
    if (bitmap == nullptr || bits == nullptr) {
        DeleteDC(copy);
        return pixels;
    }
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const std::uint32_t *from = static_cast<const std::uint32_t *>(bits);
    pixels.assign(from, from + static_cast<size_t>(width) * static_cast<size_t>(height));
    // The fourth byte is not part of the colour, and a copy may leave anything there.
    for (std::uint32_t &pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    SelectObject(copy, old);
    DeleteDC(copy);
    DeleteObject(bitmap);
    return pixels;
}
