#include "couch.h"

#include <cmath>
#include <vector>

#include "checked_arithmetic.h"
#include "equipment_limits.h"
#include "spectrum.h"
#include "tube_voltage.h"
#include "units.h"

namespace ordevo {

namespace {

using P = CalculationProblem;

// Soft-tissue transmission table: 0.1 cm steps up to 10 cm.
constexpr double kThicknessStepCm = 0.1;
constexpr int kThicknessSteps = 100;

[[noreturn]] void Refuse(CouchInputProblem problem, CalculationProblem reason,
                         std::vector<double> values) {
    throw CouchInputError(problem,
                          CalculationFailure{reason, CalculatedQuantity::None, std::move(values)});
}

void ValidateBeam(const EquipmentData& equipment, double typicalTubeVoltageKv) {
    // The spectrum needs at least its 1 keV bin, so the voltage must reach 1 kV.
    if (!(typicalTubeVoltageKv >= 1.0 && typicalTubeVoltageKv <= kMaxTubeVoltageKv))
        Refuse(CouchInputProblem::TypicalTubeVoltage, P::CouchTypicalTubeVoltageOutsideRange,
               {typicalTubeVoltageKv});
    if (!(equipment.TargetAngle > 0.0 && equipment.TargetAngle < 90.0))
        Refuse(CouchInputProblem::TargetAngle, P::CouchTargetAngleOutsideRange,
               {equipment.TargetAngle});
}

}  // namespace

double ComputeCouchSoftTissueThickness(const AttenuationTable& table,
                                       const EquipmentData& equipment, double typicalTubeVoltageKv,
                                       double couchTransmission) {
    ValidateBeam(equipment, typicalTubeVoltageKv);
    if (!(couchTransmission <= 1.0))
        Refuse(CouchInputProblem::TransmissionAboveOne, P::CouchTransmissionAboveOne,
               {couchTransmission});

    // Air-kerma spectrum of the typical beam alone, normalised over bins 1..2V.
    const TubeVoltageRange fixed{typicalTubeVoltageKv, typicalTubeVoltageKv,
                                 TubeVoltageWeighting::Equal};
    SpectrumResult spectrum;
    try {
        spectrum = ComputeSpectrum(table, equipment, fixed);
    } catch (const CalculationError& error) {
        throw CouchInputError(CouchInputProblem::BeamFullyAbsorbed, error.Failure());
    }
    const int lastBin =
        detail::FloorToInt(2.0 * typicalTubeVoltageKv, CalculatedQuantity::SpectrumLastBin);
    BinArray kerma{};
    double sum = 0.0;
    for (int i = 1; i <= lastBin; ++i) sum += spectrum.AirKermaSpectrum[i];
    if (!(sum > 0.0) || !std::isfinite(sum))
        Refuse(CouchInputProblem::BeamFullyAbsorbed, P::CouchAirKermaSpectrumUnusable,
               {typicalTubeVoltageKv, sum});
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
            Refuse(CouchInputProblem::TransmissionBeyondTable, P::CouchTransmissionBeyondTable,
                   {couchTransmission, current});
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
        Refuse(CouchInputProblem::AirKermaWithoutCouch, P::CouchAirKermaWithoutCouchUnusable,
               {without});
    if (!(with > 0.0) || !std::isfinite(with))
        Refuse(CouchInputProblem::AirKermaWithCouch, P::CouchAirKermaWithCouchUnusable, {with});
    if (!(displayed > 0.0) || !std::isfinite(displayed))
        Refuse(CouchInputProblem::DisplayedReferenceAirKerma, P::CouchDisplayedAirKermaUnusable,
               {displayed});
    if (!(fad > kReferencePointOffsetCm) || !std::isfinite(fad))
        Refuse(CouchInputProblem::FocusIsocentreDistance, P::CouchFocusIsocentreDistanceTooShort,
               {fad});
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
        throw CouchInputError(problem, *violation);
    }
    ValidateBeam(equipment, measurement.TypicalTubeVoltageKv);

    CouchCalibration result;
    result.CouchTransmission = with / without;
    if (!(result.CouchTransmission <= 1.0))
        Refuse(CouchInputProblem::TransmissionAboveOne, P::CouchTransmissionAboveOne,
               {result.CouchTransmission});
    // The isocentre reading carried by the inverse square to the reference point, 15 cm nearer the
    // focus.
    const double toReferencePoint = fad / ReferencePointDistanceOf(fad);
    result.CalibrationConstant = (without / displayed) * (toReferencePoint * toReferencePoint);
    if (!(result.CalibrationConstant >= kCalibrationConstantMin &&
          result.CalibrationConstant <= kCalibrationConstantMax))
        Refuse(CouchInputProblem::CalibrationConstant, P::CouchCalibrationConstantUnusable,
               {result.CalibrationConstant});
    result.CouchSoftTissueThickness = ComputeCouchSoftTissueThickness(
        table, equipment, measurement.TypicalTubeVoltageKv, result.CouchTransmission);
    return result;
}

}  // namespace ordevo
