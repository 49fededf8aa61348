// The grids built from the reference files: backscatter energies, primary table, tube voltages,
// and the other filter's attenuation.
#include "reference_data.h"

#include <array>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "calculation_error.h"
#include "material_attenuation.h"
#include "tube_voltage.h"

namespace ordevo {
namespace {

TEST(ReferenceData, BackscatterGridIsOneThenFiveKeVSteps) {
    const BackscatterGrid grid = MakeBackscatterEnergyGrid();
    EXPECT_EQ(grid[0], 0.0);
    EXPECT_EQ(grid[1], 1.0);
    EXPECT_EQ(grid[2], 5.0);
    EXPECT_EQ(grid[31], 150.0);
}

// Between two 5 keV points a bin lies on the straight line in ln P; on a point it takes P itself.
TEST(ReferenceData, PrimaryTableIsLogLinearBetweenFiveKeVPoints) {
    std::array<double, kPrimaryValueCount> p{};
    for (int k = 2; k <= 30; ++k) p[k - 2] = 1.0 + k * k;
    const BinArray table = MakePrimaryTable(p);
    const auto P = [&](int k) { return p[k - 2]; };
    EXPECT_NEAR(std::log(table[21]), std::log(P(3)) - 4.5 * (std::log(P(3)) - std::log(P(2))) / 5,
                1e-12);
    EXPECT_EQ(table[30], P(3));
    EXPECT_EQ(table[20], 0.0);
    EXPECT_EQ(table[300], P(30));
    EXPECT_NEAR(std::log(table[299]),
                std::log(P(30)) - 0.5 * (std::log(P(30)) - std::log(P(29))) / 5, 1e-12);
}

TEST(TubeVoltage, OnlyPositiveVoltagesUpTo150kVAreAccepted) {
    EXPECT_TRUE(MakeFixedTubeVoltage(150).has_value());
    EXPECT_FALSE(MakeFixedTubeVoltage(150.5).has_value());
    EXPECT_FALSE(MakeFixedTubeVoltage(0).has_value());
    EXPECT_FALSE(MakeFixedTubeVoltage(-80).has_value());
    EXPECT_TRUE(MakeTubeVoltageRange(75, 75.5, TubeVoltageWeighting::Normal).has_value());
    EXPECT_FALSE(MakeTubeVoltageRange(75, 75, TubeVoltageWeighting::Equal).has_value());
    EXPECT_FALSE(MakeTubeVoltageRange(140, 155, TubeVoltageWeighting::Equal).has_value());
}

// Coefficients of 1/E² (log-log straight) with an edge at 10 keV that doubles them.
TEST(MaterialAttenuation, LogLogInterpolationWithEdgesAndHalfBins) {
    const std::vector<MaterialRow> rows = {
        {0.001, 1e6}, {0.010, 1e4}, {0.010, 2e4}, {0.2, 50.0}, {10.0, 0.02}};
    const BinArray mu = BuildOtherFilterAttenuation(2.0, rows);
    EXPECT_NEAR(mu[2], 2.0 * 1e6, 1e-6);
    EXPECT_NEAR(mu[4], 2.0 * 1e6 / 4, 1e-6);        // 2 keV on the 1/E² line
    EXPECT_NEAR(mu[3], (mu[2] + mu[4]) / 2, 1e-9);  // odd bins are the mean of their neighbours
    EXPECT_EQ(mu[1], mu[2]);
    EXPECT_NEAR(mu[20], 2.0 * 2e4, 1e-6);  // at the edge: the upper side
    EXPECT_NEAR(mu[40], 2.0 * 2e4 / 4,
                1e-6);  // 20 keV: on the upper line (2e4 at 10 keV, 50 at 200 keV)
    EXPECT_THROW(
        BuildOtherFilterAttenuation(2.0, std::vector<MaterialRow>{{0.002, 1.0}, {0.2, 1.0}}),
        CalculationError);
}

}  // namespace
}  // namespace ordevo
