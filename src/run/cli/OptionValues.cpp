#include "OptionValues.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iomanip>
#include <sstream>

namespace {

// No option takes a number written longer than this: a longer one is a slip.
constexpr size_t MAX_NUMBER_TEXT = 12;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether the name (UTF-8, as every name here) is an existing folder's, or an existing
// file's.
std::filesystem::path PathOf(const std::string &name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}
bool IsFolder(const std::string &name) {
    std::error_code error;
    return std::filesystem::is_directory(PathOf(name), error);
}
bool IsOther(const std::string &name) {
    std::error_code error;
    return std::filesystem::exists(PathOf(name), error) && !IsFolder(name);
}

// Each side of an off-screen bitmap, and what --offscreen takes.
constexpr int MAX_SIDE = 16384;
const CLI::Validator SIDE = Range(Form::WHOLE, 1, MAX_SIDE);
} // namespace

const CLI::Validator SIZE("WIDTHxHEIGHT, each 1 to " + std::to_string(MAX_SIDE) +
                          ", and xDEPTH of 1, 8, 16, 24 or 32 bits (32 if none)");

// Plain decimal digits (with a point where decimals are allowed, and a '%' after a
// percentage) within [low, high], or strictly between them when open. CLI11's own
// conversion would also take signs, exponents, hexadecimal and octal (010 as 8), so
// the text goes on to it in plain decimal, without leading zeros.
CLI::Validator Range(Form form, double low, double high, bool open) {
    std::ostringstream shown;
    shown << std::setprecision(12) << (open ? "above " : "") << low
          << (open ? " and below " : " to ") << high;
    const std::string what = (form == Form::WHOLE     ? "a whole number "
                              : form == Form::PERCENT ? "a percentage "
                                                      : "a number ") +
                             shown.str();
    return CLI::Validator(
        [=](std::string &text) {
            const bool percent = form == Form::PERCENT && !text.empty() && text.back() == '%';
            const std::string digits = text.substr(0, text.size() - (percent ? 1 : 0));
            bool ok =
                text.size() <= MAX_NUMBER_TEXT && !digits.empty() && IsDigit(digits[0]) &&
                std::count(digits.begin(), digits.end(), '.') <= (form == Form::WHOLE ? 0 : 1) &&
                std::all_of(digits.begin(), digits.end(),
                            [](char c) { return IsDigit(c) || c == '.'; });
            if (ok) {
                const double value = std::stod(digits);
                ok = open ? low < value && value < high : low <= value && value <= high;
            }
            if (!ok) {
                return "takes " + what + ", not '" + text + "'";
            }
            text = digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
            return std::string();
        },
        what);
}

// A flag takes no value: it is given or left out (in a config file true or false).
const CLI::Validator FLAG(
    [](std::string &value) {
        return value == "true" || value == "false" ? std::string()
                                                   : "takes no value, not '" + value + "'";
    },
    "");

// A file name: not empty, not an option (a forgotten name before the next option), and
// not a folder's.
const CLI::Validator FILE_NAME(
    [](std::string &name) {
        return name.empty() || name.rfind("--", 0) == 0 ? "needs a file name, not '" + name + "'"
               : IsFolder(name) ? "'" + name + "' is a folder; it takes a file"
                                : std::string();
    },
    "");

// A folder's name: as a file's, but an existing file is refused.
const CLI::Validator FOLDER_NAME(
    [](std::string &name) {
        return name.empty() || name.rfind("--", 0) == 0
                   ? "needs a folder's name, not '" + name + "'"
               : IsOther(name) ? "'" + name + "' is a file; it takes a folder"
                               : std::string();
    },
    "a folder's name (made when missing)");

// What --tests takes.
const CLI::Validator TEST_LIST("names, patterns (* and ?), families or indices of the "
                               "suite's tests, comma-separated");

void ParseSize(const std::string &size, Plan &plan) {
    const size_t x = size.find_first_of("xX"), y = size.find_first_of("xX", x + 1);
    const std::string width = size.substr(0, x),
                      height = x == std::string::npos ? "" : size.substr(x + 1, y - x - 1),
                      depth = y == std::string::npos ? "32" : size.substr(y + 1);
    if (x == std::string::npos || !SIDE(std::string(width)).empty() ||
        !SIDE(std::string(height)).empty() ||
        (depth != "1" && depth != "8" && depth != "16" && depth != "24" && depth != "32")) {
        throw CLI::ValidationError("--offscreen",
                                   "takes " + SIZE.get_description() + ", not '" + size + "'");
    }
    plan.OffscreenWidth = std::stoi(width);
    plan.OffscreenHeight = std::stoi(height);
    plan.OffscreenDepth = std::stoi(depth);
}
