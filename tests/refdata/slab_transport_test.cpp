// Track-length scoring in the annular voxels and the analogue transport's energy balance.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "random.h"
#include "slab_transport.h"
#include "tissue_interactions.h"

namespace ordevo::refdata {
namespace {

std::vector<double> Score(std::array<double, 3> p, std::array<double, 3> d, double length) {
    std::vector<double> kernel(kDepthBins * kKernelRings, 0.0);
    std::vector<double> scratch;
    const double norm = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& c : d) c /= norm;
    ScoreTrack(p, d, length, 1.0, kernel, scratch);
    return kernel;
}

double Voxel(const std::vector<double>& kernel, int j, int n) {
    return kernel[static_cast<std::size_t>(j * kKernelRings + n)];
}

TEST(ScoreTrack, AxialSegmentSplitsAtTheDepthPlanes) {
    // z from 0.1 to 1.6 cm on the axis: 0.4, 0.5, 0.5 and 0.1 cm in depth bins 0..3 of ring 0.
    const auto k = Score({0, 0, 0.1}, {0, 0, 1}, 1.5);
    EXPECT_NEAR(Voxel(k, 0, 0), 0.4, 1e-12);
    EXPECT_NEAR(Voxel(k, 1, 0), 0.5, 1e-12);
    EXPECT_NEAR(Voxel(k, 2, 0), 0.5, 1e-12);
    EXPECT_NEAR(Voxel(k, 3, 0), 0.1, 1e-12);
    EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 1.5, 1e-12);
}

TEST(ScoreTrack, ChordThroughTheRingsSplitsAtEveryCylinderTwice) {
    // At depth 0.3 along x from x = −1.2 to 1.2, 0.1 cm off the axis: in ring n the chord
    // spends 2·(√(r₂² − 0.01) − √(r₁² − 0.01)).
    const auto k = Score({-1.2, 0.1, 0.3}, {1, 0, 0}, 2.4);
    auto half = [](double r) { return std::sqrt(r * r - 0.01); };
    EXPECT_NEAR(Voxel(k, 0, 0), 2 * half(0.5), 1e-12);
    EXPECT_NEAR(Voxel(k, 0, 1), 2 * (half(1.0) - half(0.5)), 1e-12);
    EXPECT_NEAR(Voxel(k, 0, 2), 2 * (std::sqrt(1.2 * 1.2) - half(1.0)), 1e-12);
    EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 2.4, 1e-12);
}

TEST(ScoreTrack, ObliqueSegmentsKeepTheirWholeLengthInsideTheTally) {
    Xoshiro256 rng(99);
    for (int i = 0; i < 200; ++i) {
        const std::array<double, 3> p{20 * rng.Uniform() - 10, 20 * rng.Uniform() - 10,
                                      10 + 10 * rng.Uniform()};
        const std::array<double, 3> d{rng.Uniform() - 0.5, rng.Uniform() - 0.5,
                                      rng.Uniform() - 0.5};
        const double length =
            8.0 * rng.Uniform();  // stays within 26 cm of the axis, depths 2..28 cm
        const auto k = Score(p, d, length);
        ASSERT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), length, 1e-9 * (1 + length));
    }
}

TEST(ScoreTrack, NothingBeyondTheLastRing) {
    const auto k = Score({41.0, 0, 5.0}, {0, 1, 0}, 3.0);
    EXPECT_EQ(std::accumulate(k.begin(), k.end(), 0.0), 0.0);
    // Crossing r = 40 cm: only the part inside counts.
    const auto inside = Score({39.0, 0, 5.0}, {1, 0, 0}, 2.0);
    EXPECT_NEAR(std::accumulate(inside.begin(), inside.end(), 0.0), 1.0, 1e-12);
}

// Deposited + escaped = incident, within rounding, at every kind of energy.
TEST(TransportBatch, ConservesEnergy) {
    const TissueInteractions tissue;
    for (double e : {1.0, 20.0, 60.0, 150.0}) {
        BatchTally tally;
        TransportBatch(tissue, e, 3000, 42, KernelScoring::On, tally);
        EXPECT_EQ(tally.Histories, 3000);
        EXPECT_DOUBLE_EQ(tally.IncidentKeV, 3000 * e);
        EXPECT_NEAR(tally.DepositedKeV + tally.EscapedKeV, tally.IncidentKeV,
                    1e-10 * tally.IncidentKeV)
            << e;
        EXPECT_GT(tally.DepositedKeV, 0.0);
    }
}

// Scattered photons deposit kerma near the axis; nothing is scored without kernel scoring.
TEST(TransportBatch, KernelScoringCanBeSwitchedOff) {
    const TissueInteractions tissue;
    BatchTally on;
    BatchTally off;
    TransportBatch(tissue, 60.0, 2000, 5, KernelScoring::On, on);
    TransportBatch(tissue, 60.0, 2000, 5, KernelScoring::Off, off);
    EXPECT_GT(std::accumulate(on.Kernel.begin(), on.Kernel.end(), 0.0), 0.0);
    EXPECT_EQ(std::accumulate(off.Kernel.begin(), off.Kernel.end(), 0.0), 0.0);
    EXPECT_EQ(on.Backscatter, off.Backscatter);  // the same histories either way
    // The scattered photons' kerma cannot exceed what was deposited in all.
    EXPECT_LT(std::accumulate(on.Kernel.begin(), on.Kernel.end(), 0.0), on.DepositedKeV);
}

}  // namespace
}  // namespace ordevo::refdata
