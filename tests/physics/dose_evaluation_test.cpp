// The evaluation chain: which steps run, what each failure reports, and how the factors combine.
#include "dose_evaluation.h"

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::Constant;
using testing::PlainEquipment;
using testing::TinyReferenceData;
using testing::UniformKernels;

struct Chain {
    ReferenceData ref = TinyReferenceData(0.0005);
    DoseCase in;
    ScatterKernelLoader kernels = UniformKernels(1.0);
    std::vector<EvaluationStep> steps;

    Chain() {
        for (int i = 1; i <= kBinCount; ++i)
            ref.Attenuation.TissueAttenuation[i] = 30.0 / i;  // harder is deeper
        ref.PrimaryTable = Constant(3.0, 21, 300);
        in.ReferenceAirKermaMGy = 1000;
        in.KermaAreaProductGyCm2 = 100;
        in.FocusSkinDistanceCm = 70;
        in.ReferenceFieldSizeCm = 10.0;
        in.Shape = FieldShape::Square;
        in.Equipment = PlainEquipment();
        in.Equipment.CalibrationConstant = 1.1;
        in.Equipment.CouchTransmission = 0.8;
        in.Equipment.CouchSoftTissueThickness = 1.2;
        in.Voltage = {80, 80, TubeVoltageWeighting::Equal};
    }
    DoseEvaluation Run() {
        return EvaluateDose(ref, in, kernels, [this](EvaluationStep step, const DoseEvaluation&) {
            steps.push_back(step);
        });
    }
};

TEST(DoseEvaluation, FactorsCombineIntoSkinDose) {
    Chain c;  // FAD 65 cm: the reference point is 50 cm from the focus, the skin 70 cm
    const DoseEvaluation ev = c.Run();
    ASSERT_EQ(ev.Outcome, EvaluationOutcome::Completed)
        << DiagnosticText(ev.Failure) << ev.CallerFailureText;
    EXPECT_EQ(c.steps,
              (std::vector<EvaluationStep>{EvaluationStep::Corrections, EvaluationStep::Spectrum,
                                           EvaluationStep::Backscatter, EvaluationStep::DepthDose,
                                           EvaluationStep::SkinDose}));
    const CaseConditions& cc = ev.Conditions;
    const DoseResult& r = ev.Result;
    EXPECT_DOUBLE_EQ(r.CorrectedReferenceAirKerma, 1100);
    EXPECT_DOUBLE_EQ(r.CorrectedKermaAreaProduct, 110);
    EXPECT_EQ(cc.ReferencePointDistance, 50);
    // Primary air kerma at the skin behind the couch: inverse square from 50 to 70 cm, then T.
    EXPECT_DOUBLE_EQ(r.EntranceAirKerma, 0.8 * 1100 * (50.0 / 70) * (50.0 / 70));
    EXPECT_DOUBLE_EQ(cc.PhantomSurfaceDistance, 68.8);
    EXPECT_DOUBLE_EQ(cc.SurfaceFieldSize, 10.0 * 68.8 / 50);
    EXPECT_EQ(cc.TubeVoltage, 80);
    EXPECT_NEAR(r.TissueToAirDoseRatio, 1.2, 1e-12);
    EXPECT_GT(r.BackscatterFactor, 1.0);
    EXPECT_LT(r.DepthDoseFactor, 1.0);  // the skin lies 1.2 cm deep in the phantom
    // The phantom surface, in front of the couch layer, sees the unattenuated kerma; F alone
    // carries the couch to the skin.
    const double toPhantom = (50 / 68.8) * (50 / 68.8);
    EXPECT_NEAR(r.SkinDose, r.DepthDoseFactor * r.BackscatterFactor * 1.2 * toPhantom * 1100, 1e-9);
    EXPECT_NEAR(r.ScatterFactor * r.TissueToAirDoseRatio * r.EntranceAirKerma, r.SkinDose, 1e-9);
}

TEST(DoseEvaluation, AtTheReferencePointWithoutCouchAirKermaIsUnchanged) {
    Chain c;
    c.in.Equipment.CouchTransmission = 1;
    c.in.Equipment.CouchSoftTissueThickness = 0;
    c.in.FocusSkinDistanceCm = 50;
    const DoseEvaluation ev = c.Run();
    ASSERT_EQ(ev.Outcome, EvaluationOutcome::Completed)
        << DiagnosticText(ev.Failure) << ev.CallerFailureText;
    const DoseResult& r = ev.Result;
    EXPECT_EQ(ev.Conditions.PhantomSurfaceDistance, 50);
    EXPECT_EQ(r.EntranceAirKerma, r.CorrectedReferenceAirKerma);
    EXPECT_EQ(r.DepthDoseFactor, 1.0);
    EXPECT_EQ(r.ScatterFactor, r.BackscatterFactor);
    // The uncorrected chain F·B·R·(FSD/d0)²·T·cKa,r gives the same bits here.
    EXPECT_EQ(r.SkinDose, r.DepthDoseFactor * r.BackscatterFactor * r.TissueToAirDoseRatio * 1.0 *
                              1.0 * r.CorrectedReferenceAirKerma);
}

TEST(DoseEvaluation, SkinFartherThanTheReferencePointFollowsTheInverseSquare) {
    auto run = [](double fsd) {
        Chain c;
        c.in.Equipment.CouchTransmission = 1;
        c.in.Equipment.CouchSoftTissueThickness = 0;
        c.in.FocusSkinDistanceCm = fsd;
        return c.Run();
    };
    const DoseEvaluation atReference = run(50);
    for (double fsd : {35.0, 65.0, 80.0}) {
        const DoseEvaluation ev = run(fsd);
        ASSERT_EQ(ev.Outcome, EvaluationOutcome::Completed)
            << DiagnosticText(ev.Failure) << ev.CallerFailureText;
        const double ratio = (50 / fsd) * (50 / fsd) * ev.Result.BackscatterFactor /
                             atReference.Result.BackscatterFactor;
        EXPECT_NEAR(ev.Result.SkinDose / atReference.Result.SkinDose, ratio, 1e-12) << fsd;
    }
}

TEST(DoseEvaluation, StatedReferenceDistanceReplacesTheEquipmentGeometry) {
    Chain c;
    c.in.ReferencePointDistanceCm = 60;  // a dose report's own reference point
    const DoseEvaluation ev = c.Run();
    ASSERT_EQ(ev.Outcome, EvaluationOutcome::Completed)
        << DiagnosticText(ev.Failure) << ev.CallerFailureText;
    EXPECT_EQ(ev.Conditions.ReferencePointDistance, 60);
    EXPECT_DOUBLE_EQ(ev.Conditions.SurfaceFieldSize, 10.0 * 68.8 / 60);
    EXPECT_DOUBLE_EQ(ev.Result.EntranceAirKerma, 0.8 * 1100 * (60.0 / 70) * (60.0 / 70));
    c.in.ReferencePointDistanceCm = -5;
    EXPECT_EQ(c.Run().Outcome, EvaluationOutcome::CalculationFailed);
}

TEST(DoseEvaluation, WorksAt150kV) {
    Chain c;
    c.in.Voltage = {140, 150, TubeVoltageWeighting::Normal};
    const DoseEvaluation ev = c.Run();
    EXPECT_EQ(ev.Outcome, EvaluationOutcome::Completed)
        << DiagnosticText(ev.Failure) << ev.CallerFailureText;
    EXPECT_EQ(ev.Conditions.TubeVoltage, 150);
    EXPECT_GT(ev.Result.SkinDose, 0);
    // The depth dose sums the spectrum up to the top of the range.
    const CaseConditions& cc = ev.Conditions;
    EXPECT_EQ(ev.Result.DepthDoseFactor,
              ComputeDepthDoseFactor(c.ref,
                                     {150, &ev.Spectrum.XraySpectrum, cc.PhantomSurfaceDistance,
                                      cc.SurfaceFieldSize, cc.Shape, 1.2},
                                     c.kernels));
}

TEST(DoseEvaluation, IsocentreDistanceOf15cmOrLessComputesNothing) {
    for (double fad : {15.0, 10.0}) {
        Chain c;
        c.in.Equipment.FocusIsocentreDistance = fad;
        const DoseEvaluation ev = c.Run();
        EXPECT_EQ(ev.Outcome, EvaluationOutcome::CalculationFailed);
        EXPECT_EQ(ev.ReachedStep, EvaluationStep::None);
        EXPECT_EQ(ev.Failure,
                  (CalculationFailure{CalculationProblem::FocusIsocentreDistanceTooShort,
                                      CalculatedQuantity::None,
                                      {fad}}));
        EXPECT_EQ(ev.Result.CorrectedReferenceAirKerma, 0);
        EXPECT_TRUE(c.steps.empty());
    }
}

// Each failure ends the chain at its step with that step's outcome and a reason; earlier results
// stay.
TEST(DoseEvaluation, FailuresMapToTheirStepsMessage) {
    struct Failure {
        const char* what;
        void (*change)(Chain&);
        EvaluationOutcome outcome;
        EvaluationStep reached;
    };
    const Failure failures[] = {
        {"voltage above 150",
         [](Chain& c) {
             c.in.Voltage = {151, 151, TubeVoltageWeighting::Equal};
         },
         EvaluationOutcome::CalculationFailed, EvaluationStep::Corrections},
        {"circle past ring 300",
         [](Chain& c) {
             // 44 cm at the reference point is 60.5 cm at the phantom surface: ring 302.
             c.in.Shape = FieldShape::Circle, c.in.ReferenceFieldSizeCm = 44;
         },
         EvaluationOutcome::CalculationFailed, EvaluationStep::Spectrum},
        {"kernel file missing",
         [](Chain& c) {
             c.kernels = [](int) -> ScatterKernel { throw std::runtime_error("no PDS-data"); };
         },
         EvaluationOutcome::DepthDoseFailed, EvaluationStep::Backscatter},
        {"couch thicker than the depth table",
         [](Chain& c) { c.in.Equipment.CouchSoftTissueThickness = 20; },
         EvaluationOutcome::DepthDoseFailed, EvaluationStep::Backscatter},
        {"no field shape",
         [](Chain& c) { c.in.Shape = FieldShape::None, c.in.ReferenceFieldSizeCm = 0; },
         EvaluationOutcome::DepthDoseFailed, EvaluationStep::Backscatter},
        {"skin at the couch surface",
         [](Chain& c) {
             c.in.Equipment.CouchSoftTissueThickness = 70;
             c.in.FocusSkinDistanceCm = 70;
         },
         EvaluationOutcome::DepthDoseFailed, EvaluationStep::Backscatter},
        {"zero calibration constant", [](Chain& c) { c.in.Equipment.CalibrationConstant = 0; },
         EvaluationOutcome::CalculationFailed, EvaluationStep::DepthDose},
        {"negative couch transmission", [](Chain& c) { c.in.Equipment.CouchTransmission = -0.5; },
         EvaluationOutcome::CalculationFailed, EvaluationStep::None},
        {"Ka,r past the double range after calibration",
         [](Chain& c) {
             c.in.ReferenceAirKermaMGy = 1.7e308, c.in.Equipment.CalibrationConstant = 1.1;
         },
         EvaluationOutcome::CalculationFailed, EvaluationStep::None},
    };
    for (const Failure& f : failures) {
        Chain c;
        f.change(c);
        const DoseEvaluation ev = c.Run();
        EXPECT_EQ(ev.Outcome, f.outcome) << f.what;
        EXPECT_EQ(ev.ReachedStep, f.reached) << f.what;
        // The computation's own failure, or the loader's words ("no PDS-data").
        EXPECT_TRUE(ev.Failure.Problem != CalculationProblem::None ||
                    ev.CallerFailureText == "no PDS-data")
            << f.what;
    }
}

TEST(DoseEvaluation, ObserverFailureFailsTheEvaluation) {
    for (EvaluationStep failing : {EvaluationStep::Spectrum, EvaluationStep::DepthDose}) {
        Chain c;
        const DoseEvaluation ev = EvaluateDose(
            c.ref, c.in, c.kernels, [failing](EvaluationStep step, const DoseEvaluation&) {
                if (step == failing) throw std::runtime_error("window closed");
            });
        EXPECT_EQ(ev.Outcome, EvaluationOutcome::CalculationFailed);
        EXPECT_EQ(ev.ReachedStep, failing);
    }
}

}  // namespace
}  // namespace ordevo
