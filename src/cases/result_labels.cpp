#include "result_labels.h"

#include <algorithm>
#include <cstring>

#include "number_format.h"

namespace ordevo {

ResultLabelTexts ResultLabelsForStep(EvaluationStep step, const DoseResult& r) {
    switch (step) {
    case EvaluationStep::Corrections:
        return {{"Label68", FormatNumber(r.CorrectedReferenceAirKerma, "###0.0")},
                {"Label69", FormatNumber(r.CorrectedKermaAreaProduct, "###0.0")},
                {"Label70", FormatNumber(r.CouchTransmission, "0.000")},
                {"Label71", FormatNumber(r.EntranceAirKerma, "###0.0")}};
    case EvaluationStep::Spectrum:
        return {{"Label72", FormatNumber(r.TissueToAirDoseRatio, "0.000")}};
    case EvaluationStep::SkinDose:
        return {{"Label74", FormatNumber(r.SkinDose, "####0.0")},
                {"Label73", FormatNumber(r.ScatterFactor, "0.000")}};
    case EvaluationStep::None:
    case EvaluationStep::Backscatter:
    case EvaluationStep::DepthDose: break;
    }
    return {};
}

ResultLabelTexts AllResultLabels(const DoseResult& result) {
    ResultLabelTexts all;
    for (const EvaluationStep step :
         {EvaluationStep::Corrections, EvaluationStep::Spectrum, EvaluationStep::SkinDose}) {
        for (auto& label : ResultLabelsForStep(step, result)) all.push_back(std::move(label));
    }
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return std::strcmp(a.first, b.first) < 0; });
    return all;
}

}  // namespace ordevo

namespace ordevo {

ResultLabelTexts CouchLabels(const CouchCalibration& r) {
    return {{"Label21", FormatNumber(r.CouchTransmission, "0.000")},
            {"Label38", FormatNumber(r.CouchSoftTissueThickness, "#0.0")},
            {"Label27", FormatNumber(r.CalibrationConstant, "0.000")}};
}

}  // namespace ordevo
