// A small JSON reader, enough for the runs that --json writes.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } Type = Null;
    bool Boolean = false;
    double Num = 0;
    std::string Text;
    std::vector<JsonValue> Items;
    // An object's members in order: names and values.
    std::vector<std::string> Keys;
    std::vector<JsonValue> Values;

    // The member of that name, or null when absent or not an object.
    const JsonValue *Get(const std::string &name) const;
};

// Parses a whole document; on failure says what and where.
bool ParseJson(const std::string &text, JsonValue &value, std::string &error);
