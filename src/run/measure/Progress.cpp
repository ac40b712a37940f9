#include "Progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double SecondsLeft(const std::vector<TestRun> &tests, const std::vector<double> &spentMs,
                   int repeat, double elapsedMs) {
    double spent = 0, done = 0;
    for (size_t i = 0; i < tests.size(); i++) {
        spent += spentMs[i];
        done += static_cast<double>(tests[i].Samples.size());
    }
    double owed = 0;
    for (size_t i = 0; i < tests.size(); i++) {
        const double n = static_cast<double>(tests[i].Samples.size());
        owed += std::max(0.0, repeat - n) * (n > 0 ? spentMs[i] / n : spent / done);
    }
    return owed * elapsedMs / spent / 1000;
}

std::string ProgressLine(const TestRun &run, const Plan &plan, double halfWidth,
                         double secondsLeft) {
    char line[256], state[64];
    const long seconds = std::lround(std::max(0.0, secondsLeft));
    if (plan.Precision == 0) {
        std::snprintf(state, sizeof state, " of %d", plan.Repeat);
    } else if (halfWidth > 0) {
        std::snprintf(state, sizeof state, ", \u00b1%.1f %% (target \u00b1%g %%)", halfWidth * 100,
                      plan.Precision * 100);
    } else {
        std::snprintf(state, sizeof state, ", no \u00b1 yet (target \u00b1%g %%)",
                      plan.Precision * 100);
    }
    std::snprintf(line, sizeof line, "%-9s sample %zu%s: score %d%s, %s%ld min %02ld s left",
                  run.Name.c_str(), run.Samples.size(), plan.Precision == 0 ? state : "",
                  run.Samples.back().PerSecond, plan.Precision == 0 ? "" : state,
                  plan.Precision == 0 ? "" : "at most ", seconds / 60, seconds % 60);
    return line;
}

void ShowProgress(const std::string &line, bool console) {
    std::fprintf(stderr, console ? "\r%-78s" : "%s\n", line.c_str());
    std::fflush(stderr);
}
