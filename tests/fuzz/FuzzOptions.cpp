// Arbitrary bytes as a config file and a command line for the option parser: the
// bytes before the first NUL are the file's, the rest are arguments split at NUL.
#include "Options.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *const file = "FuzzOptions.ini";
    std::vector<std::string> parts = {""};
    for (size_t i = 0; i < size; i++) {
        if (data[i] == 0) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    std::ofstream(file, std::ios::binary) << parts[0];
    std::vector<const char *> argv = {"QuenzelRun", "--config", file};
    for (size_t i = 1; i < parts.size(); i++) {
        // The parser reads the file a --config names: the fuzzer must not name a device.
        if (parts[i].find("config") == std::string::npos) {
            argv.push_back(parts[i].c_str());
        }
    }
    Options options;
    std::string error;
    ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
    return 0;
}
