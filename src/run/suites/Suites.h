// QuenzelRun's two suites as a person chooses among them: the seven tests of the
// interactive program and the wide suite, by name, pattern, family or index, and
// what --list shows of them. Plain C++.
#pragma once

#include "Record.h"

#include <string>
#include <vector>

// The name of test i of the seven (1 to TEST_COUNT) or of the wide suite (1 to WIDE_COUNT).
std::string TestName(bool wide, int i);

// The text in lower case, as names are matched.
std::string Lower(std::string text);

// Whether name matches pattern, in any case: * stands for any run of characters, ?
// for any one.
bool Matches(const std::string &pattern, const std::string &name);

// The tests a comma-separated list names in a suite, in table order: names or patterns
// (any case), a wide family's name, or indices; false with a message naming what
// matches no test.
bool ChooseTests(const std::string &list, bool wide, std::vector<int> &tests, std::string &error);

// The tests chosen of the suite, one a line with its index and what it draws, under a
// header for each family and its count; the handheld flavour counts only what its
// platform offers.
std::string ListText(bool wide, bool handheld, const std::vector<int> &tests);

// The names, shortened where every test of the report under a common stem is named
// ("BitBlt.SRCINVERT.* (3 tests)"), comma-separated.
std::string Shortened(const Report &report, const std::vector<std::string> &names);
