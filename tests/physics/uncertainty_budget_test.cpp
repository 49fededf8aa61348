// The skin dose's uncertainty budget: which components it holds, how they combine, and how the
// doses of one procedure add up.
#include "uncertainty_budget.h"

#include <cmath>

#include <gtest/gtest.h>

#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::Constant;
using testing::PlainEquipment;
using testing::TinyReferenceData;
using testing::UniformKernels;

struct Case {
    ReferenceData ref = TinyReferenceData(0.0005);
    DoseCase in;
    ScatterKernelLoader kernels = UniformKernels(1.0);

    Case() {
        for (int i = 1; i <= kBinCount; ++i) ref.Attenuation.TissueAttenuation[i] = 30.0 / i;
        ref.PrimaryTable = Constant(3.0, 21, 300);
        in.ReferenceAirKermaMGy = 1000;
        in.KermaAreaProductGyCm2 = 100;
        in.FocusSkinDistanceCm = 70;
        in.ReferenceFieldSizeCm = 10.0;
        in.Shape = FieldShape::Square;
        in.Equipment = PlainEquipment();
        in.Equipment.CouchTransmission = 0.8;
        in.Equipment.CouchSoftTissueThickness = 1.2;
        in.Equipment.AddedCopper = 0.03;  // its share is 0 here: the tiny table has no Cu
        in.Voltage = {80, 80, TubeVoltageWeighting::Equal};
    }
    UncertaintyBudget Budget(const UncertaintyKnowledge& known = {}) const {
        const DoseEvaluation central = EvaluateDose(ref, in, kernels);
        const auto budget = EvaluateUncertainty(ref, in, central, known, kernels);
        EXPECT_TRUE(budget.has_value());
        return budget.value_or(UncertaintyBudget{});
    }
};

double ShareOf(const UncertaintyBudget& b, UncertaintySource source) {
    for (const UncertaintyComponent& c : b.Components)
        if (c.Source == source) return c.DoseStandardUncertainty;
    return -1.0;  // not in the budget
}

// The dose is proportional to C, B and the model: their shares are their relative uncertainties
// of the dose, whatever the chain computes between; a measured calibration shrinks its share
// from the display tolerance (35 %/√3) to 3.5 %.
TEST(UncertaintyBudget, ProportionalInputsGiveTheirOwnShare) {
    const Case c;
    const UncertaintyBudget unmeasured = c.Budget();
    const double dose = unmeasured.SkinDose;
    ASSERT_GT(dose, 0.0);
    EXPECT_NEAR(ShareOf(unmeasured, UncertaintySource::Calibration), 0.35 / std::sqrt(3.0) * dose,
                1e-9 * dose);
    EXPECT_NEAR(ShareOf(unmeasured, UncertaintySource::BackscatterTable),
                BackscatterTableRelativeUncertainty() * dose, 1e-12 * dose);
    UncertaintyKnowledge measured;
    measured.CalibrationMeasured = true;
    EXPECT_NEAR(ShareOf(c.Budget(measured), UncertaintySource::Calibration), 0.035 * dose,
                1e-9 * dose);
    // A couch means the model's couch residuals (about 11 %), none the no-couch ones (about 1 %).
    EXPECT_NEAR(ShareOf(unmeasured, UncertaintySource::ChainModel) / dose, 0.113, 0.001);
    for (UncertaintySource s :
         {UncertaintySource::CouchTransmission, UncertaintySource::TubeVoltage,
          UncertaintySource::FocusSkinDistance})
        EXPECT_GT(ShareOf(unmeasured, s), 0.0) << UncertaintySourceKey(s);
    double squares = 0;
    for (const UncertaintyComponent& comp : unmeasured.Components)
        squares += comp.DoseStandardUncertainty * comp.DoseStandardUncertainty;
    EXPECT_DOUBLE_EQ(unmeasured.ExpandedUncertainty(), 2.0 * std::sqrt(squares));
}

// Without couch or copper those components are absent; at 150 kV only the lower side of the
// voltage can be evaluated, and the budget is still formed from it.
TEST(UncertaintyBudget, AbsentInputsAndTheChainsLimits) {
    Case c;
    c.in.Equipment.CouchTransmission = 1.0;
    c.in.Equipment.CouchSoftTissueThickness = 0.0;
    c.in.Equipment.AddedCopper = 0.0;
    c.in.Voltage = {150, 150, TubeVoltageWeighting::Equal};
    const UncertaintyBudget b = c.Budget();
    EXPECT_EQ(ShareOf(b, UncertaintySource::CouchTransmission), -1.0);
    EXPECT_EQ(ShareOf(b, UncertaintySource::CopperFiltration), -1.0);
    EXPECT_NEAR(ShareOf(b, UncertaintySource::ChainModel) / b.SkinDose, 0.011, 0.001);
    EXPECT_GT(ShareOf(b, UncertaintySource::TubeVoltage), 0.0);
}

// One calibration serves every event of a procedure: the shares of a source add linearly over
// the events, the sources then in quadrature. By hand: calibration 3 + 6 = 9, model 4, FSD 2:
// u = √(81 + 16 + 4) = √101.
TEST(UncertaintyBudget, ProcedureSumAddsEachSourceLinearly) {
    UncertaintyBudget first, second;
    first.SkinDose = 100;
    first.Components = {{UncertaintySource::Calibration, 0.03, 3.0},
                        {UncertaintySource::ChainModel, 0.04, 4.0}};
    second.SkinDose = 200;
    second.Components = {{UncertaintySource::FocusSkinDistance, 2.0, 2.0},
                         {UncertaintySource::Calibration, 0.03, 6.0}};
    const UncertaintyBudget sum = SumCorrelated({first, second});
    EXPECT_DOUBLE_EQ(sum.SkinDose, 300.0);
    ASSERT_EQ(sum.Components.size(), 3u);
    EXPECT_EQ(sum.Components[0].Source, UncertaintySource::Calibration);
    EXPECT_DOUBLE_EQ(sum.Components[0].DoseStandardUncertainty, 9.0);
    EXPECT_DOUBLE_EQ(sum.CombinedStandardUncertainty(), std::sqrt(101.0));
    EXPECT_DOUBLE_EQ(sum.RelativeExpandedUncertainty(), 2.0 * std::sqrt(101.0) / 300.0);
}

// A long procedure's budgets share F(moved)/F within a class of nearby cases: the first case
// of a class computes every moved F (its budget is the unshared one, bit for bit), a case of the
// same class none, a case of another class its own. Classes are 1 % wide in the logarithm of the
// tube voltage, d0 and s0; by hand, with d_ref = 65 − 15 = 50 cm, d0 = 70 − 1.2 = 68.8 cm and
// s0 = 10 · 68.8 / 50 = 13.76 cm: ln 80 / ln 1.01 = 440.39, ln 80.3 / ln 1.01 = 440.77 (same);
// ln 81 / ln 1.01 = 441.64 (next); d0 69.0: 425.23 → 425.52 (same); s0 13.80 (field 10.03):
// 263.64 → 263.93 (same); another copper is another class.
TEST(UncertaintyBudget, NearbyCasesShareTheirDepthDoseChanges) {
    struct Row {
        const char* name;
        double kv, fsdCm, fieldCm, copperCm;
        bool shared;
    };
    const Row rows[] = {
        {"same case", 80.0, 70.0, 10.0, 0.03, true},
        {"voltage 0.4 % higher", 80.3, 70.0, 10.0, 0.03, true},
        {"d0 0.3 % longer", 80.0, 70.2, 10.0, 0.03, true},
        {"field 0.3 % wider", 80.0, 70.0, 10.03, 0.03, true},
        {"voltage 1.25 % higher", 81.0, 70.0, 10.0, 0.03, false},
        {"other copper", 80.0, 70.0, 10.0, 0.04, false},
    };
    for (const Row& row : rows) {
        Case first;  // tiny data: F moves with the field and d0 (kernels over the field)
        int loads = 0;
        const ScatterKernelLoader kernels = first.kernels;
        first.kernels = [&loads, kernels](int e) {
            ++loads;
            return kernels(e);
        };
        DepthDoseRatios shared;
        const DoseEvaluation firstCentral = EvaluateDose(first.ref, first.in, first.kernels);
        const auto firstBudget =
            EvaluateUncertainty(first.ref, first.in, firstCentral, {}, first.kernels, {}, &shared);
        ASSERT_TRUE(firstBudget) << row.name;
        const UncertaintyBudget alone = first.Budget();
        ASSERT_EQ(firstBudget->Components.size(), alone.Components.size());
        for (std::size_t i = 0; i < alone.Components.size(); ++i)
            EXPECT_EQ(firstBudget->Components[i].DoseStandardUncertainty,
                      alone.Components[i].DoseStandardUncertainty)
                << row.name;

        Case next = first;
        next.in.Voltage = {row.kv, row.kv, TubeVoltageWeighting::Equal};
        next.in.FocusSkinDistanceCm = row.fsdCm;
        next.in.ReferenceFieldSizeCm = row.fieldCm;
        next.in.Equipment.AddedCopper = row.copperCm;
        const DoseEvaluation central = EvaluateDose(next.ref, next.in, next.kernels);
        loads = 0;
        const auto budget =
            EvaluateUncertainty(next.ref, next.in, central, {}, next.kernels, {}, &shared);
        ASSERT_TRUE(budget) << row.name;
        EXPECT_EQ(loads == 0, row.shared) << row.name << ": " << loads << " kernels read";
        EXPECT_EQ(shared.Classes(), row.shared ? 1u : 2u) << row.name;
        EXPECT_EQ(budget->SkinDose, central.Result.SkinDose) << row.name;
        const double exact = next.Budget().ExpandedUncertainty();
        EXPECT_NEAR(budget->ExpandedUncertainty(), exact, 0.01 * exact) << row.name;
    }
    // A field of 1.376 cm at the skin (1 cm at d_ref) is below the shared ones: the same case
    // again computes its own moved F.
    Case small;
    small.in.ReferenceFieldSizeCm = 1.0;
    int loads = 0;
    const ScatterKernelLoader kernels = small.kernels;
    small.kernels = [&loads, kernels](int e) {
        ++loads;
        return kernels(e);
    };
    DepthDoseRatios shared;
    const DoseEvaluation central = EvaluateDose(small.ref, small.in, small.kernels);
    for (int pass = 0; pass < 2; ++pass) {
        loads = 0;
        EXPECT_TRUE(
            EvaluateUncertainty(small.ref, small.in, central, {}, small.kernels, {}, &shared));
        EXPECT_GT(loads, 0) << "pass " << pass;
    }
    EXPECT_EQ(shared.Classes(), 0u);
}

}  // namespace
}  // namespace ordevo
