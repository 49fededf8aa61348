// The texts of the main window's result column: which labels each completed step of an
// evaluation fills, with which picture. The window and the command-line evaluator share it, so
// both show the same digits.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dose_evaluation.h"

namespace ordevo {

using ResultLabelTexts = std::vector<std::pair<const char*, std::string>>;

// Corrections → Label68–71, Spectrum → Label72, SkinDose → Label74 and Label73; other steps
// fill none.
ResultLabelTexts ResultLabelsForStep(EvaluationStep step, const DoseResult& result);

// Every result label of a completed evaluation, Label68 … Label74 in order.
ResultLabelTexts AllResultLabels(const DoseResult& result);

}  // namespace ordevo
