// An offline comparison of long runs as QuenzelRun makes it (--from NEW --compare OLD
// with --json, --csv, --svg and the gate), natively: two saved groups of N samples a
// side (default 10^5, spread over the seven tests) in R runs (default 1: the samples
// themselves are compared, the most work), read back, compared, and every output
// made. Not a test; build and run it by hand, memory read by the caller:
//
//   R=src/run && g++ -std=c++20 -O2 -DQUENZEL_VERSION='"0.1"' -Isrc/core -I$R/cli \
//     -I$R/measure -I$R/compare -I$R/report measurements/OfflineBench.cpp \
//     $R/cli/Option*.cpp $R/compare/*s.cpp $R/measure/Progress.cpp $R/report/*.cpp -o /tmp/ob
//   mkdir -p /tmp/runs && /tmp/ob make 100000 1 /tmp/runs && /usr/bin/time -v /tmp/ob compare
//   /tmp/runs
//
// A build before the comparisons were made once has no CompareAll: add -DBEFORE.
#include "Group.h"
#include "Record.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

// A group of runs, count samples of each test, rates with a machine's noise.
static std::string Saved(double speed, size_t count, int runs, unsigned seed) {
    std::mt19937 random(seed);
    std::lognormal_distribution<double> noise(0, 0.05);
    Report group;
    group.Set.Flavour = "desktop";
    group.Set.Target = "offscreen";
    group.Set.WindowMs = 300;
    for (int test = 1; test <= LAST_TEST; test++) {
        group.Tests.push_back({.Index = test, .Name = TEST_NAMES[test]});
        for (size_t i = 0; i < count; i++) {
            const double rate = speed * 1e5 * test * noise(random);
            group.Tests.back().Samples.push_back({static_cast<std::int64_t>(rate * 0.3), 300, 300,
                                                  static_cast<int>(rate), rate, 0,
                                                  static_cast<int>(i) % runs + 1});
        }
    }
    Summarise(group);
    return ToJson(group, {});
}

static std::string Read(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int main(int argc, char **argv) {
    if (argc == 5 && std::string(argv[1]) == "make") {
        const size_t count = std::strtoul(argv[2], nullptr, 10) / LAST_TEST;
        const int runs = std::atoi(argv[3]);
        std::ofstream(std::string(argv[4]) + "/new.json") << Saved(1.03, count, runs, 1);
        std::ofstream(std::string(argv[4]) + "/old.json") << Saved(1, count, runs, 2);
        return 0;
    }
    if (argc != 3 || std::string(argv[1]) != "compare") {
        std::fprintf(stderr, "usage: ob make SAMPLES RUNS FOLDER | ob compare FOLDER\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    Report report;
    std::vector<OldRun> olds(1);
    std::string error;
    // Each file's text only while it is read, as QuenzelRun reads a group's files.
    if (Report loaded; !ReadRun(Read(std::string(argv[2]) + "/new.json"), loaded, error) ||
                       !AddToGroup(report, loaded, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (Report old; !ReadRun(Read(std::string(argv[2]) + "/old.json"), old, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    } else {
        Summarise(old);
        olds[0] = AsOld(old, "old.json");
    }
    const std::chrono::duration<double> reading = std::chrono::steady_clock::now() - start;
    Summarise(report);
#ifdef BEFORE
    size_t bytes = ToTable(report, olds, 5).size() + ToJson(report, olds).size() +
                   ToCsv(report, olds).size() + ToSvg(report, olds).size();
    const size_t slower = SlowerBeyond(report, olds[0], 5).size();
#else
    const Compared compared = CompareAll(report, olds);
    size_t bytes = ToTable(report, olds, compared, 5).size() +
                   ToJson(report, olds, compared).size() + ToCsv(report, olds, compared).size() +
                   ToSvg(report, olds, compared).size();
    const size_t slower = SlowerBeyond(compared[0], 5).size();
#endif
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("read in %.2f s, all in %.2f s; %zu bytes of output, %zu slower\n", reading.count(),
                took.count(), bytes, slower);
    return 0;
}
