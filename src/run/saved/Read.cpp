// Reading a saved run, for --from, --compare and --runs alike. The document is built as
// the text goes, each sample and each test taken out of it as it ends, so a long run
// costs its samples and never a document of them. Every field is checked against its
// kind and range, and each sample against its window; a file out of place is refused,
// naming the field and the test.
#include "Fields.h"
#include "Group.h"
#include "Saved.h"
#include "TestNames.h"
#include "WideTable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace {

// Deeper than a saved run ever nests: refused rather than followed.
constexpr int MAX_DEPTH = 8;
// A rate or score a machine can reach: below 10^12, so that nothing read back prints
// as inf or stretches the chart.
constexpr double RATE_MOST = 1e12;
// No call takes longer: a window measured longer than its own and this is no
// measurement, and the clocks that time one window agree within a tick step and this.
constexpr double LONGEST_CALL_MS = 600000, HELD_OFF_MS = 1000;

void ReadSetting(const Json &document, Setting &s) {
    if (!document.is_object() || !Present(document, "program") ||
        document.at("program") != "QuenzelRun" || !document.contains("tests") ||
        !document.at("tests").is_array()) {
        throw Bad{"not a run with a \"tests\" list"};
    }
    for (const auto &[key, into] : {std::pair{"program", &s.Program},
                                    {"version", &s.Version},
                                    {"flavour", &s.Flavour},
                                    {"suite", &s.Suite},
                                    {"utc", &s.Utc},
                                    {"windows", &s.Windows},
                                    {"wine", &s.Wine},
                                    {"architecture", &s.Architecture},
                                    {"target", &s.Target},
                                    {"pictures", &s.Pictures}}) {
        *into = Present(document, key) ? TextField(document, key) : *into;
    }
    if (s.Suite != "seven" && s.Suite != "wide") {
        throw Bad{"\"suite\" is \"" + s.Suite + "\", not seven or wide"};
    }
    for (const auto &[key, into] : {std::pair{"width", &s.Width},
                                    {"height", &s.Height},
                                    {"depth", &s.Depth},
                                    {"dpi", &s.Dpi},
                                    {"repeat", &s.Repeat}}) {
        *into = static_cast<int>(Optional(document, key, COUNT, *into));
    }
    s.Affinity = static_cast<int>(Optional(document, "affinity", {0, 63, true}, -1));
    s.WindowMs = static_cast<std::uint32_t>(
        Optional(document, "window_ms", {1, UINT32_MOST, true}, s.WindowMs));
    s.WarmupMs = static_cast<std::uint32_t>(Optional(document, "warmup_ms", MS, 0));
    s.TickStepMs = Optional(document, "tick_step_ms", COST, 0);
    s.DrawNs = Optional(document, "draw_ns", COST, 0);
    s.TickNs = Optional(document, "tick_ns", COST, 0);
    s.Precision = Optional(document, "precision", {0, 1, false}, 0);
    // What --confidence takes: the table's footer searches for the samples it needs.
    s.Confidence = Optional(document, "confidence", {0.5, 0.999, false}, s.Confidence);
    s.Shuffle = static_cast<std::int64_t>(Optional(document, "shuffle", MS, -1));
    s.Raw = FlagField(document, "raw", "");
    if (Present(document, "phases_ms")) {
        const Json &phases = document.at("phases_ms");
        if (!phases.is_object()) {
            throw Bad{"\"phases_ms\" is not an object"};
        }
        for (const auto &[key, ms] : PhaseFields(s.Spent)) {
            *ms = Optional(phases, key, COST, 0, "\"phases_ms\"");
        }
    }
    const Json none = Json::array();
    const Json &ids = Present(document, "run_ids") ? document.at("run_ids") : none;
    for (const Json &id : ids.is_array() ? ids : throw Bad{"\"run_ids\" is not a list"}) {
        s.RunIds.push_back(id.is_string() ? id.get<std::string>()
                                          : throw Bad{"\"run_ids\" holds other than text"});
        if (!s.RunIds.back().empty() &&
            std::count(s.RunIds.begin(), s.RunIds.end(), s.RunIds.back()) > 1) {
            throw Bad{"\"run_ids\" names run " + s.RunIds.back() + " twice"};
        }
    }
    // The machine's facts: whatever else the setting holds as text or a count.
    for (const auto &item : document.items()) {
        const std::string &key = item.key();
        const Json &value = item.value();
        const bool setting = std::any_of(SETTING_FIELDS.begin(), SETTING_FIELDS.end(),
                                         [&](const auto &field) { return key == field.Key; });
        if (!setting && key != "total" && (value.is_string() || value.is_number_unsigned())) {
            s.Facts.push_back({key, value.is_string() ? value.get<std::string>() : value.dump(),
                               value.is_string()});
        }
    }
}

Sample SampleOf(const Json &x, const std::string &where) {
    Sample sample{static_cast<std::int64_t>(NumberField(x, "count", CALLS, where)),
                  static_cast<std::uint32_t>(NumberField(x, "tick_ms", MS, where)),
                  NumberField(x, "qpc_ms", TIME, where),
                  static_cast<int>(NumberField(x, "per_second", COUNT, where)),
                  NumberField(x, "rate", RATE, where)};
    sample.CpuMs = Optional(x, "cpu_ms", COST, 0, where);
    sample.Run = static_cast<int>(Optional(x, "run", RUN, 1, where));
    return sample;
}

// A raw sample; one saved before raw samples named the sample they replay is left out.
void TakeRaw(const Json &x, const std::string &where, std::vector<RawSample> &raw) {
    RawSample sample{static_cast<std::int64_t>(NumberField(x, "calls", CALLS, where)),
                     NumberField(x, "qpc_ms", TIME, where), NumberField(x, "rate", RATE, where),
                     static_cast<int>(Optional(x, "replays_sample", RUN, 0, where)),
                     Optional(x, "draws_per_call", COST, 0, where)};
    if (sample.Of > 0) {
        raw.push_back(sample);
    }
}

// A test's entry, its samples and raw samples already read (and left out of it).
TestRun ReadTest(const Json &entry, TestRun &&read, const std::string &where) {
    TestRun test = std::move(read);
    test.Index = static_cast<int>(NumberField(entry, "index", RUN, where));
    test.Name = TextField(entry, "name", where);
    test.Median = NumberField(entry, "median", {0, RATE_MOST, false}, where);
    test.Drawn.Digest = Present(entry, "picture") ? TextField(entry, "picture", where) : "";
    test.Drawn.Varies = FlagField(entry, "picture_varies", where);
    test.Drawn.Blank = FlagField(entry, "picture_blank", where);
    // Whatever is left in the lists is not a sample.
    for (const char *list : {"samples", "raw_samples"}) {
        if (entry.contains(list) && !entry.at(list).empty()) {
            throw Bad{FieldName(where, list) + " holds other than samples"};
        }
    }
    for (const RawSample &raw : test.Raw) {
        if (raw.Of > static_cast<int>(test.Samples.size())) {
            throw Bad{FieldName(where, "replays_sample") + " names no sample of its test"};
        }
    }
    return test;
}

// What only the whole run tells: each test is its suite's and there once, and each
// sample lies within its window as the tick counter and the performance counter time
// it.
void CheckRun(const Report &run) {
    const bool wide = run.Set.Suite == "wide";
    const double step = std::max(run.Set.TickStepMs, 16.0) + 1, window = run.Set.WindowMs;
    std::set<int> seen;
    for (const TestRun &test : run.Tests) {
        if (test.Index > (wide ? WIDE_COUNT : LAST_TEST)) {
            throw Bad{"test " + std::to_string(test.Index) + " is beyond the " + run.Set.Suite +
                      " suite's table"};
        }
        const std::string name = wide ? WIDE_TABLE[test.Index].Name : TEST_NAMES[test.Index];
        if (test.Name != name) {
            throw Bad{"test " + std::to_string(test.Index) + " is named \"" + test.Name +
                      "\", where the table has \"" + name + "\""};
        }
        if (!seen.insert(test.Index).second) {
            throw Bad{"test " + std::to_string(test.Index) + " is listed twice"};
        }
        for (size_t i = 0; i < test.Samples.size(); i++) {
            const Sample &x = test.Samples[i];
            const std::string where =
                "test \"" + name + "\", sample " + std::to_string(i + 1) + ": \"";
            if (x.TickMs <= window || x.TickMs > window + LONGEST_CALL_MS) {
                throw Bad{where + "tick_ms\" " + std::to_string(x.TickMs) +
                          " is no measurement of a " + std::to_string(run.Set.WindowMs) +
                          " ms window: it must be longer, by ten minutes at most"};
            }
            if (x.QpcMs < x.TickMs - step || x.QpcMs > x.TickMs + step + HELD_OFF_MS) {
                throw Bad{where + "qpc_ms\" " + Json(x.QpcMs).dump() + " and \"tick_ms\" " +
                          std::to_string(x.TickMs) + " cannot time one window"};
            }
        }
    }
    if (!run.Set.RunIds.empty() && run.Set.RunIds.size() != RunNumbers(run).size()) {
        throw Bad{"\"run_ids\" names " + std::to_string(run.Set.RunIds.size()) +
                  " runs, its samples " + std::to_string(RunNumbers(run).size())};
    }
}

} // namespace

bool ReadRun(const std::string &json, Report &run, std::string &error) {
    run = Report{};
    run.Set.Version.clear();
    try {
        std::string top, list; // the keys of the setting and of the test being read
        std::string where;     // the test being read, as a message names it
        TestRun test;
        const auto take = [&](int depth, Json::parse_event_t event, Json &parsed) {
            using Event = Json::parse_event_t;
            if (depth > MAX_DEPTH) {
                throw Bad{"nested deeper than a saved run"};
            }
            if (event == Event::key && (depth == 1 || (depth == 3 && top == "tests"))) {
                (depth == 1 ? top : list) = parsed.get<std::string>();
            }
            if (top != "tests" || (depth != 2 && depth != 3 && depth != 4)) {
                return true;
            }
            if (event == Event::value && depth == 3 && list == "name" && parsed.is_string()) {
                where = "test \"" + parsed.get<std::string>() + "\"";
            } else if (event == Event::value && depth == 3 && list == "index" &&
                       where == "a test") {
                where = "test " + parsed.dump();
            } else if (event == Event::object_start && depth == 2) {
                test = TestRun{};
                where = "a test";
            } else if (event == Event::object_end && depth == 4 && list == "samples") {
                test.Samples.push_back(SampleOf(
                    parsed, where + ", sample " + std::to_string(test.Samples.size() + 1)));
                return false;
            } else if (event == Event::object_end && depth == 4 && list == "raw_samples") {
                TakeRaw(parsed, where + ", raw sample", test.Raw);
                return false;
            } else if (event == Event::object_end && depth == 2) {
                run.Tests.push_back(ReadTest(parsed, std::move(test), where));
                return false;
            }
            return true;
        };
        const Json document = Json::parse(json, take);
        ReadSetting(document, run.Set);
        if (!document.at("tests").empty() || run.Tests.empty()) {
            throw Bad{run.Tests.empty() ? "not a run with a \"tests\" list"
                                        : "\"tests\" holds other than tests"};
        }
        CheckRun(run);
    } catch (const Bad &bad) {
        error = bad.What;
        return false;
    } catch (const Json::exception &e) {
        const std::string what = e.what();
        error = what.substr(what.find("] ") + 2);
        return false;
    }
    return true;
}
