// The comparison's cost on large samples: Compare on N samples a side (default
// 10^5), timed on the steady clock, memory read by the caller. Not a test; build and
// run it by hand:
//
//   S=src/run/compare
//   g++ -std=c++20 -O2 -I$S measurements/CompareBench.cpp $S/Stats.cpp -o /tmp/cb
//   /usr/bin/time -v /tmp/cb 100000
#include "Stats.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char **argv) {
    const size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    // Rates with a machine's kind of noise, the newer 3 % faster.
    std::mt19937 random(1);
    std::lognormal_distribution<double> noise(0, 0.05);
    std::vector<double> newer, older;
    for (size_t i = 0; i < n; i++) {
        newer.push_back(1.03e6 * noise(random));
        older.push_back(1e6 * noise(random));
    }
    const auto start = std::chrono::steady_clock::now();
    const Comparison c = Compare(newer, older, 0.99);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    double low, high;
    const auto medianStart = std::chrono::steady_clock::now();
    MedianInterval(newer, 0.99, low, high);
    const std::chrono::duration<double> medianTook = std::chrono::steady_clock::now() - medianStart;
    std::printf("%zu a side: ratio %.4f [%.4f, %.4f] p %.3g verdict %d in %.3f s; median's "
                "interval in %.4f s\n",
                n, c.Ratio, c.Low, c.High, c.P, c.Verdict, took.count(), medianTook.count());
    return 0;
}
