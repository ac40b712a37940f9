// The run in the layout of the common C++ micro-benchmark tools (--benchmark-json),
// which their compare.py and dashboards read: the setting as context, an entry per
// sample in ns per call (processor time beside wall time), then each test's mean and
// median.
#include "Fields.h"
#include "Saved.h"
#include "Stats.h"

#include <numeric>

// One entry: times per call in ns, the wall clock's and the thread's processor time.
static Json Entry(const TestRun &test, size_t family, const std::string &suffix,
                  std::int64_t iterations, double realNs, double cpuNs) {
    return {{"name", test.Name + suffix},
            {"family_index", family},
            {"per_family_instance_index", 0},
            {"run_name", test.Name},
            {"run_type", suffix.empty() ? "iteration" : "aggregate"},
            {"repetitions", test.Samples.size()},
            {"threads", 1},
            {"iterations", iterations},
            {"real_time", Rounded(realNs, 3)},
            {"cpu_time", Rounded(cpuNs, 3)},
            {"time_unit", "ns"},
            // Infinite for a window of no time, which JSON holds as null.
            {"items_per_second", Rounded(1e9 / realNs, 1)}};
}

std::string ToBenchmarkJson(const Report &report) {
    const Setting &s = report.Set;
    Json context = {{"date", s.Utc},
                    {"executable", s.Program + " " + s.Version},
                    {"library_build_type", "release"}};
    context.update(SettingRecord(s));
    Json benchmarks = Json::array();
    for (size_t t = 0; t < report.Tests.size(); t++) {
        const TestRun &test = report.Tests[t];
        std::vector<double> real, cpu;
        for (size_t i = 0; i < test.Samples.size(); i++) {
            const Sample &x = test.Samples[i];
            real.push_back(x.QpcMs * 1e6 / static_cast<double>(x.Count));
            cpu.push_back(x.CpuMs * 1e6 / static_cast<double>(x.Count));
            Json entry = Entry(test, t, "", x.Count, real.back(), cpu.back());
            entry["repetition_index"] = i;
            benchmarks.push_back(entry);
        }
        if (!real.empty()) {
            const double n = static_cast<double>(real.size());
            for (const auto &[name, realNs, cpuNs] :
                 {std::tuple{"mean", std::accumulate(real.begin(), real.end(), 0.0) / n,
                             std::accumulate(cpu.begin(), cpu.end(), 0.0) / n},
                  {"median", MedianOf(real), MedianOf(cpu)}}) {
                Json entry = Entry(test, t, std::string("_") + name,
                                   static_cast<std::int64_t>(real.size()), realNs, cpuNs);
                entry["aggregate_name"] = name;
                entry["aggregate_unit"] = "time";
                benchmarks.push_back(entry);
            }
        }
    }
    return Dump({{"context", context}, {"benchmarks", benchmarks}}, 2);
}
