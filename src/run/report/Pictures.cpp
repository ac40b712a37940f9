#include "Pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// The PNG writer and reader, compiled here alone; no file of theirs is opened, the
// bytes pass through memory.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

// The largest side a picture is read with: an off-screen surface's.
constexpr int MAX_SIDE = 16384;

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
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

static void Append(void *out, void *data, int size) {
    static_cast<std::string *>(out)->append(static_cast<const char *>(data),
                                            static_cast<size_t>(size));
}

std::string PngOf(const Pixels &picture) {
    std::vector<unsigned char> rgb;
    rgb.reserve(picture.Values.size() * 3);
    for (const std::uint32_t pixel : picture.Values) {
        rgb.insert(rgb.end(),
                   {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                    static_cast<unsigned char>(pixel)});
    }
    std::string png;
    if (picture.Width <= 0 || picture.Height <= 0 ||
        picture.Values.size() != static_cast<size_t>(picture.Width) * picture.Height ||
        stbi_write_png_to_func(Append, &png, picture.Width, picture.Height, 3, rgb.data(),
                               picture.Width * 3) == 0) {
        png.clear();
    }
    return png;
}

bool ReadPng(const std::string &png, Pixels &picture) {
    const auto *bytes = reinterpret_cast<const stbi_uc *>(png.data());
    const int length = static_cast<int>(std::min<size_t>(png.size(), 1u << 30));
    int width, height, channels;
    if (stbi_info_from_memory(bytes, length, &width, &height, &channels) == 0 || width > MAX_SIDE ||
        height > MAX_SIDE) {
        return false;
    }
    stbi_uc *rgb = stbi_load_from_memory(bytes, length, &width, &height, &channels, 3);
    if (rgb == nullptr) {
        return false;
    }
    picture.Width = width;
    picture.Height = height;
    picture.Values.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture.Values.size(); i++) {
        picture.Values[i] =
            static_cast<std::uint32_t>(rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2]);
    }
    stbi_image_free(rgb);
    return true;
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

std::string DifferenceText(const PictureDifference &d) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "%lld pixel%s in x %d to %d, y %d to %d, by at most %d in a "
                  "channel",
                  d.Pixels, d.Pixels == 1 ? "" : "s", d.Left, d.Right, d.Top, d.Bottom, d.Largest);
    return text;
}

std::string PictureFile(const std::string &test, const std::string &suffix) {
    return test + suffix + ".png";
}
