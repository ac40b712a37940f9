#include "Stats.h"

#include <algorithm>
#include <cmath>

// Above this many values a side, or with ties, the normal approximation is used.
constexpr size_t EXACT_LIMIT = 50;

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

// U of x against y: the pairs where x is greater, ties counting one half.
static double UOf(const std::vector<double> &x, const std::vector<double> &y) {
    double u = 0;
    for (const double a : x) {
        for (const double b : y) {
            u += a > b ? 1 : a == b ? 0.5 : 0;
        }
    }
    return u;
}

static bool Exact(const std::vector<double> &x, const std::vector<double> &y) {
    if (x.size() > EXACT_LIMIT || y.size() > EXACT_LIMIT) {
        return false;
    }
    std::vector<double> all = x;
    all.insert(all.end(), y.begin(), y.end());
    std::sort(all.begin(), all.end());
    return std::adjacent_find(all.begin(), all.end()) == all.end();
}

double MannWhitneyP(const std::vector<double> &x, const std::vector<double> &y) {
    const size_t m = x.size(), n = y.size();
    if (m == 0 || n == 0) {
        return 1;
    }
    const double u = UOf(x, y);
    if (Exact(x, y)) {
        const std::vector<double> counts = UCounts(m, n);
        double below = 0, above = 0, total = 0;
        for (size_t k = 0; k < counts.size(); k++) {
            total += counts[k];
            below += k <= u ? counts[k] : 0;
            above += k >= u ? counts[k] : 0;
        }
        return std::min(1.0, 2 * std::min(below, above) / total);
    }
    std::vector<double> all = x;
    all.insert(all.end(), y.begin(), y.end());
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
    const double mn = static_cast<double>(m * n), N = static_cast<double>(m + n);
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
static size_t IntervalRank(size_t m, size_t n, double alpha) {
    if (m > EXACT_LIMIT || n > EXACT_LIMIT) {
        const double mn = static_cast<double>(m * n);
        const double k =
            std::floor(mn / 2 - NormalQuantile(alpha / 2) *
                                    std::sqrt(mn * static_cast<double>(m + n + 1) / 12));
        return k < 1 ? 0 : static_cast<size_t>(k);
    }
    const std::vector<double> counts = UCounts(m, n);
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

Comparison Compare(const std::vector<double> &newer, const std::vector<double> &older,
                   double confidence) {
    Comparison result;
    const size_t m = newer.size(), n = older.size();
    if (m == 0 || n == 0) {
        return result;
    }
    std::vector<double> differences;
    for (const double a : newer) {
        for (const double b : older) {
            differences.push_back(std::log(a) - std::log(b));
        }
    }
    std::sort(differences.begin(), differences.end());
    const size_t count = differences.size();
    result.Ratio = std::exp((differences[(count - 1) / 2] + differences[count / 2]) / 2);
    const double alpha = 1 - confidence;
    if (SmallestP(m, n) >= alpha) {
        return result;
    }
    result.P = MannWhitneyP(newer, older);
    const size_t k = IntervalRank(m, n, alpha);
    if (k == 0) {
        return result;
    }
    result.Low = std::exp(differences[k - 1]);
    result.High = std::exp(differences[count - k]);
    result.Verdict = result.P >= alpha ? Comparison::NoDifference
                     : result.Low > 1  ? Comparison::Faster
                     : result.High < 1 ? Comparison::Slower
                                       : Comparison::NoDifference;
    return result;
}

bool MedianInterval(std::vector<double> x, double confidence, double &low, double &high) {
    const size_t n = x.size();
    const double alpha = 1 - confidence;
    // The largest k with P(B <= k - 1) <= alpha / 2 for B binomial (n, 1/2).
    size_t k = 0;
    double below = 0;
    const double logHalfN = static_cast<double>(n) * std::log(0.5);
    while (k < n) {
        const double logChoose = std::lgamma(static_cast<double>(n + 1)) -
                                 std::lgamma(static_cast<double>(k + 1)) -
                                 std::lgamma(static_cast<double>(n - k + 1));
        const double next = below + std::exp(logChoose + logHalfN);
        if (next > alpha / 2) {
            break;
        }
        below = next;
        k++;
    }
    if (k == 0) {
        return false;
    }
    std::sort(x.begin(), x.end());
    low = x[k - 1];
    high = x[n - k];
    return true;
}
