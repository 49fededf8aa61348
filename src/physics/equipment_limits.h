// The limits every equipment record keeps: the editor's "OK" refuses values outside them, and a
// file holding such a value is refused when it is read, so no evaluation ever starts from them.
#pragma once

#include <optional>
#include <string>

#include "equipment_data.h"

namespace ordevo {

// The fields of a record that carry a limit, in the order of the file's lines.
enum class EquipmentField : int {
    FocusReceptorDistance,
    FocusIsocentreDistance,
    TargetAngle,
    InherentFiltration,
    AddedAluminium,
    AddedCopper,
    OtherFilterThickness,
    CouchTransmission,
    CouchSoftTissueThickness,
    CalibrationConstant,
};

struct EquipmentLimitViolation {
    EquipmentField Field;
    double Value;       // in the unit the user sees (mm for filtrations)
    std::string Limit;  // the limit in words, UTF-8 Japanese: "15 cm より大きい値"
};

// The name of a field as the editor labels it (UTF-8), e.g. "焦点-アイソセンター間距離".
const char* EquipmentFieldName(EquipmentField field);

// The geometry and filtration an editor's "OK" takes from its boxes: distances (FAD above
// 15 cm, the focus–receptor distance beyond the focus–isocentre distance), a target angle
// strictly between 0 and 90 degrees, filtrations and the other filter's thickness 0 or more;
// every value finite. The first violation (the focus–isocentre distance before the
// focus–receptor distance that is compared with it), or nothing.
std::optional<EquipmentLimitViolation> CheckEquipmentGeometry(const EquipmentData& equipment);

// CheckEquipmentGeometry, then the measured quantities: couch transmission above 0 and at most
// 1, soft-tissue thickness 0 or more, calibration constant above 0; all finite.
std::optional<EquipmentLimitViolation> CheckEquipmentLimits(const EquipmentData& equipment);

// "焦点-アイソセンター間距離 12 cm は範囲外です（15 cm より大きい値）" (UTF-8).
std::string DescribeViolation(const EquipmentLimitViolation& violation);

}  // namespace ordevo
