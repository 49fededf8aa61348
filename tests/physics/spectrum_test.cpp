// The spectrum model checked against hand evaluations of its formulas on transparent tables.
#include "spectrum.h"

#include <cmath>
#include <numeric>

#include <gtest/gtest.h>

#include "calculation_error.h"
#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::Constant;
using testing::PlainEquipment;
using testing::TransparentTable;

// One electron-energy term of the target output with a transparent anode:
// a(E)·b(E/T)·(1 + 511/T)/s(T).
double Term(double e, double t) {
    const double a = 0.03658 + 0.000029 * e;
    const double u = e / t;
    const double b = 1 - 5.049 * u + 10.847 * u * u - 10.516 * u * u * u + 3.842 * u * u * u * u;
    const double s = 1036.1 * std::exp(-0.04695 * t) + 202.41;
    return a * b * (1 + 511 / t) / s;
}

TubeVoltageRange Fixed(double kv) { return {kv, kv, TubeVoltageWeighting::Equal}; }

SpectrumResult Compute(const AttenuationTable& table, const TubeVoltageRange& v,
                       const EquipmentData& eq = PlainEquipment()) {
    return ComputeSpectrum(table, eq, v);
}

// At 1.5 kV bin 2 (1 keV) gathers the electron energies 1 and 1.5 keV, bin 3 only 1.5 keV.
TEST(Spectrum, TargetOutputSumsElectronEnergiesUpToTheVoltage) {
    const SpectrumResult r = Compute(TransparentTable(), Fixed(1.5));
    EXPECT_NEAR(r.AirKermaSpectrum[2], Term(1.0, 1.0) + Term(1.0, 1.5), 1e-15);
    EXPECT_NEAR(r.AirKermaSpectrum[3], Term(1.5, 1.5), 1e-15);
    EXPECT_EQ(r.AirKermaSpectrum[4], 0.0);
}

// Photons made at depth leave through cot θ·(V² − T²)/(19.3·C(V)) of tungsten; at T = V the path is
// 0.
TEST(Spectrum, AnodeAbsorbsAlongThePathFromTheElectronsDepth) {
    AttenuationTable table = TransparentTable();
    table.Tungsten = Constant(50.0);
    const SpectrumResult r = Compute(table, Fixed(1.5));
    const double v = 1.5;
    const double c =
        141766 + 12157 * v - 111.046 * v * v + 0.552536 * v * v * v - 0.000970158 * v * v * v * v;
    const double path = (1 / std::tan(3.14159 * 12 / 180)) * (v * v - 1.0) / (19.3 * c);
    EXPECT_NEAR(r.AirKermaSpectrum[2], Term(1.0, 1.0) * std::exp(-50 * path) + Term(1.0, 1.5),
                1e-15);
    EXPECT_NEAR(r.AirKermaSpectrum[3], Term(1.5, 1.5), 1e-15);
}

TEST(Spectrum, FluenceIsNormalisedOverTheBinsUpToTheVoltage) {
    const SpectrumResult r = Compute(TransparentTable(), Fixed(80));
    const auto& s = r.XraySpectrum;
    EXPECT_NEAR(std::accumulate(s.begin() + 2, s.begin() + 161, 0.0), 1.0, 1e-12);
    EXPECT_EQ(s[1], 0.0);
    EXPECT_EQ(std::accumulate(s.begin() + 161, s.end(), 0.0), 0.0);
    // Energy output over photon energy is the photon number: S ∝ A(j)/E_j.
    EXPECT_NEAR(s[40] / s[100], (r.AirKermaSpectrum[40] / 20.0) / (r.AirKermaSpectrum[100] / 50.0),
                1e-12);
    EXPECT_NEAR(r.TissueToAirDoseRatio, 1.2, 1e-12);  // tissue absorbs 1.2 × air in every bin
    EXPECT_EQ(r.TubeVoltage, 80.0);
}

TEST(Spectrum, FiltersMultiplyEveryBinAndTheOtherFilterNeedsItsFlag) {
    AttenuationTable table = TransparentTable();
    table.Aluminium = Constant(1.0);
    table.Copper = Constant(2.0);
    EquipmentData eq = PlainEquipment();
    eq.InherentFiltration = 0.1;
    eq.AddedAluminium = 0.2;
    eq.AddedCopper = 0.05;
    eq.OtherFilterThickness = 0.1;
    eq.OtherFilterAttenuation = Constant(3.0);
    const SpectrumResult plain = Compute(TransparentTable(), Fixed(60));
    eq.OtherFilterFlag = 0;
    const SpectrumResult noFlag = Compute(table, Fixed(60), eq);
    eq.OtherFilterFlag = 1;
    const SpectrumResult withOther = Compute(table, Fixed(60), eq);
    for (int j : {2, 57, 120}) {
        SCOPED_TRACE(j);
        EXPECT_NEAR(noFlag.AirKermaSpectrum[j] / plain.AirKermaSpectrum[j], std::exp(-0.3 - 0.1),
                    1e-13);
        EXPECT_NEAR(withOther.TissueAbsorption[j] / plain.TissueAbsorption[j],
                    std::exp(-0.3 - 0.1 - 0.3), 1e-13);
    }
}

// With an opaque anode at the K-line bins, only the T = V term of the continuum is left there,
// so the K lines stand out: K = 0.01·f_K·ΣQ, and the shares sum to 1, hence ΣA = ΣQ·(1 + 0.01·f_K).
TEST(Spectrum, KLinesAppearAbove70kVWithTheirShares) {
    AttenuationTable table = TransparentTable();
    const int lineBins[] = {119, 116, 134, 138};
    const double shares[] = {0.5048, 0.2908, 0.162, 0.0424};
    for (int j : lineBins) table.Tungsten[j] = 1e9;

    const SpectrumResult at70 = Compute(table, Fixed(70));
    for (int j : lineBins) EXPECT_NEAR(at70.AirKermaSpectrum[j], Term(0.5 * j, 70), 1e-15) << j;

    const double v = 70.5;
    ASSERT_GT(8.79856 * v - 595.149, 4.55528 * 4.55528);
    const double fK = (std::sqrt(8.79856 * v - 595.149) - 4.55528) / 4.39928;
    const SpectrumResult at705 = Compute(table, Fixed(v));
    const auto& a = at705.AirKermaSpectrum;
    const double sumA = std::accumulate(a.begin() + 2, a.begin() + 142, 0.0);
    const double k = 0.01 * fK * sumA / (1 + 0.01 * fK);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR((a[lineBins[i]] - Term(0.5 * lineBins[i], v)) / k, shares[i], 1e-9)
            << lineBins[i];
}

TEST(Spectrum, RangeSumsTheFixedSpectraOfItsHalfKilovoltSteps) {
    const AttenuationTable table = TransparentTable();
    const SpectrumResult range = Compute(table, {75, 85, TubeVoltageWeighting::Equal});
    EXPECT_EQ(range.TubeVoltage, 85.0);
    for (int j : {2, 151, 170}) {
        double expected = 0;
        for (int k = 1; k <= 21; ++k)
            expected += Compute(table, Fixed(75 + 0.5 * (k - 1))).AirKermaSpectrum[j];
        EXPECT_NEAR(range.AirKermaSpectrum[j] / expected, 1.0, 1e-13) << j;
    }
    // A width that is not a multiple of 0.5 kV stops at the last step below the upper end;
    // decimal ends keep their last step although 2·(70.1 − 60.1) is 19.999999999999986 in binary.
    EXPECT_EQ(Compute(table, {70, 72.25, TubeVoltageWeighting::Equal}).TubeVoltage, 72.0);
    EXPECT_EQ(Compute(table, {60.1, 70.1, TubeVoltageWeighting::Equal}).TubeVoltage, 70.1);
}

// Ends of a normal range lie at ±1.84 standard deviations: 0.3989·exp(−0.5·1.84²) ≈ 0.0734.
TEST(Spectrum, NormalWeightsPeakInTheMiddleOfTheRange) {
    const AttenuationTable table = TransparentTable();
    const SpectrumResult range = Compute(table, {79.5, 80.5, TubeVoltageWeighting::Normal});
    const auto lo = Compute(table, Fixed(79.5)).AirKermaSpectrum;
    const auto mid = Compute(table, Fixed(80)).AirKermaSpectrum;
    const auto hi = Compute(table, Fixed(80.5)).AirKermaSpectrum;
    const double endWeight =
        range.AirKermaSpectrum[161] / hi[161];  // only 80.5 kV reaches 80.5 keV
    EXPECT_NEAR(endWeight, 0.0734, 5e-5);
    EXPECT_NEAR((range.AirKermaSpectrum[2] - endWeight * (lo[2] + hi[2])) / mid[2], 0.3989, 1e-12);
}

TEST(Spectrum, NormalisedFluenceBelow1e10IsCut) {
    AttenuationTable table = TransparentTable();
    table.Aluminium[50] = 40.0;  // e^−40 behind 1 cm
    EquipmentData eq = PlainEquipment();
    eq.InherentFiltration = 1.0;
    const SpectrumResult r = Compute(table, Fixed(80), eq);
    EXPECT_EQ(r.XraySpectrum[50], 0.0);
    EXPECT_GT(r.XraySpectrum[49], 0.0);
}

TEST(Spectrum, ImpossibleInputsThrow) {
    const AttenuationTable table = TransparentTable();
    EXPECT_GT(Compute(table, Fixed(150)).XraySpectrum[300], 0.0);  // the grid covers 150 kV
    EXPECT_THROW(Compute(table, Fixed(150.5)), CalculationError);
    EXPECT_THROW(Compute(table, Fixed(0.25)), CalculationError);
    EXPECT_THROW(Compute(table, Fixed(0.5)), CalculationError);  // no bin: zero total
    EXPECT_THROW(Compute(table, {85, 75, TubeVoltageWeighting::Equal}), CalculationError);
    EXPECT_THROW(Compute(table, {80, 80, TubeVoltageWeighting::Normal}), CalculationError);
    for (double angle : {0.0, 90.0, -5.0}) {
        EquipmentData eq = PlainEquipment();
        eq.TargetAngle = angle;
        EXPECT_THROW(Compute(table, Fixed(80), eq), CalculationError) << angle;
    }
    // A negative filter would amplify the beam: refused, the other filter only when in use.
    for (double EquipmentData::*filter :
         {&EquipmentData::InherentFiltration, &EquipmentData::AddedAluminium,
          &EquipmentData::AddedCopper, &EquipmentData::OtherFilterThickness}) {
        EquipmentData eq = PlainEquipment();
        eq.OtherFilterFlag = 1;
        eq.*filter = -0.05;
        EXPECT_THROW(Compute(table, Fixed(80), eq), CalculationError);
        eq.OtherFilterFlag = 0;
        if (filter == &EquipmentData::OtherFilterThickness) {
            EXPECT_NO_THROW(Compute(table, Fixed(80), eq));
        }
    }
    AttenuationTable noAir = table;
    noAir.AirEnergyAbsorption = Constant(0.0);
    EXPECT_THROW(Compute(noAir, Fixed(80)), CalculationError);
    AttenuationTable opaque = table;
    opaque.Aluminium = Constant(1e6);
    EquipmentData eq = PlainEquipment();
    eq.AddedAluminium = 1.0;
    EXPECT_THROW(Compute(opaque, Fixed(80), eq), CalculationError);
}

}  // namespace
}  // namespace ordevo
