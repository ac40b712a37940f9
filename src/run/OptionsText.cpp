#include "OptionsText.h"

#include <CLI/CLI.hpp>

#include <sstream>

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

Exit codes:
    0    the table and every output are complete
    1    the run or an output failed (the other outputs are still written)
    2    bad input: nothing was run or written
    4    a test got slower than --fail-slower allows (every output is written)
    130  stopped by Ctrl+C, a closed console or window: nothing was written
)";

// CLI11's help with each description wrapped to fit a console of 80 columns.
struct WrappedHelp : CLI::Formatter {
    std::string make_option_desc(const CLI::Option *option) const override {
        std::istringstream words(option->get_description());
        std::string text, line;
        for (std::string word; words >> word;) {
            if (!line.empty() && line.size() + word.size() >= 80 - get_column_width()) {
                text += line + "\n";
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
        }
        return text + line;
    }
};

// A config file's line "repeat = []" reaches its option as a list of no values, which
// CLI11 hands to an option of one value as it is, to be read past its end: such a
// line is refused here. Flags and lists refuse it themselves.
struct CheckedConfig : CLI::ConfigTOML {
    explicit CheckedConfig(const CLI::App &app) : App(app) {}
    std::vector<CLI::ConfigItem> from_config(std::istream &input) const override {
        std::vector<CLI::ConfigItem> items = CLI::ConfigTOML::from_config(input);
        for (const CLI::ConfigItem &item : items) {
            const CLI::Option *option = App.get_option_no_throw("--" + item.name);
            if (item.inputs.empty() && option != nullptr && option->get_items_expected_max() == 1) {
                throw CLI::ConfigError(item.name + " = [] gives no value; it takes one");
            }
        }
        return items;
    }
    const CLI::App &App;
};

} // namespace

void FrameOptions(CLI::App &app) {
    app.formatter(std::make_shared<WrappedHelp>());
    app.footer(FOOTER);
    app.config_formatter(std::make_shared<CheckedConfig>(app));
}
