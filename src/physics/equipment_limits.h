// The limits every equipment record keeps: the editor's "OK" refuses values outside them, and a
// file holding such a value is refused when it is read, so no evaluation ever starts from them.
#pragma once

#include <optional>

#include "equipment_data.h"

namespace ordevo {

// The fields of a record that carry a limit, in the order of the file's lines. Each field has one
// limit; where failures are shown it is put in words with the field's name.
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

// The range of a calibration constant (measured / displayed air kerma). Dosimeters and the
// devices' own displays agree to a few tens of percent; a constant outside 0.2–5 means a reading
// off by a unit or a decimal (99999 gave 1.27e7 mGy), not a real calibration.
inline constexpr double kCalibrationConstantMin = 0.2;
inline constexpr double kCalibrationConstantMax = 5.0;

struct EquipmentLimitViolation {
    EquipmentField Field;
    double Value;  // in the unit the user sees (mm for filtrations)
    // The focus–isocentre distance (cm) that a focus–receptor distance must exceed; else 0.
    double Bound = 0;
};

// The geometry and filtration an editor's "OK" takes from its boxes: distances (FAD above
// 15 cm, the focus–receptor distance beyond the focus–isocentre distance), a target angle
// strictly between 0 and 90 degrees, filtrations and the other filter's thickness 0 or more;
// every value finite. The first violation (the focus–isocentre distance before the
// focus–receptor distance that is compared with it), or nothing.
std::optional<EquipmentLimitViolation> CheckEquipmentGeometry(const EquipmentData& equipment);

// CheckEquipmentGeometry, then the measured quantities: couch transmission above 0 and at most
// 1, soft-tissue thickness 0 or more, calibration constant within 0.2–5; all finite.
std::optional<EquipmentLimitViolation> CheckEquipmentLimits(const EquipmentData& equipment);

}  // namespace ordevo
