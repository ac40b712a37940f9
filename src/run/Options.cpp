#include "Options.h"

#include "Outputs.h"

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
           "  --precision P      take rounds of samples until each test's rate is known to\n"
           "                     +-P %, 0.1 to 50 (--repeat rounds at least), or until\n"
           "  --max-seconds S    S seconds have passed, 1 to 86400 (default 600)\n"
           "  --warmup-ms N      run each test N ms untimed before the first sample (default 0)\n"
           "  --shuffle SEED     each round's tests in an order drawn from SEED, not table order\n"
           "  --affinity N       run on logical processor N only\n"
           "  --json FILE        write every sample, the summaries and the setting as JSON\n"
           "  --csv FILE         the same as CSV\n"
           "  --benchmark-json FILE  the samples as the common C++ micro-benchmark tools write\n"
           "                     them (their compare.py reads two such files)\n"
           "  --compare OLD      compare with a run saved by --json (again for more runs; at\n"
           "                     most " +
           std::to_string(MAX_COMPARE_BYTES >> 20) +
           " MiB each): the ratio of the rates with its\n"
           "                     interval, and a verdict\n"
           "  --fail-slower P    exit with code 4 when a test is slower than the first OLD\n"
           "                     by more than P % (its whole interval), 0.1 to 99\n"
           "  --confidence C     of the intervals and verdicts, 0.5 to 0.999 (default 0.99)\n"
           "  --svg FILE         chart each test's samples about its median, or with OLD its\n"
           "                     ratio and interval\n"
           "  --snapshot FILE    save the drawing area as a BMP file after the first test\n"
           "                     (of the last sample)\n"
           "  --host             name the host in the saved setting\n"
           "  --quiet            no progress on stderr\n"
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

// A decimal number (digits with at most one point) within [low, high], or false.
static bool ParseDecimal(const std::string &text, double low, double high, double &value) {
    if (text.empty() || text.size() > 12 || std::count(text.begin(), text.end(), '.') > 1 ||
        !std::all_of(text.begin(), text.end(),
                     [](unsigned char c) { return std::isdigit(c) || c == '.'; }) ||
        !std::isdigit(static_cast<unsigned char>(text.front()))) {
        return false;
    }
    value = std::stod(text);
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
        const std::pair<const char *, bool *> flags[] = {
            {"--raw", &options.Raw}, {"--quiet", &options.Quiet}, {"--host", &options.Host}};
        if (const auto flag = std::find_if(std::begin(flags), std::end(flags),
                                           [&](const auto &f) { return name == f.first; });
            flag != std::end(flags)) {
            if (hasValue) {
                error = "option '" + name + "' takes no value";
                return false;
            }
            *flag->second = true;
            continue;
        }
        static const char *const withValue[] = {
            "--tests",       "--window-ms",  "--repeat",    "--offscreen", "--json",
            "--csv",         "--svg",        "--compare",   "--snapshot",  "--benchmark-json",
            "--confidence",  "--affinity",   "--warmup-ms", "--shuffle",   "--precision",
            "--max-seconds", "--fail-slower"};
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
        double decimal = 0;
        std::string percent = value;
        if (!percent.empty() && percent.back() == '%') {
            percent.pop_back();
        }
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
        } else if (name == "--confidence") {
            if (!ParseDecimal(value, 0.5, 0.999, decimal)) {
                error = "--confidence takes a number from 0.5 to 0.999, not '" + value + "'";
                return false;
            }
            options.Confidence = decimal;
        } else if (name == "--fail-slower") {
            if (!ParseDecimal(percent, 0.1, 99, decimal)) {
                error = "--fail-slower takes a percentage from 0.1 to 99, not '" + value + "'";
                return false;
            }
            options.FailSlower = decimal;
        } else if (name == "--precision") {
            if (!ParseDecimal(percent, 0.1, 50, decimal)) {
                error = "--precision takes a percentage from 0.1 to 50, not '" + value + "'";
                return false;
            }
            options.Precision = decimal / 100;
        } else if (name == "--affinity") {
            if (!ParseNumber(value, 0, 63, number)) {
                error = "--affinity takes a processor number from 0 to 63, not '" + value + "'";
                return false;
            }
            options.Affinity = static_cast<INT>(number);
        } else if (name == "--warmup-ms" || name == "--max-seconds" || name == "--shuffle") {
            if (!ParseNumber(value, name == "--max-seconds" ? 1 : 0,
                             name == "--max-seconds" ? 86400 : 600000, number)) {
                error = name + " takes a whole number from " +
                        (name == "--max-seconds" ? "1 to 86400" : "0 to 600000") + ", not '" +
                        value + "'";
                return false;
            }
            const DWORD whole = static_cast<DWORD>(number);
            (name == "--warmup-ms" ? options.WarmupMs
             : name == "--shuffle" ? options.ShuffleSeed
                                   : options.MaxSeconds) = whole;
            options.Shuffle = options.Shuffle || name == "--shuffle";
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
        } else if (name == "--benchmark-json") {
            options.BenchmarkJson = value;
        } else if (name == "--compare") {
            if (std::find(options.Compare.begin(), options.Compare.end(), value) !=
                options.Compare.end()) {
                error = "--compare file '" + value + "' is named twice";
                return false;
            }
            options.Compare.push_back(value);
        } else {
            options.Snapshot = value;
        }
    }
    return true;
}
