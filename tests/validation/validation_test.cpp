// The dose-chain validation: transport invariants, the beam's normalisation and the quick
// no-couch check against the chain's own backscatter factor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <set>
#include <stdexcept>
#include <string>

#include "beam_transport.h"
#include "couch_model.h"
#include "report.h"
#include "stored_run.h"
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
        for (const EnergySampling sampling :
             {EnergySampling::Analogue, EnergySampling::KermaWeighted}) {
            BeamSetup setup = BuildBeamSetup(Context(), CaseById(id));
            setup.Sampling = sampling;
            SkinTally tally;
            TransportBeamBatch(setup, SpectrumSampler(setup), 3000, 17, tally);
            EXPECT_EQ(tally.Histories, 3000);
            EXPECT_NEAR(tally.DepositedKeV + tally.EscapedKeV, tally.IncidentKeV,
                        1e-12 * tally.IncidentKeV)
                << id;
            EXPECT_GT(tally.DepositedKeV, 0.0) << id;
            EXPECT_GT(tally.Crossings, 0) << id;
        }
    }
}

SimulationValues SimulateCase(const BeamSetup& setup, std::int64_t histories, int threads = 1) {
    return Simulate(setup, 0,
                    SimulationSettings{.Histories = histories, .Batches = 20, .Threads = threads});
}

// Unscattered photons through vacuum follow the inverse square law from the focus: the primary
// skin dose per Ka,r at FSD is R·(d_ref/FSD)² (R of the same spectrum), at every distance.
TEST(BeamTransport, PrimaryFollowsTheInverseSquareFromTheFocus) {
    for (const char* id : {"N2", "N3", "N4"}) {
        const ValidationCase c = CaseById(id);
        const ChainValues chain = EvaluateChain(Context(), c);
        const SimulationValues sim = SimulateCase(BuildBeamSetup(Context(), c), 400'000);
        const double ratio = chain.ReferenceDistance / chain.FocusSkinDistance;
        // 400 000 histories: about 1.2 % statistical uncertainty on the primary part.
        EXPECT_NEAR(sim.PrimarySkinDosePerKar / (chain.TissueToAirDoseRatio * ratio * ratio), 1.0,
                    0.04)
            << id;
    }
}

// Behind the realistic couch the unscattered photons carry R·T·(d_ref/FSD)²: the photons cross
// all four layers in contact, none lost or counted twice at the faces, and T is theirs.
TEST(BeamTransport, PrimaryBehindTheCouchIsItsTransmission) {
    const ValidationCase c = CaseById("C2");
    const ChainValues chain = EvaluateChain(Context(), c);
    const SimulationValues sim = SimulateCase(BuildBeamSetup(Context(), c), 400'000);
    const double ratio = chain.ReferenceDistance / chain.FocusSkinDistance;
    EXPECT_NEAR(sim.PrimarySkinDosePerKar /
                    (chain.TissueToAirDoseRatio * chain.CouchTransmission * ratio * ratio),
                1.0, 0.04);
}

// A phantom cut into two boxes in contact scatters like the whole one: the skin dose at depth
// 1 cm under a tissue layer equals that of one box whose surface lies 1 cm before the skin.
TEST(BeamTransport, BoxesInContactActAsOne) {
    const ValidationCase c = CaseById("L2");
    const BeamSetup split = BuildBeamSetup(Context(), c);
    BeamSetup whole = split;
    whole.Boxes = {Box{{-20.0, -20.0, split.SkinPlaneCm - 1.0},
                       {20.0, 20.0, split.SkinPlaneCm + 20.0},
                       &Context().Tissue()}};
    const SimulationValues a = SimulateCase(split, 1'000'000);
    const SimulationValues b = SimulateCase(whole, 1'000'000);
    EXPECT_NEAR(a.SkinDosePerKar, b.SkinDosePerKar, 4.0 * std::hypot(a.Uncertainty, b.Uncertainty));
}

// Batches have fixed seeds and are summed in order: the number of threads changes nothing.
TEST(BeamTransport, ResultDoesNotDependOnTheNumberOfThreads) {
    const BeamSetup setup = BuildBeamSetup(Context(), CaseById("C5"));
    const SimulationValues one = SimulateCase(setup, 40'000, 1);
    const SimulationValues three = SimulateCase(setup, 40'000, 3);
    EXPECT_EQ(one.SkinDosePerKar, three.SkinDosePerKar);
    EXPECT_EQ(one.Uncertainty, three.Uncertainty);
    EXPECT_EQ(one.Histories, 40'000);
}

TEST(BeamTransport, SpectrumWithoutDrawablePhotonsIsRefused) {
    BeamSetup setup;
    setup.SkinMedium = &Context().Tissue();
    setup.Spectrum = std::vector<double>(301, 0.0);
    setup.Spectrum[1] = 1.0;  // 0.5 keV, below the interaction tables
    EXPECT_THROW(SpectrumSampler{setup}, std::invalid_argument);
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
        Simulate(BuildBeamSetup(Context(), c), 0,
                 SimulationSettings{.Histories = 2'000'000, .Batches = 20, .Threads = 1});
    EXPECT_NEAR(sim.PrimarySkinDosePerKar / chain.TissueToAirDoseRatio, 1.0, 0.03);
    EXPECT_NEAR(sim.SkinDosePerKar / (chain.BackscatterFactor * chain.TissueToAirDoseRatio), 1.0,
                0.04);
    EXPECT_LT(sim.Uncertainty / sim.SkinDosePerKar, 0.02);
    EXPECT_NEAR(chain.SkinDosePerKar, chain.BackscatterFactor * chain.TissueToAirDoseRatio, 1e-12);
}

// The circles against the full run's simulations stored with docs/validation.md: the rings out
// to the field's own radius s0/2 bring every circle within 2 % (out to d0·s0/SID, N8 read +4.2 %).
TEST(Validation, CirclesAgreeWithTheStoredSimulationsWithinTwoPercent) {
    const StoredRun stored = ReadStoredRun(ORDEVO_VALIDATION_DOCS);
    int circles = 0;
    for (const StoredCase& s : stored.Cases) {
        const ValidationCase c = CaseById(s.Id);
        if (c.Shape != BeamShape::Circle) continue;
        ++circles;
        const ChainValues chain = EvaluateChain(Context(), c);
        EXPECT_NEAR(chain.SkinDosePerKar / s.Simulation.SkinDosePerKar, 1.0, 0.02) << s.Id;
        EXPECT_GT(chain.CircleBackscatterBeforeMend, chain.BackscatterFactor) << s.Id;
    }
    EXPECT_EQ(circles, 3);
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
    for (const MaterialComposition& m :
         {CarbonFibreComposite(), PolymethacrylimideFoam(), PolyurethaneFoam()}) {
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

// The standard set spans every dimension the check must cover.
TEST(Validation, StandardCasesCoverEveryDimension) {
    std::set<double> kv, copper, field, offset;
    std::set<CouchKind> couch;
    std::set<BeamShape> shape;
    std::set<std::string> ids;
    for (const ValidationCase& c : StandardCases()) {
        kv.insert(c.TubeVoltageKv);
        copper.insert(c.CopperMm);
        field.insert(c.FieldSizeCm);
        offset.insert(c.FsdOffsetCm);
        couch.insert(c.Couch);
        shape.insert(c.Shape);
        ids.insert(c.Id);
    }
    EXPECT_GE(StandardCases().size(), 16u);
    EXPECT_EQ(ids.size(), StandardCases().size());
    EXPECT_EQ(kv, (std::set<double>{60, 80, 100, 120}));
    EXPECT_EQ(copper, (std::set<double>{0.0, 0.3, 0.9}));
    EXPECT_EQ(field, (std::set<double>{5, 10, 20}));
    EXPECT_EQ(offset, (std::set<double>{-15, 0, 15}));
    EXPECT_EQ(couch.size(), 3u);
    EXPECT_EQ(shape.size(), 2u);
}

// One row per case in the Markdown and CSV tables; the plot data hold the three FSD series.
TEST(Report, WritesEveryCaseAndTheFsdSeries) {
    std::vector<CaseResult> results;
    for (const char* id : {"N2", "N3", "L1", "C1"}) {
        const ValidationCase c = CaseById(id);
        results.push_back(
            {c, EvaluateChain(Context(), c), SimulateCase(BuildBeamSetup(Context(), c), 2'000)});
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "ordevo-validation-report-test";
    std::filesystem::remove_all(dir);
    WriteReport(dir.string(), results, CouchDescription{}, RunInfo{});
    auto lines = [&](const char* name) {
        std::ifstream in(dir / name);
        std::vector<std::string> all;
        for (std::string line; std::getline(in, line);) all.push_back(line);
        return all;
    };
    EXPECT_EQ(lines("cases.md").size(), 2 + results.size());
    EXPECT_EQ(lines("cases.csv").size(), 1 + results.size());
    const auto fsd = lines("fsd.dat");
    EXPECT_EQ(std::count_if(fsd.begin(), fsd.end(),
                            [](const std::string& l) { return !l.empty() && l[0] != '#'; }),
              4);
    EXPECT_FALSE(std::filesystem::exists(dir / "cases.md.part"));
    // --rechain reads the simulations back as they were written.
    const StoredRun stored = ReadStoredRun(dir.string());
    ASSERT_EQ(stored.Cases.size(), results.size());
    EXPECT_EQ(stored.Cases[3].Id, "C1");
    EXPECT_NEAR(stored.Cases[3].Simulation.SkinDosePerKar, results[3].Simulation.SkinDosePerKar,
                1e-6);  // written with six decimals
    std::filesystem::remove_all(dir);
}

TEST(Report, RefusesAFolderThatCannotBeWritten) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "ordevo-validation-not-a-folder";
    std::ofstream(file) << "x";
    EXPECT_ANY_THROW(WriteReport(file.string(), {}, CouchDescription{}, RunInfo{}));
    std::filesystem::remove(file);
}

TEST(ValidationRun, RefusesBadArguments) {
    const std::vector<std::vector<std::string>> bad = {
        {"--quick", "--histories", "100"},
        {"--histories", "0"},
        {"--histories", "12x"},
        {"--threads"},
        {"--phantom", "40"},
        {"--fad", "30"},
        {"--frobnicate"},
    };
    for (const auto& arguments : bad)
        EXPECT_THROW(ParseArguments(arguments), std::invalid_argument) << arguments[0];
    const ValidationOptions quick = ParseArguments({"--quick", "--cases", "N1,C2"});
    EXPECT_EQ(quick.Settings.Histories, kQuickHistoriesPerCase);
    EXPECT_EQ(quick.CaseIds, (std::vector<std::string>{"N1", "C2"}));
    const ValidationOptions far = ParseArguments({"--fad", "975"});
    EXPECT_EQ(far.Equipment.ReferenceDistanceCm(), 960.0);
    EXPECT_EQ(far.Equipment.FocusReceptorDistanceCm, 1000.0);
}

}  // namespace
}  // namespace ordevo::validation
