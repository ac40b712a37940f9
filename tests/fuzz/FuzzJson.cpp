// Arbitrary bytes as a compare file: the reader accepts or refuses them, and what it
// accepts is compared with itself, never crashing, hanging or misusing memory.
#include "Report.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Report report;
    std::string error;
    if (ParseReport(std::string(reinterpret_cast<const char *>(data), size), report, error)) {
        Summarise(report);
        ToSvg(report, {{"old", report}});
        ToTable(report, {{"old", report}});
    }
    return 0;
}
