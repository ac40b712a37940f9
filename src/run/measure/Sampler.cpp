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

// What the run has still to do and how long it takes: each step's end counted and
// timed, and the time left shown, from the plan's pace until steps are measured.
struct RunProgress {
    const Plan &Asked;
    Steps Left;
    Pace Speed;
    LONGLONG Deadline; // with --precision, when no more samples start
    bool Console;
    // A step of that kind ended, begun at begun; the time left it says is all the run's.
    double Ended(StepKind kind, LONGLONG begun) {
        Speed.Add(kind, Milliseconds(CounterNow() - begun));
        Left.Of[kind]--;
        const double left = MsFor(Left, Speed) / 1000;
        return Asked.Precision > 0 ? std::max(left, Milliseconds(Deadline - CounterNow()) / 1000)
                                   : left;
    }
    void Show(const std::string &line) const {
        if (!Asked.Quiet) {
            ShowProgress(line, Console);
        }
    }
};

// Untimed, each test's window of warm-up; then the round starts afresh as if nothing had
// been drawn.
static void WarmUp(const Plan &plan, const Target &target, const Report &report,
                   RunProgress &progress) {
    for (size_t i = 0; i < report.Tests.size() && !Interrupted; i++) {
        const LONGLONG begun = CounterNow();
        target.Clear();
        DWORD elapsed;
        CountCalls(BeginTest(plan, target, report.Tests[i].Index), plan.WarmupMs, elapsed);
        EndTest(plan, target);
        const double left = progress.Ended(WARMUP_STEP, begun);
        progress.Show(
            StepLine(WARMUP_STEP, i + 1, report.Tests.size(), TimeLeft(left, plan.Precision > 0)));
    }
    FreshStart(false);
}

// Each test's picture, kept with pictures asked for as a PNG file's bytes, a few
// kilobytes each, to be written with the outputs.
static void DrawPictures(const Plan &plan, const Target &target, Report &report,
                         std::vector<std::string> &pictures, RunProgress &progress) {
    for (size_t i = 0; i < report.Tests.size() && !Interrupted; i++) {
        const LONGLONG begun = CounterNow();
        Pixels pixels;
        report.Tests[i].Drawn = DrawPicture(plan, target, report.Tests[i].Index, pixels);
        if (!plan.Pictures.empty()) {
            pictures.push_back(PngOf(pixels));
        }
        const double left = progress.Ended(PICTURE_STEP, begun);
        progress.Show(StepLine(PICTURE_STEP, i + 1, report.Tests.size(), TimeLeft(left, false)));
    }
}

bool RunSamples(const Plan &plan, const Target &target, Report &report, std::string &snapshot,
                std::vector<std::string> &pictures, std::string &error) {
    std::vector<INT> tape(plan.Raw ? static_cast<size_t>(MAX_BLOCK) * MAX_DRAWS_PER_CALL : 0);
    std::vector<PrecisionCheck> checks(report.Tests.size());
    DWORD mode;
    std::mt19937 shuffle(plan.ShuffleSeed);
    const LONGLONG begun = CounterNow();
    Phases &spent = report.Set.Spent;
    // A picture reads the area three times and sets its test up twice: a guess until
    // one is drawn.
    const LONGLONG reading = CounterNow();
    target.Read();
    RunProgress progress{
        plan, RunSteps(plan, static_cast<int>(report.Tests.size()), !plan.SkipPictures),
        PlannedPace(plan, report.Set.TickStepMs, 4 * Milliseconds(CounterNow() - reading) + 10),
        begun + static_cast<LONGLONG>(plan.MaxSeconds) * CounterHz(),
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0};
    for (INT round = 0;; round++) {
        std::vector<size_t> order;
        for (size_t i = 0; i < report.Tests.size(); i++) {
            if (round < plan.Repeat || (plan.Precision > 0 && CounterNow() < progress.Deadline &&
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
            const LONGLONG warming = CounterNow();
            WarmUp(plan, target, report, progress);
            spent.WarmupMs = Milliseconds(CounterNow() - warming);
        }
        for (const size_t i : order) {
            TestRun &run = report.Tests[i];
            // Past --repeat, no sample starts once --max-seconds have passed.
            if (round >= plan.Repeat && CounterNow() >= progress.Deadline) {
                break;
            }
            const LONGLONG sampleBegun = CounterNow();
            const RandomState start = RandomSaved();
            // Clearing lets the window take its messages: a close stops the run here.
            target.Clear();
            bool reached = false;
            if (!Interrupted) {
                run.Samples.push_back(ScoreSample(plan, target, run.Index, plan.WindowMs, reached));
                spent.WindowsMs += run.Samples.back().QpcMs;
            }
            // Empty when no copy can be made: then that output fails alone.
            if (reached && plan.Snapshot && i == order.front()) {
                snapshot = target.Snapshot();
            }
            if (reached && plan.Raw) {
                // Right after its scored sample, so that drift affects both alike.
                const LONGLONG replaying = CounterNow();
                target.Clear();
                RandomRestore(start);
                run.Raw.push_back(
                    ReplaySample(plan, target, run.Index, run.Samples.back().Count, tape, reached));
                run.Raw.back().Of = static_cast<INT>(run.Samples.size());
                spent.RawMs += Milliseconds(CounterNow() - replaying);
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
            const double left = progress.Ended(SAMPLE_STEP, sampleBegun);
            progress.Show(
                SampleLine(run, plan, checks[i].HalfWidth, TimeLeft(left, plan.Precision > 0)));
        }
    }
    const LONGLONG drawing = CounterNow();
    spent.SetUpMs = Milliseconds(drawing - begun) - spent.WarmupMs - spent.WindowsMs - spent.RawMs;
    if (!plan.SkipPictures) {
        DrawPictures(plan, target, report, pictures, progress);
        spent.PicturesMs = Milliseconds(CounterNow() - drawing);
    }
    if (!plan.Quiet && progress.Console) {
        std::fputs("\n", stderr);
    }
    ReleaseSourceBitmap();
    return !Interrupted;
}
