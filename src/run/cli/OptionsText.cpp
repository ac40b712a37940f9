#include "OptionsText.h"

#include "OptionValues.h"
#include "Suites.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

const char *const FOOTER =
    R"(With more than one sample per test (--repeat above 1, or --precision), each test
first runs one window untimed, as --warmup-ms would, so its first sample is not
cold; one sample per test is measured cold, as the interactive program measures.

The table's +-99% (at the --confidence) is how far the interval of each test's
median rate reaches from it; "-": too few samples for one (8 at 99 %). A verdict
at 99 % needs 5 samples a side; a comparison's row says how many it lacks.

A --config FILE holds options by their long names, one a line, for example
tests = "Pixel,BitBlt", repeat = 9 or compare = ["a.json", "b.json"]; the
command line overrides it.

One run measures at a time (on Windows, on the whole machine; under Wine, in one
prefix): another is refused with exit code 1, unless it is to --wait or to go on
--concurrent. --help, --version and bad input are never held up.

Exit codes:
    0    the table and every output are complete
    1    the run or an output failed (the other outputs are still written)
    2    bad input (nothing was run or written), or a gate that compared no test
    4    a test got slower than --fail-slower allows (every output is written)
    5    a test drew another picture (--fail-picture; every output is written)
    130  stopped by Ctrl+C, a closed console or window: nothing was written
Where two apply, the one higher in this list is given: 1 before 4, 4 before 5.
)";

// Words of at most width characters a line, the lines joined by '\n'.
std::string Wrapped(const std::string &text, size_t width) {
    std::istringstream words(text);
    std::string lines, line;
    for (std::string word; words >> word;) {
        if (!line.empty() && line.size() + word.size() >= width) {
            lines += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return lines + line;
}

// CLI11 gives an option's label (N, FILE) and its check's description ("a whole number
// 1 to 1000") as one type name, joined by ':'.
std::string Label(const CLI::Option *option) {
    const std::string type = option->get_type_name();
    return type.substr(0, type.find(':'));
}

// Each option with its label alone beside it; then its description and, in brackets,
// what the value is, its default and the options it needs or excludes, wrapped to fit
// a console of 80 columns.
struct WrappedHelp : CLI::Formatter {
    std::string make_option_opts(const CLI::Option *option) const override {
        return Label(option).empty() ? "" : " " + Label(option);
    }
    std::string make_option_desc(const CLI::Option *option) const override {
        std::string notes;
        if (option->get_type_name() != Label(option)) {
            notes += "; " + Label(option) + ": " + Takes(option);
        }
        if (!option->get_default_str().empty()) {
            notes += "; default " + option->get_default_str();
        }
        for (const CLI::Option *other : option->get_needs()) {
            notes += "; needs " + other->get_name();
        }
        for (const CLI::Option *other : option->get_excludes()) {
            notes += "; not with " + other->get_name();
        }
        return Wrapped(option->get_description() +
                           (notes.empty() ? "" : " (" + notes.substr(2) + ")"),
                       80 - get_column_width());
    }
};

// A config file's line "repeat = []" reaches its option as a list of no values, which
// CLI11 hands to an option of one value as it is, to be read past its end: such a
// line is refused here, as is a name that is no option's. Flags and lists refuse an
// empty list themselves.
struct CheckedConfig : CLI::ConfigTOML {
    explicit CheckedConfig(const CLI::App &app) : App(app) {}
    std::vector<CLI::ConfigItem> from_config(std::istream &input) const override {
        std::vector<CLI::ConfigItem> items = CLI::ConfigTOML::from_config(input);
        for (const CLI::ConfigItem &item : items) {
            const CLI::Option *option =
                item.parents.empty() ? App.get_option_no_throw("--" + item.name) : nullptr;
            if (option == nullptr) {
                const std::string near = NearestOption(App, item.fullname());
                throw CLI::ConfigError(
                    "no option '" + item.fullname() + "'" +
                    (near.empty() ? "" : "; did you mean " + near.substr(2) + "?"));
            }
            if (item.inputs.empty() && option->get_items_expected_max() == 1) {
                throw CLI::ConfigError(item.name + " = [] gives no value; it takes one");
            }
        }
        return items;
    }
    const CLI::App &App;
};

// The edits (a character put in, left out or changed) that make one word the other.
size_t Distance(const std::string &a, const std::string &b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); j++) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); i++) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); j++) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

void FrameOptions(CLI::App &app) {
    app.formatter(std::make_shared<WrappedHelp>());
    app.footer(FOOTER);
    app.config_formatter(std::make_shared<CheckedConfig>(app));
}

std::string Takes(const CLI::Option *option) {
    const std::string type = option->get_type_name();
    const size_t colon = type.find(':');
    return colon == std::string::npos ? "a file name" : type.substr(colon + 1);
}

std::string NearestOption(const CLI::App &app, const std::string &word) {
    const std::string name = Lower(word.substr(word.find_first_not_of('-') == std::string::npos
                                                   ? word.size()
                                                   : word.find_first_not_of('-')));
    std::string nearest;
    // A slip is a few edits; a third of the word changed is another word.
    size_t best = std::max<size_t>(2, name.size() / 3) + 1;
    for (const CLI::Option *option : app.get_options()) {
        for (const std::string &known : option->get_lnames()) {
            const size_t distance = Distance(name, known);
            if (distance < best) {
                best = distance;
                nearest = "--" + known;
            }
        }
    }
    return nearest;
}

std::string InOwnWords(const CLI::App &app, const CLI::Error &error) {
    std::string message = error.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    // The options the message names, in its order ("--fail-slower requires --compare").
    std::vector<std::string> named;
    std::istringstream words(message);
    for (std::string word; words >> word;) {
        // A config file's names come without the dashes.
        word = word.substr(0, word.find_first_of(":,="));
        word = word.rfind('-', 0) == 0 ? word : "--" + word;
        if (app.get_option_no_throw(word) != nullptr) {
            named.push_back(app.get_option_no_throw(word)->get_name());
        }
    }
    if (dynamic_cast<const CLI::ExtrasError *>(&error) != nullptr && !app.remaining().empty()) {
        const std::vector<std::string> extras = app.remaining();
        // An unknown option before any stray value: the value is likely its own.
        const auto unknown = std::find_if(extras.begin(), extras.end(),
                                          [](const std::string &extra) { return extra[0] == '-'; });
        if (unknown == extras.end()) {
            return "'" + extras[0] + "' is no option, and each option takes one value at most " +
                   "(--help lists them)";
        }
        const std::string name = unknown->substr(0, unknown->find('='));
        const std::string near = NearestOption(app, name);
        return name + ": no such option; " +
               (near.empty() ? "--help lists them" : "did you mean " + near + "?");
    }
    if (dynamic_cast<const CLI::FileError *>(&error) != nullptr) {
        // A folder is refused by the name's check, before it is read.
        return "--config: cannot read '" + app.get_config_ptr()->results().back() + "'";
    }
    if (dynamic_cast<const CLI::ConfigError *>(&error) != nullptr) {
        return "--config: " + message;
    }
    if (named.size() == 2 && dynamic_cast<const CLI::RequiresError *>(&error) != nullptr) {
        return named[0] + ": only with " + named[1];
    }
    if (named.size() == 2 && dynamic_cast<const CLI::ExcludesError *>(&error) != nullptr) {
        return named[0] + ": not with " + named[1] + "; give one of them";
    }
    if (dynamic_cast<const CLI::ValidationError *>(&error) == nullptr && !named.empty()) {
        const CLI::Option *option = app.get_option_no_throw(named[0]);
        return named[0] + (Label(option).empty()
                               ? ": takes no value (in a --config file, true or false)"
                               : ": needs one value, " + Takes(option));
    }
    return message;
}
