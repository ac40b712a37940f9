#include "Lines.h"

#include "Summary.h"
#include "WideTable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>

std::string Wrap(const std::string &text) {
    std::string out;
    size_t start = 0; // where the last line starts
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (out.size() > start && out.size() - start + 1 + word.size() > 100) {
            out += "\n ";
            start = out.size() - 1;
        }
        out += (out.size() == start ? "" : " ") + word;
    }
    return out + "\n";
}

// A line for each run of a group whose median rate lies far from the other runs',
// naming the tests where it does (each test's name and runs' medians): kept in every
// figure, but a reader should know.
std::string FarLines(const std::string &whose, const std::vector<NamedMedians> &tests) {
    std::map<size_t, std::string> far;
    for (const auto &[name, medians] : tests) {
        for (const size_t run : FarRuns(medians)) {
            far[run] += (far[run].empty() ? "" : ", ") + name;
        }
    }
    std::string out;
    for (const auto &[run, names] : far) {
        out += Wrap(Format("%srun %zu lies far from the other runs in ", whose.c_str(), run + 1) +
                    names + " (a busy machine?); it is kept");
    }
    return out;
}

int NameWidth(const Report &report) {
    size_t width = 10;
    for (const TestRun &test : report.Tests) {
        width = std::max(width, test.Name.size());
    }
    return static_cast<int>(width);
}

std::string FamilyHeader(const Report &report, size_t i) {
    if (report.Set.Suite != "wide") {
        return "";
    }
    const char *family = WIDE_TABLE[report.Tests[i].Index].Family;
    return i > 0 && std::strcmp(WIDE_TABLE[report.Tests[i - 1].Index].Family, family) == 0
               ? ""
               : std::string("-- ") + family + "\n";
}
