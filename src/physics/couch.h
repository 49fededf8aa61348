// Couch transmission, calibration constant and the couch's soft-tissue-equivalent thickness,
// derived from one measurement at the equipment's typical tube voltage.
#pragma once

#include <optional>

#include "calculation_error.h"
#include "equipment_data.h"
#include "equipment_limits.h"
#include "reference_data.h"

namespace ordevo {

struct CouchMeasurement {
    double TypicalTubeVoltageKv = 0;
    double AirKermaWithoutCouchMGy = 0;        // at the isocentre, reference dosimeter
    double AirKermaWithCouchMGy = 0;           // at the isocentre, reference dosimeter
    double DisplayedReferenceAirKermaMGy = 0;  // Ka,r shown by the equipment
    double FocusIsocentreDistanceCm = 0;
};

struct CouchCalibration {
    double CouchTransmission = 0;
    double CalibrationConstant = 0;
    double CouchSoftTissueThickness = 0;  // cm
};

// Which input makes the computation impossible; the editor names the box to correct.
enum class CouchInputProblem : int {
    AirKermaWithoutCouch,        // zero or negative
    DisplayedReferenceAirKerma,  // zero or negative
    FocusIsocentreDistance,      // 15 cm or less
    TypicalTubeVoltage,          // empty, not positive or above 150 kV
    TransmissionAboveOne,
    TransmissionBeyondTable,  // below what 10 cm of soft tissue transmits
    TargetAngle,              // not between 0 and 90 degrees: the spectrum has no meaning
    BeamFullyAbsorbed,        // the filtration lets no air kerma through at that voltage
    AirKermaWithCouch,        // zero, negative or not a number
    FocusReceptorDistance,    // not beyond the focus–isocentre distance
    InherentFiltration,       // negative
    AddedAluminium,           // negative
    AddedCopper,              // negative
    OtherFilterThickness,     // negative (chosen in the filter window)
    CalibrationConstant,      // the measured and displayed values give no finite constant
};
inline constexpr CouchInputProblem kLastCouchInputProblem = CouchInputProblem::CalibrationConstant;

// The problem names the box; the reason is the failure (value and limit) or, for a value outside
// an equipment record's limits, the violation.
class CouchInputError : public CalculationError {
public:
    CouchInputError(CouchInputProblem problem, CalculationFailure reason)
        : CalculationError(std::move(reason)), problem_(problem) {}
    CouchInputError(CouchInputProblem problem, EquipmentLimitViolation violation)
        : CalculationError(CalculationFailure{}), problem_(problem), violation_(violation) {}
    CouchInputProblem problem() const { return problem_; }
    const std::optional<EquipmentLimitViolation>& Violation() const { return violation_; }

private:
    CouchInputProblem problem_;
    std::optional<EquipmentLimitViolation> violation_;
};

// Validates first (the measurements, then the equipment's geometry and filtration against
// CheckEquipmentGeometry), then computes; a result that is not finite and positive is refused
// too. The spectrum runs at the typical voltage alone, with the equipment's angle, filtration
// and (flag 1) other filter. Throws CouchInputError.
CouchCalibration ComputeCouchCalibration(const AttenuationTable& table,
                                         const EquipmentData& equipment,
                                         const CouchMeasurement& measurement);

// The soft-tissue thickness with the given primary transmission for that beam, searched in
// 0.1 cm steps up to 10 cm and interpolated linearly. Throws CouchInputError.
double ComputeCouchSoftTissueThickness(const AttenuationTable& table,
                                       const EquipmentData& equipment, double typicalTubeVoltageKv,
                                       double couchTransmission);

}  // namespace ordevo
