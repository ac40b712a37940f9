#include "Measure.h"

#include "Bench.h"
#include "Display.h"
#include "Machine.h"
#include "Process.h"
#include "Sampler.h"
#include "Samples.h"
#include "Suites.h"
#include "Wide.h"

#include <cstdio>
#include <new>

std::string StopMessage() {
    switch (Interrupted) {
    case WINDOW_CLOSED:
        return "the window was closed while measuring: the run stopped, nothing written";
    case DRAWING_FAILED:
        return "the drawing went nowhere (the window destroyed or hidden, or the display "
               "gone): the run stopped, nothing written";
    default:
        return "interrupted: nothing written";
    }
}

int MeasureRun(const Plan &plan, Report &report, std::string &snapshot,
               std::vector<std::string> &pictures, std::string &error) {
    const LONGLONG started = CounterNow();
    if (plan.Affinity >= 0 && !PinToProcessor(plan.Affinity, error)) {
        return 2;
    }
    // On screen, one benchmark at a time: an interactive copy holds the mutex.
    if (plan.OffscreenWidth == 0 && !TakeDisplayMutex()) {
        error = "another copy of the benchmark is running on this display; close it, or "
                "measure off screen with --offscreen WxH";
        return 1;
    }
    // Only now, right before measuring: --help and bad input are never held up.
    if (!TakeMeasuringGuard(false)) {
        if (plan.Wait) {
            std::fputs("QuenzelRun: another run is measuring; waiting for its end\n", stderr);
            std::fflush(stderr);
            TakeMeasuringGuard(true);
        } else if (!plan.Concurrent) {
            error = "another run is measuring; wait for its end with --wait, or measure beside "
                    "it with --concurrent (each slows the other)";
            return 1;
        } else {
            std::fputs("QuenzelRun: warning: another run is measuring beside this one; each "
                       "slows the other\n",
                       stderr);
        }
    }
    Target target;
    if (!target.Open(plan.OffscreenWidth, plan.OffscreenHeight, plan.OffscreenDepth)) {
        error = plan.OffscreenWidth > 0 ? "--offscreen: no bitmap of that size can be made"
                                        : "no window can be made: run on a display, or off "
                                          "screen with --offscreen WxH";
        return 1;
    }
    report.Set = DescribeRun(plan, target);
    MeasureClocks(plan, report.Set);
    if (plan.WindowMs < 10 * report.Set.TickStepMs) {
        std::fprintf(stderr,
                     "QuenzelRun: warning: the tick counter moves in steps of %.0f ms; a window "
                     "of %lu ms is measured mostly in rounding\n",
                     report.Set.TickStepMs, static_cast<unsigned long>(plan.WindowMs));
    }
    std::string skipped;
    Bench.DrawDC = target.Obtain();
    for (INT test : plan.Tests) {
        TestRun entry;
        entry.Index = test;
        entry.Name = TestName(plan.Wide, test);
        const SIZE box = plan.Wide ? WideExtent(test) : SIZE{0, 0};
        if (box.cx > Bench.ScreenWidth || box.cy > Bench.ScreenHeight) {
            skipped += (skipped.empty() ? "" : ", ") + entry.Name;
        } else {
            report.Tests.push_back(entry);
        }
    }
    target.Release(Bench.DrawDC);
    if (!skipped.empty()) {
        std::fprintf(stderr, "QuenzelRun: skipped, larger than the %dx%d surface: %s\n",
                     Bench.ScreenWidth, Bench.ScreenHeight, skipped.c_str());
    }
    if (report.Tests.empty()) {
        target.Close();
        error = "no test chosen fits the surface";
        return 1;
    }
    StopOnConsoleEvents();
    report.Set.Spent.StartMs = Milliseconds(CounterNow() - started);
    bool measured = false;
    try {
        measured = RunSamples(plan, target, report, snapshot, pictures, error);
    } catch (const std::bad_alloc &) {
        error = "not enough memory for the run";
    }
    target.Close();
    if (Interrupted) {
        error = StopMessage();
        return INTERRUPTED;
    }
    return measured ? 0 : 1;
}
