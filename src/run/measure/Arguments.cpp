#include "Arguments.h"
#include "Format.h"

#include <algorithm>

std::vector<std::string> RunArguments(const Plan &o) {
    std::string tests;
    for (const int test : o.Tests) {
        tests += tests.empty() ? "" : ",";
        tests += std::to_string(test);
    }
    std::vector<std::string> out = {
        "--suite",     o.Wide ? "wide" : "seven",  "--tests",      tests,
        "--window-ms", std::to_string(o.WindowMs), "--repeat",     std::to_string(o.Repeat),
        "--warmup-ms", std::to_string(o.WarmupMs), "--confidence", Format("%g", o.Confidence)};
    if (o.OffscreenWidth > 0) {
        out.insert(out.end(), {"--offscreen", std::to_string(o.OffscreenWidth) + "x" +
                                                  std::to_string(o.OffscreenHeight) + "x" +
                                                  std::to_string(o.OffscreenDepth)});
    }
    if (o.Precision > 0) {
        out.insert(out.end(), {"--precision", Format("%g", o.Precision * 100), "--max-seconds",
                               std::to_string(o.MaxSeconds)});
    }
    if (o.Shuffle) {
        out.insert(out.end(), {"--shuffle", std::to_string(o.ShuffleSeed)});
    }
    if (o.Affinity >= 0) {
        out.insert(out.end(), {"--affinity", std::to_string(o.Affinity)});
    }
    for (const auto &[flag, given] : {std::pair{"--raw", o.Raw},
                                      {"--host", o.Host},
                                      {"--quiet", o.Quiet},
                                      {"--no-pictures", o.SkipPictures},
                                      {"--wait", o.Wait},
                                      {"--concurrent", o.Concurrent}}) {
        if (given) {
            out.push_back(flag);
        }
    }
    return out;
}

std::uint32_t RunLimitMs(const Plan &o) {
    const double window = static_cast<double>(o.WindowMs) * (o.Raw ? 2 : 1);
    const double measuring =
        static_cast<double>(o.Tests.size()) * (o.WarmupMs + o.Repeat * window) +
        (o.Precision > 0 ? o.MaxSeconds * 1000.0 : 0) +
        // Each test's picture, drawn twice after measuring.
        static_cast<double>(o.Tests.size()) * 1000;
    // Below the wait for ever that 0xFFFFFFFF means.
    return static_cast<std::uint32_t>(std::min(2 * measuring + 60000, 4294967294.0));
}
