#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// With ties, or more than this many values on the smaller side, or U's distribution
// larger than this many counts (8 MB), the normal approximation is used; so 2 values
// against 10^5 are still counted exactly.
constexpr size_t EXACT_LIMIT = 50;
constexpr size_t EXACT_COUNTS = 1000000;

static bool Exact(size_t m, size_t n) {
    return std::min(m, n) <= EXACT_LIMIT && m * n <= EXACT_COUNTS;
}

// How many of the C(m+n, m) orderings of two untied samples give U = 0, 1, ... m*n:
// the coefficients of the product over k = 1..m of (1 - q^(n+k)) / (1 - q^k).
static std::vector<double> UCounts(size_t m, size_t n) {
    std::vector<double> counts(m * n + 1, 0);
    counts[0] = 1;
    for (size_t k = 1; k <= m; k++) {
        for (size_t u = m * n; u >= n + k; u--) {
            counts[u] -= counts[u - n - k];
        }
        for (size_t u = k; u <= m * n; u++) {
            counts[u] += counts[u - k];
        }
    }
    return counts;
}

// Upper-tail probability of the standard normal distribution, and its inverse.
static double NormalTail(double z) {
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

static double NormalQuantile(double tail) {
    double low = 0, high = 40;
    for (int i = 0; i < 200; i++) {
        const double mid = (low + high) / 2;
        (NormalTail(mid) > tail ? low : high) = mid;
    }
    return low;
}

static std::vector<double> Sorted(std::vector<double> x) {
    std::sort(x.begin(), x.end());
    return x;
}

// U of x against y (both sorted): the pairs where x is greater, ties counting one half.
static double UOf(const std::vector<double> &x, const std::vector<double> &y) {
    double u = 0;
    size_t below = 0, notAbove = 0;
    for (const double a : x) {
        while (below < y.size() && y[below] < a) {
            below++;
        }
        notAbove = std::max(notAbove, below);
        while (notAbove < y.size() && y[notAbove] == a) {
            notAbove++;
        }
        u += static_cast<double>(below + notAbove) / 2;
    }
    return u;
}

double MannWhitneyP(const std::vector<double> &x, const std::vector<double> &y) {
    const size_t m = x.size(), n = y.size();
    if (m == 0 || n == 0) {
        return 1;
    }
    const std::vector<double> sx = Sorted(x), sy = Sorted(y);
    const double u = UOf(sx, sy);
    std::vector<double> all = sx;
    all.insert(all.end(), sy.begin(), sy.end());
    std::sort(all.begin(), all.end());
    double ties = 0;
    for (size_t i = 0; i < all.size();) {
        size_t j = i;
        while (j < all.size() && all[j] == all[i]) {
            j++;
        }
        const double t = static_cast<double>(j - i);
        ties += t * t * t - t;
        i = j;
    }
    const double mn = static_cast<double>(m) * static_cast<double>(n),
                 N = static_cast<double>(m + n);
    if (Exact(m, n) && ties == 0) {
        // U's distribution is symmetric about mn / 2: the smaller tail is summed from
        // its end, where the counts are small and exact, and never by subtraction.
        const std::vector<double> counts = UCounts(std::min(m, n), std::max(m, n));
        const double edge = std::min(u, mn - u);
        double tail = 0, total = 0;
        for (size_t k = 0; k < counts.size(); k++) {
            total += counts[k];
            tail += static_cast<double>(k) <= edge ? counts[k] : 0;
        }
        return std::min(1.0, 2 * tail / total);
    }
    const double variance = mn / 12 * (N + 1 - ties / (N * (N - 1)));
    if (variance <= 0) {
        return 1;
    }
    const double z = std::max(0.0, std::fabs(u - mn / 2) - 0.5) / std::sqrt(variance);
    return std::min(1.0, 2 * NormalTail(z));
}

double SmallestP(size_t m, size_t n) {
    // 2 / C(m+n, m), from its logarithm so that large samples do not overflow.
    const double logChoose = std::lgamma(static_cast<double>(m + n + 1)) -
                             std::lgamma(static_cast<double>(m + 1)) -
                             std::lgamma(static_cast<double>(n + 1));
    return std::min(1.0, 2 * std::exp(-logChoose));
}

// The rank k (1-based) of the differences that bounds the interval: the largest
// k with P(U <= k - 1) <= alpha / 2; 0 when there is none.
static uint64_t IntervalRank(size_t m, size_t n, double alpha) {
    if (!Exact(m, n)) {
        const double mn = static_cast<double>(m) * static_cast<double>(n);
        const double k =
            std::floor(mn / 2 - NormalQuantile(alpha / 2) *
                                    std::sqrt(mn * static_cast<double>(m + n + 1) / 12));
        return k < 1 ? 0 : static_cast<uint64_t>(k);
    }
    const std::vector<double> counts = UCounts(std::min(m, n), std::max(m, n));
    double total = 0;
    for (const double c : counts) {
        total += c;
    }
    size_t k = 0;
    double below = 0;
    while (k < counts.size() && (below + counts[k]) / total <= alpha / 2) {
        below += counts[k];
        k++;
    }
    return k;
}

// Doubles as integers of the same order, so that a search can halve the doubles
// between two values exactly.
static uint64_t OrderKey(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits >> 63 != 0 ? ~bits : bits | uint64_t{1} << 63;
}

static double FromOrderKey(uint64_t key) {
    const uint64_t bits = key >> 63 != 0 ? key & ~(uint64_t{1} << 63) : ~key;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// How many differences a[i] - b[j] (both sorted ascending) are at most t. The
// difference grows with a and shrinks with b, rounding included, so one walk does.
static uint64_t CountAtMost(const std::vector<double> &a, const std::vector<double> &b, double t) {
    uint64_t count = 0;
    size_t j = 0;
    for (const double x : a) {
        while (j < b.size() && x - b[j] > t) {
            j++;
        }
        count += b.size() - j;
    }
    return count;
}

// The difference of rank r (0-based) among all a[i] - b[j], found without storing
// them all: a search over the doubles between the least and the greatest difference,
// each step counting in one walk, until no more differences lie between its bounds
// than there are samples; those are gathered and the one of rank r selected. Memory
// stays linear in the samples and time near (m + n) log (mn / (m + n)).
static double DifferenceOfRank(const std::vector<double> &a, const std::vector<double> &b,
                               uint64_t r) {
    uint64_t low = OrderKey(a.front() - b.back()), high = OrderKey(a.back() - b.front());
    // Differences below low's double and at most high's, as the search knows them.
    uint64_t under = 0, upto = static_cast<uint64_t>(a.size()) * b.size();
    while (low < high && upto - under > a.size() + b.size()) {
        const uint64_t mid = low + (high - low) / 2;
        const uint64_t count = CountAtMost(a, b, FromOrderKey(mid));
        if (count > r) {
            high = mid;
            upto = count;
        } else {
            low = mid + 1;
            under = count;
        }
    }
    const double least = FromOrderKey(low), most = FromOrderKey(high);
    if (low == high) {
        return least;
    }
    // For each a[i], the b[j] from j on give differences at most most, those before k
    // differences at least least; below counts, by the same test, those under least.
    std::vector<double> band;
    uint64_t below = 0;
    size_t j = 0, k = 0;
    for (const double x : a) {
        while (j < b.size() && x - b[j] > most) {
            j++;
        }
        while (k < b.size() && x - b[k] >= least) {
            k++;
        }
        for (size_t t = j; t < k; t++) {
            band.push_back(x - b[t]);
        }
        below += b.size() - k;
    }
    const auto at = band.begin() + static_cast<std::ptrdiff_t>(r - below);
    std::nth_element(band.begin(), at, band.end());
    return *at;
}

static std::vector<double> SortedLogs(const std::vector<double> &x) {
    std::vector<double> logs;
    logs.reserve(x.size());
    for (const double value : x) {
        logs.push_back(std::log(value));
    }
    return Sorted(logs);
}

Comparison Compare(const std::vector<double> &newer, const std::vector<double> &older,
                   double confidence) {
    Comparison result;
    const size_t m = newer.size(), n = older.size();
    if (m == 0 || n == 0) {
        return result;
    }
    const std::vector<double> a = SortedLogs(newer), b = SortedLogs(older);
    const uint64_t count = static_cast<uint64_t>(m) * n;
    result.Ratio =
        std::exp((DifferenceOfRank(a, b, (count - 1) / 2) + DifferenceOfRank(a, b, count / 2)) / 2);
    const double alpha = 1 - confidence;
    if (SmallestP(m, n) >= alpha) {
        return result;
    }
    result.P = MannWhitneyP(newer, older);
    const uint64_t k = IntervalRank(m, n, alpha);
    if (k == 0) {
        return result;
    }
    result.Low = std::exp(DifferenceOfRank(a, b, k - 1));
    result.High = std::exp(DifferenceOfRank(a, b, count - k));
    result.Verdict = result.P >= alpha ? Comparison::NoDifference
                     : result.Low > 1  ? Comparison::Faster
                     : result.High < 1 ? Comparison::Slower
                                       : Comparison::NoDifference;
    return result;
}

// The largest k with P(B <= k - 1) <= alpha / 2 for B binomial (n, 1/2); each term
// from the one before, so the search costs one step per rank it passes.
static size_t SignTestRank(size_t n, double alpha) {
    size_t k = 0;
    double below = 0;
    double logTerm = static_cast<double>(n) * std::log(0.5); // P(B = 0)
    while (k < n) {
        const double next = below + std::exp(logTerm);
        if (next > alpha / 2) {
            break;
        }
        below = next;
        logTerm += std::log(static_cast<double>(n - k) / static_cast<double>(k + 1));
        k++;
    }
    return k;
}

bool MedianInterval(std::vector<double> x, double confidence, double &low, double &high) {
    const size_t n = x.size();
    const size_t k = SignTestRank(n, 1 - confidence);
    if (k == 0) {
        return false;
    }
    // Two selections rather than a sort: the rule that stops a run asks this often.
    std::nth_element(x.begin(), x.begin() + static_cast<long>(k - 1), x.end());
    low = x[k - 1];
    std::nth_element(x.begin() + static_cast<long>(k - 1), x.begin() + static_cast<long>(n - k),
                     x.end());
    high = x[n - k];
    return true;
}

double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
