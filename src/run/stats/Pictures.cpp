#include "Pictures.h"
#include "Format.h"

#include <algorithm>
#include <cstdlib>

std::string DigestOf(const std::vector<std::uint32_t> &pixels) {
    if (pixels.empty()) {
        return std::string();
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint32_t pixel : pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ (pixel >> shift & 0xFF)) * 1099511628211ull;
        }
    }
    return Format("%016llx", static_cast<unsigned long long>(hash));
}

bool Differ(const Pixels &a, const Pixels &b, PictureDifference &difference) {
    if (a.Width != b.Width || a.Height != b.Height || a.Values.size() != b.Values.size()) {
        return false;
    }
    difference = PictureDifference{};
    for (size_t i = 0; i < a.Values.size(); i++) {
        int largest = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            largest = std::max(largest, std::abs(static_cast<int>(a.Values[i] >> shift & 0xFF) -
                                                 static_cast<int>(b.Values[i] >> shift & 0xFF)));
        }
        if (largest == 0) {
            continue;
        }
        const int x = static_cast<int>(i % a.Width), y = static_cast<int>(i / a.Width);
        const bool first = difference.Pixels++ == 0;
        difference.Left = first ? x : std::min(difference.Left, x);
        difference.Right = first ? x : std::max(difference.Right, x);
        difference.Top = first ? y : difference.Top;
        difference.Bottom = y;
        difference.Largest = std::max(difference.Largest, largest);
    }
    return true;
}

Pixels DifferenceImage(const Pixels &a, const Pixels &b) {
    constexpr int GAP = 8;
    constexpr std::uint32_t GREY = 0x808080, MAGENTA = 0xFF00FF;
    const int w = a.Width, h = a.Height;
    Pixels out;
    out.Width = 3 * w + 2 * GAP;
    out.Height = h;
    out.Values.assign(static_cast<size_t>(out.Width) * h, GREY);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const std::uint32_t p = a.Values[static_cast<size_t>(y) * w + x],
                                q = b.Values[static_cast<size_t>(y) * w + x];
            std::uint32_t *row = &out.Values[static_cast<size_t>(y) * out.Width];
            row[x] = p;
            row[w + GAP + x] = q;
            // Each channel a quarter as far from white.
            row[2 * (w + GAP) + x] = p != q ? MAGENTA : 0xC0C0C0 + (p >> 2 & 0x3F3F3F);
        }
    }
    return out;
}
