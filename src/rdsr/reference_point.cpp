#include "reference_point.h"

#include <cctype>
#include <charconv>
#include <string>

#include "units.h"

namespace ordevo::rdsr {
namespace {

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool Has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The first length in the text ("15cm", "530 mm", "1.5 cm") in mm.
std::optional<double> FirstLengthMm(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) continue;
        std::size_t end = i;
        while (end < text.size() &&
               (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
            ++end;
        double value = 0;
        if (std::from_chars(text.data() + i, text.data() + end, value).ec != std::errc())
            return std::nullopt;
        std::size_t unit = end;
        while (unit < text.size() && text[unit] == ' ') ++unit;
        if (text.compare(unit, 2, "mm") == 0) return value;
        if (text.compare(unit, 2, "cm") == 0) return value * kMillimetresPerCentimetre;
        if (text.compare(unit, 1, "m") == 0 &&
            (unit + 1 == text.size() || !std::isalpha(static_cast<unsigned char>(text[unit + 1]))))
            return value * 1000.0;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> Offset(const std::optional<double>& base, double offsetMm) {
    if (!base) return std::nullopt;
    return *base + offsetMm;
}

}  // namespace

std::optional<double> ReferencePointDistanceMm(const ReferencePointDefinition& definition,
                                               const EventGeometryMm& geometry) {
    if (definition.Code == "113860") return Offset(geometry.SourceToIsocentre, -150.0);
    if (definition.Code == "113861") return Offset(geometry.SourceToDetector, -300.0);
    if (definition.Code == "113862") return Offset(geometry.SourceToTablePlane, 10.0);
    if (definition.Code == "113863") return Offset(geometry.SourceToTablePlane, 300.0);

    const std::string text = Lower(definition.Text);
    const std::optional<double> length = FirstLengthMm(text);
    if (!length) return std::nullopt;
    const bool away = Has(text, "above") || Has(text, "behind") || Has(text, "away");
    if (Has(text, "isocent")) {
        return Offset(geometry.SourceToIsocentre, away ? *length : -*length);
    }
    if (Has(text, "image input") || Has(text, "detector") || Has(text, "receptor")) {
        return Offset(geometry.SourceToDetector, -*length);
    }
    if (Has(text, "table")) return Offset(geometry.SourceToTablePlane, away ? *length : -*length);
    if (Has(text, "focus") || Has(text, "source")) return *length;
    return std::nullopt;
}

}  // namespace ordevo::rdsr
