// The shipped data set through the program's own readers and computations: physical checks
// against published values. The tolerances are part of the claim.
#include <gtest/gtest.h>

#include <QDir>

#include <cmath>

#include "backscatter.h"
#include "cp932_text.h"
#include "depth_dose.h"
#include "material_file.h"
#include "reference_files.h"
#include "scatter_kernel_file.h"
#include "spectrum.h"
#include "tube_voltage.h"

namespace ordevo {
namespace {

const QString kShipped = QStringLiteral(ORDEVO_SHIPPED_REFDATA);

const ReferenceData& Shipped() {
    static const ReferenceData ref = ReadReferenceData(kShipped).value();
    return ref;
}

// A tube with a 12° tungsten target and 3.1 mm Al total filtration at 80 kV, the beam of
// Benmakhlouf et al. (Med. Phys. 38, 2011; HVL 3.12 mm Al).
SpectrumResult Spectrum80kV() {
    EquipmentData equipment;
    equipment.TargetAngle = 12.0;
    equipment.InherentFiltration = 0.31;
    equipment.FocusReceptorDistance = 100.0;
    return ComputeSpectrum(Shipped().Attenuation, equipment, MakeFixedTubeVoltage(80.0).value());
}

TEST(ShippedRefdata, EveryFileIsReadableByTheProgram) {
    ASSERT_TRUE(ReadReferenceData(kShipped).has_value())
        << ReadReferenceData(kShipped).error().what();
    for (int e = 10; e <= 150; e += 5)
        EXPECT_NO_THROW(LoadScatterKernel(kShipped, e)) << e << " keV";
    const QStringList materials = QDir(kShipped).entryList({"*.ele"}, QDir::Files);
    EXPECT_EQ(materials.size(), 13);
    for (const QString& name : materials) {
        const auto table = LoadMaterialTable(QDir(kShipped).filePath(name));
        EXPECT_TRUE(table.has_value()) << name.toStdString() << ": " << table.error().what();
    }
    const auto note = ReadTextLines(
        QDir(kShipped).filePath(QStringLiteral("はじめにお読み下さい.txt")), kTableFileMaxBytes);
    ASSERT_TRUE(note.has_value());
    EXPECT_TRUE(note->join("").contains(QStringLiteral(".ele")));
    // Delivered without a user name: exactly 31 lines.
    const auto primary = ReadTextLines(QDir(kShipped).filePath("Primary.dat"), kTableFileMaxBytes);
    ASSERT_TRUE(primary.has_value());
    EXPECT_EQ(primary->size(), 31);
}

// The depth-dose computation replaces a zero field-integrated kernel by 1 before its
// logarithmic interpolation, so no cell of the rows it uses may be 0.
TEST(ShippedRefdata, KernelCellsOfTheUsedRowsArePositive) {
    for (int e = 10; e <= 150; e += 5) {
        const ScatterKernel kernel = LoadScatterKernel(kShipped, e);
        for (std::size_t j = 1; j <= kDepthRowsUsed; ++j) {
            for (std::size_t n = 1; n <= kKernelColumns; ++n)
                ASSERT_GT(kernel[j][n], 0.0) << e << " keV, row " << j << ", ring " << n;
        }
    }
}

// NIST guard: μen/ρ of air at 30 keV (bin 60) is 0.1537 cm²/g; xraylib's CS_Energy gives 0.112.
TEST(ShippedRefdata, AirAbsorptionAtThirtyKeVIsNist) {
    EXPECT_NEAR(Shipped().Attenuation.AirEnergyAbsorption[60], 0.1537, 0.01 * 0.1537);
}

TEST(ShippedRefdata, TissueToAirRatioOfAnEightyKvBeam) {
    const double ratio = Spectrum80kV().TissueToAirDoseRatio;
    EXPECT_GE(ratio, 1.05);
    EXPECT_LE(ratio, 1.09);
}

// Square fields at the phantom surface, d0 = 60 cm, SID 100 cm: within 3 % of the published
// water values for the beam, 1.330 (10 × 10 cm) and 1.388 (20 × 20 cm).
TEST(ShippedRefdata, BackscatterFactorsMatchPublishedValuesForTheBeam) {
    const SpectrumResult spectrum = Spectrum80kV();
    auto bsf = [&](double side) {
        return ComputeBackscatterFactor(Shipped(),
                                        BackscatterInputs{.tubeVoltageKv = 80.0,
                                                          .spectrum = &spectrum.XraySpectrum,
                                                          .phantomSurfaceDistanceCm = 60.0,
                                                          .fieldSizeCm = side,
                                                          .shape = FieldShape::Square});
    };
    EXPECT_NEAR(bsf(10.0), 1.330, 0.03 * 1.330);
    EXPECT_NEAR(bsf(20.0), 1.388, 0.03 * 1.388);
}

// The primary table and the kernels share one unit: at 60 keV (bin 120) a 20 × 20 cm field
// gives a scatter-to-primary ratio between 0.2 and 1.0 in the first depth bin (z = 0.25 cm),
// each side computed as the depth-dose computation does (ring fractions at the bin's depth,
// the same inverse-square factor on both).
TEST(ShippedRefdata, ScatterToPrimaryRatioAtSixtyKeVIsPlausible) {
    constexpr double d0 = 60.0;
    constexpr double z1 = 0.25;
    const double halfWidth = (z1 + d0) * 10.0 / d0;
    const double isq = d0 * d0 / ((z1 + d0) * (z1 + d0));
    const ScatterKernel kernel = LoadScatterKernel(kShipped, 60);
    const int rings = 1 + static_cast<int>(std::floor(2.0 * std::sqrt(2.0) * halfWidth));
    double scatter = 0;
    for (int n = 1; n <= rings; ++n)
        scatter +=
            RingFraction(n, halfWidth, halfWidth) * isq * kernel[1][static_cast<std::size_t>(n)];
    const double primary = std::exp(-Shipped().Attenuation.TissueAttenuation[120] * z1) *
                           Shipped().PrimaryTable[120] * isq;
    EXPECT_GE(scatter / primary, 0.2);
    EXPECT_LE(scatter / primary, 1.0);
}

}  // namespace
}  // namespace ordevo
