#include "Sampler.h"

#include "Random.h"
#include "SourceBitmap.h"
#include "Workloads.h"

#include <vector>

// The raw measurement times blocks of calls; a block grows up to this many calls.
constexpr INT MAX_BLOCK = 4096;

static LARGE_INTEGER Frequency;

static double Milliseconds(LONGLONG ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(Frequency.QuadPart);
}

static LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// One measurement as RunTest makes it: the same loop and window rule.
static Sample ScoreSample(const Target &target, INT test, DWORD window) {
    Bench.DrawDC = target.Obtain();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const LONGLONG start = Now();
    DWORD elapsed;
    const INT64 count = CountCalls(TestTable[test].Proc, window, elapsed);
    const LONGLONG end = Now();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    target.Release(Bench.DrawDC);

    Sample sample;
    sample.Count = count;
    sample.TickMs = elapsed;
    sample.QpcMs = Milliseconds(end - start);
    sample.PerSecond =
        static_cast<INT>(window == TEST_WINDOW_MS ? count / 10 : count * 1000 / elapsed);
    sample.Rate = static_cast<double>(count) * 1000.0 / sample.QpcMs;
    return sample;
}

// The platform's ceiling: the random values of a block of calls are drawn ahead
// (making the same calls on a scratch DC), then only the block's platform calls
// are timed, until the timed blocks add up to more than the window.
static RawSample RawSampleOf(const Target &target, INT test, DWORD window, std::vector<INT> &tape) {
    const HDC drawn = target.Obtain();
    const HDC scratch = CreateCompatibleDC(drawn);
    const HBITMAP scratchBitmap = CreateCompatibleBitmap(drawn, 1, 1);
    const HGDIOBJ scratchOld = SelectObject(scratch, scratchBitmap);
    DrawTape = tape.data();

    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const LONGLONG budget = static_cast<LONGLONG>(window) * Frequency.QuadPart / 1000;
    LONGLONG spent = 0;
    INT64 calls = 0;
    INT block = 16;
    while (spent <= budget) {
        Bench.DrawDC = scratch;
        DrawTapeAt = 0;
        for (INT i = 0; i < block; i++) {
            RecordProcs[test]();
        }
        Bench.DrawDC = drawn;
        DrawTapeAt = 0;
        const LONGLONG start = Now();
        for (INT i = 0; i < block; i++) {
            ReplayProcs[test]();
        }
        const LONGLONG taken = Now() - start;
        spent += taken;
        calls += block;
        if (taken * 20 < budget && block < MAX_BLOCK) {
            block *= 2;
        }
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

bool RunSamples(const Options &options, const Target &target, Report &report, std::string &snapshot,
                std::string &error) {
    QueryPerformanceFrequency(&Frequency);
    std::vector<INT> tape(options.Raw ? static_cast<size_t>(MAX_BLOCK) * MAX_DRAWS_PER_CALL : 0);
    for (INT sample = 0; sample < options.Repeat; sample++) {
        FreshStart(sample == 0);
        // BitBlt would copy from nothing, and its figure would mean nothing.
        if (Bench.SourceBitmap == nullptr) {
            error = "no source bitmap of the drawing area's size can be made";
            return false;
        }
        for (TestRun &run : report.Tests) {
            target.Clear();
            run.Samples.push_back(ScoreSample(target, run.Index, options.WindowMs));
            // The last sample's first test: with --repeat it shows that a sample
            // draws what a fresh start draws.
            if (!options.Snapshot.empty() && sample == options.Repeat - 1 && snapshot.empty()) {
                snapshot = target.Snapshot();
                if (snapshot.empty()) {
                    error = "--snapshot: no copy of the drawing area can be made";
                    ReleaseSourceBitmap();
                    return false;
                }
            }
        }
        // The raw samples alternate with the scored ones, so that a machine whose
        // speed drifts during a long run affects both alike.
        if (options.Raw) {
            FreshStart(false);
            for (TestRun &run : report.Tests) {
                target.Clear();
                run.Raw.push_back(RawSampleOf(target, run.Index, options.WindowMs, tape));
            }
        }
    }
    ReleaseSourceBitmap();
    return true;
}
