#include "csv_formula.h"

#include <charconv>

namespace ordevo {

namespace {

// "-12.5", "+3", "-1e-3": a number, which no spreadsheet runs.
bool IsPlainNumber(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return !digits.empty() && ec == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

std::string NeutralisedCsvField(std::string_view field) {
    if (field.empty()) return std::string();
    const char first = field.front();
    const bool formula = first == '=' || first == '+' || first == '-' || first == '@' ||
                         first == '\t' || first == '\r';
    if (!formula || IsPlainNumber(field)) return std::string(field);
    std::string neutral = "'";
    neutral += field;
    return neutral;
}

}  // namespace ordevo
