#include "number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace ordevo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A parsed picture: "[blanks][#|0]+[.0+][E(+|-)0+]".
struct Picture {
    std::string prefix;        // literal blanks written first
    int minIntegerDigits = 0;  // number of '0' in the integer part
    int decimals = 0;
    bool exponent = false;
    bool exponentAlwaysSigned = false;  // "E+" rather than "E-"
    int minExponentDigits = 0;
};

[[noreturn]] void BadPicture(std::string_view picture) {
    throw std::invalid_argument("unsupported number picture \"" + std::string(picture) + "\"");
}

Picture ParsePicture(std::string_view text) {
    Picture p;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') p.prefix += text[i++];
    const std::size_t integerStart = i;
    while (i < text.size() && (text[i] == '#' || text[i] == '0')) {
        if (text[i] == '0') ++p.minIntegerDigits;
        ++i;
    }
    const std::size_t integerLength = i - integerStart;
    if (integerLength == 0) BadPicture(text);
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] == '0') {
            ++p.decimals;
            ++i;
        }
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        // Exponent form: exactly one mantissa digit before the point.
        if (integerLength != 1 || p.minIntegerDigits != 1) BadPicture(text);
        p.exponent = true;
        ++i;
        if (i >= text.size() || (text[i] != '+' && text[i] != '-')) BadPicture(text);
        p.exponentAlwaysSigned = text[i] == '+';
        ++i;
        while (i < text.size() && text[i] == '0') {
            ++p.minExponentDigits;
            ++i;
        }
        if (p.minExponentDigits == 0) BadPicture(text);
    }
    if (i != text.size()) BadPicture(text);
    return p;
}

// |value| as decimal digits: value = 0.digits × 10^pointPosition. Zero has digits "0".
struct DecimalText {
    std::string digits;
    int pointPosition = 0;

    // The single digit "0". Assigned as one character, not from the literal "0": g++ 12 at -O3
    // inlines the literal's copy into a memcpy it then wrongly reports as overlapping
    // (-Wrestrict, GCC bug 105329).
    void SetZero() { digits.assign(1, '0'); }
};

// The 15-significant-digit text of |value| (finite).
DecimalText FifteenDigits(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, result.ptr - buffer);
    // "d.dddddddddddddde±XX"
    DecimalText d;
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    d.pointPosition = exponent + 1;
    return d;
}

bool AllZero(const std::string& digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

// Keeps the first `keep` digits, rounding half away from zero on the first digit dropped.
// May carry into a new leading digit, which moves the point one place right.
void RoundToDigits(DecimalText& d, int keep) {
    if (keep < 0) {
        d.SetZero();
        return;
    }
    if (static_cast<std::size_t>(keep) >= d.digits.size()) return;
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPosition;
        }
    }
    if (d.digits.empty()) d.SetZero();
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

std::string FormatFixed(const Picture& p, double value) {
    DecimalText d = FifteenDigits(value);
    RoundToDigits(d, d.pointPosition + p.decimals);
    const bool zero = AllZero(d.digits);
    // Digit k (0-based from the left) stands at 10^(pointPosition − 1 − k).
    auto digitAt = [&](int power) -> char {
        const int k = d.pointPosition - 1 - power;
        if (zero || k < 0 || k >= static_cast<int>(d.digits.size())) return '0';
        return d.digits[k];
    };
    std::string integer;
    for (int power = std::max(d.pointPosition, 1) - 1; power >= 0; --power)
        integer += digitAt(power);
    const std::size_t firstSignificant = integer.find_first_not_of('0');
    integer.erase(0, firstSignificant == std::string::npos ? integer.size() : firstSignificant);
    if (static_cast<int>(integer.size()) < p.minIntegerDigits)
        integer.insert(0, static_cast<std::size_t>(p.minIntegerDigits) - integer.size(), '0');
    std::string out = p.prefix;
    if (value < 0 && !zero) out += '-';
    out += integer;
    if (p.decimals > 0) {
        out += '.';
        for (int power = -1; power >= -p.decimals; --power) out += digitAt(power);
    }
    return out;
}

std::string FormatExponent(const Picture& p, double value) {
    DecimalText d = FifteenDigits(value);
    int exponent = 0;
    const bool zero = value == 0.0;
    if (zero) {
        d.SetZero();
    } else {
        RoundToDigits(d, 1 + p.decimals);
        exponent = d.pointPosition - 1;
    }
    d.digits.resize(1 + p.decimals, '0');
    std::string out = p.prefix;
    if (value < 0 && !zero) out += '-';
    out += d.digits[0];
    if (p.decimals > 0) {
        out += '.';
        out.append(d.digits, 1, std::string::npos);
    }
    out += 'E';
    if (exponent < 0)
        out += '-';
    else if (p.exponentAlwaysSigned)
        out += '+';
    std::string exponentDigits = std::to_string(std::abs(exponent));
    if (static_cast<int>(exponentDigits.size()) < p.minExponentDigits)
        exponentDigits.insert(
            0, static_cast<std::size_t>(p.minExponentDigits) - exponentDigits.size(), '0');
    return out + exponentDigits;
}

}  // namespace

std::string FormatNumber(double value, std::string_view picture) {
    const Picture p = ParsePicture(picture);
    if (!std::isfinite(value)) return p.prefix + NonFinite(value);
    return p.exponent ? FormatExponent(p, value) : FormatFixed(p, value);
}

std::size_t DecimalNumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t exponentStart = j;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j > exponentStart) i = j;
    }
    return i;
}

double DecimalNumberValue(std::string_view number, bool& inRange) {
    inRange = true;
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        inRange = false;
        // Decide between overflow and underflow from the decimal magnitude: the position of
        // the first non-zero digit relative to the point, plus the exponent.
        const std::size_t e = number.find_first_of("eE");
        const std::string_view mantissa = number.substr(0, e);
        const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
        const std::size_t first = mantissa.find_first_of("123456789");
        if (first == std::string_view::npos) return negative ? -0.0 : 0.0;
        long long magnitude = static_cast<long long>(point) - static_cast<long long>(first);
        if (first > point) ++magnitude;  // first significant digit after the point
        if (e != std::string_view::npos) {
            std::string_view exponentText = number.substr(e + 1);
            const bool negativeExponent = !exponentText.empty() && exponentText.front() == '-';
            if (!exponentText.empty() &&
                (exponentText.front() == '+' || exponentText.front() == '-'))
                exponentText.remove_prefix(1);
            long long exponent = 0;
            for (char c : exponentText) exponent = std::min(exponent * 10 + (c - '0'), 100000LL);
            magnitude += negativeExponent ? -exponent : exponent;
        }
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

double LeadingNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact += c;
    const std::size_t length = DecimalNumberLength(compact);
    if (length == 0) return 0.0;
    bool inRange = true;
    return DecimalNumberValue(std::string_view(compact).substr(0, length), inRange);
}

bool ParseWholeNumber(std::string_view text, double& value) {
    if (text.empty() || DecimalNumberLength(text) != text.size()) return false;
    bool inRange = true;
    const double parsed = DecimalNumberValue(text, inRange);
    if (!inRange) return false;
    value = parsed;
    return true;
}

std::string PlainNumber(double value) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0.0) return "0";
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

}  // namespace ordevo
