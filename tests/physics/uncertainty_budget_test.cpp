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

}  // namespace
}  // namespace ordevo
