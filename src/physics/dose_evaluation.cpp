#include "dose_evaluation.h"

#include <cmath>
#include <exception>
#include <optional>
#include <string>

#include "backscatter.h"
#include "calculation_error.h"
#include "checked_arithmetic.h"
#include "units.h"

namespace ordevo {

namespace {

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

namespace {

bool InputsComplete(const EvaluationInputs& in) {
    return in.TubeVoltageTextValue * in.ReferenceAirKermaTextValue * in.KermaAreaProductTextValue *
               in.FocusSkinDistanceTextValue !=
           0.0;
}

// d_ref: the focus–reference-point distance, where Ka,r and the field size are given. Empty
// when the geometry cannot give one (the reason goes to the evaluation's detail).
std::optional<double> ReferenceDistanceOf(const EvaluationInputs& in, std::string& why) {
    double distance = in.ReferencePointDistance;
    if (distance == 0.0) {
        const double fad = in.Equipment.FocusIsocentreDistance;
        if (!(fad > kReferencePointOffsetCm)) {
            why = "focus-isocentre distance " + detail::Describe(fad) + " cm is not above 15 cm";
            return std::nullopt;
        }
        distance = ReferencePointDistanceOf(fad);
    }
    if (!(distance > 0.0) || !std::isfinite(distance)) {
        why = "reference point distance " + detail::Describe(distance) + " cm is not a positive distance";
        return std::nullopt;
    }
    return distance;
}

// The corrected doses, the primary air kerma at the skin and the geometry of the phantom.
void ApplyCorrections(const EvaluationInputs& in, double referenceDistance, CaseConditions& cc,
                      DoseResult& r) {
    const EquipmentData& eq = in.Equipment;
    cc.TubeVoltageText = in.TubeVoltageText;
    cc.FocusSkinDistance = in.FocusSkinDistanceTextValue;
    cc.Shape = in.Shape;
    cc.ReferenceFieldSize = in.ReferenceFieldSize;
    cc.ReferenceAirKerma = in.ReferenceAirKerma;
    cc.KermaAreaProduct = in.KermaAreaProduct;
    cc.ReferencePointDistance = referenceDistance;
    r.CorrectedReferenceAirKerma = eq.CalibrationConstant * in.ReferenceAirKerma;
    r.CorrectedKermaAreaProduct = eq.CalibrationConstant * in.KermaAreaProduct;
    r.CouchTransmission = eq.CouchTransmission;
    // The couch counts as soft tissue on the skin: the phantom surface is t nearer the focus.
    cc.PhantomSurfaceDistance = cc.FocusSkinDistance - eq.CouchSoftTissueThickness;
    cc.SurfaceFieldSize = cc.ReferenceFieldSize * cc.PhantomSurfaceDistance / referenceDistance;
    // Ka,r is carried from the reference point to the skin by the inverse square law; the
    // couch then takes its primary transmission T.
    const double toSkin = detail::Divide(referenceDistance, cc.FocusSkinDistance,
                                         "inverse square (focus-skin distance)");
    r.EntranceAirKerma = eq.CouchTransmission * r.CorrectedReferenceAirKerma * toSkin * toSkin;
}

// The skin dose and the scatter factor from the factors of the earlier steps.
void CombineIntoSkinDose(const CaseConditions& cc, DoseResult& r) {
    // The phantom surface lies in front of the couch layer: the air kerma there is the
    // unattenuated one carried from the reference point. The couch's attenuation, its
    // build-up and the fall-off to the skin are all in F, so T is not applied again.
    const double toPhantom = detail::Divide(cc.ReferencePointDistance, cc.PhantomSurfaceDistance,
                                            "inverse square (phantom surface distance)");
    const double primaryDose = r.BackscatterFactor * r.TissueToAirDoseRatio * toPhantom * toPhantom *
                               r.CorrectedReferenceAirKerma;
    r.SkinDose = r.DepthDoseFactor * primaryDose;
    detail::RequireFinite(r.SkinDose, "skin dose");
    r.ScatterFactor = detail::Divide(r.SkinDose, r.TissueToAirDoseRatio * r.EntranceAirKerma,
                                     "scatter factor (entrance air kerma times tissue-to-air ratio)");
    detail::RequireFinite(r.ScatterFactor, "scatter factor");
}

}  // namespace

DoseEvaluation EvaluateDose(const ReferenceData& ref, const EvaluationInputs& in,
                            const ScatterKernelLoader& loadKernel,
                            const EvaluationObserver& observer,
                            const SpectrumSource& spectrumSource) {
    DoseEvaluation ev;
    CaseConditions& cc = ev.Conditions;
    DoseResult& r = ev.Result;
    const EquipmentData& eq = in.Equipment;

    cc.BodyPart = in.BodyPartText.empty() ? "---" : in.BodyPartText;
    if (!InputsComplete(in)) {
        ev.Outcome = EvaluationOutcome::IncompleteInput;
        return ev;
    }
    const std::optional<double> referenceDistance = ReferenceDistanceOf(in, ev.FailureDetail);
    if (!referenceDistance) {
        ev.Outcome = EvaluationOutcome::CalculationFailed;
        return ev;
    }
    auto report = [&](EvaluationStep step) {
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
        CombineIntoSkinDose(cc, r);
        report(EvaluationStep::SkinDose);
    } catch (...) {
        return Fail(ev, EvaluationOutcome::CalculationFailed);
    }
    return ev;
}

}  // namespace ordevo
