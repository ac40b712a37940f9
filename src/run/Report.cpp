#include "Report.h"

#include "Json.h"
#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

static double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

static std::vector<double> Rates(const TestRun &test) {
    std::vector<double> rates;
    for (const Sample &sample : test.Samples) {
        rates.push_back(sample.Rate);
    }
    return rates;
}

double HalfWidthOf(const TestRun &test, double confidence) {
    const std::vector<double> rates = Rates(test);
    const double median = MedianOf(rates);
    double low, high;
    return MedianInterval(rates, confidence, low, high) && median > 0
               ? std::max(high / median - 1, 1 - low / median)
               : 0;
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
        if (!raw.empty() && !rates.empty()) {
            // Scored against raw rates as two samples: the efficiency with its interval.
            const Comparison c = Compare(rates, raw, report.Set.Confidence);
            test.Efficiency = c.Ratio;
            test.EfficiencyLow = c.Low;
            test.EfficiencyHigh = c.High;
            double draws = 0;
            for (const RawSample &sample : test.Raw) {
                draws += sample.DrawsPerCall;
            }
            test.RuleNs = draws / test.Raw.size() * report.Set.DrawNs + report.Set.TickNs;
            test.Bound = 1 / (1 + test.RuleNs * test.RawMedian / 1e9);
        }
        test.HalfWidth = HalfWidthOf(test, report.Set.Confidence);
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

// The setting's keys and values, in the order both files list them; unknown text is
// null in JSON.
static std::vector<SettingField> SettingFields(const Setting &s) {
    std::vector<SettingField> fields = {
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
        {"tick_step_ms", Number(s.TickStepMs, 3), false},
        {"draw_ns", Number(s.DrawNs, 3), false},
        {"tick_ns", Number(s.TickNs, 3), false},
        {"warmup_ms", std::to_string(s.WarmupMs), false},
        {"affinity", s.Affinity < 0 ? "null" : std::to_string(s.Affinity), false},
        {"shuffle", s.Shuffle < 0 ? "null" : std::to_string(s.Shuffle), false},
        {"precision", Number(s.Precision, 4), false},
        {"confidence", Number(s.Confidence, 4), false},
    };
    fields.insert(fields.end(), s.Facts.begin(), s.Facts.end());
    return fields;
}

// A setting's value in JSON: an unknown text is null.
static std::string JsonOf(const SettingField &field) {
    return !field.IsText ? field.Value : field.Value.empty() ? "null" : Quote(field.Value);
}

std::string ToJson(const Report &report) {
    std::string out = "{\n";
    for (const SettingField &field : SettingFields(report.Set)) {
        out += "  \"" + field.Key + "\": " + JsonOf(field) + ",\n";
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
                   ", \"replays_sample\": " + std::to_string(raw.Of) +
                   ", \"draws_per_call\": " + Number(raw.DrawsPerCall, 3) + "}";
        }
        out += "],\n     \"median\": " + Number(test.Median, 1) + ", \"min\": " + Number(test.Min) +
               ", \"max\": " + Number(test.Max) + ", \"spread\": " + Number(test.Spread, 4) +
               ", \"rate_median\": " + Number(test.RateMedian, 1) +
               ", \"raw_median\": " + Number(test.RawMedian, 1) +
               ", \"efficiency\": " + Number(test.Efficiency, 4) +
               ", \"efficiency_low\": " + Number(test.EfficiencyLow, 4) +
               ", \"efficiency_high\": " + Number(test.EfficiencyHigh, 4) +
               ", \"rule_ns\": " + Number(test.RuleNs, 2) +
               ", \"bound\": " + Number(test.Bound, 4) +
               ", \"half_width\": " + Number(test.HalfWidth, 4) + "}";
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
                      "median,min,max,spread,raw_median,efficiency,efficiency_low,"
                      "efficiency_high,rule_ns,bound,half_width\n";
    std::vector<SettingField> settings = SettingFields(report.Set);
    settings.push_back({"total", std::to_string(report.Total), false});
    for (const SettingField &field : settings) {
        const bool unknown = !field.IsText && field.Value == "null";
        out += "setting,,,," + field.Key + "," + (unknown ? "" : Field(field.Value)) +
               ",,,,,,,,,,,,,,,,\n";
    }
    for (const TestRun &test : report.Tests) {
        const std::string head = std::to_string(test.Index) + "," + Field(test.Name) + ",";
        for (size_t i = 0; i < test.Samples.size(); i++) {
            const Sample &x = test.Samples[i];
            out += "sample," + head + std::to_string(i + 1) + ",,," + std::to_string(x.Count) +
                   "," + std::to_string(x.TickMs) + "," + Number(x.QpcMs, 3) + "," +
                   std::to_string(x.PerSecond) + "," + Number(x.Rate, 1) + ",,,,,,,,,,,\n";
        }
        for (size_t i = 0; i < test.Raw.size(); i++) {
            const RawSample &x = test.Raw[i];
            out += "raw," + head + std::to_string(i + 1) + ",,," + std::to_string(x.Calls) + ",," +
                   Number(x.QpcMs, 3) + ",," + Number(x.Rate, 1) + ",,,,,,,,,,,\n";
        }
        out += "summary," + head + ",,,,,,," + Number(test.RateMedian, 1) + "," +
               Number(test.Median, 1) + "," + Number(test.Min) + "," + Number(test.Max) + "," +
               Number(test.Spread, 4) + "," + Number(test.RawMedian, 1) + "," +
               Number(test.Efficiency, 4) + "," + Number(test.EfficiencyLow, 4) + "," +
               Number(test.EfficiencyHigh, 4) + "," + Number(test.RuleNs, 2) + "," +
               Number(test.Bound, 4) + "," + Number(test.HalfWidth, 4) + "\n";
    }
    return out;
}

std::string ToBenchmarkJson(const Report &report) {
    const Setting &s = report.Set;
    std::string out = "{\n  \"context\": {\n    \"date\": " + Quote(s.Utc) +
                      ",\n    \"executable\": " + Quote(s.Program + " " + s.Version) +
                      ",\n    \"library_build_type\": \"release\"";
    for (const SettingField &field : SettingFields(s)) {
        out += ",\n    \"" + field.Key + "\": " + JsonOf(field);
    }
    out += "\n  },\n  \"benchmarks\": [";
    const char *separator = "\n";
    // Times per call in ns: the wall clock's and the thread's processor time.
    auto entry = [&](const TestRun &test, size_t family, const std::string &suffix,
                     const std::string &kind, INT64 iterations, double realNs, double cpuNs) {
        out += separator + std::string("    {\"name\": ") + Quote(test.Name + suffix) +
               ", \"family_index\": " + std::to_string(family) +
               ", \"per_family_instance_index\": 0, \"run_name\": " + Quote(test.Name) +
               ", \"run_type\": " + kind +
               ", \"repetitions\": " + std::to_string(test.Samples.size()) +
               ", \"threads\": 1, \"iterations\": " + std::to_string(iterations) +
               ", \"real_time\": " + Number(realNs, 3) + ", \"cpu_time\": " + Number(cpuNs, 3) +
               ", \"time_unit\": \"ns\", \"items_per_second\": " +
               Number(realNs > 0 ? 1e9 / realNs : 0, 1) + "}";
        separator = ",\n";
    };
    for (size_t t = 0; t < report.Tests.size(); t++) {
        const TestRun &test = report.Tests[t];
        std::vector<double> real, cpu;
        for (size_t i = 0; i < test.Samples.size(); i++) {
            const Sample &x = test.Samples[i];
            real.push_back(x.QpcMs * 1e6 / static_cast<double>(x.Count));
            cpu.push_back(x.CpuMs * 1e6 / static_cast<double>(x.Count));
            entry(test, t, "", "\"iteration\", \"repetition_index\": " + std::to_string(i), x.Count,
                  real.back(), cpu.back());
        }
        if (!real.empty()) {
            const INT64 n = static_cast<INT64>(real.size());
            const std::string aggregate = "\"aggregate\", \"aggregate_unit\": \"time\", ";
            entry(test, t, "_mean", aggregate + "\"aggregate_name\": \"mean\"", n,
                  std::accumulate(real.begin(), real.end(), 0.0) / n,
                  std::accumulate(cpu.begin(), cpu.end(), 0.0) / n);
            entry(test, t, "_median", aggregate + "\"aggregate_name\": \"median\"", n,
                  MedianOf(real), MedianOf(cpu));
        }
    }
    return out + "\n  ]\n}\n";
}

static const TestRun *Find(const Report &report, INT index) {
    for (const TestRun &test : report.Tests) {
        if (test.Index == index) {
            return &test;
        }
    }
    return nullptr;
}

// A test against the same test of an old run. Runs saved without their samples'
// rates compare by the medians of the scores, with no verdict.
static Comparison CompareTest(const TestRun &now, const TestRun &before, double confidence) {
    if (before.Samples.empty()) {
        Comparison result;
        result.Ratio = before.Median > 0 ? now.Median / before.Median : 0;
        return result;
    }
    return Compare(Rates(now), Rates(before), confidence);
}

// What differs between two runs' settings that makes their figures unlike.
static std::string Differences(const Setting &now, const Setting &old) {
    const std::string pairs[][3] = {
        {"flavour", now.Flavour, old.Flavour},
        {"target", now.Target, old.Target},
        {"area", std::to_string(now.Width) + "x" + std::to_string(now.Height),
         std::to_string(old.Width) + "x" + std::to_string(old.Height)},
        {"depth", std::to_string(now.Depth), std::to_string(old.Depth)},
        {"window_ms", std::to_string(now.WindowMs), std::to_string(old.WindowMs)}};
    std::string out;
    for (const auto &[key, a, b] : pairs) {
        if (a != b) {
            out += (out.empty() ? "" : ", ") + key + " " + a + " here, " + b + " there";
        }
    }
    return out;
}

static const char *const VERDICTS[] = {"faster", "same", "slower", "too few"};

// Ends a line of the table, without the padding of its last column.
static void EndLine(std::string &out) {
    out.erase(out.find_last_not_of(' ') + 1);
    out += "\n";
}

std::string ToTable(const Report &report, const std::vector<OldRun> &olds) {
    const Setting &s = report.Set;
    DWORD shortest = 0, longest = 0;
    for (const TestRun &test : report.Tests) {
        for (const Sample &sample : test.Samples) {
            shortest = shortest == 0 ? sample.TickMs : std::min(shortest, sample.TickMs);
            longest = std::max(longest, sample.TickMs);
        }
    }
    char line[256];
    std::snprintf(line, sizeof line,
                  "%s %s (%s), %s %dx%dx%d, %lu ms window (measured %lu to %lu ms, tick step "
                  "%.1f ms)\n",
                  s.Program.c_str(), s.Version.c_str(), s.Flavour.c_str(), s.Target.c_str(),
                  s.Width, s.Height, s.Depth, static_cast<unsigned long>(s.WindowMs),
                  static_cast<unsigned long>(shortest), static_cast<unsigned long>(longest),
                  s.TickStepMs);
    std::string out = line;
    std::snprintf(line, sizeof line, "%-10s %10s %10s %10s %7s %5s %6s", "test", "score", "min",
                  "max", "spread", "n", "+-");
    out += line;
    if (s.Raw) {
        out += "     raw/s   eff. interval       rule ns  bound";
    }
    for (size_t k = 0; k < olds.size(); k++) {
        std::snprintf(line, sizeof line, "   vs old %-23zu", k + 1);
        out += line;
    }
    EndLine(out);
    std::vector<std::vector<Comparison>> columns(olds.size());
    for (const TestRun &test : report.Tests) {
        // No half-width is shown where the samples are too few for an interval.
        char half[16] = "-";
        if (test.HalfWidth > 0) {
            std::snprintf(half, sizeof half, "%.1f%%", test.HalfWidth * 100);
        }
        std::snprintf(line, sizeof line, "%-10s %10.0f %10.0f %10.0f %6.1f%% %5zu %6s",
                      test.Name.c_str(), std::floor(test.Median), test.Min, test.Max,
                      test.Spread * 100, test.Samples.size(), half);
        out += line;
        if (s.Raw) {
            char interval[32] = "";
            if (test.EfficiencyLow > 0) {
                std::snprintf(interval, sizeof interval, "[%.1f, %.1f]", test.EfficiencyLow * 100,
                              test.EfficiencyHigh * 100);
            }
            std::snprintf(line, sizeof line, " %9.0f %5.1f%% %-14s %7.1f %5.1f%%", test.RawMedian,
                          test.Efficiency * 100, interval, test.RuleNs, test.Bound * 100);
            out += line;
        }
        for (size_t k = 0; k < olds.size(); k++) {
            const TestRun *before = Find(olds[k].Run, test.Index);
            char cell[64] = "n/a";
            if (before != nullptr && before->Median > 0 && test.Median > 0) {
                const Comparison c = CompareTest(test, *before, s.Confidence);
                columns[k].push_back(c);
                if (c.Verdict == Comparison::TooFew) {
                    std::snprintf(cell, sizeof cell, "%.3f (too few)", c.Ratio);
                } else {
                    std::snprintf(cell, sizeof cell, "%.3f [%.3f, %.3f] %s", c.Ratio, c.Low, c.High,
                                  VERDICTS[c.Verdict]);
                }
            }
            std::snprintf(line, sizeof line, "   %-30s", cell);
            out += line;
        }
        EndLine(out);
    }
    out += "TOTAL: " + std::to_string(report.Total) + "\n";
    if (s.Precision > 0) {
        // "all 7 tests reached +-2 %", or who reached it and, for each of the others,
        // how far it got in the time given.
        std::vector<std::string> reached;
        std::string missed;
        char target[32];
        std::snprintf(target, sizeof target, "\u00b1%g %%", s.Precision * 100);
        for (const TestRun &test : report.Tests) {
            if (test.HalfWidth > 0 && test.HalfWidth <= s.Precision) {
                reached.push_back(test.Name);
                continue;
            }
            char known[32] = "too few samples for an interval";
            if (test.HalfWidth > 0) {
                std::snprintf(known, sizeof known, "\u00b1%.1f %%", test.HalfWidth * 100);
            }
            std::snprintf(line, sizeof line, "%s did not reach %s in %lu s: %s\n",
                          test.Name.c_str(), target, static_cast<unsigned long>(s.MaxSeconds),
                          known);
            missed += line;
        }
        if (reached.size() == report.Tests.size() && reached.size() > 1) {
            out += "all " + std::to_string(reached.size()) + " tests reached " + target + "\n";
        } else if (!reached.empty()) {
            std::string names = reached[0];
            for (size_t i = 1; i < reached.size(); i++) {
                names += (i + 1 < reached.size() ? ", " : " and ") + reached[i];
            }
            out += names + " reached " + target + "\n";
        }
        out += missed;
    }
    for (size_t k = 0; k < olds.size(); k++) {
        double logs = 0;
        INT counts[4] = {};
        for (const Comparison &c : columns[k]) {
            logs += std::log(c.Ratio);
            counts[c.Verdict]++;
        }
        const double mean = columns[k].empty() ? 0 : std::exp(logs / columns[k].size());
        std::snprintf(line, sizeof line,
                      "old %zu: %s: geometric mean of the ratios %.3f; faster %d, same %d, "
                      "slower %d\n",
                      k + 1, olds[k].Name.c_str(), mean, counts[0], counts[1], counts[2]);
        out += line;
        const std::string differences = Differences(s, olds[k].Run.Set);
        if (!differences.empty()) {
            out += "  warning: the runs differ in " + differences + "\n";
        }
        if (counts[Comparison::TooFew] > 0) {
            out += "  note: " + std::to_string(counts[Comparison::TooFew]) +
                   " test(s) without a verdict: a run saved without its samples' rates, or too "
                   "few samples a side to reach p < " +
                   Number(1 - s.Confidence, 3) + " (more with --repeat)\n";
        }
    }
    if (!olds.empty()) {
        std::snprintf(line, sizeof line,
                      "(ratio new/old of the rates, Hodges-Lehmann, with its %.1f%% interval; "
                      "verdict by the Mann-Whitney U test)\n",
                      s.Confidence * 100);
        out += line;
    }
    return out;
}

std::string ToSvg(const Report &report, const std::vector<OldRun> &olds) {
    const int count = static_cast<int>(olds.size()) + 1;
    const int barWidth = 56 / count, slot = 96, left = 70, top = 40, plot = 260;
    const int width = left + slot * static_cast<int>(report.Tests.size()) + 20;
    double highest = 10;
    for (const TestRun &test : report.Tests) {
        highest = std::max(highest, test.Median);
        for (const OldRun &old : olds) {
            if (const TestRun *before = Find(old.Run, test.Index)) {
                const double high = CompareTest(test, *before, report.Set.Confidence).High;
                highest = std::max(highest, before->Median * std::max(1.0, high));
            }
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
           (olds.empty() ? "" : "; grey: the old runs; black: where the new run lies") +
           "</text>\n";
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
        for (size_t k = 0; k < olds.size(); k++) {
            const TestRun *before = Find(olds[k].Run, test.Index);
            if (before == nullptr) {
                continue;
            }
            const double at = x + static_cast<double>((barWidth + 4) * (k + 1));
            out += bar(at, before->Median, "#999999", "old");
            // Where the interval puts the new run against this old one.
            const Comparison c = CompareTest(test, *before, report.Set.Confidence);
            if (c.Low > 0) {
                const std::string mid = Number(at + barWidth / 2.0, 1);
                out += "<line class=\"interval\" x1=\"" + mid + "\" x2=\"" + mid + "\" y1=\"" +
                       Number(y(before->Median * c.Low), 1) + "\" y2=\"" +
                       Number(y(before->Median * c.High), 1) +
                       "\" stroke=\"black\" stroke-width=\"3\"/>\n";
            }
        }
        out += "<text x=\"" + Number(x, 1) + "\" y=\"" + std::to_string(top + plot + 18) + "\">" +
               test.Name + "</text>\n";
        out += "<text x=\"" + Number(x, 1) + "\" y=\"" + std::to_string(top + plot + 34) +
               "\" font-size=\"10\">" + Number(test.Median) + "</text>\n";
    }
    return out + "</svg>\n";
}

// A rate or score a machine can reach: positive (or 0 for a score) and below 10^12,
// so that nothing read back prints as inf or stretches the chart.
static bool Plausible(const JsonValue *value, double least) {
    return value != nullptr && value->Type == JsonValue::Number && value->Num >= least &&
           value->Num < 1e12;
}

bool ParseReport(const std::string &json, Report &report, std::string &error) {
    // Editors on Windows may save a UTF-8 file with a byte-order mark.
    const std::string mark = "\xEF\xBB\xBF";
    JsonValue root;
    if (!ParseJson(json.rfind(mark, 0) == 0 ? json.substr(mark.size()) : json, root, error)) {
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
    Setting &s = report.Set;
    for (auto [key, text] : {std::pair{"flavour", &s.Flavour}, {"target", &s.Target}}) {
        if (const JsonValue *value = root.Get(key)) {
            *text = value->Text;
        }
    }
    for (auto [key, number] :
         {std::pair{"width", &s.Width}, {"height", &s.Height}, {"depth", &s.Depth}}) {
        if (Plausible(root.Get(key), 0)) {
            *number = static_cast<INT>(root.Get(key)->Num);
        }
    }
    if (Plausible(root.Get("window_ms"), 0)) {
        s.WindowMs = static_cast<DWORD>(root.Get("window_ms")->Num);
    }
    for (const JsonValue &item : tests->Items) {
        const JsonValue *index = item.Get("index");
        const JsonValue *median = item.Get("median");
        const JsonValue *name = item.Get("name");
        const JsonValue *samples = item.Get("samples");
        if (!Plausible(index, 1) || index->Num > TEST_COUNT ||
            index->Num != std::floor(index->Num) || !Plausible(median, 0)) {
            error = "a test without an index from 1 to 7 and a median from 0 to 1e12";
            return false;
        }
        TestRun test;
        test.Index = static_cast<INT>(index->Num);
        if (Find(report, test.Index) != nullptr) {
            error = "test " + std::to_string(test.Index) + " is listed twice";
            return false;
        }
        test.Name = name != nullptr ? name->Text : "";
        test.Median = median->Num;
        const std::vector<JsonValue> none;
        for (const JsonValue &sample : samples != nullptr ? samples->Items : none) {
            const JsonValue *rate = sample.Get("rate");
            if (!Plausible(rate, 1e-6)) {
                error = "test " + std::to_string(test.Index) + ": a sample without a rate above 0";
                return false;
            }
            test.Samples.push_back({0, 0, 0, 0, rate->Num});
        }
        report.Tests.push_back(test);
    }
    return true;
}
