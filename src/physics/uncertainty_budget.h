// The expanded uncertainty (k = 2) of a skin dose. Each input is moved by its standard
// uncertainty and the chain is evaluated again: the change of the skin dose is that input's
// share, so the sensitivities are the chain's own, not a linearisation written by hand. The
// shares combine in quadrature (the inputs of one case are independent); doses summed over
// the events of one procedure share their calibration, couch, beam quality and model error,
// so their shares add linearly before the quadrature.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "dose_evaluation.h"
#include "uncertainty_sources.h"

namespace ordevo {

inline constexpr double kCoverageFactor = 2.0;

struct UncertaintyComponent {
    UncertaintySource Source = UncertaintySource::Calibration;
    // The input's standard uncertainty in its own unit: relative for the calibration, T, the
    // tube voltage, the copper, the backscatter table and the model; cm for the aluminium
    // filtration, the FSD and the placement.
    double InputStandardUncertainty = 0;
    double DoseStandardUncertainty = 0;  // mGy
};

struct UncertaintyBudget {
    double SkinDose = 0;  // mGy
    std::vector<UncertaintyComponent> Components;

    double CombinedStandardUncertainty() const;  // mGy
    double ExpandedUncertainty() const { return kCoverageFactor * CombinedStandardUncertainty(); }
    // The expanded uncertainty as a fraction of the skin dose; 0 for a zero dose.
    double RelativeExpandedUncertainty() const;
};

// Moves of the chain's inputs: relative for the calibration constant, T, the tube voltage and
// the copper; cm for the aluminium filtration and the FSD.
struct InputShifts {
    double Calibration = 0;
    double CouchTransmission = 0;  // t follows T (see ShiftedInputs)
    double TubeVoltage = 0;        // both ends of a range
    double AluminiumCm = 0;
    double Copper = 0;
    double FocusSkinDistanceCm = 0;
};

// `in` with its inputs moved; empty where a moved value leaves the chain's range (a voltage
// above 150 kV, a negative filtration or transmission, an FSD inside the couch).
std::optional<DoseCase> ShiftedInputs(DoseCase in, const InputShifts& shift);

// The budget of one completed evaluation `central` of `in`. Each moved input is evaluated on
// both sides where the chain accepts it and the larger change counts; on one side where the
// other leaves the chain's range (a voltage above 150 kV, a negative filtration, an FSD inside
// the couch). Empty when neither side of some input can be evaluated.
std::optional<UncertaintyBudget> EvaluateUncertainty(const ReferenceData& ref, const DoseCase& in,
                                                     const DoseEvaluation& central,
                                                     const UncertaintyKnowledge& known,
                                                     const ScatterKernelLoader& loadKernel,
                                                     const SpectrumSource& spectrumSource = {});

// The budget of a sum of skin doses of one procedure: each component's shares added linearly
// (fully correlated), then combined in quadrature.
UncertaintyBudget SumCorrelated(const std::vector<UncertaintyBudget>& parts);

// One component more whose share was found outside the chain (the patient's placement, from
// the map evaluated with the patient moved).
void AddComponent(UncertaintyBudget& budget, UncertaintySource source,
                  double inputStandardUncertainty, double doseStandardUncertainty);

}  // namespace ordevo
