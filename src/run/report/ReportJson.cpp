// The run as JSON (--json): the setting, every sample and the summaries, then each
// comparison with an old run. It reads back as a run to compare with.
#include "ReportFields.h"

std::string ToJson(const Report &report, const std::vector<OldRun> &, const Compared &compared) {
    Json document = SettingRecord(report.Set);
    Json &tests = document["tests"] = Json::array();
    for (const TestRun &test : report.Tests) {
        Json entry = {{"index", test.Index}, {"name", test.Name}};
        Json &samples = entry["samples"] = Json::array();
        for (const Sample &sample : test.Samples) {
            samples.push_back(Record(SAMPLE_FIELDS, sample));
        }
        Json &raw = entry["raw_samples"] = Json::array();
        for (const RawSample &sample : test.Raw) {
            raw.push_back(Record(RAW_FIELDS, sample));
        }
        entry.update(Record(SUMMARY_FIELDS, test));
        tests.push_back(entry);
    }
    document["total"] = report.Total;
    document["geometric_mean"] = Rounded(report.GeometricMean, 1);
    Json &comparisons = document["comparisons"] = Json::array();
    for (const std::vector<ComparisonRow> &rows : compared) {
        for (const ComparisonRow &row : rows) {
            Json entry = {{"index", row.Now.Index}, {"name", row.Now.Name}};
            entry.update(Record(COMPARISON_FIELDS, row));
            comparisons.push_back(entry);
        }
    }
    return Dump(document, 2);
}
