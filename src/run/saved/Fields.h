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
