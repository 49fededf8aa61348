// Batches, threads and the normalisation of the Monte Carlo results.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

#include "random.h"
#include "scatter_generation.h"

namespace ordevo::refdata {
namespace {

const TissueInteractions& Tissue() {
    static const TissueInteractions tissue;
    return tissue;
}

GenerationSettings Quick(int threads) {
    return GenerationSettings{
        .HistoriesPerEnergy = 3001, .Threads = threads, .Batches = 7, .BaseSeed = 11};
}

// Each batch has its own seed and the batches are summed in order, so the thread count cannot
// change a single bit of the result.
TEST(SimulateEnergy, ResultsAreIdenticalForAnyThreadCount) {
    const EnergyResult one = SimulateEnergy(Tissue(), 40, KernelScoring::On, Quick(1));
    const EnergyResult two = SimulateEnergy(Tissue(), 40, KernelScoring::On, Quick(2));
    const EnergyResult five = SimulateEnergy(Tissue(), 40, KernelScoring::On, Quick(5));
    EXPECT_EQ(one.Histories, 3001);
    EXPECT_EQ(one.Backscatter, two.Backscatter);
    EXPECT_EQ(one.Kernel, two.Kernel);
    EXPECT_EQ(one.Backscatter, five.Backscatter);
    EXPECT_EQ(one.Kernel, five.Kernel);
    EXPECT_EQ(one.CheckFieldScatterRelativeUncertainty, five.CheckFieldScatterRelativeUncertainty);
}

TEST(SimulateEnergy, TheSeedSelectsTheHistories) {
    GenerationSettings other = Quick(2);
    other.BaseSeed = 12;
    EXPECT_NE(SimulateEnergy(Tissue(), 40, KernelScoring::Off, Quick(2)).Backscatter,
              SimulateEnergy(Tissue(), 40, KernelScoring::Off, other).Backscatter);
    EXPECT_NE(BatchSeed(1, 40, 0), BatchSeed(1, 40, 1));
    EXPECT_NE(BatchSeed(1, 40, 0), BatchSeed(1, 45, 0));
}

// The square's backscatter lies between that of the rings wholly inside it (r ≤ 5 cm) and
// that of the rings that reach its corners (r ≤ 5√2 cm); the balance closes.
TEST(SimulateEnergy, CheckFieldBackscatterLiesBetweenInscribedAndCircumscribedRings) {
    const EnergyResult r = SimulateEnergy(Tissue(), 60, KernelScoring::Off, Quick(2));
    const double inscribed =
        std::accumulate(r.Backscatter.begin(), r.Backscatter.begin() + 50, 0.0);
    const double circumscribed =
        std::accumulate(r.Backscatter.begin(), r.Backscatter.begin() + 71, 0.0);
    EXPECT_GT(inscribed, 0.0);
    EXPECT_GE(r.CheckFieldBackscatter, inscribed * (1 - 1e-12));
    EXPECT_LE(r.CheckFieldBackscatter, circumscribed * (1 + 1e-12));
    EXPECT_LT(std::abs(r.EnergyImbalance), 1e-12);
    EXPECT_TRUE(r.Kernel.empty());
}

TEST(AnnulusFractionInSquare, WholeInsidePartlyAndOutside) {
    EXPECT_DOUBLE_EQ(AnnulusFractionInSquare(0.0, 5.0, 5.0), 1.0);
    EXPECT_NEAR(AnnulusFractionInSquare(10.0, 11.0, 5.0), 0.0, 1e-15);
    // The disc of radius 5√2 covers the square: the annulus 5 … 5√2 holds 100 − 25π of its area.
    const double r2 = 5.0 * std::numbers::sqrt2;
    EXPECT_NEAR(AnnulusFractionInSquare(5.0, r2, 5.0),
                (100.0 - 25.0 * std::numbers::pi) / (std::numbers::pi * 25.0), 1e-12);
}

}  // namespace
}  // namespace ordevo::refdata
