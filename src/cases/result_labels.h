// The texts of the result labels: which labels each completed step of an evaluation fills in
// the main window's result column, and the editor's three couch results, each with its
// picture. Every place that shows them takes them from here, so all show the same digits.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "couch.h"
#include "dose_evaluation.h"

namespace ordevo {

using ResultLabelTexts = std::vector<std::pair<const char*, std::string>>;

// The result column, Label68 … Label74, in order.
inline constexpr const char* kResultLabelNames[] = {"Label68", "Label69", "Label70", "Label71",
                                                    "Label72", "Label73", "Label74"};

// Corrections → Label68–71, Spectrum → Label72, SkinDose → Label74 and Label73; other steps
// fill none.
ResultLabelTexts ResultLabelsForStep(EvaluationStep step, const DoseResult& result);

// Every result label of a completed evaluation, Label68 … Label74 in order.
ResultLabelTexts AllResultLabels(const DoseResult& result);

// The editor's results: couch transmission (Label21), the couch's soft-tissue thickness
// (Label38), the calibration constant (Label27).
ResultLabelTexts CouchLabels(const CouchCalibration& result);

}  // namespace ordevo
