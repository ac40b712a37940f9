// The table's lines: wrapped text, the name column and the wide suite's family
// headers, shared by the table's parts.
#pragma once

#include "Compare.h"
#include "Format.h"
#include "Record.h"

#include <string>
#include <utility>
#include <vector>

// Text in lines of at most 100 characters, broken at spaces; the lines after the
// first indented by two.
std::string Wrap(const std::string &text);

// A test's name and its runs' median rates.
using NamedMedians = std::pair<std::string, std::vector<double>>;

// A line for each run of a group whose median rate lies far from the other runs',
// naming the tests where it does: kept in every figure, but a reader should know.
std::string FarLines(const std::string &whose, const std::vector<NamedMedians> &tests);

// The widest test name, for the first column.
int NameWidth(const Report &report);

// The wide suite's family header, above the first test of each family.
std::string FamilyHeader(const Report &report, size_t i);

// The block of one old group: per test the ratio and its verdict, the gate's mark
// beside the names it fails, then the group's geometric mean and counts, and what
// makes its figures unlike.
std::string CompareBlock(const Report &report, const OldRun &old,
                         const std::vector<ComparisonRow> &rows, size_t k,
                         const std::vector<std::string> &failed);
