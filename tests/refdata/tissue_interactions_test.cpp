// Soft-tissue interaction data and the sampled scattering angles, against xraylib directly.
#include <gtest/gtest.h>

#include <xraylib.h>

#include <array>
#include <cmath>
#include <functional>

#include "materials.h"
#include "tissue_interactions.h"

namespace ordevo::refdata {
namespace {

const TissueInteractions& Tissue() {
    static const TissueInteractions tissue;
    return tissue;
}

// Σ w_i · dσ_i/dΩ(θ) of the tissue elements (xraylib's DCS_Compt or DCS_Rayl, cm²/g/sr).
double MixtureDcs(double (*dcs)(int, double, double, xrl_error**), double energyKeV,
                  double cosTheta) {
    double sum = 0;
    for (const auto& [Z, w] : kSoftTissueElements)
        sum += w * dcs(Z, energyKeV, std::acos(cosTheta), nullptr);
    return sum;
}

// Histogram of cos θ in 20 bins against the integral of the differential cross section over
// each bin; a sampling fault (wrong momentum-transfer unit, missing form factor, wrong
// Klein–Nishina branch) moves several bins by far more than 5 standard deviations.
void ExpectAngularDistribution(const std::function<double(Xoshiro256&)>& sampleCos,
                               double (*dcs)(int, double, double, xrl_error**), double energyKeV) {
    constexpr int kBins = 20;
    constexpr int kSamples = 200000;
    std::array<double, kBins> observed{};
    Xoshiro256 rng(12345);
    for (int i = 0; i < kSamples; ++i) {
        const double c = sampleCos(rng);
        ASSERT_GE(c, -1.0);
        ASSERT_LE(c, 1.0);
        observed[static_cast<std::size_t>(
            std::min(kBins - 1, static_cast<int>((c + 1.0) / 2.0 * kBins)))] += 1;
    }
    std::array<double, kBins> expected{};
    double total = 0;
    for (int b = 0; b < kBins; ++b) {
        constexpr int kSteps = 200;  // midpoint rule within the bin
        const double width = 2.0 / kBins;
        for (int s = 0; s < kSteps; ++s) {
            const double c = -1.0 + width * (b + (s + 0.5) / kSteps);
            expected[static_cast<std::size_t>(b)] += MixtureDcs(dcs, energyKeV, c) * width / kSteps;
        }
        total += expected[static_cast<std::size_t>(b)];
    }
    for (int b = 0; b < kBins; ++b) {
        const double p = expected[static_cast<std::size_t>(b)] / total;
        const double sigma = std::sqrt(p * (1 - p) / kSamples);
        EXPECT_NEAR(observed[static_cast<std::size_t>(b)] / kSamples, p, 5 * sigma + 2e-4)
            << "cos θ bin " << b << " at " << energyKeV << " keV";
    }
}

TEST(TissueInteractions, IncoherentAnglesFollowKleinNishinaTimesScatteringFunction) {
    for (double e : {20.0, 60.0, 150.0}) {
        ExpectAngularDistribution(
            [e](Xoshiro256& rng) { return Tissue().SampleIncoherent(e, rng).CosTheta; }, DCS_Compt,
            e);
    }
}

TEST(TissueInteractions, CoherentAnglesFollowThomsonTimesFormFactorSquared) {
    for (double e : {10.0, 30.0, 80.0}) {
        ExpectAngularDistribution([e](Xoshiro256& rng) { return Tissue().SampleCoherent(e, rng); },
                                  DCS_Rayl, e);
    }
}

// The scattered energy is the Compton energy of the sampled angle (no Doppler broadening).
TEST(TissueInteractions, IncoherentEnergyIsTheComptonEnergyOfItsAngle) {
    Xoshiro256 rng(7);
    for (int i = 0; i < 1000; ++i) {
        const ScatteredPhoton out = Tissue().SampleIncoherent(100.0, rng);
        EXPECT_NEAR(out.EnergyKeV, 100.0 / (1.0 + 100.0 / 510.99895 * (1.0 - out.CosTheta)), 1e-9);
    }
}

// μ is the mixture rule over xraylib's elements; μen/ρ is NIST's, not xraylib's CS_Energy.
TEST(TissueInteractions, AttenuationIsTheMixtureOfXraylibAndAbsorptionIsNist) {
    for (double e : {15.0, 40.0, 100.0}) {
        double total = 0;
        for (const auto& [Z, w] : kSoftTissueElements) total += w * CS_Total(Z, e, nullptr);
        EXPECT_NEAR(Tissue().LinearAttenuation(e), kSoftTissueDensity * total, 1e-9 * total);
    }
    EXPECT_NEAR(Tissue().MuEnOverRho(30.0), 0.1616, 1e-6);
    EXPECT_NEAR(Tissue().MuEnOverRho(100.0), 0.02545, 1e-8);
}

}  // namespace
}  // namespace ordevo::refdata
