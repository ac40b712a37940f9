#include "Fields.h"
#include "Format.h"

#include <cmath>
#include <cstdlib>

// Text the system did not tell is null.
static Json Text(const std::string &text) {
    return text.empty() ? Json() : Json(text);
}

static Json Known(const std::optional<double> &value) {
    return value ? Json(*value) : Json();
}

const std::vector<Field<Setting>> SETTING_FIELDS = {
    {"program", AS_IS, [](const Setting &s) { return Text(s.Program); }},
    {"version", AS_IS, [](const Setting &s) { return Text(s.Version); }},
    {"flavour", AS_IS, [](const Setting &s) { return Text(s.Flavour); }},
    {"suite", AS_IS, [](const Setting &s) { return Text(s.Suite); }},
    {"utc", AS_IS, [](const Setting &s) { return Text(s.Utc); }},
    {"windows", AS_IS, [](const Setting &s) { return Text(s.Windows); }},
    {"wine", AS_IS, [](const Setting &s) { return Text(s.Wine); }},
    {"architecture", AS_IS, [](const Setting &s) { return Text(s.Architecture); }},
    {"run_ids", AS_IS, [](const Setting &s) { return Json(s.RunIds); }},
    {"pictures", AS_IS, [](const Setting &s) { return Text(s.Pictures); }},
    {"target", AS_IS, [](const Setting &s) { return Text(s.Target); }},
    {"width", AS_IS, [](const Setting &s) { return Json(s.Width); }},
    {"height", AS_IS, [](const Setting &s) { return Json(s.Height); }},
    {"depth", AS_IS, [](const Setting &s) { return Json(s.Depth); }},
    {"dpi", AS_IS, [](const Setting &s) { return Json(s.Dpi); }},
    {"window_ms", AS_IS, [](const Setting &s) { return Json(s.WindowMs); }},
    {"repeat", AS_IS, [](const Setting &s) { return Json(s.Repeat); }},
    {"raw", AS_IS, [](const Setting &s) { return Json(s.Raw); }},
    {"tick_step_ms", 3, [](const Setting &s) { return Json(s.TickStepMs); }},
    // Measured only for the ceiling.
    {"draw_ns", 3, [](const Setting &s) { return s.Raw ? Json(s.DrawNs) : Json(); }},
    {"tick_ns", 3, [](const Setting &s) { return s.Raw ? Json(s.TickNs) : Json(); }},
    {"warmup_ms", AS_IS, [](const Setting &s) { return Json(s.WarmupMs); }},
    {"affinity", AS_IS,
     [](const Setting &s) { return s.Affinity < 0 ? Json() : Json(s.Affinity); }},
    {"shuffle", AS_IS, [](const Setting &s) { return s.Shuffle < 0 ? Json() : Json(s.Shuffle); }},
    {"precision", 4, [](const Setting &s) { return Json(s.Precision); }},
    {"confidence", AS_IS, [](const Setting &s) { return Json(s.Confidence); }},
    // Not known (null) for a run saved before its phases were timed: a measured run
    // always spends time starting.
    {"phases_ms", AS_IS,
     [](const Setting &s) {
         Json phases = Json::object();
         for (const auto &[key, ms] : PhaseFields(s.Spent)) {
             phases[key] = Rounded(*ms, 1);
         }
         return s.Spent.StartMs > 0 ? phases : Json();
     }},
};

const std::vector<Field<Sample>> SAMPLE_FIELDS = {
    {"count", AS_IS, [](const Sample &x) { return Json(x.Count); }},
    {"tick_ms", AS_IS, [](const Sample &x) { return Json(x.TickMs); }},
    {"qpc_ms", 3, [](const Sample &x) { return Json(x.QpcMs); }},
    {"per_second", AS_IS, [](const Sample &x) { return Json(x.PerSecond); }},
    {"rate", 1, [](const Sample &x) { return Json(x.Rate); }},
    {"cpu_ms", 3, [](const Sample &x) { return Json(x.CpuMs); }},
    {"run", AS_IS, [](const Sample &x) { return Json(x.Run); }},
};

const std::vector<Field<RawSample>> RAW_FIELDS = {
    {"calls", AS_IS, [](const RawSample &x) { return Json(x.Calls); }},
    {"qpc_ms", 3, [](const RawSample &x) { return Json(x.QpcMs); }},
    {"rate", 1, [](const RawSample &x) { return Json(x.Rate); }},
    {"replays_sample", AS_IS, [](const RawSample &x) { return Json(x.Of); }},
    {"draws_per_call", 3, [](const RawSample &x) { return Json(x.DrawsPerCall); }},
};

const std::vector<Field<TestRun>> SUMMARY_FIELDS = {
    {"median", 1, [](const TestRun &t) { return Json(t.Median); }},
    {"min", 0, [](const TestRun &t) { return Json(t.Min); }},
    {"max", 0, [](const TestRun &t) { return Json(t.Max); }},
    {"spread", 4, [](const TestRun &t) { return Json(t.Spread); }},
    {"rate_median", 1, [](const TestRun &t) { return Json(t.RateMedian); }},
    {"raw_median", 1, [](const TestRun &t) { return Known(t.RawMedian); }},
    {"efficiency", 4, [](const TestRun &t) { return Known(t.Efficiency); }},
    {"efficiency_low", 4, [](const TestRun &t) { return Known(t.EfficiencyLow); }},
    {"efficiency_high", 4, [](const TestRun &t) { return Known(t.EfficiencyHigh); }},
    {"rule_ns", 2, [](const TestRun &t) { return Known(t.RuleNs); }},
    {"bound", 4, [](const TestRun &t) { return Known(t.Bound); }},
    {"half_width", 4, [](const TestRun &t) { return Known(t.HalfWidth); }},
    {"runs", AS_IS, [](const TestRun &t) { return Json(t.Runs); }},
    {"between_runs", 4, [](const TestRun &t) { return Known(t.Between); }},
    {"picture", AS_IS, [](const TestRun &t) { return Text(t.Drawn.Digest); }},
    {"picture_varies", AS_IS, [](const TestRun &t) { return Json(t.Drawn.Varies); }},
    {"picture_blank", AS_IS, [](const TestRun &t) { return Json(t.Drawn.Blank); }},
};

// Without a verdict there is no interval and no p-value; a p-value keeps all its
// digits, however small.
const std::vector<Field<ComparisonRow>> COMPARISON_FIELDS = {
    {"old", AS_IS, [](const ComparisonRow &r) { return Json(r.Old.Name); }},
    {"ratio", 4, [](const ComparisonRow &r) { return Json(r.Result.Ratio); }},
    {"low", 4,
     [](const ComparisonRow &r) { return r.Result.Low > 0 ? Json(r.Result.Low) : Json(); }},
    {"high", 4,
     [](const ComparisonRow &r) { return r.Result.Low > 0 ? Json(r.Result.High) : Json(); }},
    {"p", AS_IS,
     [](const ComparisonRow &r) {
         return r.Result.Verdict == Comparison::TooFew ? Json() : Json(r.Result.P);
     }},
    {"verdict", AS_IS, [](const ComparisonRow &r) { return Json(VerdictText(r)); }},
    // What the verdict counts: the runs' medians, or the samples, which weigh only
    // the noise within a run.
    {"unit", AS_IS,
     [](const ComparisonRow &r) { return Json(r.Result.ByRuns ? "runs" : "samples"); }},
    {"other_picture", AS_IS, [](const ComparisonRow &r) { return Json(r.OtherPicture); }},
};

Json Rounded(const Json &value, int decimals) {
    if (!value.is_number_float() || decimals == AS_IS) {
        return value;
    }
    const double scale = std::pow(10.0, decimals);
    return std::round(value.get<double>() * scale) / scale;
}

Json SettingRecord(const Setting &set) {
    Json record = JsonRecord(SETTING_FIELDS, set);
    for (const SettingField &fact : set.Facts) {
        record[fact.Key] =
            fact.IsText ? Json(fact.Value) : Json(std::strtoull(fact.Value.c_str(), nullptr, 10));
    }
    return record;
}

std::string Dump(const Json &document, int indent) {
    return document.dump(indent, ' ', false, Json::error_handler_t::replace) + "\n";
}

// A field's name in a message, with the test (and sample) it belongs to.
std::string FieldName(const std::string &where, const char *key) {
    return (where.empty() ? "" : where + ": ") + "\"" + key + "\"";
}

bool Present(const Json &object, const char *key) {
    return object.contains(key) && !object.at(key).is_null();
}

double NumberField(const Json &object, const char *key, Kind kind, const std::string &where) {
    if (!object.contains(key)) {
        throw Bad{FieldName(where, key) + " is missing"};
    }
    const Json &value = object.at(key);
    if (value.is_null()) {
        throw Bad{FieldName(where, key) + " is null, where a number is needed"};
    }
    const double number = value.is_number() ? value.get<double>() : NAN;
    if (!(number >= kind.Least && number <= kind.Most &&
          (!kind.Whole || number == std::floor(number)))) {
        throw Bad{FieldName(where, key) +
                  Format(" must be %s from %.15g to %.15g, not %s",
                         kind.Whole ? "a whole number" : "a number", kind.Least, kind.Most,
                         std::isnan(number) ? "anything else" : value.dump().c_str())};
    }
    return number;
}

double Optional(const Json &object, const char *key, Kind kind, double otherwise,
                const std::string &where) {
    return Present(object, key) ? NumberField(object, key, kind, where) : otherwise;
}

std::string TextField(const Json &object, const char *key, const std::string &where) {
    if (!Present(object, key) || !object.at(key).is_string()) {
        throw Bad{FieldName(where, key) + " is not text"};
    }
    return object.at(key).get<std::string>();
}

bool FlagField(const Json &object, const char *key, const std::string &where) {
    if (Present(object, key) && !object.at(key).is_boolean()) {
        throw Bad{FieldName(where, key) + " is neither true nor false"};
    }
    return Present(object, key) && object.at(key) == true;
}
