// Arbitrary bytes as a compare file: the reader accepts or refuses them, and what it
// accepts is compared with a run and charted, never crashing, hanging or misusing
// memory.
#include "Report.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    OldRun old;
    std::string error;
    if (ReadSavedRun(std::string(reinterpret_cast<const char *>(data), size), old, error)) {
        Report now;
        for (const OldTest &test : old.Tests) {
            now.Tests.push_back({.Index = test.Index, .Name = test.Name});
            now.Tests.back().Samples.push_back(
                {1, 1, 1, 1, test.Rates.empty() ? 1 : test.Rates[0]});
        }
        Summarise(now);
        ToSvg(now, {old});
        ToTable(now, {old}, 5);
        ToJson(now, {old});
    }
    return 0;
}
