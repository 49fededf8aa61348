#include "equipment_limits.h"

#include <cmath>
#include <sstream>

#include "units.h"

namespace ordevo {

namespace {

const char* UnitOf(EquipmentField field) {
    switch (field) {
    case EquipmentField::FocusReceptorDistance:
    case EquipmentField::FocusIsocentreDistance:
    case EquipmentField::CouchSoftTissueThickness: return " cm";
    case EquipmentField::TargetAngle: return " 度";
    case EquipmentField::InherentFiltration:
    case EquipmentField::AddedAluminium:
    case EquipmentField::AddedCopper:
    case EquipmentField::OtherFilterThickness: return " mm";
    case EquipmentField::CouchTransmission:
    case EquipmentField::CalibrationConstant: return "";
    }
    return "";
}

// 15 significant digits: the value as the file wrote it, without the noise of mm → cm → mm.
std::string Number(double value) {
    std::ostringstream text;
    text.precision(15);
    text << value;
    return text.str();
}

}  // namespace

const char* EquipmentFieldName(EquipmentField field) {
    switch (field) {
    case EquipmentField::FocusReceptorDistance: return "焦点-受像器間距離";
    case EquipmentField::FocusIsocentreDistance: return "焦点-アイソセンター間距離";
    case EquipmentField::TargetAngle: return "Ｘ線管ターゲット角度";
    case EquipmentField::InherentFiltration: return "固有フィルタ (Al 当量)";
    case EquipmentField::AddedAluminium: return "付加フィルタ (アルミ)";
    case EquipmentField::AddedCopper: return "付加フィルタ（銅）";
    case EquipmentField::OtherFilterThickness: return "任意フィルタの厚さ";
    case EquipmentField::CouchTransmission: return "天板透過率";
    case EquipmentField::CouchSoftTissueThickness: return "天板の軟部組織等価厚";
    case EquipmentField::CalibrationConstant: return "校正定数";
    }
    return "";
}

std::optional<EquipmentLimitViolation> CheckEquipmentGeometry(const EquipmentData& e) {
    using F = EquipmentField;
    auto finite = [](double v) { return std::isfinite(v); };
    // The field is projected from the reference point, so the focus–isocentre distance must
    // exceed its offset.
    if (!finite(e.FocusIsocentreDistance) || !(e.FocusIsocentreDistance > kReferencePointOffsetCm))
        return EquipmentLimitViolation{F::FocusIsocentreDistance, e.FocusIsocentreDistance,
                                       "15 cm より大きい有限の値"};
    if (!finite(e.FocusReceptorDistance) || !(e.FocusReceptorDistance > e.FocusIsocentreDistance))
        return EquipmentLimitViolation{F::FocusReceptorDistance, e.FocusReceptorDistance,
                                       "焦点-アイソセンター間距離 " +
                                           Number(e.FocusIsocentreDistance) +
                                           " cm より大きい有限の値"};
    if (!finite(e.TargetAngle) || !(e.TargetAngle > 0.0 && e.TargetAngle < 90.0))
        return EquipmentLimitViolation{F::TargetAngle, e.TargetAngle, "0 度より大きく 90 度未満"};
    const struct {
        F field;
        double cm;
    } filters[] = {{F::InherentFiltration, e.InherentFiltration},
                   {F::AddedAluminium, e.AddedAluminium},
                   {F::AddedCopper, e.AddedCopper},
                   {F::OtherFilterThickness, e.OtherFilterThickness}};
    for (const auto& filter : filters) {
        if (!finite(filter.cm) || !(filter.cm >= 0.0))
            return EquipmentLimitViolation{filter.field, kMillimetresPerCentimetre * filter.cm,
                                           "0 mm 以上の有限の値"};
    }
    return std::nullopt;
}

std::optional<EquipmentLimitViolation> CheckEquipmentLimits(const EquipmentData& e) {
    using F = EquipmentField;
    if (auto violation = CheckEquipmentGeometry(e)) return violation;
    if (!std::isfinite(e.CouchTransmission) ||
        !(e.CouchTransmission > 0.0 && e.CouchTransmission <= 1.0))
        return EquipmentLimitViolation{F::CouchTransmission, e.CouchTransmission,
                                       "0 より大きく 1 以下"};
    if (!std::isfinite(e.CouchSoftTissueThickness) || !(e.CouchSoftTissueThickness >= 0.0))
        return EquipmentLimitViolation{F::CouchSoftTissueThickness, e.CouchSoftTissueThickness,
                                       "0 cm 以上の有限の値"};
    if (!std::isfinite(e.CalibrationConstant) || !(e.CalibrationConstant > 0.0))
        return EquipmentLimitViolation{F::CalibrationConstant, e.CalibrationConstant,
                                       "0 より大きい有限の値"};
    return std::nullopt;
}

std::string DescribeViolation(const EquipmentLimitViolation& v) {
    return std::string(EquipmentFieldName(v.Field)) + " " + Number(v.Value) + UnitOf(v.Field) +
           " は範囲外です（" + v.Limit + "）";
}

}  // namespace ordevo
