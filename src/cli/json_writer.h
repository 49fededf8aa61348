// A tiny JSON object writer: full-precision numbers (%.17g) and escaped UTF-8 strings.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ordevo::cli {

class JsonObject {
public:
    JsonObject& Number(const std::string& key, double value);
    JsonObject& String(const std::string& key, const std::string& value);
    JsonObject& Object(const std::string& key, const JsonObject& value);
    JsonObject& Bool(const std::string& key, bool value);
    JsonObject& Null(const std::string& key);
    JsonObject& Array(const std::string& key, const std::vector<JsonObject>& items);
    JsonObject& StringArray(const std::string& key, const std::vector<std::string>& items);
    std::string Text() const;  // one line, keys in insertion order

private:
    std::vector<std::pair<std::string, std::string>> members_;  // key, encoded value
};

// A JSON string literal. Bytes that are not UTF-8 are written as U+FFFD, so the output is
// always valid JSON whatever reaches it.
std::string JsonString(const std::string& utf8);
// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(const std::string& text);
// %.17g: enough digits that the double reads back exactly; non-finite values become null.
std::string JsonNumber(double value);

}  // namespace ordevo::cli
