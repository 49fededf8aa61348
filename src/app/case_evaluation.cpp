// The main window's side of an evaluation: its inputs, from the texts of the case controls.
#include "case_evaluation.h"

#include "number_format.h"

namespace ordevo {
namespace {

double ValueOf(const QString& text) { return LeadingNumber(text.toStdString()); }

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

}  // namespace ordevo
