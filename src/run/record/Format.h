// printf's formatting into a string as long as the text it makes.
#pragma once

#include <cstdio>
#include <string>

std::string Format(const char *format, auto... values) {
    std::string text(static_cast<size_t>(std::snprintf(nullptr, 0, format, values...)), '\0');
    std::snprintf(text.data(), text.size() + sizeof(char), format, values...);
    return text;
}
