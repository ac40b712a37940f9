#include "Groups.h"

#include <algorithm>
#include <cstdio>
#include <map>

std::vector<std::vector<double>> ByRun(const std::vector<double> &values,
                                       const std::vector<int> &runs) {
    std::map<int, std::vector<double>> byRun;
    for (size_t i = 0; i < values.size(); i++) {
        byRun[runs.empty() ? 1 : runs[i]].push_back(values[i]);
    }
    std::vector<std::vector<double>> out;
    for (auto &[run, each] : byRun) {
        out.push_back(std::move(each));
    }
    return out;
}

std::vector<double> RunMedians(const std::vector<double> &values, const std::vector<int> &runs) {
    std::vector<double> medians;
    for (const std::vector<double> &each : ByRun(values, runs)) {
        medians.push_back(MedianOf(each));
    }
    return medians;
}

static std::vector<int> RunsOf(const TestRun &test) {
    std::vector<int> runs;
    for (const Sample &sample : test.Samples) {
        runs.push_back(sample.Run);
    }
    return runs;
}

std::vector<double> Rates(const TestRun &test) {
    std::vector<double> rates;
    for (const Sample &sample : test.Samples) {
        rates.push_back(sample.Rate);
    }
    return rates;
}

std::vector<double> RunMedians(const TestRun &test) {
    return RunMedians(Rates(test), RunsOf(test));
}

std::vector<double> RunMedians(const OldTest &test) {
    return RunMedians(test.Rates, test.Runs);
}

std::string SettingDifferences(const Setting &here, const Setting &there) {
    const std::string pairs[][3] = {
        {"flavour", here.Flavour, there.Flavour},
        {"target", here.Target, there.Target},
        {"area", std::to_string(here.Width) + "x" + std::to_string(here.Height),
         std::to_string(there.Width) + "x" + std::to_string(there.Height)},
        {"depth", std::to_string(here.Depth), std::to_string(there.Depth)},
        {"window_ms", std::to_string(here.WindowMs), std::to_string(there.WindowMs)},
        {"warmup_ms", std::to_string(here.WarmupMs), std::to_string(there.WarmupMs)}};
    std::string out;
    for (const auto &[key, a, b] : pairs) {
        if (a != b) {
            out += (out.empty() ? "" : ", ") + key + " " + a + " here, " + b + " there";
        }
    }
    return out;
}

static int LastRun(const Report &group) {
    int last = 0;
    for (const TestRun &test : group.Tests) {
        for (const Sample &sample : test.Samples) {
            last = std::max(last, sample.Run);
        }
    }
    return last;
}

static int LastRun(const OldRun &group) {
    int last = 0;
    for (const OldTest &test : group.Tests) {
        last = std::max(
            last, test.Runs.empty() ? 1 : *std::max_element(test.Runs.begin(), test.Runs.end()));
    }
    return last;
}

// Where the group holds the test of that index: found, or added at the end.
template <class Test> Test &TestOf(std::vector<Test> &tests, const Test &like) {
    for (Test &test : tests) {
        if (test.Index == like.Index) {
            return test;
        }
    }
    tests.push_back(Test{.Index = like.Index, .Name = like.Name});
    return tests.back();
}

template <class Group> static bool Joins(const Group &group, const Group &run, std::string &error) {
    error = SettingDifferences(run.Set, group.Set);
    return error.empty();
}

bool AddToGroup(Report &group, const Report &run, std::string &error) {
    if (group.Tests.empty()) {
        group = run;
        return true;
    }
    if (!Joins(group, run, error)) {
        return false;
    }
    const int offset = LastRun(group);
    for (const TestRun &test : run.Tests) {
        TestRun &into = TestOf(group.Tests, test);
        const int before = static_cast<int>(into.Samples.size());
        for (Sample sample : test.Samples) {
            sample.Run += offset;
            into.Samples.push_back(sample);
        }
        for (RawSample raw : test.Raw) {
            raw.Of += before;
            into.Raw.push_back(raw);
        }
    }
    std::sort(group.Tests.begin(), group.Tests.end(),
              [](const TestRun &a, const TestRun &b) { return a.Index < b.Index; });
    return true;
}

bool AddToGroup(OldRun &group, const OldRun &run, std::string &error) {
    if (group.Tests.empty()) {
        const std::string name = group.Name;
        group = run;
        group.Name = name;
        return true;
    }
    if (!Joins(group, run, error)) {
        return false;
    }
    const int offset = LastRun(group);
    for (const OldTest &test : run.Tests) {
        OldTest &into = TestOf(group.Tests, test);
        into.Median = into.Median > 0 ? into.Median : test.Median;
        into.Runs.resize(into.Rates.size(), 1);
        for (size_t i = 0; i < test.Rates.size(); i++) {
            into.Rates.push_back(test.Rates[i]);
            into.Runs.push_back(offset + (test.Runs.empty() ? 1 : test.Runs[i]));
        }
    }
    return true;
}

OldRun AsOld(const Report &report, const std::string &name) {
    OldRun old{name, report.Set, {}};
    for (const TestRun &test : report.Tests) {
        old.Tests.push_back({test.Index, test.Name, test.Median, Rates(test), RunsOf(test)});
    }
    return old;
}

std::string OtherFileName(const std::string &json) {
    const size_t dot = json.rfind('.'), slash = json.find_last_of("\\/:");
    const size_t at =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? json.size() : dot;
    return json.substr(0, at) + "-other" + json.substr(at);
}

static std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::vector<std::string> RunArguments(const Options &o) {
    std::string tests;
    for (const int test : o.Tests) {
        tests += tests.empty() ? "" : ",";
        tests += std::to_string(test);
    }
    std::vector<std::string> out = {"--tests",      tests,
                                    "--window-ms",  std::to_string(o.WindowMs),
                                    "--repeat",     std::to_string(o.Repeat),
                                    "--warmup-ms",  std::to_string(o.WarmupMs),
                                    "--confidence", Decimal(o.Confidence)};
    if (o.OffscreenWidth > 0) {
        out.insert(out.end(), {"--offscreen", std::to_string(o.OffscreenWidth) + "x" +
                                                  std::to_string(o.OffscreenHeight)});
    }
    if (o.Precision > 0) {
        out.insert(out.end(), {"--precision", Decimal(o.Precision * 100), "--max-seconds",
                               std::to_string(o.MaxSeconds)});
    }
    if (o.Shuffle) {
        out.insert(out.end(), {"--shuffle", std::to_string(o.ShuffleSeed)});
    }
    if (o.Affinity >= 0) {
        out.insert(out.end(), {"--affinity", std::to_string(o.Affinity)});
    }
    for (const auto &[flag, given] :
         {std::pair{"--raw", o.Raw}, {"--host", o.Host}, {"--quiet", o.Quiet}}) {
        if (given) {
            out.push_back(flag);
        }
    }
    return out;
}
