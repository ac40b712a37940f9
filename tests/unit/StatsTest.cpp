#include "Stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace {

template <class... T> std::vector<double> Nums(T... values) {
    return {double(values)...};
}

// Known values: the U test's exact tail (the textbook 5-against-5 and 3-against-4
// cases), its normal approximation with ties and for large samples (as published
// statistics packages give them), the table's critical U of 23 for 10 against 10 at
// 95 % that bounds the interval by the 24th and 77th differences.
TEST(Stats, KnownValues) {
    const std::vector<double> low = {1, 2, 3, 4, 5}, high = {6, 7, 8, 9, 10};
    EXPECT_DOUBLE_EQ(MannWhitneyP(high, low), 2.0 / 252);
    EXPECT_DOUBLE_EQ(MannWhitneyP(low, high), 2.0 / 252);
    EXPECT_NEAR(SmallestP(5, 5), 2.0 / 252, 1e-15);
    EXPECT_DOUBLE_EQ(MannWhitneyP({1.5, 3.5, 9}, {2, 4, 5, 6}), 30.0 / 35);
    EXPECT_NEAR(
        MannWhitneyP({1.1, 2.2, 2.2, 3.3, 4.4, 4.4, 5.5}, {2.2, 3.3, 3.3, 4.4, 6.6, 7.7, 7.7, 8.8}),
        0.11392892811978714, 1e-12);
    // A tie among the smallest values weighs as one among the largest.
    EXPECT_DOUBLE_EQ(MannWhitneyP({1, 3, 5}, {1, 4, 6}), MannWhitneyP({-1, -3, -5}, {-1, -4, -6}));
    Comparison c = Compare({111.0, 117.6, 105.5, 116.1, 109.1, 109.2, 121.5, 111.4, 110.3, 114.6},
                           {105.8, 99.8, 103.0, 95.2, 98.2, 97.8, 93.6, 92.7, 92.2, 98.8}, 0.95);
    EXPECT_EQ(Nums(c.Verdict, c.P < 0.001), Nums(Comparison::Faster, true));
    EXPECT_NEAR(c.Low, 1.1081932773109242, 1e-12);
    EXPECT_NEAR(c.High, 1.2017259978425032, 1e-12);
    std::vector<double> x, y; // 60 a side, y = 1.5 x + 0.25: the normal approximation
    for (int i = 1; i <= 60; i++) {
        x.push_back(i);
        y.push_back(1.5 * i + 0.25);
    }
    c = Compare(x, y, 0.99);
    EXPECT_EQ(c.Verdict, Comparison::Slower);
    EXPECT_NEAR(MannWhitneyP(y, x), 0.0011478495720709696, 1e-12);
    EXPECT_NEAR(c.Ratio * 1.5081989187420284, 1, 1e-12);
    EXPECT_NEAR(c.Low * 2.063953488372093, 1, 1e-12);
    EXPECT_NEAR(c.High * 1.1055555555555558, 1, 1e-12);
}

// Identical samples are the same; samples too small for any p below 1 - confidence
// get an estimate and no verdict; a median's interval needs 8 values at 99 %.
TEST(Stats, EdgesOfTheEvidence) {
    const std::vector<double> five(6, 5.0);
    Comparison c = Compare(five, five, 0.99);
    EXPECT_EQ(Nums(c.Verdict, c.Ratio, c.P, c.Low, c.High),
              Nums(Comparison::NoDifference, 1, 1, 1, 1));
    c = Compare({1, 2, 4}, {2, 4, 8}, 0.99);
    EXPECT_EQ(Nums(c.Verdict, c.Ratio, c.Low, c.High), Nums(Comparison::TooFew, 0.5, 0, 0));
    c = Compare({1, 2, 3}, {}, 0.9);
    EXPECT_EQ(Nums(c.Verdict, c.Ratio, c.Low, c.High), Nums(Comparison::TooFew, 0, 0, 0));
    EXPECT_EQ(MannWhitneyP({}, {1}), 1);
    EXPECT_DOUBLE_EQ(MannWhitneyP({1}, {2, 3}), 2.0 / 3);
    // A p of exactly 1 - confidence is no difference (3 of the 15 pairs one way).
    c = Compare({4, 5, 6}, {1, 2, 3, 4.5, 5.5}, 0.75);
    EXPECT_EQ(Nums(c.Verdict, c.P), Nums(Comparison::NoDifference, 0.25));
    double lowest = 0, highest = 0;
    EXPECT_FALSE(MedianInterval({1, 2, 3, 4, 5, 6, 7}, 0.99, lowest, highest));
    ASSERT_TRUE(MedianInterval({8, 1, 7, 2, 6, 3, 5, 4}, 0.99, lowest, highest));
    EXPECT_EQ(Nums(lowest, highest), Nums(1, 8));
    ASSERT_TRUE(MedianInterval({10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 0.95, lowest, highest));
    EXPECT_EQ(Nums(lowest, highest), Nums(2, 9));
    // On the edge at 50 %: 1 against 7 bounds the interval by the 2nd and the 6th of
    // the 7 ratios.
    c = Compare({40}, {1, 2, 3, 4, 5, 6, 7}, 0.5);
    EXPECT_NEAR(c.Low * 6, 40, 1e-9);
    EXPECT_NEAR(c.High, 20, 1e-9);
}

// Fully separated samples reach the smallest tail, 2 / C(100, 50); a nearly
// separated pair's tail is the same summed from either end, and above 0.
TEST(Stats, ExactTailsFromTheSmallerEnd) {
    std::vector<double> low, high, shifted;
    for (int i = 0; i < 50; i++) {
        low.push_back(i);
        high.push_back(100 + i);
        shifted.push_back(i + 45.5);
    }
    const double choose = 100891344545564193334812497256.0; // C(100, 50)
    EXPECT_NEAR(MannWhitneyP(high, low) * choose / 2, 1, 1e-6);
    EXPECT_NEAR(MannWhitneyP(low, high) * choose / 2, 1, 1e-6);
    const double p = MannWhitneyP(shifted, low);
    EXPECT_TRUE(p > 0 && p < 1e-20 && p == MannWhitneyP(low, shifted)) << p;
    // 50 a side is the exact rule's last size: the 878th of the 2500 ratios bounds the
    // interval, where the approximation would take the 876th (147 / 91.5).
    const Comparison c = Compare(high, shifted, 0.99);
    EXPECT_NEAR(c.Low * 81.5, 131, 1e-9);
    EXPECT_NEAR(c.High * 72.5, 144, 1e-9);
    // Two values above sixty: exact, p = 2 / C(62, 2), and an interval above the least
    // ratio 1000 / 60 (the approximation would give none, and no verdict).
    low.resize(60);
    std::iota(low.begin(), low.end(), 1);
    const Comparison few = Compare({1000, 1001}, low, 0.99);
    EXPECT_EQ(few.Verdict, Comparison::Faster);
    EXPECT_NEAR(few.P * 1891, 2, 1e-9);
    EXPECT_GE(few.Low, 1000.0 / 60);
}

// The estimate and the interval are order statistics of every pairwise difference
// of the logarithms, found without storing them: the same as sorting them all, for
// samples of many sizes, with ties, as the exact rule and as its approximation.
TEST(Stats, SelectionMatchesAllDifferencesSorted) {
    std::mt19937 random(7);
    for (size_t m : {1, 2, 5, 13, 60}) {
        for (size_t n : {1, 3, 8, 51}) {
            std::vector<double> x, y, differences;
            for (size_t i = 0; i < m + n; i++) {
                (i < m ? x : y).push_back((1 + random() % 40) / 8.0); // logs of both signs
            }
            for (const double a : x) {
                for (const double b : y) {
                    differences.push_back(std::log(a) - std::log(b));
                }
            }
            std::sort(differences.begin(), differences.end());
            const size_t count = differences.size();
            const Comparison c = Compare(x, y, 0.9);
            EXPECT_EQ(c.Ratio,
                      std::exp((differences[(count - 1) / 2] + differences[count / 2]) / 2))
                << m << " against " << n;
            bool symmetric = c.Low == 0 && c.High == 0;
            for (size_t k = 0; k < count; k++) {
                symmetric |= c.Low == std::exp(differences[k]) &&
                             c.High == std::exp(differences[count - 1 - k]) && c.Low <= c.Ratio;
            }
            EXPECT_TRUE(symmetric) << m << " against " << n << ": " << c.Low << " " << c.High;
            // 60 against 1 is still counted exactly: rank 3 of 60, where the approximation
            // would take the 1st.
            EXPECT_TRUE(m != 60 || n != 1 || c.Low == std::exp(differences[2])) << c.Low;
        }
    }
    // The median's interval, in whatever order the values come: the k-th from each end.
    std::vector<double> x(25);
    std::iota(x.begin(), x.end(), 1);
    for (int order = 0; order < 20; order++) {
        std::shuffle(x.begin(), x.end(), random);
        double low, high;
        ASSERT_TRUE(MedianInterval(x, 0.95, low, high));
        EXPECT_EQ(low + high, 26) << low << " " << high;
    }
}

} // namespace
