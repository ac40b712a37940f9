#include "Suites.h"

#include "TestNames.h"
#include "WideTable.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

std::string TestName(bool wide, int i) {
    return wide ? WIDE_TABLE[i].Name : TEST_NAMES[i];
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Matches(const std::string &pattern, const std::string &name) {
    // The last * seen and where in name it stands: on a mismatch, it takes one more
    // character.
    size_t p = 0, n = 0, star = std::string::npos, from = 0;
    const std::string want = Lower(pattern), have = Lower(name);
    while (n < have.size()) {
        if (p < want.size() && (want[p] == '?' || want[p] == have[n])) {
            p++;
            n++;
        } else if (p < want.size() && want[p] == '*') {
            star = p++;
            from = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++from;
        } else {
            return false;
        }
    }
    while (p < want.size() && want[p] == '*') {
        p++;
    }
    return p == want.size();
}

bool ChooseTests(const std::string &list, bool wide, std::vector<int> &tests, std::string &error) {
    tests.clear();
    std::istringstream items(list + ",");
    std::string item;
    const int count = wide ? WIDE_COUNT : TEST_COUNT;
    while (std::getline(items, item, ',')) {
        const size_t before = tests.size();
        // An index: plain digits, no longer than a number any option takes.
        if (!item.empty() && item.size() <= 12 &&
            std::all_of(item.begin(), item.end(), [](char c) { return std::isdigit(c) != 0; }) &&
            std::stoll(item) >= 1 && std::stoll(item) <= count) {
            tests.push_back(static_cast<int>(std::stoll(item)));
        }
        // A name, a pattern or, in the wide suite, a family's name.
        for (int i = 1; i <= count && !item.empty(); i++) {
            if (Matches(item, TestName(wide, i)) || (wide && Lower(item) == WIDE_TABLE[i].Family)) {
                tests.push_back(i);
            }
        }
        if (tests.size() == before) {
            std::string names;
            for (int i = 1; i <= TEST_COUNT && !wide; i++) {
                names += std::string(i > 1 ? ", " : "") + TEST_NAMES[i];
            }
            error = "no test matches '" + item + "'; " +
                    (wide ? "--suite wide --list shows the tests and their families and indices "
                            "(1 to " +
                                std::to_string(count) + ")"
                          : "the tests are " + names + ", or their indices 1 to " +
                                std::to_string(count));
            return false;
        }
    }
    std::sort(tests.begin(), tests.end());
    tests.erase(std::unique(tests.begin(), tests.end()), tests.end());
    return true;
}

std::string ListText(bool wide, bool handheld, const std::vector<int> &tests) {
    const auto chosen = [&](int i) {
        return std::find(tests.begin(), tests.end(), i) != tests.end();
    };
    // Each test under its index, which --tests takes as well as the name.
    const auto line = [](int i, const std::string &name, const char *says, size_t width) {
        std::string index = std::to_string(i);
        return std::string(5 - index.size(), ' ') + index + "  " + name +
               std::string(name.size() < width ? width - name.size() : 1, ' ') + says + "\n";
    };
    if (!wide) {
        static const char *const SAYS[TEST_COUNT + 1] = {
            "",
            "one pixel of a random colour",
            "a line between two random points, a random pen",
            "a rectangle, random brush and pen",
            "a rounded rectangle, random brush and pen",
            "an ellipse, random brush and pen",
            "a random block of the source bitmap, SRCCOPY",
            "1 to 8 random characters in a random font, opaque"};
        std::string out;
        for (int i = 1; i <= TEST_COUNT; i++) {
            out += chosen(i) ? line(i, TEST_NAMES[i], SAYS[i], 12) : "";
        }
        const std::string of = tests.size() < TEST_COUNT ? " of " + std::to_string(TEST_COUNT) : "";
        return "The seven tests (" + std::to_string(tests.size()) + of + "):\n" + out;
    }
    std::string body;
    int offered = 0;
    for (const char *family : WIDE_FAMILIES) {
        int count = 0;
        std::string lines;
        for (int i = 1; i <= WIDE_COUNT; i++) {
            const WideTest &test = WIDE_TABLE[i];
            const bool here =
                std::strcmp(test.Family, family) == 0 && (!handheld || OnHandheld(test));
            offered += here;
            if (here && chosen(i)) {
                lines += line(i, test.Name, test.Says, 32);
                count++;
            }
        }
        body +=
            count == 0 ? "" : std::string(family) + " (" + std::to_string(count) + "):\n" + lines;
    }
    const std::string of =
        static_cast<int>(tests.size()) < offered ? " of " + std::to_string(offered) : "";
    return "The wide suite (" + std::to_string(tests.size()) + of + " tests):\n" + body;
}

std::string Shortened(const Report &report, const std::vector<std::string> &names) {
    const auto named = [&](const std::string &name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    std::vector<std::string> done;
    std::string out;
    for (const TestRun &test : report.Tests) {
        const std::string &name = test.Name;
        if (!named(name) || std::find(done.begin(), done.end(), name) != done.end()) {
            continue;
        }
        // The shortest stem all of whose tests are named, if it holds more than one.
        std::string item = name;
        for (size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', dot + 1)) {
            const std::string stem = name.substr(0, dot + 1);
            std::vector<std::string> under;
            bool all = true;
            for (const TestRun &other : report.Tests) {
                if (other.Name.compare(0, stem.size(), stem) == 0) {
                    under.push_back(other.Name);
                    all = all && named(other.Name);
                }
            }
            if (all && under.size() > 1) {
                item = stem + "* (" + std::to_string(under.size()) + " tests)";
                done.insert(done.end(), under.begin(), under.end());
                break;
            }
        }
        out += (out.empty() ? "" : ", ") + item;
    }
    return out;
}
