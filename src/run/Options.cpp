#include "Options.h"

#include <algorithm>
#include <cctype>

std::string Usage() {
    return "Usage: QuenzelRun [OPTION]...\n"
           "Runs the seven drawing tests as the interactive program does and prints the scores.\n"
           "\n"
           "  --tests LIST       tests by name or index: Pixel,BitBlt or 1,6 (default all)\n"
           "  --window-ms N      measure each test for more than N ms, 1 to 600000 (default " +
           std::to_string(TEST_WINDOW_MS) +
           ");\n"
           "                     the figure is then calls per second, count * 1000 / elapsed\n"
           "  --repeat K         K samples per test, each drawing what a fresh start draws\n"
           "  --offscreen WxH    draw into a W x H memory bitmap instead of the window\n"
           "  --raw              also time the platform calls alone, with the random values\n"
           "                     drawn ahead, and report the harness efficiency\n"
           "  --json FILE        write every sample, the summaries and the setting as JSON\n"
           "  --csv FILE         the same as CSV\n"
           "  --compare OLD      compare with a run saved by --json\n"
           "  --svg FILE         draw a bar chart of the medians (and of OLD when comparing)\n"
           "  --snapshot FILE    save the drawing area as a BMP file after the first test\n"
           "                     (of the last sample)\n"
           "  --help             show this text\n";
}

std::string TestName(INT i) {
    std::string name;
    for (const TCHAR *c = TestTable[i].Name; *c != 0; c++) {
        name += static_cast<char>(*c);
    }
    return name;
}

// A whole decimal number within [low, high], or false.
static bool ParseNumber(const std::string &text, long long low, long long high, long long &value) {
    if (text.empty() || text.size() > 12 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return false;
    }
    value = std::stoll(text);
    return value >= low && value <= high;
}

static bool SameName(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

static bool ParseTests(const std::string &list, std::vector<INT> &tests, std::string &error) {
    std::vector<bool> chosen(TEST_COUNT + 1, false);
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma - start);
        long long index = 0;
        if (!ParseNumber(item, 1, TEST_COUNT, index)) {
            index = 0;
            for (INT i = 1; i <= TEST_COUNT; i++) {
                if (SameName(item, TestName(i))) {
                    index = i;
                }
            }
        }
        if (index == 0) {
            error = "unknown test '" + item + "' in --tests (names or indices 1 to 7)";
            return false;
        }
        chosen[index] = true;
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    tests.clear();
    for (INT i = 1; i <= TEST_COUNT; i++) {
        if (chosen[i]) {
            tests.push_back(i);
        }
    }
    return true;
}

static bool ParseSize(const std::string &text, Options &options) {
    const size_t x = text.find_first_of("xX");
    long long width = 0, height = 0;
    if (x == std::string::npos || !ParseNumber(text.substr(0, x), 1, 16384, width) ||
        !ParseNumber(text.substr(x + 1), 1, 16384, height)) {
        return false;
    }
    options.OffscreenWidth = static_cast<INT>(width);
    options.OffscreenHeight = static_cast<INT>(height);
    return true;
}

bool ParseOptions(int argc, const char *const argv[], Options &options, std::string &error) {
    options = Options{};
    for (INT i = 1; i <= TEST_COUNT; i++) {
        options.Tests.push_back(i);
    }
    for (int i = 1; i < argc; i++) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        if (const size_t equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name == "--raw") {
            if (hasValue) {
                error = "option '--raw' takes no value";
                return false;
            }
            options.Raw = true;
            continue;
        }
        static const char *const withValue[] = {"--tests",     "--window-ms", "--repeat",
                                                "--offscreen", "--json",      "--csv",
                                                "--svg",       "--compare",   "--snapshot"};
        if (std::find_if(std::begin(withValue), std::end(withValue),
                         [&](const char *known) { return name == known; }) == std::end(withValue)) {
            error = name.rfind("-", 0) == 0 ? "unknown option '" + name + "'"
                                            : "unexpected argument '" + name + "'";
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            value = argv[++i];
        }

        long long number = 0;
        if (name == "--tests") {
            if (!ParseTests(value, options.Tests, error)) {
                return false;
            }
        } else if (name == "--window-ms") {
            if (!ParseNumber(value, 1, 600000, number)) {
                error = "--window-ms takes a whole number from 1 to 600000, not '" + value + "'";
                return false;
            }
            options.WindowMs = static_cast<DWORD>(number);
        } else if (name == "--repeat") {
            if (!ParseNumber(value, 1, 1000, number)) {
                error = "--repeat takes a whole number from 1 to 1000, not '" + value + "'";
                return false;
            }
            options.Repeat = static_cast<INT>(number);
        } else if (name == "--offscreen") {
            if (!ParseSize(value, options)) {
                error = "--offscreen takes WIDTHxHEIGHT, each 1 to 16384, not '" + value + "'";
                return false;
            }
        } else if (value.empty() || value.rfind("--", 0) == 0) {
            error = "option '" + name + "' needs a file name, not '" + value + "'";
            return false;
        } else if (name == "--json") {
            options.Json = value;
        } else if (name == "--csv") {
            options.Csv = value;
        } else if (name == "--svg") {
            options.Svg = value;
        } else if (name == "--compare") {
            options.Compare = value;
        } else {
            options.Snapshot = value;
        }
    }
    return true;
}

static bool IsFolder(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CheckOutputs(const Options &options, std::string &error) {
    const std::pair<const char *, const std::string &> outputs[] = {
        {"--json", options.Json},
        {"--csv", options.Csv},
        {"--svg", options.Svg},
        {"--snapshot", options.Snapshot}};
    for (const auto &[option, path] : outputs) {
        if (path.empty()) {
            continue;
        }
        const size_t slash = path.find_last_of("/\\");
        if (!IsFolder(slash == std::string::npos ? "." : path.substr(0, slash + 1)) ||
            IsFolder(path)) {
            error = std::string(option) + " file '" + path + "' cannot be written there";
            return false;
        }
        for (const auto &[other, otherPath] : outputs) {
            if (other != option && otherPath == path) {
                error = std::string(option) + " file '" + path + "' is also " + other;
                return false;
            }
        }
    }
    return true;
}
