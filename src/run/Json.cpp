#include "Json.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

const JsonValue *JsonValue::Get(const std::string &name) const {
    for (size_t i = 0; i < Keys.size(); i++) {
        if (Keys[i] == name) {
            return &Values[i];
        }
    }
    return nullptr;
}

namespace {

struct Parser {
    explicit Parser(const std::string &source) : text(source) {}

    const std::string &text;
    size_t at = 0;
    std::string error;
    int depth = 0;

    bool Fail(const std::string &what) {
        if (error.empty()) {
            error = what + " at offset " + std::to_string(at);
        }
        return false;
    }

    void Space() {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) {
            at++;
        }
    }

    bool Literal(const char *word) {
        const std::string w = word;
        if (text.compare(at, w.size(), w) != 0) {
            return Fail("unexpected text");
        }
        at += w.size();
        return true;
    }

    bool String(std::string &out) {
        at++; // the opening quote
        while (at < text.size() && text[at] != '"') {
            char c = text[at++];
            if (static_cast<unsigned char>(c) < 0x20) {
                return Fail("control character in a string");
            }
            if (c == '\\') {
                if (at >= text.size()) {
                    break;
                }
                switch (c = text[at++]) {
                case '"':
                case '\\':
                case '/':
                    break;
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 'b':
                    c = '\b';
                    break;
                case 'f':
                    c = '\f';
                    break;
                case 'u': {
                    // Our files hold ASCII; other characters are kept as '?'.
                    if (at + 4 > text.size() ||
                        !std::all_of(text.begin() + at, text.begin() + at + 4,
                                     [](unsigned char h) { return std::isxdigit(h); })) {
                        return Fail("bad \\u escape");
                    }
                    const long code = std::strtol(text.substr(at, 4).c_str(), nullptr, 16);
                    at += 4;
                    c = code < 0x80 ? static_cast<char>(code) : '?';
                    break;
                }
                default:
                    return Fail("bad escape");
                }
            }
            out += c;
        }
        if (at >= text.size()) {
            return Fail("unterminated string");
        }
        at++;
        return true;
    }

    // JSON's number: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?, and finite.
    bool Number(double &number) {
        const size_t start = at;
        auto digits = [&] {
            const size_t from = at;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
                at++;
            }
            return at > from;
        };
        if (at < text.size() && text[at] == '-') {
            at++;
        }
        const size_t whole = at;
        if (!digits() || (text[whole] == '0' && at - whole > 1)) {
            return Fail("bad number");
        }
        if (at < text.size() && text[at] == '.' && (at++, !digits())) {
            return Fail("bad number");
        }
        if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
            at++;
            if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
                at++;
            }
            if (!digits()) {
                return Fail("bad number");
            }
        }
        number = std::strtod(text.substr(start, at - start).c_str(), nullptr);
        return std::isfinite(number) ? true : Fail("number out of range");
    }

    bool Value(JsonValue &value) {
        if (++depth > 64) {
            return Fail("nesting too deep");
        }
        Space();
        if (at >= text.size()) {
            return Fail("unexpected end");
        }
        const char c = text[at];
        bool ok = true;
        if (c == '{') {
            value.Type = JsonValue::Object;
            at++;
            Space();
            if (at < text.size() && text[at] == '}') {
                at++;
            } else {
                while (ok) {
                    Space();
                    std::string key;
                    JsonValue member;
                    ok =
                        at < text.size() && text[at] == '"' ? String(key) : Fail("expected a name");
                    Space();
                    ok = ok && (at < text.size() && text[at] == ':' ? (at++, true)
                                                                    : Fail("expected ':'"));
                    ok = ok && Value(member);
                    if (ok) {
                        value.Keys.push_back(std::move(key));
                        value.Values.push_back(std::move(member));
                        Space();
                        if (at < text.size() && text[at] == ',') {
                            at++;
                        } else if (at < text.size() && text[at] == '}') {
                            at++;
                            break;
                        } else {
                            ok = Fail("expected ',' or '}'");
                        }
                    }
                }
            }
        } else if (c == '[') {
            value.Type = JsonValue::Array;
            at++;
            Space();
            if (at < text.size() && text[at] == ']') {
                at++;
            } else {
                while (ok) {
                    JsonValue item;
                    ok = Value(item);
                    if (ok) {
                        value.Items.push_back(std::move(item));
                        Space();
                        if (at < text.size() && text[at] == ',') {
                            at++;
                        } else if (at < text.size() && text[at] == ']') {
                            at++;
                            break;
                        } else {
                            ok = Fail("expected ',' or ']'");
                        }
                    }
                }
            }
        } else if (c == '"') {
            value.Type = JsonValue::String;
            ok = String(value.Text);
        } else if (c == 't' || c == 'f') {
            value.Type = JsonValue::Bool;
            value.Boolean = c == 't';
            ok = Literal(c == 't' ? "true" : "false");
        } else if (c == 'n') {
            ok = Literal("null");
        } else {
            value.Type = JsonValue::Number;
            ok = Number(value.Num);
        }
        depth--;
        return ok;
    }
};

} // namespace

bool ParseJson(const std::string &text, JsonValue &value, std::string &error) {
    Parser parser(text);
    value = JsonValue{};
    bool ok = parser.Value(value);
    parser.Space();
    if (ok && parser.at != text.size()) {
        ok = parser.Fail("text after the document");
    }
    error = parser.error;
    return ok;
}
