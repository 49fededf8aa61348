#include "equipment_limits.h"

#include <cmath>

#include "units.h"

namespace ordevo {

std::optional<EquipmentLimitViolation> CheckEquipmentGeometry(const EquipmentData& e) {
    using F = EquipmentField;
    auto finite = [](double v) { return std::isfinite(v); };
    // The field is projected from the reference point, so the focus–isocentre distance must
    // exceed its offset.
    if (!finite(e.FocusIsocentreDistance) || !(e.FocusIsocentreDistance > kReferencePointOffsetCm))
        return EquipmentLimitViolation{F::FocusIsocentreDistance, e.FocusIsocentreDistance};
    if (!finite(e.FocusReceptorDistance) || !(e.FocusReceptorDistance > e.FocusIsocentreDistance))
        return EquipmentLimitViolation{F::FocusReceptorDistance, e.FocusReceptorDistance,
                                       e.FocusIsocentreDistance};
    if (!finite(e.TargetAngle) || !(e.TargetAngle > 0.0 && e.TargetAngle < 90.0))
        return EquipmentLimitViolation{F::TargetAngle, e.TargetAngle};
    const struct {
        F field;
        double cm;
    } filters[] = {{F::InherentFiltration, e.InherentFiltration},
                   {F::AddedAluminium, e.AddedAluminium},
                   {F::AddedCopper, e.AddedCopper},
                   {F::OtherFilterThickness, e.OtherFilterThickness}};
    for (const auto& filter : filters) {
        if (!finite(filter.cm) || !(filter.cm >= 0.0))
            return EquipmentLimitViolation{filter.field, kMillimetresPerCentimetre * filter.cm};
    }
    return std::nullopt;
}

std::optional<EquipmentLimitViolation> CheckEquipmentLimits(const EquipmentData& e) {
    using F = EquipmentField;
    if (auto violation = CheckEquipmentGeometry(e)) return violation;
    if (!std::isfinite(e.CouchTransmission) ||
        !(e.CouchTransmission > 0.0 && e.CouchTransmission <= 1.0))
        return EquipmentLimitViolation{F::CouchTransmission, e.CouchTransmission};
    if (!std::isfinite(e.CouchSoftTissueThickness) || !(e.CouchSoftTissueThickness >= 0.0))
        return EquipmentLimitViolation{F::CouchSoftTissueThickness, e.CouchSoftTissueThickness};
    if (!std::isfinite(e.CalibrationConstant) ||
        !(e.CalibrationConstant >= kCalibrationConstantMin &&
          e.CalibrationConstant <= kCalibrationConstantMax))
        return EquipmentLimitViolation{F::CalibrationConstant, e.CalibrationConstant};
    return std::nullopt;
}

}  // namespace ordevo
