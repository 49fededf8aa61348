#include "event_geometry.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "number_format.h"
#include "ucum_units.h"

namespace ordevo::rdsr {
namespace {

// What an unusable value of a concept costs: the event (refused), or only the value (missing,
// where the map has a fallback of its own).
enum class Unusable : int { Refused, Missing };

// A numeric concept of the geometry: where it goes, its quantity and the plausible range of its
// value in the program's unit (a value outside is refused, never clipped).
struct NumericConcept {
    std::string_view Code;
    std::optional<double> EventGeometry::*Field;
    Quantity Kind;
    double Lowest, Highest;
    Unusable IfUnusable = Unusable::Refused;
};

constexpr double kAnyValue = 1e300;  // finite values all pass; the map judges them

// Codes of PS3.16 (DCM). The primary angle as PS3.3 C.8.7.5.1.2 bounds it (±180°). The
// secondary angle past ±90° still names a direction (over the top or the bottom: the same beam
// as primary ± 180°, secondary ±180° − the value; units write 183°), up to a whole turn either
// way; beyond that a value is no angle a C-arm reports. Table travel beyond 5 m is not a real
// room's. The collimated field is taken as written: the map uses it
// only when it agrees with P_KA/Ka,r, else the field P_KA/Ka,r gives.
constexpr NumericConcept kNumericConcepts[] = {
    {"112011", &EventGeometry::PrimaryAngleDeg, Quantity::Angle, -180.0, 180.0},
    {"112012", &EventGeometry::SecondaryAngleDeg, Quantity::Angle, -360.0, 360.0},
    {"112013", &EventGeometry::PrimaryEndAngleDeg, Quantity::Angle, -180.0, 180.0},
    {"112014", &EventGeometry::SecondaryEndAngleDeg, Quantity::Angle, -360.0, 360.0},
    {"113751", &EventGeometry::TableLongitudinalMm, Quantity::Length, -5000.0, 5000.0},
    {"113752", &EventGeometry::TableLateralMm, Quantity::Length, -5000.0, 5000.0},
    {"113753", &EventGeometry::TableHeightMm, Quantity::Length, -5000.0, 5000.0},
    {"113754", &EventGeometry::TableHeadTiltDeg, Quantity::Angle, -90.0, 90.0},
    {"113755", &EventGeometry::TableHorizontalRotationDeg, Quantity::Angle, -180.0, 180.0},
    {"113756", &EventGeometry::TableCradleTiltDeg, Quantity::Angle, -90.0, 90.0},
    {"113788", &EventGeometry::CollimatedFieldHeightMm, Quantity::Length, -kAnyValue, kAnyValue,
     Unusable::Missing},
    {"113789", &EventGeometry::CollimatedFieldWidthMm, Quantity::Length, -kAnyValue, kAnyValue,
     Unusable::Missing},
};

struct CodedConcept {
    std::string_view Code;
    std::string EventGeometry::*Field;
};
constexpr CodedConcept kCodedConcepts[] = {
    {"113745", &EventGeometry::PatientTableRelationship},
    {"113743", &EventGeometry::PatientOrientation},
    {"113744", &EventGeometry::PatientOrientationModifier},
};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The item's value is not taken; the missing-value rules of the map apply instead.
void Missing(const GeometryItem& item, const std::string& why, std::vector<std::string>& notes) {
    std::string what(item.Meaning.empty() ? item.Concept : item.Meaning);
    if (!Trimmed(item.Number).empty()) {
        what += ' ';
        what += Trimmed(item.Number);
    }
    what += ": ";
    what += why;
    what += "、記載なしとして扱います";
    notes.push_back(std::move(what));
}

void Refuse(const GeometryItem& item, const std::string& why, EventGeometry& geometry,
            std::vector<std::string>& notes) {
    // Appended piece by piece: g++ 12 at -O3 takes `" " + std::string(...)` for an overlapping
    // copy (-Wrestrict) and fails the release build.
    std::string what(item.Meaning.empty() ? item.Concept : item.Meaning);
    what += ' ';
    what += item.Number;
    if (!item.CodeValue.empty()) {
        what += ' ';
        what += item.CodeValue;
    }
    notes.push_back(what + ": " + why);
    geometry.Refused.push_back(what + ": " + why);
}

}  // namespace

bool ReadGeometryItem(const GeometryItem& item, EventGeometry& geometry,
                      std::vector<std::string>& notes) {
    for (const CodedConcept& coded : kCodedConcepts) {
        if (item.Concept != coded.Code || item.IsNumber) continue;
        geometry.*coded.Field =
            std::string(item.CodeMeaning.empty() ? item.CodeValue : item.CodeMeaning);
        return true;
    }
    for (const NumericConcept& numeric : kNumericConcepts) {
        if (item.Concept != numeric.Code || !item.IsNumber) continue;
        // PS3.3 C.18.1: an empty Measured Value Sequence conveys a value unknown or missing,
        // and the qualifier (CID 42) says why; a qualified value is no measurement either.
        if (!item.QualifierValue.empty() || Trimmed(item.Number).empty()) {
            std::string why = "値の記載がありません";
            if (!item.QualifierValue.empty()) {
                why += " (";
                why += item.QualifierMeaning.empty() ? item.QualifierValue : item.QualifierMeaning;
                why += ')';
            }
            Missing(item, why, notes);
            return true;
        }
        const bool refuse = numeric.IfUnusable == Unusable::Refused;
        const std::optional<double> value = ParseNumber(item.Number);
        if (!value || !std::isfinite(*value)) {
            if (refuse)
                Refuse(item, "数値ではありません", geometry, notes);
            else
                Missing(item, "数値ではありません", notes);
            return true;
        }
        const std::optional<double> converted =
            item.HasUnits ? ConvertToProgramUnit(numeric.Kind, item.CodeValue, *value)
                          : std::nullopt;
        if (!converted || !std::isfinite(*converted)) {
            const std::string why =
                std::string("単位が ") + ProgramUnitName(numeric.Kind) + " に換算できません";
            if (refuse)
                Refuse(item, why, geometry, notes);
            else
                Missing(item, why, notes);
            return true;
        }
        if (!(*converted >= numeric.Lowest && *converted <= numeric.Highest)) {
            Refuse(item,
                   "範囲 " + FormatNumber(numeric.Lowest, "0") + "～" +
                       FormatNumber(numeric.Highest, "0") + " " + ProgramUnitName(numeric.Kind) +
                       " の外です",
                   geometry, notes);
            return true;
        }
        geometry.*numeric.Field = *converted;
        return true;
    }
    return false;
}

}  // namespace ordevo::rdsr
