#include "reference_point.h"

#include <cctype>
#include <charconv>
#include <string>
#include <utility>

#include "dicom_codes.h"
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
    if (definition.Code == code::k15cmFromIsocenterTowardSource)
        return Offset(geometry.SourceToIsocentre, -150.0);
    if (definition.Code == code::k30cmInFrontOfImageInputSurface)
        return Offset(geometry.SourceToDetector, -300.0);
    if (definition.Code == code::k1cmAboveTabletop)
        return Offset(geometry.SourceToTablePlane, 10.0);
    if (definition.Code == code::k30cmAboveTabletop)
        return Offset(geometry.SourceToTablePlane, 300.0);

    const std::string text = Lower(definition.Text);
    const std::optional<double> length = FirstLengthMm(text);
    if (!length) return std::nullopt;
    const bool away = Has(text, "above") || Has(text, "behind") || Has(text, "away");
    // The point the length is measured from is the first one the text names: "530 mm from tube
    // focus towards detector" is measured from the focus, the detector only gives the direction.
    enum class Anchor { None, Isocentre, Detector, Table, Focus };
    Anchor anchor = Anchor::None;
    std::size_t first = std::string::npos;
    const std::pair<const char*, Anchor> words[] = {
        {"isocent", Anchor::Isocentre}, {"image input", Anchor::Detector},
        {"detector", Anchor::Detector}, {"receptor", Anchor::Detector},
        {"table", Anchor::Table},       {"focus", Anchor::Focus},
        {"focal", Anchor::Focus},       {"source", Anchor::Focus},
    };
    for (const auto& [word, which] : words) {
        const std::size_t at = text.find(word);
        if (at < first) first = at, anchor = which;
    }
    switch (anchor) {
    case Anchor::Isocentre: return Offset(geometry.SourceToIsocentre, away ? *length : -*length);
    case Anchor::Detector: return Offset(geometry.SourceToDetector, -*length);
    case Anchor::Table: return Offset(geometry.SourceToTablePlane, away ? *length : -*length);
    case Anchor::Focus: return *length;
    case Anchor::None: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace ordevo::rdsr
