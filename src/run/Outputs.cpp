#include "Outputs.h"

#include "UTypes.h"

#include <cstdio>

bool ReadWhole(const std::string &path, std::string &text) {
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool WriteAtomically(const std::string &path, const std::string &text, std::string &error) {
    const std::string temporary = path + ".tmp" + std::to_string(GetCurrentProcessId());
    FILE *file = std::fopen(temporary.c_str(), "wb");
    bool ok = file != nullptr;
    if (ok) {
        ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        ok = std::fclose(file) == 0 && ok;
    }
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        std::remove(temporary.c_str());
        error = "cannot write '" + path + "'";
    }
    return ok;
}
