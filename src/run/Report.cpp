#include "Report.h"

#include "Json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

static double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Summarise(Report &report) {
    double sum = 0;
    for (TestRun &test : report.Tests) {
        std::vector<double> scores, rates, raw;
        for (const Sample &sample : test.Samples) {
            scores.push_back(sample.PerSecond);
            rates.push_back(sample.Rate);
        }
        for (const RawSample &sample : test.Raw) {
            raw.push_back(sample.Rate);
        }
        test.Median = MedianOf(scores);
        test.Min = scores.empty() ? 0 : *std::min_element(scores.begin(), scores.end());
        test.Max = scores.empty() ? 0 : *std::max_element(scores.begin(), scores.end());
        test.Spread = test.Median > 0 ? (test.Max - test.Min) / test.Median : 0;
        test.RateMedian = MedianOf(rates);
        test.RawMedian = MedianOf(raw);
        test.Efficiency = test.RawMedian > 0 ? test.RateMedian / test.RawMedian : 0;
        sum += test.Median;
    }
    report.Total =
        report.Tests.empty() ? 0 : static_cast<INT>(std::floor(sum) / report.Tests.size());
}

static std::string Number(double value, int decimals = 0) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

static std::string Quote(const std::string &text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The setting's keys and values, in the order both files list them; text is quoted
// in JSON (null when unknown), the rest are JSON numbers and booleans as they stand.
struct SettingField {
    const char *Key;
    std::string Value;
    bool IsText;
};

static std::vector<SettingField> SettingFields(const Setting &s) {
    return {
        {"program", s.Program, true},
        {"version", s.Version, true},
        {"flavour", s.Flavour, true},
        {"utc", s.Utc, true},
        {"windows", s.Windows, true},
        {"wine", s.Wine, true},
        {"target", s.Target, true},
        {"width", std::to_string(s.Width), false},
        {"height", std::to_string(s.Height), false},
        {"depth", std::to_string(s.Depth), false},
        {"dpi", std::to_string(s.Dpi), false},
        {"window_ms", std::to_string(s.WindowMs), false},
        {"repeat", std::to_string(s.Repeat), false},
        {"raw", s.Raw ? "true" : "false", false},
    };
}

std::string ToJson(const Report &report) {
    std::string out = "{\n";
    for (const SettingField &field : SettingFields(report.Set)) {
        const std::string value = !field.IsText         ? field.Value
                                  : field.Value.empty() ? "null"
                                                        : Quote(field.Value);
        out += "  \"" + std::string(field.Key) + "\": " + value + ",\n";
    }
    out += "  \"tests\": [";
    for (size_t t = 0; t < report.Tests.size(); t++) {
        const TestRun &test = report.Tests[t];
        out += t == 0 ? "\n" : ",\n";
        out += "    {\"index\": " + std::to_string(test.Index) + ", \"name\": " + Quote(test.Name) +
               ",\n     \"samples\": [";
        for (size_t i = 0; i < test.Samples.size(); i++) {
            const Sample &sample = test.Samples[i];
            out += (i == 0 ? "" : ", ") + std::string("{\"count\": ") +
                   std::to_string(sample.Count) +
                   ", \"tick_ms\": " + std::to_string(sample.TickMs) +
                   ", \"qpc_ms\": " + Number(sample.QpcMs, 3) +
                   ", \"per_second\": " + std::to_string(sample.PerSecond) +
                   ", \"rate\": " + Number(sample.Rate, 1) + "}";
        }
        out += "],\n     \"raw_samples\": [";
        for (size_t i = 0; i < test.Raw.size(); i++) {
            const RawSample &raw = test.Raw[i];
            out += (i == 0 ? "" : ", ") + std::string("{\"calls\": ") + std::to_string(raw.Calls) +
                   ", \"qpc_ms\": " + Number(raw.QpcMs, 3) + ", \"rate\": " + Number(raw.Rate, 1) +
                   "}";
        }
        out += "],\n     \"median\": " + Number(test.Median, 1) + ", \"min\": " + Number(test.Min) +
               ", \"max\": " + Number(test.Max) + ", \"spread\": " + Number(test.Spread, 4) +
               ", \"rate_median\": " + Number(test.RateMedian, 1) +
               ", \"raw_median\": " + Number(test.RawMedian, 1) +
               ", \"efficiency\": " + Number(test.Efficiency, 4) + "}";
    }
    out += "\n  ],\n  \"total\": " + std::to_string(report.Total) + "\n}\n";
    return out;
}

// A CSV field, quoted where it must be.
static std::string Field(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? "\"\"" : std::string(1, c);
    }
    return out + "\"";
}

// One row per setting, sample, raw sample and summary, told apart by "record".
std::string ToCsv(const Report &report) {
    std::string out = "record,test,name,sample,key,value,count,tick_ms,qpc_ms,per_second,rate,"
                      "median,min,max,spread,raw_median,efficiency\n";
    std::vector<SettingField> settings = SettingFields(report.Set);
    settings.push_back({"total", std::to_string(report.Total), false});
    for (const SettingField &field : settings) {
        out += std::string("setting,,,,") + field.Key + "," + Field(field.Value) + ",,,,,,,,,,,\n";
    }
    for (const TestRun &test : report.Tests) {
        const std::string head = std::to_string(test.Index) + "," + Field(test.Name) + ",";
        for (size_t i = 0; i < test.Samples.size(); i++) {
            const Sample &x = test.Samples[i];
            out += "sample," + head + std::to_string(i + 1) + ",,," + std::to_string(x.Count) +
                   "," + std::to_string(x.TickMs) + "," + Number(x.QpcMs, 3) + "," +
                   std::to_string(x.PerSecond) + "," + Number(x.Rate, 1) + ",,,,,,\n";
        }
        for (size_t i = 0; i < test.Raw.size(); i++) {
            const RawSample &x = test.Raw[i];
            out += "raw," + head + std::to_string(i + 1) + ",,," + std::to_string(x.Calls) + ",," +
                   Number(x.QpcMs, 3) + ",," + Number(x.Rate, 1) + ",,,,,,\n";
        }
        out += "summary," + head + ",,,,,,," + Number(test.RateMedian, 1) + "," +
               Number(test.Median, 1) + "," + Number(test.Min) + "," + Number(test.Max) + "," +
               Number(test.Spread, 4) + "," + Number(test.RawMedian, 1) + "," +
               Number(test.Efficiency, 4) + "\n";
    }
    return out;
}

static const TestRun *Find(const Report *report, INT index) {
    if (report != nullptr) {
        for (const TestRun &test : report->Tests) {
            if (test.Index == index) {
                return &test;
            }
        }
    }
    return nullptr;
}

std::string ToTable(const Report &report, const Report *old) {
    const Setting &s = report.Set;
    char line[256];
    std::snprintf(line, sizeof line, "%s %s (%s), %s %dx%dx%d, %lu ms window, %d sample%s\n",
                  s.Program.c_str(), s.Version.c_str(), s.Flavour.c_str(), s.Target.c_str(),
                  s.Width, s.Height, s.Depth, static_cast<unsigned long>(s.WindowMs), s.Repeat,
                  s.Repeat == 1 ? "" : "s");
    std::string out = line;
    std::snprintf(line, sizeof line, "%-10s %10s %10s %10s %7s", "test", "score", "min", "max",
                  "spread");
    out += line;
    if (s.Raw) {
        out += "     raw/s   eff.";
    }
    if (old != nullptr) {
        out += "   vs old";
    }
    out += "\n";
    for (const TestRun &test : report.Tests) {
        std::snprintf(line, sizeof line, "%-10s %10.0f %10.0f %10.0f %6.1f%%", test.Name.c_str(),
                      std::floor(test.Median), test.Min, test.Max, test.Spread * 100);
        out += line;
        if (s.Raw) {
            std::snprintf(line, sizeof line, " %9.0f %5.1f%%", test.RawMedian,
                          test.Efficiency * 100);
            out += line;
        }
        if (old != nullptr) {
            const TestRun *before = Find(old, test.Index);
            if (before == nullptr || before->Median <= 0) {
                out += "      n/a";
            } else {
                const double change = std::fabs(test.Median - before->Median) / before->Median;
                const bool marked = change > before->Spread && change > test.Spread;
                std::snprintf(line, sizeof line, "   %5.3f%s", test.Median / before->Median,
                              marked ? " *" : "");
                out += line;
            }
        }
        out += "\n";
    }
    out += "TOTAL: " + std::to_string(report.Total) + "\n";
    if (old != nullptr) {
        out += "(* the change is larger than the spread of either run)\n";
    }
    return out;
}

std::string ToSvg(const Report &report, const Report *old) {
    const int barWidth = old != nullptr ? 32 : 56, slot = 96, left = 70, top = 40, plot = 260;
    const int width = left + slot * static_cast<int>(report.Tests.size()) + 20;
    double highest = 10;
    for (const TestRun &test : report.Tests) {
        highest = std::max(highest, test.Median);
        if (const TestRun *before = Find(old, test.Index)) {
            highest = std::max(highest, before->Median);
        }
    }
    const double decades = std::ceil(std::log10(highest));
    auto y = [&](double value) {
        return top + plot - plot * std::log10(std::max(value, 1.0)) / decades;
    };
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
                      "\" height=\"" + std::to_string(top + plot + 50) +
                      "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out += "<text x=\"" + std::to_string(left) + "\" y=\"20\" font-size=\"14\">" +
           report.Set.Program + " " + report.Set.Flavour + ": median score per test (log scale)" +
           (old ? "; grey: the old run" : "") + "</text>\n";
    for (int d = 0; d <= decades; d++) {
        const std::string ty = Number(y(std::pow(10.0, d)), 1);
        out += "<line x1=\"" + std::to_string(left) + "\" x2=\"" + std::to_string(width - 10) +
               "\" y1=\"" + ty + "\" y2=\"" + ty + "\" stroke=\"#ddd\"/>\n";
        out += "<text x=\"" + std::to_string(left - 6) + "\" y=\"" + ty +
               "\" text-anchor=\"end\">1e" + std::to_string(d) + "</text>\n";
    }
    auto bar = [&](double x, double value, const char *colour, const char *kind) {
        const double y0 = y(value);
        return "<rect class=\"" + std::string(kind) + "\" x=\"" + Number(x, 1) + "\" y=\"" +
               Number(y0, 1) + "\" width=\"" + std::to_string(barWidth) + "\" height=\"" +
               Number(top + plot - y0, 1) + "\" fill=\"" + colour + "\"><title>" + Number(value) +
               "</title></rect>\n";
    };
    for (size_t i = 0; i < report.Tests.size(); i++) {
        const TestRun &test = report.Tests[i];
        const double x = left + slot * static_cast<double>(i) + 8;
        out += bar(x, test.Median, "#3366cc", "new");
        if (const TestRun *before = Find(old, test.Index)) {
            out += bar(x + barWidth + 4, before->Median, "#999999", "old");
        }
        out += "<text x=\"" + Number(x, 1) + "\" y=\"" + std::to_string(top + plot + 18) + "\">" +
               test.Name + "</text>\n";
        out += "<text x=\"" + Number(x, 1) + "\" y=\"" + std::to_string(top + plot + 34) +
               "\" font-size=\"10\">" + Number(test.Median) + "</text>\n";
    }
    return out + "</svg>\n";
}

bool ParseReport(const std::string &json, Report &report, std::string &error) {
    JsonValue root;
    if (!ParseJson(json, root, error)) {
        return false;
    }
    const JsonValue *program = root.Get("program");
    const JsonValue *tests = root.Get("tests");
    if (program == nullptr || program->Text != "QuenzelRun" || tests == nullptr ||
        tests->Type != JsonValue::Array || tests->Items.empty()) {
        error = "not a run with a \"tests\" list";
        return false;
    }
    report = Report{};
    auto number = [](const JsonValue *value) {
        return value != nullptr && value->Type == JsonValue::Number;
    };
    for (const JsonValue &item : tests->Items) {
        const JsonValue *index = item.Get("index");
        const JsonValue *median = item.Get("median");
        const JsonValue *spread = item.Get("spread");
        const JsonValue *name = item.Get("name");
        if (!number(index) || !number(median) || !number(spread) || index->Num < 1 ||
            index->Num > TEST_COUNT || index->Num != std::floor(index->Num) || median->Num < 0 ||
            spread->Num < 0) {
            error = "a test without an index from 1 to 7, a median and a spread of 0 or more";
            return false;
        }
        TestRun test;
        test.Index = static_cast<INT>(index->Num);
        test.Name = name != nullptr ? name->Text : "";
        test.Median = median->Num;
        test.Spread = spread->Num;
        report.Tests.push_back(test);
    }
    return true;
}
