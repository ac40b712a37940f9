#include "Progress.h"
#include "Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

void Pace::Add(StepKind kind, double ms) {
    const int n = Measured[kind]++;
    Ms[kind] = n == 0 ? ms : (Ms[kind] * n + ms) / (n + 1);
}

Pace PlannedPace(const Plan &plan, double tickStepMs, double pictureMs) {
    Pace pace;
    pace.Ms[PICTURE_STEP] = pictureMs;
    pace.Ms[WARMUP_STEP] = plan.WarmupMs + tickStepMs / 2;
    pace.Ms[SAMPLE_STEP] = (plan.Raw ? 2 : 1) * (plan.WindowMs + tickStepMs / 2);
    return pace;
}

Steps RunSteps(const Plan &plan, int tests, bool pictures) {
    Steps steps;
    steps.Of[PICTURE_STEP] = pictures ? tests : 0;
    steps.Of[WARMUP_STEP] = plan.WarmupMs > 0 ? tests : 0;
    steps.Of[SAMPLE_STEP] = tests * plan.Repeat;
    return steps;
}

double MsFor(const Steps &steps, const Pace &pace) {
    double ms = 0;
    for (int kind = 0; kind < STEP_KINDS; kind++) {
        ms += std::max(steps.Of[kind], 0) * pace.Ms[kind];
    }
    return ms;
}

std::string TimeLeft(double seconds, bool bound) {
    const long whole = std::lround(std::max(0.0, seconds));
    return Format("%s%ld min %02ld s left", bound ? "at most " : "", whole / 60, whole % 60);
}

std::string SampleLine(const TestRun &run, const Plan &plan, double halfWidth,
                       const std::string &timeLeft) {
    const std::string state =
        plan.Precision == 0 ? Format(" of %d", plan.Repeat)
        : halfWidth > 0
            ? Format(", \u00b1%.1f %% (target \u00b1%g %%)", halfWidth * 100, plan.Precision * 100)
            : Format(", no \u00b1 yet (target \u00b1%g %%)", plan.Precision * 100);
    return Format("%-9s sample %zu%s: score %d%s, %s", run.Name.c_str(), run.Samples.size(),
                  plan.Precision == 0 ? state.c_str() : "", run.Samples.back().PerSecond,
                  plan.Precision == 0 ? "" : state.c_str(), timeLeft.c_str());
}

std::string StepLine(StepKind kind, size_t done, size_t tests, const std::string &timeLeft) {
    return Format("%s: %zu of %zu tests, %s", kind == PICTURE_STEP ? "pictures" : "warm-up", done,
                  tests, timeLeft.c_str());
}

bool ReadProgress(const std::string &line, StepKind &kind, double &secondsLeft, int &tests) {
    // "... M min SS s left", after "pictures: ", "warm-up: " or a name and " sample ".
    const std::string end = " s left", digits = "0123456789";
    if (line.size() < end.size() + 8 ||
        line.compare(line.size() - end.size(), end.size(), end) != 0) {
        return false;
    }
    const size_t tail = line.size() - end.size(), min = line.rfind(" min ", tail);
    if (min == std::string::npos || min == 0 || tail != min + 7 ||
        line.find_first_not_of(digits, min + 5) != tail) {
        return false;
    }
    const size_t first = line.find_last_not_of(digits, min - 1) + 1;
    if (first == min) {
        return false;
    }
    secondsLeft = std::stod(line.substr(first, min - first)) * 60 + std::stod(line.substr(min + 5));
    kind = line.rfind("pictures: ", 0) == 0  ? PICTURE_STEP
           : line.rfind("warm-up: ", 0) == 0 ? WARMUP_STEP
                                             : SAMPLE_STEP;
    const size_t name = line.find(' '), of = line.find(" of "), count = of + 4;
    tests = kind != SAMPLE_STEP && of != std::string::npos &&
                    line.find(" tests, ", count) != std::string::npos
                ? std::atoi(line.c_str() + count)
                : 0;
    return kind != SAMPLE_STEP ||
           line.compare(line.find_first_not_of(' ', name), 7, "sample ") == 0;
}

double LaterRunsMs(const Plan &plan, int tests, int runs, int pictureRuns, const Pace &pace,
                   double overheadMs) {
    return runs * (MsFor(RunSteps(plan, tests, false), pace) + overheadMs) +
           pictureRuns * tests * pace.Ms[PICTURE_STEP];
}

std::string TimeSpentLine(const Phases &spent, double wallMs, int runs) {
    const double rest = wallMs - spent.StartMs - spent.WarmupMs - spent.WindowsMs - spent.RawMs -
                        spent.SetUpMs - spent.PicturesMs;
    const long wall = std::lround(wallMs / 1000);
    const std::string replaying =
        spent.RawMs > 0
            ? ", " + std::to_string(std::lround(spent.RawMs / 1000)) + " s replaying them"
            : "";
    return Format("%d runs took %ld min %02ld s: %.0f s (%.0f %%) in measuring windows%s; "
                  "warm-up %.0f s, pictures %.0f s, setting tests up %.0f s, starting %.0f s, "
                  "the rest %.0f s (processes starting and ending, files)",
                  runs, wall / 60, wall % 60, spent.WindowsMs / 1000,
                  100 * spent.WindowsMs / std::max(wallMs, 1.0), replaying.c_str(),
                  spent.WarmupMs / 1000, spent.PicturesMs / 1000, spent.SetUpMs / 1000,
                  spent.StartMs / 1000, rest / 1000);
}

void ShowProgress(const std::string &line, bool console) {
    std::fprintf(stderr, console ? "\r%-78s" : "%s\n", line.c_str());
    std::fflush(stderr);
}
