#include "event_geometry.h"

#include <charconv>
#include <cmath>

#include "number_format.h"
#include "ucum_units.h"

namespace ordevo::rdsr {
namespace {

// A numeric concept of the geometry: where it goes, its quantity and the plausible range of its
// value in the program's unit (a value outside is refused, never clipped).
struct NumericConcept {
    std::string_view Code;
    std::optional<double> EventGeometry::*Field;
    Quantity Kind;
    double Lowest, Highest;
};

// Codes of PS3.16 (DCM). Angles as PS3.3 C.8.7.5.1.2 bounds them (primary ±180°, secondary
// ±90°); table travel beyond 5 m and a field wider than 50 cm at the detector (the largest
// flat panels are 48 cm) are not a real room's.
constexpr NumericConcept kNumericConcepts[] = {
    {"112011", &EventGeometry::PrimaryAngleDeg, Quantity::Angle, -180.0, 180.0},
    {"112012", &EventGeometry::SecondaryAngleDeg, Quantity::Angle, -90.0, 90.0},
    {"112013", &EventGeometry::PrimaryEndAngleDeg, Quantity::Angle, -180.0, 180.0},
    {"112014", &EventGeometry::SecondaryEndAngleDeg, Quantity::Angle, -90.0, 90.0},
    {"113751", &EventGeometry::TableLongitudinalMm, Quantity::Length, -5000.0, 5000.0},
    {"113752", &EventGeometry::TableLateralMm, Quantity::Length, -5000.0, 5000.0},
    {"113753", &EventGeometry::TableHeightMm, Quantity::Length, -5000.0, 5000.0},
    {"113754", &EventGeometry::TableHeadTiltDeg, Quantity::Angle, -90.0, 90.0},
    {"113755", &EventGeometry::TableHorizontalRotationDeg, Quantity::Angle, -180.0, 180.0},
    {"113756", &EventGeometry::TableCradleTiltDeg, Quantity::Angle, -90.0, 90.0},
    {"113788", &EventGeometry::CollimatedFieldHeightMm, Quantity::Length, 1.0, 500.0},
    {"113789", &EventGeometry::CollimatedFieldWidthMm, Quantity::Length, 1.0, 500.0},
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

std::optional<double> ParseNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
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
        const std::optional<double> value = ParseNumber(item.Number);
        if (!value || !std::isfinite(*value)) {
            Refuse(item, "数値ではありません", geometry, notes);
            return true;
        }
        const std::optional<double> converted =
            item.HasUnits ? ConvertToProgramUnit(numeric.Kind, item.CodeValue, *value)
                          : std::nullopt;
        if (!converted) {
            Refuse(item,
                   std::string("単位が ") + ProgramUnitName(numeric.Kind) + " に換算できません",
                   geometry, notes);
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
