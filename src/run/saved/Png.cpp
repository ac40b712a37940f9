#include "Png.h"

#include <algorithm>

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

std::string PictureFile(const std::string &test, const std::string &suffix) {
    return test + suffix + ".png";
}
