#include "Sampler.h"

#include "Random.h"
#include "SourceBitmap.h"
#include "Workloads.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

// The raw measurement replays blocks of this many calls at most.
constexpr INT MAX_BLOCK = 4096;

static LARGE_INTEGER Frequency;

volatile LONG Interrupted;

static BOOL WINAPI OnConsoleEvent(DWORD event) {
    InterlockedExchange(&Interrupted, 1);
    // Closing the console ends the process as soon as this returns: the run winds
    // down first (it ends the process itself).
    while (event == CTRL_CLOSE_EVENT) {
        Sleep(1000);
    }
    return TRUE;
}

void StopOnConsoleEvents() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

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

// One measurement as RunTest makes it: the same loop and window rule.
static Sample ScoreSample(const Target &target, INT test, DWORD window) {
    Bench.DrawDC = target.Obtain();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const double processor = ProcessorMs();
    const LONGLONG start = Now();
    DWORD elapsed;
    const INT64 count = CountCalls(TestTable[test].Proc, window, elapsed);
    const LONGLONG end = Now();
    const double processorEnd = ProcessorMs();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    target.Release(Bench.DrawDC);

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
// generator ends where the scored sample left it.
static RawSample ReplaySample(const Target &target, INT test, INT64 calls, std::vector<INT> &tape) {
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

// With --precision, whether a test's rate is known well enough: as the table
// will show it.
static bool Precise(const TestRun &run, const Options &options) {
    const double halfWidth = HalfWidthOf(run, options.Confidence);
    return halfWidth > 0 && halfWidth <= options.Precision;
}

// One line on stderr per sample: rewritten in place on a console, plain otherwise.
static void ShowProgress(const TestRun &run, const std::string &of, double secondsLeft,
                         bool console) {
    char line[160];
    const INT seconds = static_cast<INT>(secondsLeft);
    std::snprintf(line, sizeof line, "%-9s sample %zu%s: %.0f/s, %d min %02d s left",
                  run.Name.c_str(), run.Samples.size(), of.c_str(), run.Samples.back().Rate,
                  seconds / 60, seconds % 60);
    std::fprintf(stderr, console ? "\r%-78s" : "%s\n", line);
    std::fflush(stderr);
}

bool RunSamples(const Options &options, const Target &target, Report &report, std::string &snapshot,
                std::string &error) {
    std::vector<INT> tape(options.Raw ? static_cast<size_t>(MAX_BLOCK) * MAX_DRAWS_PER_CALL : 0);
    DWORD mode;
    const bool console = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    std::mt19937 shuffle(options.ShuffleSeed);
    const LONGLONG begun = Now();
    const LONGLONG deadline =
        begun + static_cast<LONGLONG>(options.MaxSeconds) * Frequency.QuadPart;
    INT done = 0;
    const INT planned = options.Repeat * static_cast<INT>(report.Tests.size());
    for (INT round = 0;; round++) {
        std::vector<TestRun *> order;
        for (TestRun &run : report.Tests) {
            if (round < options.Repeat ||
                (options.Precision > 0 && Now() < deadline && !Precise(run, options))) {
                order.push_back(&run);
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
            for (TestRun *run : order) {
                target.Clear();
                Bench.DrawDC = target.Obtain();
                DWORD elapsed;
                CountCalls(TestTable[run->Index].Proc, options.WarmupMs, elapsed);
                target.Release(Bench.DrawDC);
            }
            FreshStart(false);
        }
        for (TestRun *run : order) {
            if (Interrupted) {
                ReleaseSourceBitmap();
                return false;
            }
            const RandomState start = RandomSaved();
            target.Clear();
            run->Samples.push_back(ScoreSample(target, run->Index, options.WindowMs));
            // Empty when no copy can be made: then that output fails alone.
            if (!options.Snapshot.empty() && run == order.front()) {
                snapshot = target.Snapshot();
            }
            if (options.Raw) {
                // Right after its scored sample, so that drift affects both alike.
                target.Clear();
                RandomRestore(start);
                run->Raw.push_back(
                    ReplaySample(target, run->Index, run->Samples.back().Count, tape));
                run->Raw.back().Of = static_cast<INT>(run->Samples.size());
            }
            done++;
            if (!options.Quiet) {
                // With --precision the run ends at the deadline at the latest.
                const double left = options.Precision > 0 ? Milliseconds(deadline - Now()) / 1000
                                                          : Milliseconds(Now() - begun) / 1000 /
                                                                done * (planned - done);
                ShowProgress(*run,
                             options.Precision > 0 ? " (until known to the precision; at most)"
                                                   : " of " + std::to_string(options.Repeat),
                             std::max(0.0, left), console);
            }
        }
    }
    if (!options.Quiet && console) {
        std::fputs("\n", stderr);
    }
    ReleaseSourceBitmap();
    return true;
}

bool PinToProcessor(INT processor, std::string &error) {
#ifdef UNDER_CE
    (void)processor;
    error = "--affinity: the handheld system does not pin a process to a processor";
    return false;
#else
    DWORD_PTR mine, system;
    if (processor >= static_cast<INT>(sizeof(DWORD_PTR) * 8) ||
        !GetProcessAffinityMask(GetCurrentProcess(), &mine, &system) ||
        (system >> processor & 1) == 0) {
        error = "--affinity " + std::to_string(processor) + ": no such logical processor here";
        return false;
    }
    if (!SetProcessAffinityMask(GetCurrentProcess(), static_cast<DWORD_PTR>(1) << processor)) {
        error = "--affinity " + std::to_string(processor) + ": the system refused it";
        return false;
    }
    return true;
#endif
}
