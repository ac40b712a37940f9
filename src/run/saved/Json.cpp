// The run as JSON (--json): the setting, every sample and the summaries, then each
// comparison with an old run. It reads back as a run to compare with.
#include "Fields.h"
#include "Saved.h"

namespace {

// Where a test's lists stand in the document as printed: inside its entry, six
// spaces in. Nothing else starts a line so: text in JSON holds no line break.
const std::string SAMPLES = "\n      \"samples\": []", RAW = "\n      \"raw_samples\": []";

// A test's list as the document would print it there, one record at a time, so that a
// long run never stands whole in a document.
template <class T>
void AddList(std::string &out, const std::string &key, const std::vector<Field<T>> &fields,
             const std::vector<T> &items) {
    out += "\n      \"" + key + "\": [";
    for (size_t i = 0; i < items.size(); i++) {
        const std::string record =
            JsonRecord(fields, items[i]).dump(2, ' ', false, Json::error_handler_t::replace);
        out += i == 0 ? "\n        " : ",\n        ";
        size_t start = 0;
        for (size_t end; (end = record.find('\n', start)) != std::string::npos; start = end + 1) {
            out.append(record, start, end - start) += "\n        ";
        }
        out.append(record, start);
    }
    out += items.empty() ? "]" : "\n      ]";
}

} // namespace

std::string ToJson(const Report &report, const std::vector<OldRun> &, const Compared &compared) {
    Json document = SettingRecord(report.Set);
    Json &tests = document["tests"] = Json::array();
    for (const TestRun &test : report.Tests) {
        Json entry = {{"index", test.Index}, {"name", test.Name}};
        entry["samples"] = Json::array();
        entry["raw_samples"] = Json::array();
        entry.update(JsonRecord(SUMMARY_FIELDS, test));
        tests.push_back(entry);
    }
    // TOTAL is the seven's.
    document["total"] = report.Set.Suite == "seven" ? Json(report.Total) : Json();
    document["geometric_mean"] = Rounded(report.GeometricMean, 1);
    Json &comparisons = document["comparisons"] = Json::array();
    for (const std::vector<ComparisonRow> &rows : compared) {
        for (const ComparisonRow &row : rows) {
            Json entry = {{"index", row.Now.Index}, {"name", row.Now.Name}};
            entry.update(JsonRecord(COMPARISON_FIELDS, row));
            comparisons.push_back(entry);
        }
    }
    // Each test's empty lists, in order, give way to its samples.
    const std::string frame = Dump(document, 2);
    std::string out;
    size_t from = 0;
    for (const TestRun &test : report.Tests) {
        const size_t samples = frame.find(SAMPLES, from), raw = frame.find(RAW, samples);
        out.append(frame, from, samples - from);
        AddList(out, "samples", SAMPLE_FIELDS, test.Samples);
        out += ",";
        AddList(out, "raw_samples", RAW_FIELDS, test.Raw);
        from = raw + RAW.size();
    }
    return out.append(frame, from);
}
