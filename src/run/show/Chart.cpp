// The chart (--svg). With old runs, a forest plot: each test's ratio new/old with its
// interval on a logarithmic axis around 1, coloured by the verdict. Without, each
// test's samples as points on the same kind of axis around its median, so the
// spread shows. The picture is made wide enough for every text in it.
#include "Lines.h"
#include "Show.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double LETTER_WIDTH = 7.5; // at least a sans-serif character's width at 12 px
constexpr int ROW_HEIGHT = 22, PLOT_WIDTH = 400, MARGIN = 10;

// Text as XML character data: valid UTF-8 without the characters XML forbids, the
// markup characters escaped. Width is its length in characters.
struct XmlText {
    std::string Xml;
    size_t Width = 0;
};

XmlText Escape(const std::string &text) {
    XmlText out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80       ? 1
                              : c >> 5 == 6  ? 2
                              : c >> 4 == 14 ? 3
                              : c >> 3 == 30 ? 4
                                             : 0;
        unsigned long code = length == 1 ? c : c & (0x7F >> length);
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; k++) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = next >> 6 == 2;
            code = code << 6 | (next & 0x3F);
        }
        const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= least[length] && code <= 0x10FFFF &&
                !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF &&
                (code >= 0x20 || code == '\t' || code == '\n' || code == '\r');
        if (valid) {
            const std::string piece = text.substr(i, length);
            out.Xml += piece == "&"    ? "&amp;"
                       : piece == "<"  ? "&lt;"
                       : piece == ">"  ? "&gt;"
                       : piece == "\"" ? "&quot;"
                                       : piece;
            out.Width++;
        }
        i += valid ? length : 1;
    }
    return out;
}

// One row of the chart: its label, the points on it, the interval (low 0: none), the
// text at its right and its colour.
struct Row {
    std::string Label;
    std::vector<double> Points;
    double Low, High;
    std::string Note;
    const char *Colour;
};

const char *ColourOf(Comparison::Kind verdict) {
    switch (verdict) {
    case Comparison::Faster:
        return "#1a7f37";
    case Comparison::Slower:
        return "#c0392b";
    case Comparison::NoDifference:
        return "#555555";
    case Comparison::TooFew:
        break;
    }
    return "#aaaaaa";
}

} // namespace

std::string ToSvg(const Report &report, const std::vector<OldRun> &olds, const Compared &compared) {
    const Setting &s = report.Set;
    std::vector<Row> rows;
    for (const TestRun &test : report.Tests) {
        if (olds.empty()) {
            std::vector<double> points;
            for (const Sample &sample : test.Samples) {
                if (sample.Rate > 0 && test.RateMedian > 0) {
                    points.push_back(sample.Rate / test.RateMedian);
                }
            }
            rows.push_back(
                {test.Name, points, 0, 0,
                 Format("score %.0f, %zu samples", std::floor(test.Median), test.Samples.size()),
                 "#3366cc"});
        }
        for (size_t k = 0; k < compared.size(); k++) {
            for (const ComparisonRow &row : compared[k]) {
                const Comparison &c = row.Result;
                if (row.Now.Index == test.Index) {
                    rows.push_back({olds.size() > 1
                                        ? Format("%s vs old %zu", test.Name.c_str(), k + 1)
                                        : test.Name,
                                    {c.Ratio},
                                    c.Low,
                                    c.High,
                                    Format("%.3f ", c.Ratio) + VerdictText(row),
                                    ColourOf(c.Verdict)});
                }
            }
        }
    }
    // The axis reaches as far from 1 as the farthest point or interval end, and 10 %
    // at least, the same way both sides.
    double reach = 1.1;
    for (const Row &row : rows) {
        for (double value : row.Points) {
            reach = std::max({reach, value, 1 / value});
        }
        if (row.Low > 0) {
            reach = std::max({reach, row.High, 1 / row.Low});
        }
    }
    reach = std::pow(reach, 1.05);
    std::vector<XmlText> texts = {
        Escape(s.Program + " " + s.Version + " (" + s.Flavour + "): " +
               (olds.empty() ? "each sample's rate against its test's median"
                             : Format("ratio new/old of the rates, with its %.1f%% interval",
                                      s.Confidence * 100)))};
    for (size_t k = 0; k < olds.size(); k++) {
        texts.push_back(Escape(Format("old %zu: ", k + 1) + olds[k].Name));
    }
    size_t label = 0, note = 0, widest = 0;
    for (const Row &row : rows) {
        label = std::max(label, Escape(row.Label).Width);
        note = std::max(note, Escape(row.Note).Width);
    }
    for (const XmlText &text : texts) {
        widest = std::max(widest, text.Width);
    }
    // Room at the left for the longest label and for half an axis label.
    const double left = std::max(MARGIN + LETTER_WIDTH * label + MARGIN, 50.0);
    const double width =
        std::max(left + PLOT_WIDTH + MARGIN + LETTER_WIDTH * note, LETTER_WIDTH * widest) +
        2 * MARGIN;
    const double top = 20.0 * (texts.size() + 1);
    const double height = top + ROW_HEIGHT * rows.size() + 40;
    auto x = [&](double ratio) {
        return left + PLOT_WIDTH * (std::log(ratio) / std::log(reach) + 1) / 2;
    };
    std::string out = Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" "
                             "height=\"%.0f\" font-family=\"sans-serif\" font-size=\"12\">\n",
                             width, height);
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (size_t i = 0; i < texts.size(); i++) {
        out +=
            Format("<text x=\"%d\" y=\"%zu\">", MARGIN, 20 * (i + 1)) + texts[i].Xml + "</text>\n";
    }
    // The axis: 1 in the middle, its ends at the reach.
    const double bottom = top + ROW_HEIGHT * rows.size();
    for (const double at : {1 / reach, 1.0, reach}) {
        out += Format("<line x1=\"%.1f\" x2=\"%.1f\" y1=\"%.1f\" y2=\"%.1f\" stroke=\"#ccc\"/>\n",
                      x(at), x(at), top - 5, bottom);
        const std::string tick =
            olds.empty() ? Format("%+.3g%%", (at - 1) * 100) : Format("%.3g", at);
        out += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%s</text>\n", x(at),
                      bottom + 16, tick.c_str());
    }
    for (size_t i = 0; i < rows.size(); i++) {
        const Row &row = rows[i];
        const double y = top + ROW_HEIGHT * (i + 0.5);
        out += Format("<text x=\"%d\" y=\"%.1f\">", MARGIN, y + 4) + Escape(row.Label).Xml +
               "</text>\n";
        if (row.Low > 0) {
            out += Format("<line class=\"interval\" x1=\"%.1f\" x2=\"%.1f\" y1=\"%.1f\" "
                          "y2=\"%.1f\" stroke=\"%s\" stroke-width=\"3\"/>\n",
                          x(row.Low), x(row.High), y, y, row.Colour);
        }
        for (const double point : row.Points) {
            out += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"4\" fill=\"%s\" "
                          "fill-opacity=\"0.6\"/>\n",
                          x(point), y, row.Colour);
        }
        out += Format("<text x=\"%.1f\" y=\"%.1f\" fill=\"%s\">", left + PLOT_WIDTH + MARGIN, y + 4,
                      row.Colour) +
               Escape(row.Note).Xml + "</text>\n";
    }
    return out + "</svg>\n";
}
