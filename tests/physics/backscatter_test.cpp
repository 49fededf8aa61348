// The backscatter factor on tables with a single non-zero ring or energy, so each ring's share
// shows.
#include "backscatter.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "calculation_error.h"
#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::FlatSpectrum;
using testing::TinyReferenceData;

constexpr double kHalfPi = 1.570795;

double Bsf(const ReferenceData& ref, double kv, const BinArray& spectrum, FieldShape shape,
           double fieldCm, double d0 = 60.0) {
    return ComputeBackscatterFactor(ref, {kv, &spectrum, d0, fieldCm, shape});
}

double Square(const ReferenceData& ref, double side, double d0 = 60.0) {
    const BinArray s = FlatSpectrum(80);
    return Bsf(ref, 80, s, FieldShape::Square, side, d0);
}

ReferenceData OnlyRing(int ring) {
    ReferenceData ref = TinyReferenceData();
    for (int k = 1; k <= kBackscatterEnergyCount; ++k) ref.BackscatterTable[ring][k] = 1.0;
    return ref;
}

double OffAxis(double d0, int ring) {
    const double rho = 0.1 * ring - 0.05;
    return d0 * d0 / (d0 * d0 + rho * rho);
}

TEST(Backscatter, EmptyTableGivesOne) { EXPECT_NEAR(Square(TinyReferenceData(), 10), 1.0, 1e-15); }

// Square sides are limited to 1..40 cm before halving.
TEST(Backscatter, SquareSideIsClampedToTableRange) {
    const ReferenceData ref = TinyReferenceData(0.001);
    EXPECT_EQ(Square(ref, 0.5), Square(ref, 1.0));
    EXPECT_EQ(Square(ref, 50.0), Square(ref, 40.0));
    EXPECT_LT(Square(ref, 1.0), Square(ref, 1.1));
    EXPECT_LT(Square(ref, 39.9), Square(ref, 40.0));
}

// Half-width 0.5 cm: rings 1..5 whole, rings 6 and 7 reach past both edges, ring 8 lies beyond
// the half-diagonal (0.707 cm).
TEST(Backscatter, SquareCountsCornerRingsByTheirShareInsideTheField) {
    EXPECT_NEAR(Square(OnlyRing(5), 1.0), 1 + OffAxis(60, 5), 1e-14);
    for (int ring : {6, 7}) {
        const double rho = 0.1 * ring - 0.05;
        const double beyondEdge = std::atan(std::sqrt(rho * rho - 0.25) / 0.5);
        const double inside = (kHalfPi - beyondEdge - beyondEdge) / kHalfPi;
        EXPECT_NEAR(Square(OnlyRing(ring), 1.0), 1 + OffAxis(60, ring) * inside, 1e-14) << ring;
    }
    EXPECT_NEAR(Square(OnlyRing(8), 1.0), 1.0, 1e-15);
}

// A circle of diameter w integrates whole rings out to its own radius w/2, whatever the
// distances (the radius was once projected as d0·w/SID, 0.6·w at d0 = 60 cm, SID = 100 cm).
TEST(Backscatter, CircleIntegratesRingsOutToHalfItsDiameter) {
    const BinArray s = FlatSpectrum(80);
    for (const double d0 : {40.0, 60.0, 100.0}) {
        EXPECT_NEAR(Bsf(OnlyRing(50), 80, s, FieldShape::Circle, 10.0, d0), 1 + OffAxis(d0, 50),
                    1e-14)
            << d0;
        EXPECT_NEAR(Bsf(OnlyRing(51), 80, s, FieldShape::Circle, 10.0, d0), 1.0, 1e-15) << d0;
    }
    // A 30 cm radius needs ring 300, 30.1 cm ring 301; radii above 40 cm are limited to 40 cm,
    // which still lies past ring 300.
    EXPECT_NO_THROW(Bsf(OnlyRing(300), 80, s, FieldShape::Circle, 60.0));
    EXPECT_THROW(Bsf(OnlyRing(1), 80, s, FieldShape::Circle, 60.2), CalculationError);
    EXPECT_THROW(Bsf(OnlyRing(1), 80, s, FieldShape::Circle, 500), CalculationError);
}

// One photon bin between grid energies 30 and 35 keV takes the linear interpolation.
TEST(Backscatter, SingleBinInterpolatesBetweenGridEnergies) {
    ReferenceData ref = TinyReferenceData();
    for (int k = 1; k <= kBackscatterEnergyCount; ++k) ref.BackscatterTable[1][k] = 0.01 * k;
    BinArray s{};
    s[61] = 1.0;  // 30.5 keV: 0.9 of E(7) = 30, 0.1 of E(8) = 35
    EXPECT_NEAR(Bsf(ref, 80, s, FieldShape::Circle, 1.0),
                1 + OffAxis(60, 1) * 0.01 * (7 * 0.9 + 8 * 0.1), 1e-14);
    s[61] = 0;
    s[60] = 1.0;  // on a grid energy
    EXPECT_NEAR(Bsf(ref, 80, s, FieldShape::Circle, 1.0), 1 + OffAxis(60, 1) * 0.07, 1e-14);
}

// At 80 kV the highest grid energy is 80 keV (m = 17); at 82 kV it is 85 keV (m = 18).
// A column that is not used may hold anything, even NaN, without touching B.
TEST(Backscatter, HighestGridEnergyIsTheFirstAtOrAboveTheVoltage) {
    ReferenceData ref = TinyReferenceData(0.001);
    for (int r = 1; r <= kBackscatterRingCount; ++r)
        ref.BackscatterTable[r][18] = std::numeric_limits<double>::quiet_NaN();
    const BinArray s80 = FlatSpectrum(80);
    EXPECT_TRUE(std::isfinite(Bsf(ref, 80, s80, FieldShape::Square, 10)));
    const BinArray s82 = FlatSpectrum(82);
    EXPECT_TRUE(std::isnan(Bsf(ref, 82, s82, FieldShape::Square, 10)));
    for (int r = 1; r <= kBackscatterRingCount; ++r)
        ref.BackscatterTable[r][19] = std::numeric_limits<double>::quiet_NaN();
    for (int r = 1; r <= kBackscatterRingCount; ++r) ref.BackscatterTable[r][18] = 0.002;
    EXPECT_TRUE(std::isfinite(Bsf(ref, 82, s82, FieldShape::Square, 10)));
}

// The 150 keV bin sits on the last grid energy and takes its factor; the uniform table gives the
// same factor at every energy, so 150 kV and 80 kV agree.
TEST(Backscatter, TopOfTheGridWorksAt150kV) {
    const ReferenceData ref = TinyReferenceData(0.001);
    const BinArray s150 = FlatSpectrum(150);
    const double b150 = Bsf(ref, 150, s150, FieldShape::Square, 10);
    EXPECT_NEAR(b150, Square(ref, 10), 1e-13);
    EXPECT_GT(b150, 1.0);
}

TEST(Backscatter, ImpossibleInputsThrow) {
    const ReferenceData ref = TinyReferenceData(0.001);
    const BinArray s = FlatSpectrum(150);
    EXPECT_THROW(Bsf(ref, 150.5, s, FieldShape::Square, 10), CalculationError);
    EXPECT_THROW(Bsf(ref, 150.4, s, FieldShape::Square, 10),
                 CalculationError);  // no grid energy ≥ 150.4
    EXPECT_THROW(Bsf(ref, 151, s, FieldShape::Square, 10), CalculationError);
    const BinArray empty{};
    EXPECT_THROW(Bsf(ref, 80, empty, FieldShape::Square, 10), CalculationError);
    EXPECT_THROW(Bsf(ref, 80, s, FieldShape::Square, std::numeric_limits<double>::quiet_NaN()),
                 CalculationError);
}

}  // namespace
}  // namespace ordevo
