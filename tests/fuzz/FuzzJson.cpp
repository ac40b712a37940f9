// Arbitrary bytes as a saved run: the one reader of --from, --compare and --runs accepts
// or refuses them, never crashing, hanging or misusing memory. What it accepts joins a
// group of itself (met again, counted once), is written and read back, and is compared
// with itself and charted.
#include "Group.h"
#include "Saved.h"
#include "Show.h"
#include "Summary.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Report run, group, back;
    std::string error;
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (!ReadRun(text, run, error)) {
        return 0;
    }
    if (!AddToGroup(group, run, error)) {
        std::abort();
    }
    const std::vector<int> runs = RunNumbers(group);
    if (!AddToGroup(group, run, error) || RunNumbers(group) != runs) {
        std::abort();
    }
    Summarise(group);
    const OldRun old = AsOld(group, "old");
    ReadRun(ToJson(group, {old}), back, error);
    ToTable(group, {old}, 5);
    ToSvg(group, {old});
    return 0;
}
