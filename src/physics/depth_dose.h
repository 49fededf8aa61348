// Depth-dose factor at the couch's soft-tissue-equivalent depth, from the primary dose table
// and the per-energy scatter dose-spread kernels integrated over the field.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "energy_grid.h"
#include "field_shape.h"
#include "reference_data.h"

namespace ordevo {

inline constexpr int kKernelRows = 80;     // depth bins of 0.5 cm
inline constexpr int kKernelColumns = 80;  // rings of 0.5 cm
inline constexpr int kDepthRowsUsed = 40;  // depths 0.25 … 19.75 cm

// kernel(j, n): scatter dose on the axis in depth bin j from photons entering through ring n;
// indices 1-based, row and column 0 unused.
using ScatterKernel = std::array<std::array<double, kKernelColumns + 1>, kKernelRows + 1>;
// Supplies the kernel of one grid energy (10, 15, …, 150 keV); throws when it cannot.
using ScatterKernelLoader = std::function<ScatterKernel(int energyKeV)>;

struct DepthDoseInputs {
    double tubeVoltageHighKv = 0;         // TubeVoltageHigh
    const BinArray* spectrum = nullptr;   // XraySpectrum
    double phantomSurfaceDistanceCm = 0;  // d0
    double fieldSizeCm = 0;               // side or diameter at the phantom surface
    FieldShape shape = FieldShape::None;  // Circle, anything else is a rectangle
    double couchThicknessCm = 0;          // CouchSoftTissueThickness t
};

// Fraction of the quarter ring n (radii 0.5·(n−1) … 0.5·n cm) inside |x| ≤ a, |y| ≤ b.
// Can be negative for tiny fields (the two edge segments overlap). Throws CalculationError
// where the corner case would need the square root of a negative number.
double RingFraction(int n, double a, double b);

// The total depth dose of one field on the axis, in percent of the first depth bin's, so that
// the factor at many couch depths costs one computation (the skin-dose map's oblique rays).
class DepthDoseCurve {
public:
    explicit DepthDoseCurve(const std::array<double, kKernelRows + 1>& totalPercent)
        : totalPercent_(totalPercent) {}
    // F at depth t (cm), as ComputeDepthDoseFactor gives it. Throws CalculationError.
    double FactorAt(double depthCm) const;

private:
    std::array<double, kKernelRows + 1> totalPercent_;
};

// The curve of the inputs; couchThicknessCm is checked but not used. Throws as below.
DepthDoseCurve ComputeDepthDoseCurve(const ReferenceData& ref, const DepthDoseInputs& in,
                                     const ScatterKernelLoader& loadKernel);

// Throws CalculationError; any exception from the loader also ends the computation.
double ComputeDepthDoseFactor(const ReferenceData& ref, const DepthDoseInputs& in,
                              const ScatterKernelLoader& loadKernel);

}  // namespace ordevo
