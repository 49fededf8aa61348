#include "couch.h"

#include <cmath>
#include <string>

#include "checked_arithmetic.h"
#include "equipment_limits.h"
#include "spectrum.h"
#include "tube_voltage.h"
#include "units.h"

namespace ordevo {

namespace {

using detail::Describe;

// Soft-tissue transmission table: 0.1 cm steps up to 10 cm.
constexpr double kThicknessStepCm = 0.1;
constexpr int kThicknessSteps = 100;

[[noreturn]] void Refuse(CouchInputProblem problem, const std::string& detail) {
    throw CouchInputError(problem, detail);
}

void ValidateBeam(const EquipmentData& equipment, double typicalTubeVoltageKv) {
    // The spectrum needs at least its 1 keV bin, so the voltage must reach 1 kV.
    if (!(typicalTubeVoltageKv >= 1.0 && typicalTubeVoltageKv <= kMaxTubeVoltageKv))
        Refuse(CouchInputProblem::TypicalTubeVoltage, "通常使用する代表的な管電圧 " +
                                                          Describe(typicalTubeVoltageKv) +
                                                          " kV は範囲外です（1〜150 kV）");
    if (!(equipment.TargetAngle > 0.0 && equipment.TargetAngle < 90.0))
        Refuse(CouchInputProblem::TargetAngle, "Ｘ線管ターゲット角度 " +
                                                   Describe(equipment.TargetAngle) +
                                                   " 度は範囲外です（0 度より大きく 90 度未満）");
}

}  // namespace

const char* MessageFor(CouchInputProblem problem) {
    switch (problem) {
    case CouchInputProblem::AirKermaWithoutCouch:
        return " 天板なしの実測空気カーマを正しく入力して下さい ";
    case CouchInputProblem::DisplayedReferenceAirKerma: return " 装置表示値を正しく入力して下さい ";
    case CouchInputProblem::FocusIsocentreDistance:
        return " 焦点-アイソセンター間距離を正しく入力して下さい（15 cm より大きい値） ";
    case CouchInputProblem::TypicalTubeVoltage:
        return " 通常使用する代表的な管電圧を正しく入力して下さい ";
    case CouchInputProblem::TransmissionAboveOne:
        return " 天板透過率が 1 を超えています。実測値を確かめて下さい ";
    case CouchInputProblem::TransmissionBeyondTable:
        return " 天板透過率が小さすぎます（軟部組織 10 cm を超える減弱）。実測値を確かめて下さい ";
    case CouchInputProblem::TargetAngle:
        return " Ｘ線管ターゲット角度を正しく入力して下さい（0 度より大きく 90 度未満） ";
    case CouchInputProblem::BeamFullyAbsorbed:
        return " フィルタでＸ線がすべて吸収されます。フィルタの厚さを確かめて下さい ";
    case CouchInputProblem::AirKermaWithCouch:
        return " 天板ありの実測空気カーマを正しく入力して下さい ";
    case CouchInputProblem::FocusReceptorDistance:
        return " 焦点-受像器間距離を正しく入力して下さい（焦点-アイソセンター間距離より大きい値） ";
    case CouchInputProblem::InherentFiltration:
        return " 固有フィルタ (Al 当量) を正しく入力して下さい（0 以上） ";
    case CouchInputProblem::AddedAluminium:
        return " 付加フィルタ (アルミ) を正しく入力して下さい（0 以上） ";
    case CouchInputProblem::AddedCopper:
        return " 付加フィルタ（ 銅 ）を正しく入力して下さい（0 以上） ";
    case CouchInputProblem::OtherFilterThickness:
        return " 任意フィルタの厚さを正しく選んで下さい（0 以上） ";
    case CouchInputProblem::CalibrationConstant:
        return " 校正定数を計算できません。実測空気カーマと装置表示値を確かめて下さい ";
    }
    return "";
}

std::string CouchFailureMessage(const CouchInputError& error) {
    return std::string(MessageFor(error.problem())) + "\n" + error.what();
}

double ComputeCouchSoftTissueThickness(const AttenuationTable& table,
                                       const EquipmentData& equipment, double typicalTubeVoltageKv,
                                       double couchTransmission) {
    ValidateBeam(equipment, typicalTubeVoltageKv);
    if (!(couchTransmission <= 1.0))
        Refuse(CouchInputProblem::TransmissionAboveOne,
               "天板透過率 " + Describe(couchTransmission) + " が 1 を超えています");

    // Air-kerma spectrum of the typical beam alone, normalised over bins 1..2V.
    const TubeVoltageRange fixed{typicalTubeVoltageKv, typicalTubeVoltageKv,
                                 TubeVoltageWeighting::Equal};
    SpectrumResult spectrum;
    try {
        spectrum = ComputeSpectrum(table, equipment, fixed);
    } catch (const CalculationError& error) {
        Refuse(CouchInputProblem::BeamFullyAbsorbed, error.what());
    }
    const int lastBin =
        detail::FloorToInt(2.0 * typicalTubeVoltageKv, "スペクトルの最後のエネルギー区間");
    BinArray kerma{};
    double sum = 0.0;
    for (int i = 1; i <= lastBin; ++i) sum += spectrum.AirKermaSpectrum[i];
    if (!(sum > 0.0) || !std::isfinite(sum))
        Refuse(CouchInputProblem::BeamFullyAbsorbed, "管電圧 " + Describe(typicalTubeVoltageKv) +
                                                         " kV の空気カーマスペクトルの合計が " +
                                                         Describe(sum) + " です");
    double kermaTotal = 0.0;
    for (int i = 1; i <= lastBin; ++i) {
        kerma[i] = spectrum.AirKermaSpectrum[i] / sum;
        kermaTotal += kerma[i];
    }

    // Fraction of the air kerma transmitted through n steps of soft tissue.
    const BinArray& mu = table.TissueAttenuation;
    auto transmission = [&](int n) {
        double transmitted = 0.0;
        for (int i = 1; i <= lastBin; ++i)
            transmitted += kerma[i] * std::exp(-mu[i] * (n * kThicknessStepCm));
        return transmitted / kermaTotal;
    };

    int n = 0;
    double previous = 0.0;
    double current = transmission(0);
    while (current >= couchTransmission) {
        ++n;
        if (n > kThicknessSteps)
            Refuse(CouchInputProblem::TransmissionBeyondTable,
                   "天板透過率 " + Describe(couchTransmission) + " は軟部組織 10 cm の透過率 " +
                       Describe(current) + " 以下です");
        previous = current;
        current = transmission(n);
    }
    // T(0) is exactly 1 (the same sum divided by itself), so a transmission ≤ 1 always steps
    // at least once, and previous ≥ transmission > current: the interval is never empty.
    return (n - 1) * kThicknessStepCm +
           kThicknessStepCm * (couchTransmission - previous) / (current - previous);
}

CouchCalibration ComputeCouchCalibration(const AttenuationTable& table,
                                         const EquipmentData& equipment,
                                         const CouchMeasurement& measurement) {
    const double without = measurement.AirKermaWithoutCouchMGy;
    const double with = measurement.AirKermaWithCouchMGy;
    const double displayed = measurement.DisplayedReferenceAirKermaMGy;
    const double fad = measurement.FocusIsocentreDistanceCm;
    if (!(without > 0.0) || !std::isfinite(without))
        Refuse(CouchInputProblem::AirKermaWithoutCouch,
               "天板なしの実測空気カーマ " + Describe(without) +
                   " mGy は正の有限の数でなければなりません");
    if (!(with > 0.0) || !std::isfinite(with))
        Refuse(CouchInputProblem::AirKermaWithCouch, "天板ありの実測空気カーマ " + Describe(with) +
                                                         " mGy は正の有限の数でなければなりません");
    if (!(displayed > 0.0) || !std::isfinite(displayed))
        Refuse(CouchInputProblem::DisplayedReferenceAirKerma,
               "装置表示値 " + Describe(displayed) + " mGy は正の有限の数でなければなりません");
    if (!(fad > kReferencePointOffsetCm) || !std::isfinite(fad))
        Refuse(CouchInputProblem::FocusIsocentreDistance,
               "焦点-アイソセンター間距離 " + Describe(fad) +
                   " cm は 15 cm より大きくなければなりません");
    // The record "OK" will store must keep the limits every equipment file is read against.
    EquipmentData stored = equipment;
    stored.FocusIsocentreDistance = fad;
    if (const auto violation = CheckEquipmentGeometry(stored)) {
        CouchInputProblem problem = CouchInputProblem::TargetAngle;
        switch (violation->Field) {
        case EquipmentField::FocusReceptorDistance:
            problem = CouchInputProblem::FocusReceptorDistance;
            break;
        case EquipmentField::FocusIsocentreDistance:
            problem = CouchInputProblem::FocusIsocentreDistance;
            break;
        case EquipmentField::InherentFiltration:
            problem = CouchInputProblem::InherentFiltration;
            break;
        case EquipmentField::AddedAluminium: problem = CouchInputProblem::AddedAluminium; break;
        case EquipmentField::AddedCopper: problem = CouchInputProblem::AddedCopper; break;
        case EquipmentField::OtherFilterThickness:
            problem = CouchInputProblem::OtherFilterThickness;
            break;
        default: break;
        }
        Refuse(problem, DescribeViolation(*violation));
    }
    ValidateBeam(equipment, measurement.TypicalTubeVoltageKv);

    CouchCalibration result;
    result.CouchTransmission = with / without;
    if (!(result.CouchTransmission <= 1.0))
        Refuse(CouchInputProblem::TransmissionAboveOne,
               "天板透過率 " + Describe(result.CouchTransmission) + " が 1 を超えています");
    // The isocentre reading carried by the inverse square to the reference point, 15 cm nearer the
    // focus.
    const double toReferencePoint = fad / ReferencePointDistanceOf(fad);
    result.CalibrationConstant = (without / displayed) * (toReferencePoint * toReferencePoint);
    if (!(result.CalibrationConstant > 0.0) || !std::isfinite(result.CalibrationConstant))
        Refuse(CouchInputProblem::CalibrationConstant,
               "校正定数 " + Describe(result.CalibrationConstant) + " が正の有限の数になりません");
    result.CouchSoftTissueThickness = ComputeCouchSoftTissueThickness(
        table, equipment, measurement.TypicalTubeVoltageKv, result.CouchTransmission);
    return result;
}

}  // namespace ordevo
