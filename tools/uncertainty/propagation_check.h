// The uncertainty budget checked by sampling: every input drawn from its distribution at once,
// the chain evaluated for each draw, and the spread of the sampled skin doses compared with
// the interval the budget propagates (k = 2).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dose_evaluation.h"
#include "uncertainty_budget.h"

namespace ordevo::uncertainty {

// A typical case: one room, one beam, what is known of the room.
struct TypicalCase {
    std::string Id;
    std::string Description;
    DoseCase Inputs;
    UncertaintyKnowledge Known;
};

// An interventional room: the reference point 60 cm from the focus, a 12° tungsten target,
// 2.5 mm Al inherent, 1.0 mm Al and 0.3 mm Cu added, C = 1.05, with or without a carbon-fibre
// couch transmitting 80 % at 80 kV.
EquipmentData InterventionalRoom(const ReferenceData& ref, bool withCouch);

// The measured room, the same room unmeasured, and a room without couch.
std::vector<TypicalCase> TypicalCases(const ReferenceData& ref);

struct PropagationCheck {
    UncertaintyBudget Budget;  // propagated
    int Samples = 0;           // evaluated draws
    int Refused = 0;           // draws the chain refused (outside its range), left out
    double SampledMean = 0;    // mGy
    double SampledStandardDeviation = 0;
    double SampledLow = 0;   // 2.5 % quantile, mGy
    double SampledHigh = 0;  // 97.5 % quantile, mGy
    double Coverage = 0;     // fraction of the draws inside the propagated interval
    double SampledWidth() const { return SampledHigh - SampledLow; }
    double PropagatedWidth() const { return 2.0 * Budget.ExpandedUncertainty(); }
    // (sampled − propagated) / propagated width of the 95 % interval.
    double WidthDeviation() const { return SampledWidth() / PropagatedWidth() - 1.0; }
};

// Throws std::runtime_error when the central evaluation fails. Deterministic for a seed.
PropagationCheck CheckPropagation(const ReferenceData& ref, const ScatterKernelLoader& loadKernel,
                                  const TypicalCase& typical, int samples, std::uint64_t seed);

// The budget and the check as Markdown tables.
std::string BudgetTable(const TypicalCase& typical, const PropagationCheck& check);
std::string CheckTable(const std::vector<TypicalCase>& cases,
                       const std::vector<PropagationCheck>& checks);

}  // namespace ordevo::uncertainty
