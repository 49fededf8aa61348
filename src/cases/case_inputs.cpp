#include "case_inputs.h"

#include "number_format.h"

namespace ordevo {

EvaluationInputs MakeEvaluationInputs(const CaseTexts& texts, const CaseSettings& settings) {
    EvaluationInputs in;
    in.BodyPartText = texts.BodyPart;
    in.TubeVoltageText = texts.TubeVoltage;
    in.TubeVoltageTextValue = LeadingNumber(texts.TubeVoltage);
    in.ReferenceAirKermaTextValue = LeadingNumber(texts.ReferenceAirKerma);
    in.KermaAreaProductTextValue = LeadingNumber(texts.KermaAreaProduct);
    in.FocusSkinDistanceTextValue = LeadingNumber(texts.FocusSkinDistance);
    in.ReferenceAirKerma = settings.ReferenceAirKerma;
    in.KermaAreaProduct = settings.KermaAreaProduct;
    in.ReferenceFieldSize = LeadingNumber(texts.FieldSize);
    in.ReferencePointDistance = settings.ReferencePointDistance;
    in.Shape = settings.Shape;
    in.Equipment = settings.Equipment;
    in.Voltage = settings.Voltage;
    return in;
}

std::string FieldSizeText(double sizeCm) { return FormatNumber(sizeCm, "#0.00"); }

}  // namespace ordevo
