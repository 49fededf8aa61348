#include "dose_evaluation.h"

#include <cmath>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "backscatter.h"
#include "calculation_error.h"
#include "checked_arithmetic.h"
#include "units.h"

namespace ordevo {

namespace {

using Q = CalculatedQuantity;

// Ends the evaluation with an outcome and the reason of the exception being handled; the
// results of the steps before stay as they are.
DoseEvaluation& Fail(DoseEvaluation& evaluation, EvaluationOutcome outcome) {
    evaluation.Outcome = outcome;
    try {
        throw;
    } catch (const CalculationError& error) {
        evaluation.Failure = error.Failure();
    } catch (const std::exception& error) {
        evaluation.CallerFailureText = error.what();
    } catch (...) {
        evaluation.Failure.Problem = CalculationProblem::Unknown;
    }
    return evaluation;
}

// A step's results must be finite and not negative: a value that is not is a failure of that
// step, never a shown result. The reason names the quantity and its value.
void RequireUsable(EvaluationStep step, const DoseEvaluation& ev) {
    const CaseConditions& cc = ev.Conditions;
    const DoseResult& r = ev.Result;
    struct Result {
        CalculatedQuantity quantity;
        double value;
    };
    std::vector<Result> results;
    switch (step) {
    case EvaluationStep::Corrections:
        results = {{Q::CorrectedReferenceAirKerma, r.CorrectedReferenceAirKerma},
                   {Q::CorrectedKermaAreaProduct, r.CorrectedKermaAreaProduct},
                   {Q::CouchTransmission, r.CouchTransmission},
                   {Q::EntranceAirKerma, r.EntranceAirKerma},
                   {Q::PhantomSurfaceDistance, cc.PhantomSurfaceDistance},
                   {Q::SurfaceFieldSize, cc.SurfaceFieldSize}};
        break;
    case EvaluationStep::Spectrum:
        results = {{Q::TissueToAirDoseRatio, r.TissueToAirDoseRatio}};
        break;
    case EvaluationStep::Backscatter:
        results = {{Q::BackscatterFactor, r.BackscatterFactor}};
        break;
    case EvaluationStep::DepthDose: results = {{Q::DepthDoseFactor, r.DepthDoseFactor}}; break;
    case EvaluationStep::SkinDose:
        results = {{Q::SkinDoseMGy, r.SkinDose}, {Q::ScatterFactor, r.ScatterFactor}};
        break;
    case EvaluationStep::None: break;
    }
    for (const Result& result : results) {
        if (!std::isfinite(result.value) || !(result.value >= 0.0))
            detail::Fail(CalculationProblem::StepResultUnusable, result.quantity, {result.value});
    }
}

// d_ref: the focus–reference-point distance, where Ka,r and the field size are given. Empty
// when the geometry cannot give one (the reason goes to the evaluation's failure).
std::optional<double> ReferenceDistanceOf(const DoseCase& in, CalculationFailure& why) {
    double distance = in.ReferencePointDistanceCm;
    if (distance == 0.0) {
        const double fad = in.Equipment.FocusIsocentreDistance;
        if (!(fad > kReferencePointOffsetCm)) {
            why = {CalculationProblem::FocusIsocentreDistanceTooShort, Q::None, {fad}};
            return std::nullopt;
        }
        distance = ReferencePointDistanceOf(fad);
    }
    if (!(distance > 0.0) || !std::isfinite(distance)) {
        why = {CalculationProblem::ReferencePointDistanceUnusable, Q::None, {distance}};
        return std::nullopt;
    }
    return distance;
}

// The corrected doses, the primary air kerma at the skin and the geometry of the phantom.
void ApplyCorrections(const DoseCase& in, double referenceDistance, CaseConditions& cc,
                      DoseResult& r) {
    const EquipmentData& eq = in.Equipment;
    cc.FocusSkinDistance = in.FocusSkinDistanceCm;
    cc.Shape = in.Shape;
    cc.ReferenceFieldSize = in.ReferenceFieldSizeCm;
    cc.ReferenceAirKerma = in.ReferenceAirKermaMGy;
    cc.KermaAreaProduct = in.KermaAreaProductGyCm2;
    cc.ReferencePointDistance = referenceDistance;
    r.CorrectedReferenceAirKerma = eq.CalibrationConstant * in.ReferenceAirKermaMGy;
    r.CorrectedKermaAreaProduct = eq.CalibrationConstant * in.KermaAreaProductGyCm2;
    r.CouchTransmission = eq.CouchTransmission;
    // The couch counts as soft tissue on the skin: the phantom surface is t nearer the focus.
    cc.PhantomSurfaceDistance = cc.FocusSkinDistance - eq.CouchSoftTissueThickness;
    cc.SurfaceFieldSize = cc.ReferenceFieldSize * cc.PhantomSurfaceDistance / referenceDistance;
    // Ka,r is carried from the reference point to the skin by the inverse square law; the
    // couch then takes its primary transmission T.
    const double toSkin =
        detail::Divide(referenceDistance, cc.FocusSkinDistance, Q::InverseSquareFocusSkin);
    r.EntranceAirKerma = eq.CouchTransmission * r.CorrectedReferenceAirKerma * toSkin * toSkin;
}

// The skin dose and the scatter factor from the factors of the earlier steps.
void CombineIntoSkinDose(const CaseConditions& cc, DoseResult& r) {
    // The phantom surface lies in front of the couch layer: the air kerma there is the
    // unattenuated one carried from the reference point. The couch's attenuation, its
    // build-up and the fall-off to the skin are all in F, so T is not applied again.
    const double toPhantom = detail::Divide(cc.ReferencePointDistance, cc.PhantomSurfaceDistance,
                                            Q::InverseSquarePhantomSurface);
    const double primaryDose = r.BackscatterFactor * r.TissueToAirDoseRatio * toPhantom *
                               toPhantom * r.CorrectedReferenceAirKerma;
    r.SkinDose = r.DepthDoseFactor * primaryDose;
    detail::RequireFinite(r.SkinDose, Q::SkinDose);
    r.ScatterFactor = detail::Divide(r.SkinDose, r.TissueToAirDoseRatio * r.EntranceAirKerma,
                                     Q::ScatterFactorEntranceKerma);
    detail::RequireFinite(r.ScatterFactor, Q::ScatterFactor);
}

}  // namespace

DoseEvaluation EvaluateDose(const ReferenceData& ref, const DoseCase& in,
                            const ScatterKernelLoader& loadKernel,
                            const EvaluationObserver& observer,
                            const SpectrumSource& spectrumSource,
                            const DepthDoseSource& depthDoseSource) {
    DoseEvaluation ev;
    CaseConditions& cc = ev.Conditions;
    DoseResult& r = ev.Result;
    const EquipmentData& eq = in.Equipment;

    const std::optional<double> referenceDistance = ReferenceDistanceOf(in, ev.Failure);
    if (!referenceDistance) {
        ev.Outcome = EvaluationOutcome::CalculationFailed;
        return ev;
    }
    auto report = [&](EvaluationStep step) {
        RequireUsable(step, ev);
        ev.ReachedStep = step;
        if (observer) observer(step, ev);
    };

    try {
        ApplyCorrections(in, *referenceDistance, cc, r);
        report(EvaluationStep::Corrections);

        ev.Spectrum = spectrumSource ? spectrumSource(ref.Attenuation, eq, in.Voltage)
                                     : ComputeSpectrum(ref.Attenuation, eq, in.Voltage);
        r.TissueToAirDoseRatio = ev.Spectrum.TissueToAirDoseRatio;
        cc.TubeVoltage = ev.Spectrum.TubeVoltage;
        report(EvaluationStep::Spectrum);

        r.BackscatterFactor = ComputeBackscatterFactor(
            ref, BackscatterInputs{.tubeVoltageKv = cc.TubeVoltage,
                                   .spectrum = &ev.Spectrum.XraySpectrum,
                                   .phantomSurfaceDistanceCm = cc.PhantomSurfaceDistance,
                                   .fieldSizeCm = cc.SurfaceFieldSize,
                                   .shape = cc.Shape});
        report(EvaluationStep::Backscatter);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::CalculationFailed);
    }

    try {
        const DepthDoseInputs depthDose{.tubeVoltageHighKv = in.Voltage.TubeVoltageHigh,
                                        .spectrum = &ev.Spectrum.XraySpectrum,
                                        .phantomSurfaceDistanceCm = cc.PhantomSurfaceDistance,
                                        .fieldSizeCm = cc.SurfaceFieldSize,
                                        .shape = cc.Shape,
                                        .couchThicknessCm = eq.CouchSoftTissueThickness};
        r.DepthDoseFactor = depthDoseSource ? depthDoseSource(depthDose)
                                            : ComputeDepthDoseFactor(ref, depthDose, loadKernel);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::DepthDoseFailed);
    }

    try {
        report(EvaluationStep::DepthDose);
        CombineIntoSkinDose(cc, r);
        report(EvaluationStep::SkinDose);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::CalculationFailed);
    }
    return ev;
}

}  // namespace ordevo
