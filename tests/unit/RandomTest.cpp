#include "Support.h"

#include <random>

using RandomSource = Fresh;

#ifdef UNDER_CE

TEST_F(RandomSource, FollowsMt19937FromSeedZero) {
    // The reference generator's first words, then every draw scaled from its words.
    std::mt19937 reference(0);
    EXPECT_EQ(reference(), 2357136044u);
    EXPECT_EQ(reference(), 2546248239u);
    EXPECT_EQ(reference(), 3071714933u);
    reference.seed(0);
    for (int i = 0; i < 5000; i++) { // past several regenerations of the 624 words
        const uint32_t x = static_cast<uint32_t>(reference());
        const int n = 1 + i * 7919 % 100000;
        ASSERT_EQ(RandomInt(n), static_cast<int>((static_cast<uint64_t>(x) * n) >> 32)) << i;
    }
}

TEST_F(RandomSource, FirstColourDraws) {
    EXPECT_EQ(RandomInt(256), 140);
    EXPECT_EQ(RandomInt(256), 151);
    EXPECT_EQ(RandomInt(256), 183);
}

TEST_F(RandomSource, NegativeBoundUsesSignedProductOfNPlusOne) {
    // x = 2357136044: n = -256 becomes -255, and floor(-255 * x / 2^32) = -140.
    EXPECT_EQ(RandomInt(-256), -140);
    // n = -1 becomes 0.
    EXPECT_EQ(RandomInt(-1), 0);
}

#else

TEST_F(RandomSource, FirstDrawIsZeroWhateverTheBound) {
    for (int n : {1, 2, 256, 1000, 0x7fffffff}) {
        RandomReset();
        EXPECT_EQ(RandomInt(n), 0) << n;
    }
}

TEST_F(RandomSource, FirstColourDraws) {
    EXPECT_EQ(RandomInt(256), 0);
    EXPECT_EQ(RandomInt(256), 8);
    EXPECT_EQ(RandomInt(256), 220);
}

TEST_F(RandomSource, LinearCongruenceModulo2To32) {
    // The seeds run 1, 134775814, ...; with n = 2^31 - 1 a draw is seed * n >> 32.
    uint32_t seed = 0;
    for (int i = 0; i < 1000; i++) {
        seed = seed * 134775813u + 1;
        ASSERT_EQ(RandomInt(0x7fffffff), static_cast<int>((uint64_t{seed} * 0x7fffffffu) >> 32));
    }
}

#endif

TEST_F(RandomSource, ZeroAndOneBoundsReturnZeroAndStillAdvance) {
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(1), 0);
    EXPECT_EQ(DrawsTaken(), 2);
}

TEST_F(RandomSource, StaysWithinBoundsOverALongRun) {
    int lowest = 256, highest = -1;
    for (int i = 0; i < 200000; i++) {
        const int value = RandomInt(256);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        const int n = 1 + i % 37;
        const int small = RandomInt(n);
        ASSERT_GE(small, 0);
        ASSERT_LT(small, n);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 255);
}

TEST_F(RandomSource, ResetRestartsTheSequence) {
    std::vector<int> first, second;
    for (int i = 0; i < 700; i++) {
        first.push_back(RandomInt(1000));
    }
    RandomReset();
    for (int i = 0; i < 700; i++) {
        second.push_back(RandomInt(1000));
    }
    EXPECT_EQ(first, second);
}

TEST_F(RandomSource, ColourIsBlueGreenRedInDrawOrder) {
    const int blue = RandomInt(256);
    const int green = RandomInt(256);
    const int red = RandomInt(256);
    RandomReset();
    EXPECT_EQ(RandomColor(), static_cast<COLORREF>(red | green << 8 | blue << 16));
}
