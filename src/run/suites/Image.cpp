#include "Image.h"

void DescribeImage(Image32 &image, INT width, INT height) {
    image = {};
    image.Header.biSize = sizeof image.Header;
    image.Header.biWidth = width;
    image.Header.biHeight = -height; // top-down
    image.Header.biPlanes = 1;
    image.Header.biBitCount = 32;
    image.Header.biCompression = BI_BITFIELDS;
    image.Masks[0] = 0xFF0000;
    image.Masks[1] = 0x00FF00;
    image.Masks[2] = 0x0000FF;
}

std::vector<std::uint32_t> ReadArea(HDC dc, INT width, INT height) {
    Image32 info;
    DescribeImage(info, width, height);
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
