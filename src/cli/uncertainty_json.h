// The uncertainty of a skin dose as ordevo-cli prints it: the expanded uncertainty (k = 2) in
// mGy beside the dose, and the budget it comes from.
#pragma once

#include "json_writer.h"
#include "uncertainty_budget.h"

namespace ordevo::cli {

// Adds "skinDoseExpandedUncertainty" (mGy, k = 2) and "uncertaintyBudget" to `json`; both null
// when the budget could not be formed.
void AddUncertainty(JsonObject& json, const std::optional<UncertaintyBudget>& budget,
                    const UncertaintyKnowledge& known);

}  // namespace ordevo::cli
