// The expanded uncertainty (k = 2) of a skin dose. Each input is moved by its standard
// uncertainty and the chain is evaluated again: the change of the skin dose is that input's
// share, so the sensitivities are the chain's own, not a linearisation written by hand. The
// shares combine in quadrature (the inputs of one case are independent); doses summed over
// the events of one procedure share their calibration, couch, beam quality and model error,
// so their shares add linearly before the quadrature.
#pragma once

#include <array>
#include <cstddef>
#include <map>
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

// F(moved)/F of each moved input, found once per class of nearby cases and applied to the F of
// every other case of the class. F, the depth-dose factor, is the one costly step of the chain
// (its scatter kernels over the field) and varies smoothly with the beam quality and the
// geometry, so a case within 1 % of another in its tube voltage, phantom-surface distance and
// surface field size moves F as that case does: the budget of a 10,000-event report then costs
// about what its doses cost. Everything else of each moved evaluation (spectrum, R, the
// backscatter factor, which steps as a field's edge crosses a ring, the distances) is the case's
// own, and so is every skin dose. Cases of one class also share the filtration, the couch, the
// field's shape, the voltage's weighting and what is known of the room. Not for concurrent use.
class DepthDoseRatios {
public:
    // The relative width of a class in the tube voltage, d0 and s0: the expanded uncertainty of
    // a case moves by far less than 1 % of itself within it (tests/physics).
    static constexpr double kClassWidth = 0.01;
    // Below this field at the phantom surface (cm) F moves in steps of its kernels' grid as the
    // field's edge crosses a cell, and every case computes its own: sharing there moved the
    // expanded uncertainty of a 1 cm field by up to 7 %, of 2 cm and more by less than 0.5 %.
    static constexpr double kSmallestSharedFieldCm = 2.0;

    explicit DepthDoseRatios(double classWidth = kClassWidth) : classWidth_(classWidth) {}
    std::size_t Classes() const { return classes_.size(); }

    // One moved input on one side: its F(moved)/F, when found.
    struct Class {
        std::array<std::optional<double>, 2 * kUncertaintySourceCount> Ratio;
    };
    // The class of `in` evaluated as `central`; nullptr when F of `central` is not positive or
    // its surface field is below kSmallestSharedFieldCm.
    Class* ClassOf(const DoseCase& in, const DoseEvaluation& central,
                   const UncertaintyKnowledge& known);

private:
    double classWidth_;
    std::map<std::vector<double>, Class> classes_;
};

// The budget of one completed evaluation `central` of `in`. Each moved input is evaluated on
// both sides where the chain accepts it and the larger change counts; on one side where the
// other leaves the chain's range (a voltage above 150 kV, a negative filtration, an FSD inside
// the couch). Empty when neither side of some input can be evaluated. With `shared`, F of each
// moved evaluation comes from the case's class where the class has it.
std::optional<UncertaintyBudget> EvaluateUncertainty(const ReferenceData& ref, const DoseCase& in,
                                                     const DoseEvaluation& central,
                                                     const UncertaintyKnowledge& known,
                                                     const ScatterKernelLoader& loadKernel,
                                                     const SpectrumSource& spectrumSource = {},
                                                     DepthDoseRatios* shared = nullptr);

// The budget of a sum of skin doses of one procedure: each component's shares added linearly
// (fully correlated), then combined in quadrature.
UncertaintyBudget SumCorrelated(const std::vector<UncertaintyBudget>& parts);

// One component more whose share was found outside the chain (the patient's placement, from
// the map evaluated with the patient moved).
void AddComponent(UncertaintyBudget& budget, UncertaintySource source,
                  double inputStandardUncertainty, double doseStandardUncertainty);

}  // namespace ordevo
