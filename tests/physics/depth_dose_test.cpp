// Ring fractions by their geometry, and the depth-dose factor on kernels of ones and flat tables.
#include "depth_dose.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "calculation_error.h"
#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::Constant;
using testing::FlatSpectrum;
using testing::TinyReferenceData;
using testing::UniformKernels;

double QuarterRingArea(int n) { return 0.7853975 * (0.25 * n * n - 0.25 * (n - 1) * (n - 1)); }

// The fractions, weighted by the quarter-ring areas, add up to the quarter of the field.
TEST(RingFraction, RingsTileTheQuarterField) {
    const struct {
        double a, b;
    } fields[] = {{5.0, 5.0}, {4.3, 4.3}, {6.0, 3.3}, {3.2, 3.1}, {12.2, 12.2}};
    for (const auto& f : fields) {
        double area = 0;
        for (int n = 1; n <= 1 + static_cast<int>(2 * std::hypot(f.a, f.b)); ++n)
            area += RingFraction(n, f.a, f.b) * QuarterRingArea(n);
        // π is stored to five decimals: the ring areas are short by about 1e-6 of their size.
        EXPECT_NEAR(area / (f.a * f.b), 1.0, 2e-5) << f.a << " x " << f.b;
    }
    EXPECT_EQ(RingFraction(1, 5, 5), 1.0);
    EXPECT_EQ(RingFraction(30, 5, 5), 0.0);  // wholly beyond the corner
}

// Half-width 0.1 cm: ring 1 (0..0.5 cm) falls under the two-edge case, whose segments overlap:
// seg = 0.25·θ/2 − 0.1·0.5·sin θ/2 with θ = atan(√0.24/0.1) = 1.36944, so seg = 0.146685 and
// the fraction is (0.196349 − 2·0.146685)/0.196349 = −0.4941.
TEST(RingFraction, TinyFieldGivesNegativeFractionForItsFirstRing) {
    EXPECT_NEAR(RingFraction(1, 0.1, 0.1), -0.4941, 1e-4);
}

TEST(RingFraction, ImpossibleGeometryThrows) {
    EXPECT_THROW(RingFraction(1, 0.0, 0.0), CalculationError);  // zero half-width
    EXPECT_THROW(RingFraction(3, 0.1, 1.2), CalculationError);  // corner ring with r1 < b
    EXPECT_THROW(RingFraction(0, 5.0, 5.0), CalculationError);
}

struct Case {
    ReferenceData ref = TinyReferenceData();
    BinArray spectrum = FlatSpectrum(80);
    DepthDoseInputs in{80, nullptr, 50.0, 4.94, FieldShape::Circle, 0.75};
    ScatterKernelLoader kernels = UniformKernels(1.0);

    double Factor() {
        in.spectrum = &spectrum;
        return ComputeDepthDoseFactor(ref, in, kernels);
    }
};

double InverseSquare(double z, double d0) { return d0 * d0 / ((z + d0) * (z + d0)); }

// Kernels of ones, no primary: the scatter at depth j is ISQ_j times the number of rings.
// A circle of radius 2.47 cm counts 5 rings at 0.25 cm depth and 6 at 0.75 cm (2·2.47·50.75/50 >
// 5): the last, partly covered ring counts whole.
TEST(DepthDose, CircleCountsWholeRingsWithTheInverseSquare) {
    Case c;
    const double expected = InverseSquare(0.75, 50) * 6 / (InverseSquare(0.25, 50) * 5);
    EXPECT_NEAR(c.Factor(), expected, 1e-13);
    c.in.couchThicknessCm = 0.5;  // halfway between the first two bin centres
    EXPECT_NEAR(c.Factor(), (1 + expected) / 2, 1e-13);
}

// Empty kernels become 1 at the grid energy, so one photon bin at 50 keV scatters 1 at every
// depth; the primary falls with attenuation and inverse square.
TEST(DepthDose, PrimaryAddsToScatterAndEmptyKernelsCountAsOne) {
    Case c;
    c.ref.Attenuation.TissueAttenuation = Constant(0.2);
    c.ref.PrimaryTable = Constant(10.0, 21, 300);
    c.spectrum = BinArray{};
    c.spectrum[100] = 1.0;
    c.in.tubeVoltageHighKv = 50;
    c.kernels = UniformKernels(0.0);
    const auto primary = [](double z) { return 10 * std::exp(-0.2 * z) * InverseSquare(z, 50); };
    EXPECT_NEAR(c.Factor(), (primary(0.75) + 1) / (primary(0.25) + 1), 1e-13);
}

// The first depth bin is the reference, so a couch thinner than its centre leaves the dose as it
// is.
TEST(DepthDose, ThicknessUpToTheFirstBinCentreGivesOne) {
    for (double t : {0.0, 0.1, 0.25}) {
        Case c;
        c.in.couchThicknessCm = t;
        EXPECT_EQ(c.Factor(), 1.0) << t;
    }
    Case c;
    c.in.couchThicknessCm = 19.75;
    EXPECT_GT(c.Factor(), 0.0);
    for (double t : {-0.01, 19.76}) {
        c.in.couchThicknessCm = t;
        EXPECT_THROW(c.Factor(), CalculationError) << t;
    }
}

TEST(DepthDose, LoadsEachGridEnergyOnceAndPassesLoaderFailuresOn) {
    Case c;
    std::vector<int> energies;
    c.kernels = [&](int keV) {
        energies.push_back(keV);
        return testing::UniformKernel(1.0);
    };
    c.Factor();
    std::vector<int> expected;
    for (int e = 10; e <= 150; e += 5) expected.push_back(e);
    EXPECT_EQ(energies, expected);
    c.kernels = [](int keV) -> ScatterKernel {
        if (keV == 95) throw std::runtime_error("95.dat missing");
        return testing::UniformKernel(1.0);
    };
    EXPECT_THROW(c.Factor(), std::runtime_error);
}

TEST(DepthDose, ImpossibleInputsThrow) {
    const auto fails = [](auto change) {
        Case c;
        change(c);
        EXPECT_THROW(c.Factor(), CalculationError);
    };
    fails([](Case& c) { c.in.fieldSizeCm = 80; });  // circle: 82 rings at the surface
    fails([](Case& c) {
        c.in.shape = FieldShape::Square, c.in.fieldSizeCm = 57;
    });  // half-diagonal past 80 rings
    fails([](Case& c) { c.in.shape = FieldShape::None, c.in.fieldSizeCm = 0; });  // zero half-width
    fails([](Case& c) { c.in.phantomSurfaceDistanceCm = 0; });
    fails([](Case& c) { c.in.phantomSurfaceDistanceCm = -5; });
    fails([](Case& c) { c.spectrum = FlatSpectrum(150), c.in.tubeVoltageHighKv = 150.5; });
    fails([](Case& c) { c.spectrum = BinArray{}; });           // D1 = 0
    fails([](Case& c) { c.kernels = UniformKernels(-1.0); });  // logarithm of a negative value
    Case top;
    top.spectrum = FlatSpectrum(150);
    top.in.tubeVoltageHighKv = 150;
    EXPECT_GT(top.Factor(), 0.0);
}

}  // namespace
}  // namespace ordevo
