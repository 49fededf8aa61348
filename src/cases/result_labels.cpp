#include "result_labels.h"

#include "number_format.h"

namespace ordevo {

ResultTexts ResultTextsForStep(EvaluationStep step, const DoseResult& r) {
    ResultTexts texts;
    switch (step) {
    case EvaluationStep::Corrections:
        texts.CorrectedReferenceAirKerma = FormatNumber(r.CorrectedReferenceAirKerma, "###0.0");
        texts.CorrectedKermaAreaProduct = FormatNumber(r.CorrectedKermaAreaProduct, "###0.0");
        texts.CouchTransmission = FormatNumber(r.CouchTransmission, "0.000");
        texts.EntranceAirKerma = FormatNumber(r.EntranceAirKerma, "###0.0");
        break;
    case EvaluationStep::Spectrum:
        texts.TissueToAirDoseRatio = FormatNumber(r.TissueToAirDoseRatio, "0.000");
        break;
    case EvaluationStep::SkinDose:
        texts.ScatterFactor = FormatNumber(r.ScatterFactor, "0.000");
        texts.SkinDose = FormatNumber(r.SkinDose, "####0.0");
        break;
    case EvaluationStep::None:
    case EvaluationStep::Backscatter:
    case EvaluationStep::DepthDose: break;
    }
    return texts;
}

ResultTexts AllResultTexts(const DoseResult& result) {
    ResultTexts all = ResultTextsForStep(EvaluationStep::Corrections, result);
    all.TissueToAirDoseRatio =
        ResultTextsForStep(EvaluationStep::Spectrum, result).TissueToAirDoseRatio;
    const ResultTexts last = ResultTextsForStep(EvaluationStep::SkinDose, result);
    all.ScatterFactor = last.ScatterFactor;
    all.SkinDose = last.SkinDose;
    return all;
}

CouchResultTexts CouchTexts(const CouchCalibration& r) {
    return {.CouchTransmission = FormatNumber(r.CouchTransmission, "0.000"),
            .CouchSoftTissueThickness = FormatNumber(r.CouchSoftTissueThickness, "#0.0"),
            .CalibrationConstant = FormatNumber(r.CalibrationConstant, "0.000")};
}

}  // namespace ordevo
