#include "Samples.h"

#include "Bench.h"
#include "Pictures.h"
#include "Process.h"
#include "Random.h"
#include "SourceBitmap.h"
#include "Wide.h"
#include "Workloads.h"

#include <algorithm>
#include <vector>

static LARGE_INTEGER Frequency;

LONGLONG CounterHz() {
    return Frequency.QuadPart;
}

double Milliseconds(LONGLONG ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(Frequency.QuadPart);
}

LONGLONG CounterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void MeasureClocks(const Plan &plan, Setting &set) {
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
    if (!plan.Raw) {
        return;
    }
    // The two things the measuring rule adds to each call, timed on their own.
    constexpr INT ROUNDS = 1 << 20;
    const RandomState state = RandomSaved();
    volatile INT sink = 0;
    LONGLONG start = CounterNow();
    for (INT i = 0; i < ROUNDS; i++) {
        sink = RandomInt(i);
    }
    set.DrawNs = Milliseconds(CounterNow() - start) * 1e6 / ROUNDS;
    RandomRestore(state);
    start = CounterNow();
    for (INT i = 0; i < ROUNDS; i++) {
        sink = static_cast<INT>(GetTickCount());
    }
    set.TickNs = Milliseconds(CounterNow() - start) * 1e6 / ROUNDS;
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
TestProc BeginTest(const Plan &plan, const Target &target, INT test) {
    Bench.DrawDC = target.Obtain();
    return plan.Wide ? WideBegin(test) : TestTable[test].Proc;
}

void EndTest(const Plan &plan, const Target &target) {
    if (plan.Wide) {
        WideEnd();
    }
    target.Release(Bench.DrawDC);
}

// One measurement as RunTest makes it: the same loop and window rule. reached says
// whether its drawing reached the drawing area, checked once the window has ended.
Sample ScoreSample(const Plan &plan, const Target &target, INT test, DWORD window, bool &reached) {
    const TestProc proc = BeginTest(plan, target, test);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const double processor = ProcessorMs();
    const LONGLONG start = CounterNow();
    DWORD elapsed;
    const INT64 count = CountCalls(proc, window, elapsed);
    const LONGLONG end = CounterNow();
    const double processorEnd = ProcessorMs();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    reached = target.Reached(Bench.DrawDC);
    EndTest(plan, target);

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
// state that sample started in (a wide test's own start, after its set-up), the random
// values of a block of calls are drawn ahead (making the same calls on a scratch DC),
// then only the block's platform calls are timed, until as many calls as the sample
// made have been replayed. reached as for a scored sample.
RawSample ReplaySample(const Plan &plan, const Target &target, INT test, INT64 calls,
                       std::vector<INT> &tape, bool &reached) {
    BeginTest(plan, target, test);
    const HDC drawn = Bench.DrawDC;
    const TestProc record = plan.Wide ? WideRecording() : RecordProcs[test],
                   replay = plan.Wide ? WideReplaying() : ReplayProcs[test];
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
            record();
        }
        draws += static_cast<INT64>(DrawTapeAt);
        Bench.DrawDC = drawn;
        DrawTapeAt = 0;
        const LONGLONG start = CounterNow();
        for (INT i = 0; i < block; i++) {
            replay();
        }
        spent += CounterNow() - start;
        done += block;
    }
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    reached = target.Reached(drawn);

    SelectObject(scratch, scratchOld);
    DeleteDC(scratch);
    DeleteObject(scratchBitmap);
    EndTest(plan, target);

    RawSample sample;
    sample.Calls = calls;
    sample.QpcMs = Milliseconds(spent);
    sample.Rate = static_cast<double>(calls) * 1000.0 / sample.QpcMs;
    sample.DrawsPerCall = static_cast<double>(draws) / static_cast<double>(calls);
    return sample;
}

// A fresh start's state: the generator from its beginning, the source bitmap
// built anew from its first draws.
void FreshStart(bool first) {
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
static Pixels PictureOnce(const Plan &plan, const Target &target, INT test, bool *blank) {
    target.Clear();
    if (!plan.Wide) {
        FreshStart(false);
    }
    const TestProc proc = BeginTest(plan, target, test);
    GdiFlush();
    const Pixels before = blank != nullptr ? target.Read() : Pixels{};
    for (INT i = 0; i < PICTURE_CALLS; i++) {
        proc();
    }
    if (plan.Wide) {
        WideShow();
    }
    EndTest(plan, target);
    GdiFlush();
    Pixels after = target.Read();
    if (blank != nullptr) {
        *blank = after.Values == before.Values;
    }
    return after;
}

Picture DrawPicture(const Plan &plan, const Target &target, INT test, Pixels &pixels) {
    Picture drawn;
    pixels = PictureOnce(plan, target, test, &drawn.Blank);
    drawn.Digest = DigestOf(pixels.Values);
    // Drawn twice: where the platform draws a shape differently each time, no side
    // can be said to have drawn another picture.
    drawn.Varies = DigestOf(PictureOnce(plan, target, test, nullptr).Values) != drawn.Digest;
    return drawn;
}
