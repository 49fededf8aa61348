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

std::string DescribeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "原因の分からない失敗";
    }
}

// Ends the evaluation with an outcome; the results of the steps before stay as they are.
DoseEvaluation& Fail(DoseEvaluation& evaluation, EvaluationOutcome outcome) {
    evaluation.Outcome = outcome;
    evaluation.FailureDetail = DescribeCurrentException();
    return evaluation;
}

// A step's results must be finite and not negative: a value that is not is a failure of that
// step, never a shown result. The reason names the quantity and its value.
void RequireUsable(EvaluationStep step, const DoseEvaluation& ev) {
    const CaseConditions& cc = ev.Conditions;
    const DoseResult& r = ev.Result;
    struct Quantity {
        const char* name;
        double value;
    };
    std::vector<Quantity> quantities;
    switch (step) {
    case EvaluationStep::Corrections:
        quantities = {{"補正 Ka,r (mGy)", r.CorrectedReferenceAirKerma},
                      {"補正 P_KA (Gy·cm²)", r.CorrectedKermaAreaProduct},
                      {"天板透過率", r.CouchTransmission},
                      {"入射空気カーマ (mGy)", r.EntranceAirKerma},
                      {"ファントム表面までの距離 (cm)", cc.PhantomSurfaceDistance},
                      {"ファントム表面の照射野サイズ (cm)", cc.SurfaceFieldSize}};
        break;
    case EvaluationStep::Spectrum:
        quantities = {{"軟部組織/空気の吸収線量比", r.TissueToAirDoseRatio}};
        break;
    case EvaluationStep::Backscatter: quantities = {{"後方散乱係数", r.BackscatterFactor}}; break;
    case EvaluationStep::DepthDose: quantities = {{"深部線量係数", r.DepthDoseFactor}}; break;
    case EvaluationStep::SkinDose:
        quantities = {{"入射表面皮膚吸収線量 (mGy)", r.SkinDose},
                      {"前方・後方散乱係数", r.ScatterFactor}};
        break;
    case EvaluationStep::None: break;
    }
    for (const Quantity& q : quantities) {
        if (!std::isfinite(q.value) || !(q.value >= 0.0))
            throw CalculationError(std::string(q.name) + " が " + detail::Describe(q.value) +
                                   " です（0 以上の有限の数が必要です）");
    }
}

}  // namespace

std::string FailureMessageFor(const DoseEvaluation& evaluation) {
    std::string message = MessageFor(evaluation.Outcome);
    if (evaluation.Outcome == EvaluationOutcome::CalculationFailed ||
        evaluation.Outcome == EvaluationOutcome::DepthDoseFailed) {
        if (!evaluation.FailureDetail.empty()) message += "\n" + evaluation.FailureDetail;
    }
    return message;
}

const char* MessageFor(EvaluationOutcome outcome) {
    switch (outcome) {
    case EvaluationOutcome::Completed: return "";
    case EvaluationOutcome::IncompleteInput: return kIncompleteInputMessage;
    case EvaluationOutcome::CalculationFailed: return kCalculationFailedMessage;
    case EvaluationOutcome::DepthDoseFailed: return kDepthDoseFailedMessage;
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
            why = "焦点-アイソセンター間距離 " + detail::Describe(fad) +
                  " cm が 15 cm より大きくありません";
            return std::nullopt;
        }
        distance = ReferencePointDistanceOf(fad);
    }
    if (!(distance > 0.0) || !std::isfinite(distance)) {
        why = "患者照射基準点までの距離 " + detail::Describe(distance) +
              " cm が正の有限の数ではありません";
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
    const double toSkin =
        detail::Divide(referenceDistance, cc.FocusSkinDistance, "距離の逆二乗（焦点-皮膚間距離）");
    r.EntranceAirKerma = eq.CouchTransmission * r.CorrectedReferenceAirKerma * toSkin * toSkin;
}

// The skin dose and the scatter factor from the factors of the earlier steps.
void CombineIntoSkinDose(const CaseConditions& cc, DoseResult& r) {
    // The phantom surface lies in front of the couch layer: the air kerma there is the
    // unattenuated one carried from the reference point. The couch's attenuation, its
    // build-up and the fall-off to the skin are all in F, so T is not applied again.
    const double toPhantom = detail::Divide(cc.ReferencePointDistance, cc.PhantomSurfaceDistance,
                                            "距離の逆二乗（ファントム表面までの距離）");
    const double primaryDose = r.BackscatterFactor * r.TissueToAirDoseRatio * toPhantom *
                               toPhantom * r.CorrectedReferenceAirKerma;
    r.SkinDose = r.DepthDoseFactor * primaryDose;
    detail::RequireFinite(r.SkinDose, "入射表面皮膚吸収線量");
    r.ScatterFactor = detail::Divide(r.SkinDose, r.TissueToAirDoseRatio * r.EntranceAirKerma,
                                     "前方・後方散乱係数（入射空気カーマ × 吸収線量比）");
    detail::RequireFinite(r.ScatterFactor, "前方・後方散乱係数");
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
