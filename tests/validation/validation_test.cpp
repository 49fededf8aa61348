// The dose-chain validation: transport invariants, the beam's normalisation and the quick
// no-couch check against the chain's own backscatter factor.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "beam_transport.h"
#include "couch_model.h"
#include "validation_cases.h"
#include "validation_run.h"

namespace ordevo::validation {
namespace {

const ValidationContext& Context() {
    static const ValidationContext context(ORDEVO_SHIPPED_REFDATA);
    return context;
}

ValidationCase CaseById(const std::string& id) {
    for (const ValidationCase& c : StandardCases())
        if (c.Id == id) return c;
    throw std::invalid_argument("no case " + id);
}

// Deposited + escaped = incident for every history, also through the couch's other materials
// and with weighted energies.
TEST(BeamTransport, ConservesEnergyThroughCouchAndPhantom) {
    for (const char* id : {"N2", "L4", "C1"}) {
        for (const EnergySampling sampling : {EnergySampling::Analogue, EnergySampling::KermaWeighted}) {
            BeamSetup setup = BuildBeamSetup(Context(), CaseById(id));
            setup.Sampling = sampling;
            SkinTally tally;
            TransportBeamBatch(setup, SpectrumSampler(setup), 3000, 17, tally);
            EXPECT_EQ(tally.Histories, 3000);
            EXPECT_NEAR(tally.DepositedKeV + tally.EscapedKeV, tally.IncidentKeV, 1e-12 * tally.IncidentKeV) << id;
            EXPECT_GT(tally.DepositedKeV, 0.0) << id;
            EXPECT_GT(tally.Crossings, 0) << id;
        }
    }
}

// Ω of a small field is its area over d²; the face of a cube seen from its centre is 4π/6.
TEST(BeamTransport, FieldSolidAngleOfSquaresAndCircles) {
    BeamSetup setup;
    setup.ReferenceDistanceCm = 100.0;
    setup.FieldSizeCm = 0.1;
    EXPECT_NEAR(FieldSolidAngle(setup), 0.01 / 1e4, 1e-12);
    setup.Shape = BeamShape::Circle;
    EXPECT_NEAR(FieldSolidAngle(setup), std::numbers::pi * 0.0025 / 1e4, 1e-12);
    setup.Shape = BeamShape::Square;
    setup.ReferenceDistanceCm = 5.0;
    setup.FieldSizeCm = 10.0;
    EXPECT_NEAR(FieldSolidAngle(setup), 4.0 * std::numbers::pi / 6.0, 1e-12);
}

// Kerma-weighted drawing with its weights is unbiased: the weighted mean of any f over the
// draws is the spectrum's average of f (here E and E², to 0.5 % with 400 000 draws).
TEST(BeamTransport, WeightedEnergyDrawingKeepsTheSpectrumAverage) {
    const BeamSetup setup = BuildBeamSetup(Context(), CaseById("N1"));
    const SpectrumSampler sampler(setup);
    refdata::Xoshiro256 rng(3);
    double sumE = 0;
    double sumE2 = 0;
    const int n = 400'000;
    for (int i = 0; i < n; ++i) {
        const DrawnEnergy d = sampler.Draw(rng.Uniform());
        sumE += d.Weight * d.EnergyKeV;
        sumE2 += d.Weight * d.EnergyKeV * d.EnergyKeV;
    }
    EXPECT_NEAR(sumE / n / sampler.Average([](double e) { return e; }), 1.0, 0.005);
    EXPECT_NEAR(sumE2 / n / sampler.Average([](double e) { return e * e; }), 1.0, 0.005);
}

// No couch, a 20 cm field, skin at the reference point: the unscattered part of the simulated
// skin dose per Ka,r is R, and the whole is B·R with the chain's B from the shipped table.
// Two million histories give about 1 % statistical uncertainty; the tolerances are loose.
TEST(Validation, QuickNoCouchWideFieldMatchesTheChainsBackscatterFactor) {
    const ValidationCase c = QuickCase();
    const ChainValues chain = EvaluateChain(Context(), c);
    const SimulationValues sim =
        Simulate(BuildBeamSetup(Context(), c), 0, SimulationSettings{.Histories = 2'000'000, .Batches = 20, .Threads = 1});
    EXPECT_NEAR(sim.PrimarySkinDosePerKar / chain.TissueToAirDoseRatio, 1.0, 0.03);
    EXPECT_NEAR(sim.SkinDosePerKar / (chain.BackscatterFactor * chain.TissueToAirDoseRatio), 1.0, 0.04);
    EXPECT_LT(sim.Uncertainty / sim.SkinDosePerKar, 0.02);
    EXPECT_NEAR(chain.SkinDosePerKar, chain.BackscatterFactor * chain.TissueToAirDoseRatio, 1e-12);
}

// The couch's T is below 1 and the editor's t reproduces it; a tissue layer's t is its own
// thickness to the editor's 0.1 cm grid interpolation.
TEST(Validation, CouchTransmissionAndThicknessFollowTheEditor) {
    const ChainValues layer = EvaluateChain(Context(), CaseById("L2"));
    EXPECT_NEAR(layer.CouchSoftTissueThickness, 1.0, 0.01);
    const ChainValues couch = EvaluateChain(Context(), CaseById("C2"));
    EXPECT_GT(couch.CouchTransmission, 0.7);
    EXPECT_LT(couch.CouchTransmission, 0.95);
    EXPECT_GT(couch.CouchSoftTissueThickness, 0.1);
}

// The composite's elements are the mixture of fibre and resin by mass; every material sums to 1.
TEST(CouchModel, CompositionsAreNormalisedMixtures) {
    for (const MaterialComposition& m : {CarbonFibreComposite(), PolymethacrylimideFoam(), PolyurethaneFoam()}) {
        double sum = 0;
        for (const ElementFraction& e : m.Elements) sum += e.MassFraction;
        EXPECT_NEAR(sum, 1.0, 1e-12) << m.Name;
    }
    const MaterialComposition cfrp = CarbonFibreComposite();
    EXPECT_NEAR(cfrp.Density, 0.6 * 1.76 + 0.4 * 1.20, 1e-12);
    // Fibre 1.056 of 1.536 g/cm³ is pure carbon; the resin C21H24O4 is 74.1 % carbon by mass.
    const double carbon = (1.056 + 0.480 * 0.7409) / 1.536;
    for (const ElementFraction& e : cfrp.Elements) {
        if (e.Z == 6) {
            EXPECT_NEAR(e.MassFraction, carbon, 1e-3);
        }
    }
}

TEST(ValidationRun, RefusesBadArguments) {
    const std::vector<std::vector<std::string>> bad = {
        {"--quick", "--histories", "100"}, {"--histories", "0"}, {"--histories", "12x"},
        {"--threads"}, {"--phantom", "40"}, {"--frobnicate"},
    };
    for (const auto& arguments : bad) EXPECT_THROW(ParseArguments(arguments), std::invalid_argument) << arguments[0];
    const ValidationOptions quick = ParseArguments({"--quick", "--cases", "N1,C2"});
    EXPECT_EQ(quick.Settings.Histories, kQuickHistoriesPerCase);
    EXPECT_EQ(quick.CaseIds, (std::vector<std::string>{"N1", "C2"}));
}

}  // namespace
}  // namespace ordevo::validation
