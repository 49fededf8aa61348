// The main window's side of an evaluation: inputs from texts, labels from results.
#include "case_evaluation.h"

#include "number_format.h"

namespace ordevo {
namespace {

double ValueOf(const QString& text) { return LeadingNumber(text.toStdString()); }

QString Format(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

}  // namespace

EvaluationInputs MakeEvaluationInputs(const CaseTexts& texts, const AppState& state) {
    EvaluationInputs in;
    in.BodyPartText = texts.BodyPart.toStdString();
    in.TubeVoltageText = texts.TubeVoltage.toStdString();
    in.TubeVoltageTextValue = ValueOf(texts.TubeVoltage);
    in.ReferenceAirKermaTextValue = ValueOf(texts.ReferenceAirKerma);
    in.KermaAreaProductTextValue = ValueOf(texts.KermaAreaProduct);
    in.FocusSkinDistanceTextValue = ValueOf(texts.FocusSkinDistance);
    in.ReferenceAirKerma = state.Conditions.ReferenceAirKerma;
    in.KermaAreaProduct = state.Conditions.KermaAreaProduct;
    in.ReferenceFieldSize = ValueOf(texts.FieldSize);
    in.Shape = state.Conditions.Shape;
    in.Equipment = state.Equipment;
    in.Voltage = state.Voltage;
    return in;
}

LabelTexts ResultLabelsForStep(EvaluationStep step, const DoseEvaluation& evaluation) {
    const DoseResult& r = evaluation.Result;
    switch (step) {
    case EvaluationStep::Corrections:
        return {{"Label68", Format(r.CorrectedReferenceAirKerma, "###0.0")},
                {"Label69", Format(r.CorrectedKermaAreaProduct, "###0.0")},
                {"Label70", Format(r.CouchTransmission, "0.000")},
                {"Label71", Format(r.EntranceAirKerma, "###0.0")}};
    case EvaluationStep::Spectrum:
        return {{"Label72", Format(r.TissueToAirDoseRatio, "0.000")}};
    case EvaluationStep::SkinDose:
        return {{"Label74", Format(r.SkinDose, "####0.0")},
                {"Label73", Format(r.ScatterFactor, "0.000")}};
    case EvaluationStep::None:
    case EvaluationStep::Backscatter:
    case EvaluationStep::DepthDose:
        break;
    }
    return {};
}

}  // namespace ordevo
