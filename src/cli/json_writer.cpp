#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace ordevo::cli {

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
                    out += buffer;
                } else {
                    out += ch;  // UTF-8 passes through unchanged
                }
        }
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

JsonObject& JsonObject::Number(const std::string& key, double value) {
    members_.emplace_back(key, JsonNumber(value));
    return *this;
}

JsonObject& JsonObject::String(const std::string& key, const std::string& value) {
    members_.emplace_back(key, JsonString(value));
    return *this;
}

JsonObject& JsonObject::Object(const std::string& key, const JsonObject& value) {
    members_.emplace_back(key, value.Text());
    return *this;
}

JsonObject& JsonObject::Bool(const std::string& key, bool value) {
    members_.emplace_back(key, value ? "true" : "false");
    return *this;
}

JsonObject& JsonObject::Null(const std::string& key) {
    members_.emplace_back(key, "null");
    return *this;
}

JsonObject& JsonObject::Array(const std::string& key, const std::vector<JsonObject>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i].Text();
    members_.emplace_back(key, out + "]");
    return *this;
}

JsonObject& JsonObject::StringArray(const std::string& key, const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
    members_.emplace_back(key, out + "]");
    return *this;
}

std::string JsonObject::Text() const {
    std::string out = "{";
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (i != 0) out += ", ";
        out += JsonString(members_[i].first) + ": " + members_[i].second;
    }
    return out + "}";
}

}  // namespace ordevo::cli
