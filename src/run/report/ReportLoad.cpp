// Reading a saved run whole, for an offline comparison: the document is built,
// unlike a compare file's reading, since every sample's fields go on to the outputs.
#include "Groups.h"
#include "ReportFields.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// A field that is missing, of another type or out of its type's range.
struct Bad {
    std::string What;
};

const Json &At(const Json &object, const char *key) {
    if (!object.is_object() || !object.contains(key)) {
        throw Bad{std::string("\"") + key + "\" is missing"};
    }
    return object.at(key);
}

template <class T> T Number(const Json &object, const char *key) {
    const Json &value = At(object, key);
    const double least = static_cast<double>(std::numeric_limits<T>::lowest()),
                 most = static_cast<double>(std::numeric_limits<T>::max());
    const double number = value.is_number() ? value.get<double>() : NAN;
    const bool whole = !std::numeric_limits<T>::is_integer || number == std::floor(number);
    // most + 1: a whole type's greatest value as a double may round up past it.
    if (!(number >= least && number < most + 1 && whole)) {
        throw Bad{std::string("\"") + key + "\" is not a number of its kind"};
    }
    return static_cast<T>(number);
}

std::string Text(const Json &object, const char *key) {
    const Json &value = At(object, key);
    if (!value.is_string()) {
        throw Bad{std::string("\"") + key + "\" is not text"};
    }
    return value.get<std::string>();
}

// The setting's fields read back; what is null stays as a fresh setting has it.
void ReadSetting(const Json &document, Setting &s) {
    const auto known = [&](const char *key) {
        return document.contains(key) && !document.at(key).is_null();
    };
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
        *into = known(key) ? Text(document, key) : *into;
    }
    for (const auto &[key, into] : {std::pair{"width", &s.Width},
                                    {"height", &s.Height},
                                    {"depth", &s.Depth},
                                    {"dpi", &s.Dpi},
                                    {"repeat", &s.Repeat},
                                    {"affinity", &s.Affinity}}) {
        *into = known(key) ? Number<int>(document, key) : *into;
    }
    for (const auto &[key, into] :
         {std::pair{"window_ms", &s.WindowMs}, {"warmup_ms", &s.WarmupMs}}) {
        *into = known(key) ? Number<std::uint32_t>(document, key) : *into;
    }
    for (const auto &[key, into] : {std::pair{"tick_step_ms", &s.TickStepMs},
                                    {"draw_ns", &s.DrawNs},
                                    {"tick_ns", &s.TickNs},
                                    {"precision", &s.Precision},
                                    {"confidence", &s.Confidence}}) {
        *into = known(key) ? Number<double>(document, key) : *into;
    }
    s.Shuffle = known("shuffle") ? std::int64_t{Number<std::uint32_t>(document, "shuffle")} : -1;
    s.Raw = known("raw") && document.at("raw") == true;
    s.RunIds.clear();
    for (const Json &id : known("run_ids") ? document.at("run_ids") : Json::array()) {
        s.RunIds.push_back(id.is_string() ? id.get<std::string>()
                                          : throw Bad{"\"run_ids\" holds other than text"});
    }
    // The machine's facts: whatever else the setting holds as text or a count.
    for (const auto &item : document.items()) {
        const std::string key = item.key();
        const Json &value = item.value();
        const bool setting = std::any_of(SETTING_FIELDS.begin(), SETTING_FIELDS.end(),
                                         [&](const auto &field) { return key == field.Key; });
        if (!setting && key != "total" && (value.is_string() || value.is_number_unsigned())) {
            s.Facts.push_back({key, value.is_string() ? value.get<std::string>() : value.dump(),
                               value.is_string()});
        }
    }
}

Sample SampleOf(const Json &x) {
    Sample sample{Number<std::int64_t>(x, "count"), Number<std::uint32_t>(x, "tick_ms"),
                  Number<double>(x, "qpc_ms"), Number<int>(x, "per_second"),
                  Number<double>(x, "rate")};
    sample.CpuMs = x.contains("cpu_ms") ? Number<double>(x, "cpu_ms") : 0;
    sample.Run = x.contains("run") ? Number<int>(x, "run") : 1;
    return sample;
}

RawSample RawOf(const Json &x) {
    return {Number<std::int64_t>(x, "calls"), Number<double>(x, "qpc_ms"),
            Number<double>(x, "rate"), Number<int>(x, "replays_sample"),
            Number<double>(x, "draws_per_call")};
}

// A test's entry, its samples and raw samples already read (and left out of it).
TestRun ReadTest(const Json &entry, TestRun &&read) {
    TestRun test = std::move(read);
    test.Index = Number<int>(entry, "index");
    test.Name = Text(entry, "name");
    if (entry.contains("picture") && !entry.at("picture").is_null()) {
        test.Drawn.Digest = Text(entry, "picture");
    }
    test.Drawn.Varies = entry.contains("picture_varies") && entry.at("picture_varies") == true;
    test.Drawn.Blank = entry.contains("picture_blank") && entry.at("picture_blank") == true;
    // Whatever is left in the lists is not a sample.
    if (!At(entry, "samples").empty() ||
        !(entry.contains("raw_samples") ? At(entry, "raw_samples") : Json::array()).empty()) {
        throw Bad{"\"samples\" holds other than samples"};
    }
    for (const RawSample &raw : test.Raw) {
        if (raw.Of < 1 || raw.Of > static_cast<int>(test.Samples.size())) {
            throw Bad{"\"replays_sample\" names no sample of its test"};
        }
    }
    return test;
}

} // namespace

bool LoadRun(const std::string &json, Report &run, std::string &error) {
    OldRun checked;
    if (!ReadSavedRun(json, checked, error)) {
        return false;
    }
    run = Report{};
    run.Set.Version.clear();
    try {
        // Each sample is taken as the text goes and left out of the document, and so is
        // each test once read: a long run costs its samples, never a document of them.
        std::string top, list; // the keys of the setting and of the test being read
        TestRun test;
        const auto take = [&](int depth, Json::parse_event_t event, Json &parsed) {
            using Event = Json::parse_event_t;
            if (event == Event::key && (depth == 1 || (depth == 3 && top == "tests"))) {
                (depth == 1 ? top : list) = parsed.get<std::string>();
            }
            if (top != "tests" || (depth != 2 && depth != 4)) {
                return true;
            }
            if (event == Event::object_start && depth == 2) {
                test = TestRun{};
            } else if (event == Event::object_end && depth == 4 && list == "samples") {
                test.Samples.push_back(SampleOf(parsed));
                return false;
            } else if (event == Event::object_end && depth == 4 && list == "raw_samples") {
                test.Raw.push_back(RawOf(parsed));
                return false;
            } else if (event == Event::object_end && depth == 2) {
                run.Tests.push_back(ReadTest(parsed, std::move(test)));
                return false;
            }
            return true;
        };
        const Json document = Json::parse(json, take);
        ReadSetting(document, run.Set);
        if (!At(document, "tests").empty()) {
            throw Bad{"\"tests\" holds other than tests"};
        }
        if (!run.Set.RunIds.empty() && run.Set.RunIds.size() != RunNumbers(run).size()) {
            throw Bad{"\"run_ids\" names " + std::to_string(run.Set.RunIds.size()) +
                      " runs, its samples " + std::to_string(RunNumbers(run).size())};
        }
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
