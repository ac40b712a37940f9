// Arbitrary bytes as a compare file: the reader accepts or refuses them, and what it
// accepts is compared with a run and charted, never crashing, hanging or misusing
// memory; read whole as --from reads it, it joins a group of itself, which is
// compared with it.
#include "Groups.h"
#include "Report.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    OldRun old;
    std::string error;
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (ReadSavedRun(text, old, error)) {
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
        Report group, run;
        if (LoadRun(text, run, error) && AddToGroup(group, run, error) &&
            AddToGroup(group, run, error)) {
            Summarise(group);
            const OldRun single = AsOld(run, "");
            AddToGroup(old, single, error);
            ToTable(group, {old, single}, 5);
        }
    }
    return 0;
}
