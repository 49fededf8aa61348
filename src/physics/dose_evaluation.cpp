#include "dose_evaluation.h"

#include <cmath>
#include <exception>
#include <string>

#include "backscatter.h"
#include "calculation_error.h"
#include "checked_arithmetic.h"

namespace ordevo {

namespace {

// The patient entrance reference point lies this far before the isocentre, cm.
constexpr double kReferencePointOffsetCm = 15.0;

std::string DescribeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown failure";
    }
}

// Ends the evaluation with an outcome; the results of the steps before stay as they are.
DoseEvaluation& Fail(DoseEvaluation& evaluation, EvaluationOutcome outcome) {
    evaluation.Outcome = outcome;
    evaluation.FailureDetail = DescribeCurrentException();
    return evaluation;
}

}  // namespace

const char* MessageFor(EvaluationOutcome outcome) {
    switch (outcome) {
    case EvaluationOutcome::Completed:
        return "";
    case EvaluationOutcome::IncompleteInput:
        return kIncompleteInputMessage;
    case EvaluationOutcome::CalculationFailed:
        return kCalculationFailedMessage;
    case EvaluationOutcome::DepthDoseFailed:
        return kDepthDoseFailedMessage;
    }
    return "";
}

DoseEvaluation EvaluateDose(const ReferenceData& ref, const EvaluationInputs& in,
                            const ScatterKernelLoader& loadKernel,
                            const EvaluationObserver& observer) {
    DoseEvaluation ev;
    CaseConditions& cc = ev.Conditions;
    DoseResult& r = ev.Result;
    const EquipmentData& eq = in.Equipment;

    cc.BodyPart = in.BodyPartText.empty() ? "---" : in.BodyPartText;
    if (in.TubeVoltageTextValue * in.ReferenceAirKermaTextValue * in.KermaAreaProductTextValue *
            in.FocusSkinDistanceTextValue ==
        0.0) {
        ev.Outcome = EvaluationOutcome::IncompleteInput;
        return ev;
    }
    // The field is projected from the reference point, FAD − 15 cm from the focus; without
    // that distance nothing can be computed.
    if (!(eq.FocusIsocentreDistance > kReferencePointOffsetCm)) {
        ev.Outcome = EvaluationOutcome::CalculationFailed;
        ev.FailureDetail = "focus-isocentre distance " + detail::Describe(eq.FocusIsocentreDistance) +
                           " cm is not above 15 cm";
        return ev;
    }

    auto report = [&](EvaluationStep step) {
        ev.ReachedStep = step;
        if (observer) observer(step, ev);
    };

    try {
        // Corrections and geometry.
        cc.TubeVoltageText = in.TubeVoltageText;
        cc.FocusSkinDistance = in.FocusSkinDistanceTextValue;
        cc.Shape = in.Shape;
        cc.ReferenceFieldSize = in.ReferenceFieldSize;
        cc.ReferenceAirKerma = in.ReferenceAirKerma;
        cc.KermaAreaProduct = in.KermaAreaProduct;
        r.CorrectedReferenceAirKerma = eq.CalibrationConstant * in.ReferenceAirKerma;
        r.CorrectedKermaAreaProduct = eq.CalibrationConstant * in.KermaAreaProduct;
        r.CouchTransmission = eq.CouchTransmission;
        r.EntranceAirKerma = eq.CouchTransmission * r.CorrectedReferenceAirKerma;
        // The couch counts as soft tissue on the skin: the phantom surface is t nearer the focus.
        cc.PhantomSurfaceDistance = cc.FocusSkinDistance - eq.CouchSoftTissueThickness;
        cc.SurfaceFieldSize = cc.ReferenceFieldSize * cc.PhantomSurfaceDistance /
                              (eq.FocusIsocentreDistance - kReferencePointOffsetCm);
        report(EvaluationStep::Corrections);

        ev.Spectrum = ComputeSpectrum(ref.Attenuation, eq, in.Voltage);
        r.TissueToAirDoseRatio = ev.Spectrum.TissueToAirDoseRatio;
        cc.TubeVoltage = ev.Spectrum.TubeVoltage;
        report(EvaluationStep::Spectrum);

        r.BackscatterFactor = ComputeBackscatterFactor(
            ref, BackscatterInputs{.tubeVoltageKv = cc.TubeVoltage,
                                   .spectrum = &ev.Spectrum.XraySpectrum,
                                   .phantomSurfaceDistanceCm = cc.PhantomSurfaceDistance,
                                   .fieldSizeCm = cc.SurfaceFieldSize,
                                   .shape = cc.Shape,
                                   .focusReceptorDistanceCm = eq.FocusReceptorDistance});
        report(EvaluationStep::Backscatter);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::CalculationFailed);
    }

    try {
        r.DepthDoseFactor = ComputeDepthDoseFactor(
            ref,
            DepthDoseInputs{.tubeVoltageHighKv = in.Voltage.TubeVoltageHigh,
                            .spectrum = &ev.Spectrum.XraySpectrum,
                            .phantomSurfaceDistanceCm = cc.PhantomSurfaceDistance,
                            .fieldSizeCm = cc.SurfaceFieldSize,
                            .shape = cc.Shape,
                            .couchThicknessCm = eq.CouchSoftTissueThickness},
            loadKernel);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::DepthDoseFailed);
    }

    try {
        report(EvaluationStep::DepthDose);

        const double d0 = cc.PhantomSurfaceDistance;
        const double distanceRatio =
            detail::Divide(cc.FocusSkinDistance, d0, "inverse square (phantom surface distance)");
        const double inverseSquare = distanceRatio * distanceRatio;
        const double primaryDose =
            r.BackscatterFactor * r.TissueToAirDoseRatio * inverseSquare * r.EntranceAirKerma;
        r.SkinDose = r.DepthDoseFactor * primaryDose;
        detail::RequireFinite(r.SkinDose, "skin dose");
        r.ScatterFactor = detail::Divide(r.SkinDose, r.TissueToAirDoseRatio * r.EntranceAirKerma,
                                         "scatter factor (entrance air kerma times tissue-to-air ratio)");
        detail::RequireFinite(r.ScatterFactor, "scatter factor");
        report(EvaluationStep::SkinDose);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::CalculationFailed);
    }
    return ev;
}

}  // namespace ordevo
