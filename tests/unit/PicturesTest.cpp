#include "Pictures.h"
#include "Png.h"
#include "Show.h"

#include <gtest/gtest.h>

namespace {

// w x h pixels of colours that differ from one pixel to the next.
Pixels Picture(int w, int h) {
    Pixels p{w, h, {}};
    for (int i = 0; i < w * h; i++) {
        p.Values.push_back(static_cast<std::uint32_t>(i * 0x10305 + 0x402010) & 0xFFFFFF);
    }
    return p;
}

// A PNG file holds the pixels exactly; what is no PNG is refused.
TEST(Pictures, ReadBackAsWritten) {
    const Pixels picture = Picture(7, 5);
    Pixels read;
    ASSERT_TRUE(ReadPng(PngOf(picture), read));
    EXPECT_EQ(read.Width, 7);
    EXPECT_EQ(read.Height, 5);
    EXPECT_EQ(read.Values, picture.Values);
    EXPECT_EQ(PngOf({7, 4, picture.Values}), "") << "more pixels than its size";
    EXPECT_FALSE(ReadPng(PngOf(picture).substr(0, 40), read));
    EXPECT_FALSE(ReadPng("not a picture", read));
    EXPECT_EQ(PictureFile("BitBlt.SRCCOPY.10", "-diff"), "BitBlt.SRCCOPY.10-diff.png");
}

// A pixel planted one step off in one channel, another far off: the difference counts
// both, boxes them and gives the largest step; its image marks exactly those two.
TEST(Pictures, ADifferenceMarksExactlyThePixelsThatDiffer) {
    const Pixels a = Picture(20, 10);
    Pixels b = a;
    b.Values[2 * 20 + 3] ^= 0x000001;
    b.Values[8 * 20 + 17] = (a.Values[8 * 20 + 17] & 0x00FFFF) | 0x280000;
    PictureDifference d;
    ASSERT_TRUE(Differ(a, b, d));
    const long long abs = std::abs(int(a.Values[8 * 20 + 17] >> 16) - 0x28);
    EXPECT_EQ(DifferenceText(d), "2 pixels in x 3 to 17, y 2 to 8, by at most " +
                                     std::to_string(abs) + " in a channel");
    const Pixels image = DifferenceImage(a, b);
    ASSERT_EQ(image.Width, 3 * 20 + 16);
    for (int y = 0; y < 10; y++) {
        for (int x = 0; x < 20; x++) {
            const std::uint32_t *row = &image.Values[y * image.Width];
            const bool planted = (x == 3 && y == 2) || (x == 17 && y == 8);
            EXPECT_EQ(row[x], a.Values[y * 20 + x]);
            EXPECT_EQ(row[28 + x], b.Values[y * 20 + x]);
            EXPECT_EQ(row[56 + x] == 0xFF00FF, planted) << x << ", " << y;
            for (const int shift : {0, 8, 16}) { // a quarter as far from white
                EXPECT_TRUE(planted || 255 - (row[56 + x] >> shift & 255) ==
                                           (255 - (a.Values[y * 20 + x] >> shift & 255)) / 4);
            }
        }
    }
    EXPECT_TRUE(Differ(a, a, d) && d.Pixels == 0);
    EXPECT_FALSE(Differ(a, Picture(10, 20), d)) << "pictures of two sizes";
}

// The same pixels give the same digest; one pixel planted wrong, or two swapped,
// another.
TEST(Pictures, DigestsTellPicturesApart) {
    const Pixels a = Picture(20, 10);
    const std::string digest = DigestOf(a.Values);
    EXPECT_EQ(digest.size(), 16u);
    EXPECT_EQ(DigestOf(Picture(20, 10).Values), digest);
    Pixels b = a;
    b.Values[33] ^= 1;
    EXPECT_NE(DigestOf(b.Values), digest);
    b = a;
    std::swap(b.Values[0], b.Values[1]);
    EXPECT_NE(DigestOf(b.Values), digest);
    EXPECT_EQ(DigestOf({}), "");
}

} // namespace
