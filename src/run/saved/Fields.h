// What a run's files hold, each field listed once: its key, its decimals and
// where its value comes from. The JSON and the CSV are both written from these
// tables, so a field added here appears in both.
#pragma once

#include "Compare.h"
#include "Record.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// Keys stay in the order the fields are listed.
using Json = nlohmann::ordered_json;

// A field of a record of type T: a number, text, true or false, or null for what is
// not known. A number is rounded to Decimals, or kept AS_IS.
constexpr int AS_IS = -1;
template <class T> struct Field {
    const char *Key;
    int Decimals;
    Json (*Get)(const T &);
};

// The phases of a run as saved ("phases_ms"): each one's key and time.
template <class Spent> auto PhaseFields(Spent &p) {
    return std::vector<std::pair<const char *, decltype(&p.StartMs)>>{
        {"start", &p.StartMs}, {"warm_up", &p.WarmupMs}, {"windows", &p.WindowsMs},
        {"raw", &p.RawMs},     {"set_up", &p.SetUpMs},   {"pictures", &p.PicturesMs}};
}

extern const std::vector<Field<Setting>> SETTING_FIELDS;
extern const std::vector<Field<Sample>> SAMPLE_FIELDS;
extern const std::vector<Field<RawSample>> RAW_FIELDS;
extern const std::vector<Field<TestRun>> SUMMARY_FIELDS;
extern const std::vector<Field<ComparisonRow>> COMPARISON_FIELDS;

// A value as a field holds it: numbers rounded to the field's decimals.
Json Rounded(const Json &value, int decimals);

// A record's fields as an object, in the table's order.
template <class T> Json JsonRecord(const std::vector<Field<T>> &fields, const T &item) {
    Json record = Json::object();
    for (const Field<T> &field : fields) {
        record[field.Key] = Rounded(field.Get(item), field.Decimals);
    }
    return record;
}

// The setting's fields and then the machine's facts.
Json SettingRecord(const Setting &set);

// Text as the files save it: the way nlohmann-json writes it, with bytes that are
// not UTF-8 replaced rather than refused.
std::string Dump(const Json &document, int indent);

// Reading a saved run's fields: each checked against its kind, a field out of place
// thrown as Bad, its message naming the field (after where: the test and sample).
struct Bad {
    std::string What;
};

// The values a number may take, both ends included.
struct Kind {
    double Least, Most;
    bool Whole;
};
// A rate or score a machine can reach: below 10^12, so that nothing read back prints
// as inf or stretches the chart.
constexpr double RATE_MOST = 1e12;
constexpr double INT_MOST = 2147483647, UINT32_MOST = 4294967295.0, INT64_MOST = 9e18;
constexpr Kind COUNT{0, INT_MOST, true}, MS{0, UINT32_MOST, true}, CALLS{1, INT64_MOST, true},
    RUN{1, INT_MOST, true}, RATE{1e-6, RATE_MOST, false}, TIME{1e-6, RATE_MOST, false},
    COST{0, RATE_MOST, false};

// A field's name in a message, after where its record is ("test \"Pixel\", sample 2").
std::string FieldName(const std::string &where, const char *key);
// Whether the field is there and not null.
bool Present(const Json &object, const char *key);
// The number of a field that must be there.
double NumberField(const Json &object, const char *key, Kind kind, const std::string &where);
// The number of a field that may be missing or null (then otherwise).
double Optional(const Json &object, const char *key, Kind kind, double otherwise,
                const std::string &where = "");
std::string TextField(const Json &object, const char *key, const std::string &where = "");
// Whether the field is true; missing or null is false.
bool FlagField(const Json &object, const char *key, const std::string &where);
