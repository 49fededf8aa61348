// The texts of the result labels: what each completed step of an evaluation shows in the main
// window's result column, and the editor's three couch results, each with its picture. Every
// place that shows them takes them from here, so all show the same digits.
#pragma once

#include <optional>
#include <string>

#include "couch.h"
#include "dose_evaluation.h"

namespace ordevo {

// The main window's result column, top to bottom. A member is empty when the step that fills
// it is not the one asked for.
struct ResultTexts {
    std::optional<std::string> CorrectedReferenceAirKerma{};  // cKa,r, mGy
    std::optional<std::string> CorrectedKermaAreaProduct{};   // cP_KA, Gy·cm²
    std::optional<std::string> CouchTransmission{};
    std::optional<std::string> EntranceAirKerma{};  // mGy
    std::optional<std::string> TissueToAirDoseRatio{};
    std::optional<std::string> ScatterFactor{};
    std::optional<std::string> SkinDose{};  // mGy

    bool operator==(const ResultTexts&) const = default;
};

// Corrections → the corrected Ka,r and P_KA, the couch transmission and the entrance air
// kerma; Spectrum → the tissue-to-air ratio; SkinDose → the scatter factor and the skin dose;
// other steps fill none.
ResultTexts ResultTextsForStep(EvaluationStep step, const DoseResult& result);

// Every result text of a completed evaluation.
ResultTexts AllResultTexts(const DoseResult& result);

// The editor's results.
struct CouchResultTexts {
    std::string CouchTransmission{};
    std::string CouchSoftTissueThickness{};  // cm
    std::string CalibrationConstant{};
};
CouchResultTexts CouchTexts(const CouchCalibration& result);

}  // namespace ordevo
