// The number reader and formatter. The first byte chooses what the rest is:
//   even: text for LeadingNumber, the whole-number check and the free-format field reader —
//         never NaN, a whole number is exactly its own length, every field read is finite,
//         and the field reader ends;
//   odd:  a double (8 bytes) for FormatNumber with each picture the program uses and for
//         PlainNumber — the text reads back within half a unit of its last decimal (plus the
//         15-digit rounding), PlainNumber reads back exactly.
#include <cstring>
#include <string>
#include <string_view>

#include "field_reader.h"
#include "fuzz_support.h"
#include "number_format.h"

using namespace ordevo;
using namespace ordevo::fuzz;

namespace {

struct PictureCase {
    const char* picture;
    int decimals;
    bool exponent;
};
constexpr PictureCase kPictures[] = {
    {"####0.0", 1, false}, {"###0.0", 1, false},   {"#0.0", 1, false},       {"#0.00", 2, false},
    {"#00", 0, false},     {"#00.0", 1, false},    {"0.00", 2, false},       {"0.000", 3, false},
    {"#0.000", 3, false},  {"0.000E+00", 3, true}, {"  0.000E+00", 3, true},
};

void CheckText(std::string_view text) {
    const double leading = LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(leading));
    const std::size_t length = DecimalNumberLength(text);
    FUZZ_CHECK(length <= text.size());
    double whole = 0;
    if (ParseWholeNumber(text, whole)) {
        FUZZ_CHECK(length == text.size() && !text.empty());
        FUZZ_CHECK(!std::isnan(whole));
    }
    FieldReader reader(text);
    double value = 0;
    for (std::size_t steps = 0;; ++steps) {
        FUZZ_CHECK(steps <= text.size() + 1);  // every call consumes input or ends
        const auto outcome = reader.Next(value);
        if (outcome == FieldReader::Outcome::End) break;
        if (outcome == FieldReader::Outcome::Bad) {
            FUZZ_CHECK(!reader.Problem().empty());
            break;
        }
        FUZZ_CHECK(std::isfinite(value));
    }
    std::vector<double> numbers;
    std::string problem;
    if (ReadNumberLine(text, numbers, problem))
        for (const double number : numbers) FUZZ_CHECK(std::isfinite(number));
}

void CheckNumber(double value) {
    for (const PictureCase& p : kPictures) {
        const std::string text = FormatNumber(value, p.picture);
        if (!std::isfinite(value)) {
            FUZZ_CHECK(text.find(std::isnan(value) ? "NaN" : "Infinity") != std::string::npos);
            continue;
        }
        if (std::fabs(value) > 1e307) continue;  // rounding up may pass the largest double
        const double back = LeadingNumber(text);
        const double magnitude = std::fabs(value);
        const double tolerance =
            p.exponent ? 1e-3 * magnitude + 1e-320
                       : 0.5 * std::pow(10.0, -p.decimals) * (1 + 1e-9) + 1e-14 * magnitude;
        FUZZ_CHECK(std::fabs(back - value) <= tolerance);
    }
    const std::string plain = PlainNumber(value);
    if (std::isfinite(value)) {
        FUZZ_CHECK(LeadingNumber(plain) == value);
        FUZZ_CHECK(plain.find_first_of("eE") == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0) {
        CheckText(rest);
    } else if (rest.size() >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, rest.data(), sizeof value);
        CheckNumber(value);
    }
    return 0;
}
