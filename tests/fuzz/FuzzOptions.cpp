// Arbitrary bytes as a command line (arguments split at NUL) for the option parser.
#include "Options.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<std::string> arguments = {"QuenzelRun", ""};
    for (size_t i = 0; i < size; i++) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<const char *> argv;
    for (const std::string &argument : arguments) {
        argv.push_back(argument.c_str());
    }
    Options options;
    std::string error;
    ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
    return 0;
}
