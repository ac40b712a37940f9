#include "Group.h"
#include "Format.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

std::vector<int> RunsOf(const TestRun &test) {
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

std::string SettingDifferences(const Setting &here, const Setting &there) {
    const std::string pairs[][3] = {
        {"version", here.Version, there.Version},
        {"architecture", here.Architecture, there.Architecture},
        {"wine", here.Wine, there.Wine},
        {"flavour", here.Flavour, there.Flavour},
        {"suite", here.Suite, there.Suite},
        {"target", here.Target, there.Target},
        {"area", std::to_string(here.Width) + "x" + std::to_string(here.Height),
         std::to_string(there.Width) + "x" + std::to_string(there.Height)},
        {"depth", std::to_string(here.Depth), std::to_string(there.Depth)},
        {"window_ms", std::to_string(here.WindowMs), std::to_string(there.WindowMs)},
        {"warmup_ms", std::to_string(here.WarmupMs), std::to_string(there.WarmupMs)}};
    std::string out;
    for (const auto &[key, a, b] : pairs) {
        if (a != b) {
            out += (out.empty() ? "" : ", ") + key + " " + (a.empty() ? "unknown" : a) + " here, " +
                   (b.empty() ? "unknown" : b) + " there";
        }
    }
    return out;
}

std::vector<int> RunNumbers(const Report &run) {
    std::set<int> numbers;
    for (const TestRun &test : run.Tests) {
        for (const Sample &sample : test.Samples) {
            numbers.insert(sample.Run);
        }
    }
    return {numbers.begin(), numbers.end()};
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

// A group's runs drew one picture, or it varies. A run saved without a picture says
// nothing of it, whichever run comes first.
static void Join(Picture &group, const Picture &run) {
    if (run.Digest.empty() && !run.Varies) {
        return;
    }
    if (group.Digest.empty() && !group.Varies) {
        group = run;
    } else if (run.Varies || run.Digest != group.Digest) {
        group.Varies = true;
    }
}

std::string ContentOf(const Report &run, int number) {
    std::vector<const TestRun *> tests;
    for (const TestRun &test : run.Tests) {
        tests.push_back(&test);
    }
    std::sort(tests.begin(), tests.end(),
              [](const TestRun *a, const TestRun *b) { return a->Index < b->Index; });
    // FNV-1a over each of its samples' count, times and rate, as a saved run rounds them.
    std::uint64_t hash = 14695981039346656037ull;
    const auto add = [&hash](long long value) {
        for (int shift = 0; shift < 64; shift += 8) {
            hash = (hash ^ (static_cast<unsigned long long>(value) >> shift & 0xFF)) *
                   1099511628211ull;
        }
    };
    for (const TestRun *test : tests) {
        for (const Sample &x : test->Samples) {
            if (x.Run == number) {
                add(test->Index);
                add(x.Count);
                add(x.TickMs);
                add(std::llround(x.QpcMs * 1000));
                add(std::llround(x.Rate * 10));
            }
        }
    }
    return Format("content %016llx", static_cast<unsigned long long>(hash));
}

// The group's number for each of the run's runs, the next ones after the group's, so
// that no number a file holds can overflow them; 0 for a run the group holds already
// (the same identity and samples), which is left out. The group's identities and files
// grow to match. A run known by its identity but with other samples is refused.
static std::map<int, int> Numbering(Report &group, const Report &run, std::string &error) {
    std::map<int, int> to;
    if (group.Tests.empty()) {
        group.Set = run.Set;
        group.Set.RunIds.clear();
        group.RunFiles.clear();
    } else if (error = SettingDifferences(run.Set, group.Set); !error.empty()) {
        return to;
    }
    if (group.Set.Pictures.empty()) {
        group.Set.Pictures = run.Set.Pictures;
    }
    const std::vector<int> numbers = RunNumbers(run), held = RunNumbers(group);
    std::vector<std::string> keys; // each of the group's runs by identity or content
    for (size_t r = 0; r < held.size(); r++) {
        keys.push_back(r < group.Set.RunIds.size() && !group.Set.RunIds[r].empty()
                           ? group.Set.RunIds[r]
                           : ContentOf(group, held[r]));
    }
    int next = static_cast<int>(held.size());
    for (size_t k = 0; k < numbers.size(); k++) {
        const std::string id = k < run.Set.RunIds.size() ? run.Set.RunIds[k] : "";
        const std::string content = ContentOf(run, numbers[k]);
        const std::string file = k < run.RunFiles.size() ? run.RunFiles[k] : "";
        const auto found = std::find(keys.begin(), keys.end(), id.empty() ? content : id);
        if (found != keys.end()) {
            const size_t r = static_cast<size_t>(found - keys.begin());
            if (r < held.size() && ContentOf(group, held[r]) != content) {
                error = "run " + id + " has other samples in '" + file + "' than in '" +
                        (r < group.RunFiles.size() ? group.RunFiles[r] : "") +
                        "': one identity, one run";
                return {};
            }
            to[numbers[k]] = 0;
            continue;
        }
        to[numbers[k]] = ++next;
        keys.push_back(id.empty() ? content : id);
        group.Set.RunIds.resize(next - 1);
        group.Set.RunIds.push_back(id);
        group.RunFiles.resize(next - 1);
        group.RunFiles.push_back(file);
    }
    // No run with an identity: none to keep.
    if (std::all_of(group.Set.RunIds.begin(), group.Set.RunIds.end(),
                    [](const std::string &id) { return id.empty(); })) {
        group.Set.RunIds.clear();
    }
    return to;
}

void AddPhases(Phases &sum, const Phases &more, double share) {
    sum = {sum.StartMs + share * more.StartMs,     sum.WarmupMs + share * more.WarmupMs,
           sum.WindowsMs + share * more.WindowsMs, sum.RawMs + share * more.RawMs,
           sum.SetUpMs + share * more.SetUpMs,     sum.PicturesMs + share * more.PicturesMs};
}

bool AddToGroup(Report &group, const Report &run, std::string &error) {
    error.clear();
    const bool first = group.Tests.empty();
    const std::map<int, int> to = Numbering(group, run, error);
    if (!error.empty()) {
        return false;
    }
    // A group's time is its runs': each run's phases are added when it joins, a merged
    // group's shared alike among its runs.
    const double joined = static_cast<double>(std::count_if(
                              to.begin(), to.end(), [](const auto &n) { return n.second > 0; })) /
                          static_cast<double>(std::max<size_t>(to.size(), 1));
    if (!first) {
        AddPhases(group.Set.Spent, run.Set.Spent, joined);
    }
    for (const TestRun &test : run.Tests) {
        TestRun &into = TestOf(group.Tests, test);
        Join(into.Drawn, test.Drawn);
        into.Median = into.Samples.empty() && test.Samples.empty() ? test.Median : into.Median;
        // Each sample's place in the group, for the raw samples that replay it.
        std::vector<int> place;
        for (Sample sample : test.Samples) {
            sample.Run = to.at(sample.Run);
            if (sample.Run > 0) {
                into.Samples.push_back(sample);
            }
            place.push_back(sample.Run > 0 ? static_cast<int>(into.Samples.size()) : 0);
        }
        for (RawSample raw : test.Raw) {
            raw.Of = place.at(raw.Of - 1);
            if (raw.Of > 0) {
                into.Raw.push_back(raw);
            }
        }
    }
    std::sort(group.Tests.begin(), group.Tests.end(),
              [](const TestRun &a, const TestRun &b) { return a.Index < b.Index; });
    return true;
}

OldRun AsOld(const Report &report, const std::string &name) {
    OldRun old{name, report.Set, {}};
    for (const TestRun &test : report.Tests) {
        old.Tests.push_back(
            {test.Index, test.Name, test.Median, Rates(test), RunsOf(test), test.Drawn});
    }
    return old;
}
