#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace ordevo::cli {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is none.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead == 0xE0)
        length = 3, low = 0xA0;
    else if (lead == 0xED)
        length = 3, high = 0x9F;  // no surrogates
    else if (lead >= 0xE1 && lead <= 0xEF)
        length = 3;
    else if (lead == 0xF0)
        length = 4, low = 0x90;
    else if (lead == 0xF4)
        length = 4, high = 0x8F;  // nothing past U+10FFFF
    else if (lead >= 0xF1 && lead <= 0xF3)
        length = 4;
    else
        return 0;
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string JsonString(const std::string& text) {
    std::string utf8;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            utf8 += "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
            ++at;
        } else {
            utf8.append(text, at, length);
            at += length;
        }
    }
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
