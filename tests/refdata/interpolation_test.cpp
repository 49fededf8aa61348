// Log-log interpolation of the NIST coefficients and the tables built from it.
#include <gtest/gtest.h>

#include <cmath>

#include "materials.h"
#include "nist_tables.h"
#include "reference_tables.h"

namespace ordevo::refdata {
namespace {

double LogLogBetween(double e0, double v0, double e1, double v1, double e) {
    return std::exp(std::log(v0) + std::log(e / e0) / std::log(e1 / e0) * std::log(v1 / v0));
}

// Tungsten's K edge is tabulated at 69.53 keV (μ/ρ 2.552 below, 11.23 above): 69.5 keV lies
// below it, 69.53 keV and 70 keV on the high side.
TEST(Interpolation, EnergiesAtOrAboveAnEdgeTakeItsHighSide) {
    const auto w = NistTungsten();
    EXPECT_NEAR(InterpolateLogLog(w, Coefficient::Attenuation, 69.5),
                LogLogBetween(60.0, 3.713, 69.53, 2.552, 69.5), 1e-12);
    EXPECT_DOUBLE_EQ(InterpolateLogLog(w, Coefficient::Attenuation, 69.53), 11.23);
    EXPECT_NEAR(InterpolateLogLog(w, Coefficient::Attenuation, 70.0),
                LogLogBetween(69.53, 11.23, 80.0, 7.810, 70.0), 1e-12);
    // Copper's K edge at 8.979 keV: 9 keV is above it, 8.5 keV below.
    EXPECT_NEAR(InterpolateLogLog(NistCopper(), Coefficient::Attenuation, 9.0),
                LogLogBetween(8.979, 278.4, 10.0, 215.9, 9.0), 1e-9);
    EXPECT_NEAR(InterpolateLogLog(NistCopper(), Coefficient::Attenuation, 8.5),
                LogLogBetween(8.0, 52.55, 8.979, 38.29, 8.5), 1e-9);
}

TEST(Interpolation, TabulatedEnergiesGiveTheTableValue) {
    EXPECT_DOUBLE_EQ(InterpolateLogLog(NistAirDry(), Coefficient::EnergyAbsorption, 30.0), 0.1537);
    EXPECT_DOUBLE_EQ(InterpolateLogLog(NistSoftTissueIcru44(), Coefficient::Attenuation, 150.0),
                     0.1492);
    EXPECT_DOUBLE_EQ(InterpolateLogLog(NistAluminium(), Coefficient::Attenuation, 1.0), 1185.0);
}

// Bin 1 (0.5 keV) lies below the tables: extrapolated from their first two energies.
TEST(Interpolation, BelowTheFirstRowExtrapolatesFromTheFirstTwo) {
    EXPECT_NEAR(InterpolateLogLog(NistSoftTissueIcru44(), Coefficient::EnergyAbsorption, 0.5),
                LogLogBetween(1.0, 3701.0, 1.035, 3376.0, 0.5), 1e-9);
    EXPECT_NEAR(InterpolateLogLog(NistAirDry(), Coefficient::Attenuation, 0.5),
                LogLogBetween(1.0, 3606.0, 1.5, 1191.0, 0.5), 1e-9);
}

TEST(Interpolation, RefusesNonPositiveEnergies) {
    EXPECT_THROW(InterpolateLogLog(NistAirDry(), Coefficient::Attenuation, 0.0),
                 std::invalid_argument);
    EXPECT_THROW(InterpolateLogLog(NistAirDry(), Coefficient::Attenuation, -1.0),
                 std::invalid_argument);
}

// Every NIST table ascends, repeats an energy only at an edge, and jumps up there.
TEST(NistTables, AscendWithUpwardJumpsAtEdges) {
    for (const auto rows :
         {NistAirDry(), NistSoftTissueIcru44(), NistTungsten(), NistAluminium(), NistCopper()}) {
        ASSERT_GE(rows.size(), 20u);
        EXPECT_DOUBLE_EQ(rows.front().EnergyMeV, 1e-3);
        EXPECT_GE(rows.back().EnergyMeV, 0.15);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            ASSERT_GE(rows[i].EnergyMeV, rows[i - 1].EnergyMeV);
            if (rows[i].EnergyMeV == rows[i - 1].EnergyMeV) {
                EXPECT_GT(rows[i].MuOverRho, rows[i - 1].MuOverRho);
            }
            EXPECT_LE(rows[i].MuEnOverRho, rows[i].MuOverRho);
        }
    }
}

TEST(ReferenceTables, AttenuationRecordsFollowTheHalfKeVGridWithLinearCoefficients) {
    const auto records = BuildAttenuationRecords();
    EXPECT_DOUBLE_EQ(records[0].EnergyKeV, 0.5);
    EXPECT_DOUBLE_EQ(records[299].EnergyKeV, 150.0);
    // Bin 60 is 30 keV: the NIST values themselves, times the density where linear.
    const AttenuationRecord& r = records[59];
    EXPECT_DOUBLE_EQ(r.AirMuEnOverRho, 0.1537);
    EXPECT_DOUBLE_EQ(r.TissueMuEnOverRho, 0.1616);
    EXPECT_DOUBLE_EQ(r.TissueMu, 1.06 * 0.3790);
    EXPECT_DOUBLE_EQ(r.TungstenMu, 19.3 * 22.73);
    EXPECT_DOUBLE_EQ(r.AluminiumMu, 2.699 * 1.128);
    EXPECT_DOUBLE_EQ(r.CopperMu, 8.96 * 10.92);
}

// P = E·(μen/ρ)_tissue in pGy·cm²: at 30 keV 30 × 0.1616 × 0.1602176634.
TEST(ReferenceTables, PrimaryValuesAreEnergyTimesTissueAbsorption) {
    const auto records = BuildPrimaryRecords();
    EXPECT_DOUBLE_EQ(records.front().EnergyKeV, 10.0);
    EXPECT_DOUBLE_EQ(records.back().EnergyKeV, 150.0);
    EXPECT_NEAR(records[4].DosePerFluence, 30.0 * 0.1616 * 0.1602176634, 1e-12);
    EXPECT_NEAR(records[28].DosePerFluence, 150.0 * 0.02745 * 0.1602176634, 1e-12);
}

}  // namespace
}  // namespace ordevo::refdata
