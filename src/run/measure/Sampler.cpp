#include "Sampler.h"

#include "Bench.h"
#include "Progress.h"
#include "Random.h"
#include "SourceBitmap.h"
#include "WideWorkloads.h"
#include "Workloads.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

constexpr INT MAX_BLOCK = 4096; // the most calls a raw replay draws ahead at once

static LARGE_INTEGER Frequency;

static double Milliseconds(LONGLONG ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(Frequency.QuadPart);
}

static LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void MeasureClocks(const Options &options, Setting &set) {
    QueryPerformanceFrequency(&Frequency);
    // The middle of eleven steps: the counter may move by 1 ms now and then and by
    // 16 ms as a rule, and the rule is what rounds a window.
    std::vector<DWORD> steps;
    DWORD last = GetTickCount();
    while (steps.size() < 11) {
        const DWORD now = GetTickCount();
        if (now != last) {
            steps.push_back(now - last);
            last = now;
        }
    }
    std::nth_element(steps.begin(), steps.begin() + 5, steps.end());
    const DWORD step = steps[5];
    set.TickStepMs = step;
    if (!options.Raw) {
        return;
    }
    // The two things the measuring rule adds to each call, timed on their own.
    constexpr INT ROUNDS = 1 << 20;
    const RandomState state = RandomSaved();
    volatile INT sink = 0;
    LONGLONG start = Now();
    for (INT i = 0; i < ROUNDS; i++) {
        sink = RandomInt(i);
    }
    set.DrawNs = Milliseconds(Now() - start) * 1e6 / ROUNDS;
    RandomRestore(state);
    start = Now();
    for (INT i = 0; i < ROUNDS; i++) {
        sink = static_cast<INT>(GetTickCount());
    }
    set.TickNs = Milliseconds(Now() - start) * 1e6 / ROUNDS;
    (void)sink;
}

// The thread's processor time so far, kernel and user, in milliseconds.
static double ProcessorMs() {
    FILETIME creation, exit, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) {
        return 0;
    }
    auto ms = [](const FILETIME &t) {
        return static_cast<double>(static_cast<UINT64>(t.dwHighDateTime) << 32 | t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

// A test of the run's suite made ready on a DC of the target: a wide test's objects
// and its own start are made here, untimed; one of the seven needs nothing.
static TestProc Begin(const Options &options, const Target &target, INT test) {
    Bench.DrawDC = target.Obtain();
    return options.Wide ? WideBegin(test) : TestTable[test].Proc;
}

static void End(const Options &options, const Target &target) {
    if (options.Wide) {
        WideEnd();
    }
    target.Release(Bench.DrawDC);
}

// One measurement as RunTest makes it: the same loop and window rule. reached says
// whether its drawing reached the drawing area, checked once the window has ended.
static Sample ScoreSample(const Options &options, const Target &target, INT test, DWORD window,
                          bool &reached) {
    const TestProc proc = Begin(options, target, test);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const double processor = ProcessorMs();
    const LONGLONG start = Now();
    DWORD elapsed;
    const INT64 count = CountCalls(proc, window, elapsed);
    const LONGLONG end = Now();
    const double processorEnd = ProcessorMs();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    reached = target.Reached(Bench.DrawDC);
    End(options, target);

    Sample sample;
    sample.Count = count;
    sample.TickMs = elapsed;
    sample.QpcMs = Milliseconds(end - start);
    sample.PerSecond =
        static_cast<INT>(window == TEST_WINDOW_MS ? count / 10 : count * 1000 / elapsed);
    sample.Rate = static_cast<double>(count) * 1000.0 / sample.QpcMs;
    sample.CpuMs = processorEnd - processor;
    return sample;
}

// The platform's ceiling on the very calls of a scored sample: from the generator
// state that sample started in, the random values of a block of calls are drawn
// ahead (making the same calls on a scratch DC), then only the block's platform
// calls are timed, until as many calls as the sample made have been replayed. The
// generator ends where the scored sample left it. reached as for a scored sample.
static RawSample ReplaySample(const Target &target, INT test, INT64 calls, std::vector<INT> &tape,
                              bool &reached) {
    const HDC drawn = target.Obtain();
    const HDC scratch = CreateCompatibleDC(drawn);
    const HBITMAP scratchBitmap = CreateCompatibleBitmap(drawn, 1, 1);
    const HGDIOBJ scratchOld = SelectObject(scratch, scratchBitmap);
    DrawTape = tape.data();

    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    LONGLONG spent = 0;
    INT64 done = 0, draws = 0;
    while (done < calls && !Interrupted) {
        const INT block = static_cast<INT>(std::min<INT64>(MAX_BLOCK, calls - done));
        Bench.DrawDC = scratch;
        DrawTapeAt = 0;
        for (INT i = 0; i < block; i++) {
            RecordProcs[test]();
        }
        draws += static_cast<INT64>(DrawTapeAt);
        Bench.DrawDC = drawn;
        DrawTapeAt = 0;
        const LONGLONG start = Now();
        for (INT i = 0; i < block; i++) {
            ReplayProcs[test]();
        }
        spent += Now() - start;
        done += block;
    }
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    reached = target.Reached(drawn);

    SelectObject(scratch, scratchOld);
    DeleteDC(scratch);
    DeleteObject(scratchBitmap);
    target.Release(drawn);

    RawSample sample;
    sample.Calls = calls;
    sample.QpcMs = Milliseconds(spent);
    sample.Rate = static_cast<double>(calls) * 1000.0 / sample.QpcMs;
    sample.DrawsPerCall = static_cast<double>(draws) / static_cast<double>(calls);
    return sample;
}

// A fresh start's state: the generator from its beginning, the source bitmap
// built anew from its first draws.
static void FreshStart(bool first) {
    RandomReset();
    if (!first) {
        ReleaseSourceBitmap();
    }
    SetupSourceBitmap();
}

// What the test draws in its first PICTURE_CALLS calls from its start, on the cleared
// surface: one of the seven from a fresh start, a wide test from its own.
constexpr INT PICTURE_CALLS = 32;

// A test that reads shows what it read. With blank, whether the calls left the
// surface as the set-up made it.
static Pixels PictureOnce(const Options &options, const Target &target, INT test, bool *blank) {
    target.Clear();
    if (!options.Wide) {
        FreshStart(false);
    }
    const TestProc proc = Begin(options, target, test);
    GdiFlush();
    const Pixels before = blank != nullptr ? target.Read() : Pixels{};
    for (INT i = 0; i < PICTURE_CALLS; i++) {
        proc();
    }
    if (options.Wide) {
        WideShow();
    }
    End(options, target);
    GdiFlush();
    Pixels after = target.Read();
    if (blank != nullptr) {
        *blank = after.Values == before.Values;
    }
    return after;
}

Picture DrawPicture(const Options &options, const Target &target, INT test, Pixels &pixels) {
    Picture drawn;
    pixels = PictureOnce(options, target, test, &drawn.Blank);
    drawn.Digest = DigestOf(pixels.Values);
    // Drawn twice: where the platform draws a shape differently each time, no side
    // can be said to have drawn another picture.
    drawn.Varies = DigestOf(PictureOnce(options, target, test, nullptr).Values) != drawn.Digest;
    return drawn;
}

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

bool RunSamples(const Options &options, const Target &target, Report &report, std::string &snapshot,
                std::vector<std::string> &pictures, std::string &error) {
    std::vector<INT> tape(options.Raw ? static_cast<size_t>(MAX_BLOCK) * MAX_DRAWS_PER_CALL : 0);
    std::vector<PrecisionCheck> checks(report.Tests.size());
    DWORD mode;
    const bool console = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    std::mt19937 shuffle(options.ShuffleSeed);
    const LONGLONG begun = Now();
    const LONGLONG deadline =
        begun + static_cast<LONGLONG>(options.MaxSeconds) * Frequency.QuadPart;
    // The time each test spent in its samples, and when the first sample began.
    std::vector<double> spentMs(report.Tests.size());
    LONGLONG measuring = 0;
    for (INT round = 0;; round++) {
        std::vector<size_t> order;
        for (size_t i = 0; i < report.Tests.size(); i++) {
            if (round < options.Repeat || (options.Precision > 0 && Now() < deadline &&
                                           !Reached(checks[i], options.Precision))) {
                order.push_back(i);
            }
        }
        if (order.empty()) {
            break;
        }
        for (size_t i = order.size() - 1; options.Shuffle && i > 0; i--) {
            std::swap(order[i], order[shuffle() % (i + 1)]);
        }
        FreshStart(round == 0);
        // BitBlt would copy from nothing, and its figure would mean nothing.
        if (Bench.SourceBitmap == nullptr) {
            error = "no source bitmap of the drawing area's size can be made";
            return false;
        }
        if (round == 0 && options.WarmupMs > 0) {
            // Untimed, and then the round starts afresh as if nothing had been drawn.
            for (const size_t i : order) {
                target.Clear();
                DWORD elapsed;
                CountCalls(Begin(options, target, report.Tests[i].Index), options.WarmupMs,
                           elapsed);
                End(options, target);
            }
            FreshStart(false);
        }
        if (round == 0) {
            measuring = Now();
        }
        for (const size_t i : order) {
            TestRun &run = report.Tests[i];
            // Past --repeat, no sample starts once --max-seconds have passed.
            if (round >= options.Repeat && Now() >= deadline) {
                break;
            }
            const LONGLONG sampleBegun = Now();
            const RandomState start = RandomSaved();
            // Clearing lets the window take its messages: a close stops the run here.
            target.Clear();
            bool reached = false;
            if (!Interrupted) {
                run.Samples.push_back(
                    ScoreSample(options, target, run.Index, options.WindowMs, reached));
            }
            // Empty when no copy can be made: then that output fails alone.
            if (reached && !options.Snapshot.empty() && i == order.front()) {
                snapshot = target.Snapshot();
            }
            if (reached && options.Raw) {
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
            if (options.Precision > 0) {
                CheckPrecision(run, options.Confidence, checks[i]);
            }
            spentMs[i] += Milliseconds(Now() - sampleBegun);
            if (!options.Quiet) {
                // With --precision, the time to --max-seconds, or the --repeat rounds'.
                const double left =
                    std::max(options.Precision > 0 ? Milliseconds(deadline - Now()) / 1000 : 0,
                             SecondsLeft(report.Tests, spentMs, options.Repeat,
                                         Milliseconds(Now() - measuring)));
                ShowProgress(ProgressLine(run, options, checks[i].HalfWidth, left), console);
            }
        }
    }
    // The pictures, with their own time left: the measuring's estimate cannot know them.
    const LONGLONG drawing = Now();
    for (size_t i = 0; i < report.Tests.size() && !Interrupted; i++) {
        Pixels pixels;
        report.Tests[i].Drawn = DrawPicture(options, target, report.Tests[i].Index, pixels);
        // Kept as PNG files' bytes, a few kilobytes each, to be written with the outputs.
        if (!options.Pictures.empty()) {
            pictures.push_back(PngOf(pixels));
        }
        if (!options.Quiet) {
            const double left = Milliseconds(Now() - drawing) / 1000 / static_cast<double>(i + 1) *
                                static_cast<double>(report.Tests.size() - i - 1);
            char line[80];
            std::snprintf(line, sizeof line, "pictures: %zu of %zu tests, %ld min %02ld s left",
                          i + 1, report.Tests.size(), std::lround(left) / 60,
                          std::lround(left) % 60);
            ShowProgress(line, console);
        }
    }
    if (!options.Quiet && console) {
        std::fputs("\n", stderr);
    }
    ReleaseSourceBitmap();
    return !Interrupted;
}
