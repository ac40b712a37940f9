// The run as CSV (--csv): one row per setting, sample, raw sample, summary and
// comparison, told apart by "record"; a column per field of any of them.
#include "Fields.h"
#include "Format.h"
#include "Saved.h"

#include <algorithm>
#include <cstdio>

// A CSV cell: unknown is empty, text quoted where it must be.
static std::string CsvCell(const Json &value, int decimals) {
    if (value.is_null()) {
        return "";
    }
    if (value.is_number_float() && decimals != AS_IS) {
        return Format("%.*f", decimals, value.get<double>());
    }
    const std::string out = value.is_string() ? value.get<std::string>() : value.dump();
    if (out.find_first_of(",\"\r\n") == std::string::npos) {
        return out;
    }
    std::string quoted = "\"";
    for (const char c : out) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

namespace {
struct Table {
    std::vector<std::string> Columns = {"record", "test", "name", "sample", "key", "value"};
    std::string Text;

    template <class T> void Add(const std::vector<Field<T>> &fields) {
        for (const Field<T> &field : fields) {
            if (std::find(Columns.begin(), Columns.end(), field.Key) == Columns.end()) {
                Columns.push_back(field.Key);
            }
        }
    }
    size_t At(const std::string &key) const {
        return std::find(Columns.begin(), Columns.end(), key) - Columns.begin();
    }
    // A row: its kind and test, then each field of the item in its column.
    template <class T>
    void Row(const std::string &record, const TestRun *test, const std::string &sample,
             const std::vector<Field<T>> &fields, const T &item) {
        std::vector<std::string> cells(Columns.size());
        cells[0] = record;
        if (test != nullptr) {
            cells[1] = std::to_string(test->Index);
            cells[2] = CsvCell(test->Name, AS_IS);
        }
        cells[3] = sample;
        for (const Field<T> &field : fields) {
            cells[At(field.Key)] = CsvCell(field.Get(item), field.Decimals);
        }
        Line(cells);
    }
    // A row of the setting: a key and its value.
    void KeyValue(const std::string &key, const std::string &value) {
        std::vector<std::string> cells(Columns.size());
        cells[0] = "setting";
        cells[4] = key;
        cells[5] = value;
        Line(cells);
    }
    void Line(const std::vector<std::string> &cells) {
        for (size_t i = 0; i < cells.size(); i++) {
            Text += (i == 0 ? "" : ",") + cells[i];
        }
        Text += "\n";
    }
};
} // namespace

std::string ToCsv(const Report &report, const std::vector<OldRun> &, const Compared &compared) {
    Table table;
    table.Add(SAMPLE_FIELDS);
    table.Add(RAW_FIELDS);
    table.Add(SUMMARY_FIELDS);
    table.Add(COMPARISON_FIELDS);
    table.Line(table.Columns);
    for (const Field<Setting> &field : SETTING_FIELDS) {
        table.KeyValue(field.Key, CsvCell(field.Get(report.Set), field.Decimals));
    }
    for (const SettingField &fact : report.Set.Facts) {
        table.KeyValue(fact.Key, CsvCell(fact.Value, AS_IS));
    }
    // TOTAL is the seven's.
    table.KeyValue("total", report.Set.Suite == "seven" ? std::to_string(report.Total) : "");
    table.KeyValue("geometric_mean", CsvCell(Rounded(report.GeometricMean, 1), 1));
    for (const TestRun &test : report.Tests) {
        for (size_t i = 0; i < test.Samples.size(); i++) {
            table.Row("sample", &test, std::to_string(i + 1), SAMPLE_FIELDS, test.Samples[i]);
        }
        for (size_t i = 0; i < test.Raw.size(); i++) {
            table.Row("raw", &test, std::to_string(i + 1), RAW_FIELDS, test.Raw[i]);
        }
        table.Row("summary", &test, "", SUMMARY_FIELDS, test);
    }
    for (const std::vector<ComparisonRow> &rows : compared) {
        for (const ComparisonRow &row : rows) {
            table.Row("comparison", &row.Now, "", COMPARISON_FIELDS, row);
        }
    }
    return table.Text;
}
