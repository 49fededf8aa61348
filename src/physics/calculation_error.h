// The one error a computation raises when its inputs leave the tables or the arithmetic.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ordevo {

// What went wrong. The core carries no user texts: the layer that shows a failure words it from
// the problem, the quantity and the values (every problem has its words there; a new problem
// without them does not compile).
enum class CalculationProblem : int {
    None,
    Unknown,  // an exception that carried no reason

    // Checked arithmetic on a quantity; Values = {the operand}.
    NotAnIndex,            // ⌊x⌋ of a value that is not finite or beyond ±1e9
    DivisionByZero,        // Values = {}
    NegativeSquareRoot,    // √ of a negative number
    NonPositiveLogarithm,  // log of 0 or less
    NotFinite,
    StepResultUnusable,  // a step's result is negative or not finite

    // The spectrum. Values as named.
    TubeVoltageAboveTable,      // {kV}
    TubeVoltageBelowFirstBin,   // {kV}
    TubeVoltageRangeReversed,   // {low kV, high kV}
    TargetAngleOutsideRange,    // {degrees}
    FilterThicknessUnusable,    // quantity = the filter, {mm}
    NormalWeightingNeedsRange,  // {low kV, high kV}
    SpectrumTotalUnusable,      // {total}

    // The backscatter factor.
    BackscatterNoSpectrum,
    BackscatterRingOutsideTable,     // {ring}
    BackscatterBinOutsideTable,      // {kV, bin}
    BackscatterWeightTotalUnusable,  // {total}
    BackscatterEnergyOutsideTable,   // {kV, grid index}
    BackscatterCircleOutsideTable,   // {radius cm, rings}
    BackscatterBinAboveLastEnergy,   // {bin, keV}

    // The depth-dose factor.
    RingFractionNoSuchRing,  // {ring}
    DepthDoseNoSpectrum,
    DepthDoseBinOutsideTable,             // {kV, bin}
    DepthDoseSurfaceDistanceNotPositive,  // {d0 cm}
    DepthDoseCouchOutsideTable,           // {t cm}
    DepthDoseTooManyRings,                // {depth cm, rings}
    DepthDoseFirstBinDoseUnusable,        // {dose}
    DepthDoseSearchPastTable,             // {depth cm}

    // The evaluation's geometry and the field size.
    FocusIsocentreDistanceTooShort,      // {FAD cm}
    ReferencePointDistanceUnusable,      // {d_ref cm}
    FieldSizeReferenceAirKermaUnusable,  // {Ka,r mGy}
    FieldSizeKermaAreaProductUnusable,   // {P_KA Gy·cm²}
    FieldSizeNoShape,

    // The other filter's material table.
    MaterialTooFewRows,
    MaterialFirstEnergyAbove1keV,
    MaterialRowNotPositive,
    MaterialNoRowAbove,            // {keV}
    MaterialAttenuationNotFinite,  // {keV}

    // The couch measurement.
    CouchTypicalTubeVoltageOutsideRange,  // {kV}
    CouchTargetAngleOutsideRange,         // {degrees}
    CouchTransmissionAboveOne,            // {T}
    CouchAirKermaSpectrumUnusable,        // {kV, sum}
    CouchTransmissionBeyondTable,         // {T, transmission of 10 cm}
    CouchAirKermaWithoutCouchUnusable,    // {mGy}
    CouchAirKermaWithCouchUnusable,       // {mGy}
    CouchDisplayedAirKermaUnusable,       // {mGy}
    CouchFocusIsocentreDistanceTooShort,  // {cm}
    CouchCalibrationConstantUnusable,     // {C}
};

// The value a problem concerns, where the problem alone does not say it.
enum class CalculatedQuantity : int {
    None,
    SpectrumLastBin,
    TubeVoltageSteps,
    TissueToAirRatioAirSum,
    TissueToAirDoseRatio,
    InherentFilter,
    AddedAluminiumFilter,
    AddedCopperFilter,
    OtherFilter,
    BackscatterRingsToHalfWidth,
    BackscatterRingsToHalfLength,
    BackscatterRingsToHalfDiagonal,
    BackscatterRingSplitByHalfWidth,
    BackscatterRingSplitByHalfLength,
    BackscatterPhantomSurfaceDistance,
    BackscatterSurfaceFieldSize,
    BackscatterCircleRings,
    RingFractionCircleShortOfEdge,
    RingFractionZeroHalfWidth,
    RingFractionEdgeParallelToRadius,
    DepthDoseSurfaceFieldSize,
    DepthDoseRings,
    DepthDoseGridScatter,
    DepthDoseFactor,
    InverseSquareFocusSkin,
    InverseSquarePhantomSurface,
    SkinDose,
    ScatterFactorEntranceKerma,
    ScatterFactor,
    // A step's results, with their units.
    CorrectedReferenceAirKerma,
    CorrectedKermaAreaProduct,
    CouchTransmission,
    EntranceAirKerma,
    PhantomSurfaceDistance,
    SurfaceFieldSize,
    BackscatterFactor,
    SkinDoseMGy,
};

struct CalculationFailure {
    CalculationProblem Problem = CalculationProblem::None;
    CalculatedQuantity Quantity = CalculatedQuantity::None;
    std::vector<double> Values;  // the numbers the reason names, in the order listed above

    bool operator==(const CalculationFailure&) const = default;
};

// For logs and test output, not for the user: the codes and the values.
std::string DiagnosticText(const CalculationFailure& failure);

// Thrown wherever a computation cannot go on (an index past a table, a division by zero,
// the square root of a negative number). The failure says which value and why; the user sees
// the fixed message of the step that caught it, then the reason in words.
class CalculationError : public std::runtime_error {
public:
    explicit CalculationError(CalculationFailure failure)
        : std::runtime_error(DiagnosticText(failure)), failure_(std::move(failure)) {}
    CalculationError(CalculationProblem problem, std::vector<double> values = {})
        : CalculationError(
              CalculationFailure{problem, CalculatedQuantity::None, std::move(values)}) {}

    const CalculationFailure& Failure() const { return failure_; }

private:
    CalculationFailure failure_;
};

}  // namespace ordevo
