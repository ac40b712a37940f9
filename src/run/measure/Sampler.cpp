#include "Sampler.h"

#include "Bench.h"
#include "Png.h"
#include "Process.h"
#include "Progress.h"
#include "Samples.h"
#include "SourceBitmap.h"
#include "Summary.h"
#include "Workloads.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

// With --precision, a test's half-width when last checked, and the sample count at
// which it is checked next: after every sample while they are few, then each time
// they have grown by a sixteenth, so the rule costs about n log n over n samples and
// a test takes at most a sixteenth more samples than the precision needed.
struct PrecisionCheck {
    double HalfWidth = 0;
    size_t CheckAt = 0;
};

static void CheckPrecision(const TestRun &run, double confidence, PrecisionCheck &check) {
    const size_t n = run.Samples.size();
    if (n >= check.CheckAt) {
        check.HalfWidth = HalfWidthOf(run, confidence);
        check.CheckAt = n + n / 16 + 1;
    }
}

static bool Reached(const PrecisionCheck &check, double precision) {
    return check.HalfWidth > 0 && check.HalfWidth <= precision;
}

bool RunSamples(const Plan &plan, const Target &target, Report &report, std::string &snapshot,
                std::vector<std::string> &pictures, std::string &error) {
    std::vector<INT> tape(plan.Raw ? static_cast<size_t>(MAX_BLOCK) * MAX_DRAWS_PER_CALL : 0);
    std::vector<PrecisionCheck> checks(report.Tests.size());
    DWORD mode;
    const bool console = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    std::mt19937 shuffle(plan.ShuffleSeed);
    const LONGLONG begun = CounterNow();
    const LONGLONG deadline = begun + static_cast<LONGLONG>(plan.MaxSeconds) * CounterHz();
    // The time each test spent in its samples, and when the first sample began.
    std::vector<double> spentMs(report.Tests.size());
    LONGLONG measuring = 0;
    for (INT round = 0;; round++) {
        std::vector<size_t> order;
        for (size_t i = 0; i < report.Tests.size(); i++) {
            if (round < plan.Repeat || (plan.Precision > 0 && CounterNow() < deadline &&
                                        !Reached(checks[i], plan.Precision))) {
                order.push_back(i);
            }
        }
        if (order.empty()) {
            break;
        }
        for (size_t i = order.size() - 1; plan.Shuffle && i > 0; i--) {
            std::swap(order[i], order[shuffle() % (i + 1)]);
        }
        FreshStart(round == 0);
        // BitBlt would copy from nothing, and its figure would mean nothing.
        if (Bench.SourceBitmap == nullptr) {
            error = "no source bitmap of the drawing area's size can be made";
            return false;
        }
        if (round == 0 && plan.WarmupMs > 0) {
            // Untimed, and then the round starts afresh as if nothing had been drawn.
            for (const size_t i : order) {
                target.Clear();
                DWORD elapsed;
                CountCalls(BeginTest(plan, target, report.Tests[i].Index), plan.WarmupMs, elapsed);
                EndTest(plan, target);
            }
            FreshStart(false);
        }
        if (round == 0) {
            measuring = CounterNow();
        }
        for (const size_t i : order) {
            TestRun &run = report.Tests[i];
            // Past --repeat, no sample starts once --max-seconds have passed.
            if (round >= plan.Repeat && CounterNow() >= deadline) {
                break;
            }
            const LONGLONG sampleBegun = CounterNow();
            const RandomState start = RandomSaved();
            // Clearing lets the window take its messages: a close stops the run here.
            target.Clear();
            bool reached = false;
            if (!Interrupted) {
                run.Samples.push_back(ScoreSample(plan, target, run.Index, plan.WindowMs, reached));
            }
            // Empty when no copy can be made: then that output fails alone.
            if (reached && plan.Snapshot && i == order.front()) {
                snapshot = target.Snapshot();
            }
            if (reached && plan.Raw) {
                // Right after its scored sample, so that drift affects both alike.
                target.Clear();
                RandomRestore(start);
                run.Raw.push_back(
                    ReplaySample(target, run.Index, run.Samples.back().Count, tape, reached));
                run.Raw.back().Of = static_cast<INT>(run.Samples.size());
            }
            if (!reached) {
                StopRun(DRAWING_FAILED);
            }
            // An interrupted run keeps nothing, so no sample of it is ever scored.
            if (Interrupted) {
                ReleaseSourceBitmap();
                return false;
            }
            if (plan.Precision > 0) {
                CheckPrecision(run, plan.Confidence, checks[i]);
            }
            spentMs[i] += Milliseconds(CounterNow() - sampleBegun);
            if (!plan.Quiet) {
                // With --precision, the time to --max-seconds, or the --repeat rounds'.
                const double left =
                    std::max(plan.Precision > 0 ? Milliseconds(deadline - CounterNow()) / 1000 : 0,
                             SecondsLeft(report.Tests, spentMs, plan.Repeat,
                                         Milliseconds(CounterNow() - measuring)));
                ShowProgress(ProgressLine(run, plan, checks[i].HalfWidth, left), console);
            }
        }
    }
    // The pictures, with their own time left: the measuring's estimate cannot know them.
    const LONGLONG drawing = CounterNow();
    for (size_t i = 0; i < report.Tests.size() && !Interrupted; i++) {
        Pixels pixels;
        report.Tests[i].Drawn = DrawPicture(plan, target, report.Tests[i].Index, pixels);
        // Kept as PNG files' bytes, a few kilobytes each, to be written with the outputs.
        if (!plan.Pictures.empty()) {
            pictures.push_back(PngOf(pixels));
        }
        if (!plan.Quiet) {
            const double left = Milliseconds(CounterNow() - drawing) / 1000 /
                                static_cast<double>(i + 1) *
                                static_cast<double>(report.Tests.size() - i - 1);
            char line[80];
            std::snprintf(line, sizeof line, "pictures: %zu of %zu tests, %ld min %02ld s left",
                          i + 1, report.Tests.size(), std::lround(left) / 60,
                          std::lround(left) % 60);
            ShowProgress(line, console);
        }
    }
    if (!plan.Quiet && console) {
        std::fputs("\n", stderr);
    }
    ReleaseSourceBitmap();
    return !Interrupted;
}
