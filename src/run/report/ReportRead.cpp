// Reading a saved run to compare with. The text is read as it goes, by nlohmann-json's
// SAX interface: only the fields a comparison needs are kept (8 bytes a sample), so a
// file of any size up to the cap is read in memory bounded by it. Each number is
// checked against its field's range before it is stored.
#include "Groups.h"
#include "ReportFields.h"
#include "TestNames.h"
#include "WideTable.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// The numbers a comparison reads: the range each may take (a count's up to Most, a
// measurement's below it), whether it is a count (whole), and whether null (unknown)
// is allowed.
struct Range {
    const char *Path;
    double Least, Most;
    bool Whole, MayBeNull;
    bool MostIncluded = false; // a measurement's greatest value is allowed too
};
constexpr double INT_MOST = std::numeric_limits<int>::max();
constexpr double UINT32_MOST = std::numeric_limits<std::uint32_t>::max();
// A rate or score a machine can reach: below 10^12, so that nothing read back prints
// as inf or stretches the chart.
constexpr double RATE_MOST = 1e12;
const Range RANGES[] = {
    {"width", 0, INT_MOST, true, true},
    {"height", 0, INT_MOST, true, true},
    {"depth", 0, INT_MOST, true, true},
    {"window_ms", 0, UINT32_MOST, true, true},
    {"warmup_ms", 0, UINT32_MOST, true, true},
    // What --confidence takes: the table's footer searches for the samples it needs.
    {"confidence", 0.5, 0.999, false, true, true},
    {"tests[].index", 1, WIDE_COUNT, true, false},
    {"tests[].median", 0, RATE_MOST, false, false},
    {"tests[].samples[].rate", 1e-6, RATE_MOST, false, false},
    {"tests[].samples[].run", 1, INT_MOST, true, false},
};

// Deeper than a saved run ever nests: refused rather than followed.
constexpr size_t MAX_DEPTH = 8;

struct Reader : nlohmann::json_sax<Json> {
    OldRun &Run;
    std::string &Error;
    // The path of each open container and whether it is an array; the key read last
    // (one that is long or holds more than lower-case letters and "_" stands as "*": no
    // field is named so, and a key such as "tests[].index" must not pass for a path).
    std::vector<std::pair<std::string, bool>> Open;
    std::string Key;
    bool IsQuenzelRun = false, HasIndex = false, HasMedian = false;
    // The sample being read: its rate (0: none yet) and run, kept at its end.
    double Rate = 0;
    int SampleRun = 1;

    Reader(OldRun &run, std::string &error) : Run(run), Error(error) {}

    // Where the value about to be read is, as "tests[].samples[].rate".
    std::string Path() const {
        if (Open.empty()) {
            return "";
        }
        const auto &[inner, array] = Open.back();
        return array ? inner + "[]" : inner.empty() ? Key : inner + "." + Key;
    }
    bool Refuse(const std::string &message) {
        Error = message;
        return false;
    }

    // Any value: a number of a field read is checked and stored; anything else there
    // (text, true, a list) is refused.
    bool Value(const std::string &path, double value) {
        for (const Range &range : RANGES) {
            if (path != range.Path) {
                continue;
            }
            const bool within = range.Whole ? value <= range.Most && value == std::floor(value)
                                : range.MostIncluded ? value <= range.Most
                                                     : value < range.Most;
            if (!(value >= range.Least && within)) {
                char text[200];
                std::snprintf(text, sizeof text, "\"%s\" must be %s from %.15g to %s%.15g, not %s",
                              path.c_str(), range.Whole ? "a whole number" : "a number",
                              range.Least, range.Whole || range.MostIncluded ? "" : "below ",
                              range.Most,
                              std::isnan(value) ? "anything else" : Json(value).dump().c_str());
                return Refuse(text);
            }
            return Store(path, value);
        }
        return true;
    }
    bool Other() {
        return Value(Path(), std::numeric_limits<double>::quiet_NaN());
    }
    bool Store(const std::string &path, double value) {
        Setting &s = Run.Set;
        if (path == "width") {
            s.Width = static_cast<int>(value);
        } else if (path == "height") {
            s.Height = static_cast<int>(value);
        } else if (path == "depth") {
            s.Depth = static_cast<int>(value);
        } else if (path == "window_ms") {
            s.WindowMs = static_cast<std::uint32_t>(value);
        } else if (path == "warmup_ms") {
            s.WarmupMs = static_cast<std::uint32_t>(value);
        } else if (path == "tests[].index") {
            if (Find(Run, static_cast<int>(value)) != nullptr) {
                return Refuse("test " + std::to_string(static_cast<int>(value)) +
                              " is listed twice");
            }
            Run.Tests.back().Index = static_cast<int>(value);
            HasIndex = true;
        } else if (path == "tests[].median") {
            Run.Tests.back().Median = value;
            HasMedian = true;
        } else if (path == "tests[].samples[].rate") {
            Rate = value;
        } else {
            SampleRun = static_cast<int>(value);
        }
        return true;
    }

    bool null() override {
        const std::string path = Path();
        for (const Range &range : RANGES) {
            if (path == range.Path && !range.MayBeNull) {
                return Refuse("\"" + path + "\" is null, where a number is needed");
            }
        }
        return true;
    }
    bool boolean(bool value) override {
        if (Path() == "tests[].picture_varies") {
            Run.Tests.back().Drawn.Varies = value;
        } else if (Path() == "tests[].picture_blank") {
            Run.Tests.back().Drawn.Blank = value;
        }
        return Other();
    }
    bool number_integer(number_integer_t value) override {
        return Value(Path(), static_cast<double>(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Value(Path(), static_cast<double>(value));
    }
    bool number_float(number_float_t value, const string_t &) override {
        return Value(Path(), value);
    }
    bool string(string_t &value) override {
        const std::string path = Path();
        if (path == "program") {
            IsQuenzelRun = value == "QuenzelRun";
        } else if (path == "version") {
            Run.Set.Version = value;
        } else if (path == "flavour") {
            Run.Set.Flavour = value;
        } else if (path == "target") {
            Run.Set.Target = value;
        } else if (path == "wine") {
            Run.Set.Wine = value;
        } else if (path == "architecture") {
            Run.Set.Architecture = value;
        } else if (path == "pictures") {
            Run.Set.Pictures = value;
        } else if (path == "run_ids[]") {
            Run.Set.RunIds.push_back(value);
        } else if (path == "suite") {
            Run.Set.Suite = value;
        } else if (path == "tests[].name") {
            Run.Tests.back().Name = value;
        } else if (path == "tests[].picture") {
            Run.Tests.back().Drawn.Digest = value;
        }
        return Other();
    }
    bool binary(binary_t &) override {
        return true;
    }
    bool key(string_t &name) override {
        const bool plain =
            name.size() <= 32 && name.find_first_not_of("abcdefghijklmnopqrstuvwxyz_") == name.npos;
        Key = plain ? name : "*";
        return true;
    }
    bool Enter(bool array) {
        const std::string path = Path();
        if (Open.size() == MAX_DEPTH) {
            return Refuse("nested deeper than a saved run");
        }
        if (path == "tests[]" && !array) {
            Run.Tests.emplace_back();
            HasIndex = HasMedian = false;
        }
        if (path == "tests[].samples[]" && !array) {
            Rate = 0;
            SampleRun = 1;
        }
        Open.emplace_back(path, array);
        return Value(path, std::numeric_limits<double>::quiet_NaN());
    }
    bool start_object(std::size_t) override {
        return Enter(false);
    }
    bool start_array(std::size_t) override {
        return Enter(true);
    }
    bool end_object() override {
        if (Open.back().first == "tests[]" && !(HasIndex && HasMedian)) {
            return Refuse("a test without an \"index\" or a \"median\"");
        }
        // A name is checked against the suite's table: a comparison matches tests by
        // index. The setting, and with it the suite, comes before the tests.
        if (Open.back().first == "tests[]") {
            const OldTest &test = Run.Tests.back();
            const bool wide = Run.Set.Suite == "wide";
            if (Run.Set.Suite != "seven" && !wide) {
                return Refuse("\"suite\" is \"" + Run.Set.Suite + "\", not seven or wide");
            }
            if (test.Index > (wide ? WIDE_COUNT : LAST_TEST)) {
                return Refuse("test " + std::to_string(test.Index) + " is beyond the " +
                              Run.Set.Suite + " suite's table");
            }
            const std::string name = wide ? WIDE_TABLE[test.Index].Name : TEST_NAMES[test.Index];
            if (!test.Name.empty() && test.Name != name) {
                return Refuse("test " + std::to_string(test.Index) + " is named \"" + test.Name +
                              "\", where the table has \"" + name + "\"");
            }
        }
        if (Open.back().first == "tests[].samples[]" && Rate > 0) {
            // A single run's samples keep no run numbers: 8 bytes a sample.
            OldTest &test = Run.Tests.back();
            test.Rates.push_back(Rate);
            if (SampleRun != 1 || !test.Runs.empty()) {
                test.Runs.resize(test.Rates.size() - 1, 1);
                test.Runs.push_back(SampleRun);
            }
        }
        Open.pop_back();
        return true;
    }
    bool end_array() override {
        Open.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string &,
                     const nlohmann::detail::exception &e) override {
        // The library's message without its own tag ("[json.exception...] ").
        const std::string what = e.what();
        return Refuse(what.substr(what.find("] ") + 2));
    }
};

} // namespace

bool ReadSavedRun(const std::string &json, OldRun &run, std::string &error) {
    run.Set = Setting{};
    run.Set.Version.clear();
    run.Tests.clear();
    error.clear();
    Reader reader(run, error);
    if (!Json::sax_parse(json, &reader)) {
        return false;
    }
    if (!reader.IsQuenzelRun || run.Tests.empty()) {
        error = "not a run with a \"tests\" list";
        return false;
    }
    if (const size_t runs = RunNumbers(run).size();
        !run.Set.RunIds.empty() && run.Set.RunIds.size() != runs) {
        error = "\"run_ids\" names " + std::to_string(run.Set.RunIds.size()) +
                " runs, its samples " + std::to_string(runs);
        return false;
    }
    return true;
}
