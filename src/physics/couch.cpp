#include "couch.h"

#include <cmath>
#include <string>

#include "checked_arithmetic.h"
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
        Refuse(CouchInputProblem::TypicalTubeVoltage,
               "typical tube voltage " + Describe(typicalTubeVoltageKv) + " kV is outside 1..150 kV");
    if (!(equipment.TargetAngle > 0.0 && equipment.TargetAngle < 90.0))
        Refuse(CouchInputProblem::TargetAngle,
               "target angle " + Describe(equipment.TargetAngle) + " degrees is outside 0..90");
}

}  // namespace

const char* MessageFor(CouchInputProblem problem) {
    switch (problem) {
    case CouchInputProblem::AirKermaWithoutCouch:
        return " 天板なしの実測空気カーマを正しく入力して下さい ";
    case CouchInputProblem::DisplayedReferenceAirKerma:
        return " 装置表示値を正しく入力して下さい ";
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
    }
    return "";
}

double ComputeCouchSoftTissueThickness(const AttenuationTable& table,
                                       const EquipmentData& equipment,
                                       double typicalTubeVoltageKv, double couchTransmission) {
    ValidateBeam(equipment, typicalTubeVoltageKv);
    if (!(couchTransmission <= 1.0))
        Refuse(CouchInputProblem::TransmissionAboveOne,
               "couch transmission " + Describe(couchTransmission) + " is above 1");

    // Air-kerma spectrum of the typical beam alone, normalised over bins 1..2V.
    const TubeVoltageRange fixed{typicalTubeVoltageKv, typicalTubeVoltageKv, TubeVoltageWeighting::Equal};
    SpectrumResult spectrum;
    try {
        spectrum = ComputeSpectrum(table, equipment, fixed);
    } catch (const CalculationError& error) {
        Refuse(CouchInputProblem::BeamFullyAbsorbed, error.what());
    }
    const int lastBin = detail::FloorToInt(2.0 * typicalTubeVoltageKv, "last bin of the spectrum");
    BinArray kerma{};
    double sum = 0.0;
    for (int i = 1; i <= lastBin; ++i) sum += spectrum.AirKermaSpectrum[i];
    if (!(sum > 0.0) || !std::isfinite(sum))
        Refuse(CouchInputProblem::BeamFullyAbsorbed,
               "air-kerma spectrum total " + Describe(sum) + " at " + Describe(typicalTubeVoltageKv) + " kV");
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
                   "couch transmission " + Describe(couchTransmission) + " is at or below " +
                       Describe(current) + ", the transmission of 10 cm of soft tissue");
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
    const double displayed = measurement.DisplayedReferenceAirKermaMGy;
    const double fad = measurement.FocusIsocentreDistanceCm;
    if (!(without > 0.0) || !std::isfinite(without))
        Refuse(CouchInputProblem::AirKermaWithoutCouch,
               "air kerma without couch " + Describe(without) + " mGy is not positive");
    if (!(displayed > 0.0) || !std::isfinite(displayed))
        Refuse(CouchInputProblem::DisplayedReferenceAirKerma,
               "displayed reference air kerma " + Describe(displayed) + " mGy is not positive");
    if (!(fad > kReferencePointOffsetCm) || !std::isfinite(fad))
        Refuse(CouchInputProblem::FocusIsocentreDistance,
               "focus-isocentre distance " + Describe(fad) + " cm is not above 15 cm");
    ValidateBeam(equipment, measurement.TypicalTubeVoltageKv);

    CouchCalibration result;
    result.CouchTransmission = measurement.AirKermaWithCouchMGy / without;
    if (!(result.CouchTransmission <= 1.0))
        Refuse(CouchInputProblem::TransmissionAboveOne,
               "couch transmission " + Describe(result.CouchTransmission) + " is above 1");
    // The isocentre reading carried by the inverse square to the reference point, 15 cm nearer the focus.
    const double toReferencePoint = fad / (fad - kReferencePointOffsetCm);
    result.CalibrationConstant = (without / displayed) * (toReferencePoint * toReferencePoint);
    result.CouchSoftTissueThickness = ComputeCouchSoftTissueThickness(
        table, equipment, measurement.TypicalTubeVoltageKv, result.CouchTransmission);
    return result;
}

}  // namespace ordevo
