// Events through the dose chain: each with its own inputs, skipped and failed ones listed but
// never counted, sums that are the sums of the events, and reuse that changes no bit.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <tuple>

#include "equipment_file.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "scatter_kernel_file.h"
#include "synthetic_data.h"

namespace ordevo::rdsr {
namespace {

class ReportEvaluationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ordevo::testing::WriteSyntheticWorkingFolder(dir_.path());
        ref_ = ReadReferenceData(dir_.path()).value();
        plane_.Equipment = LoadEquipmentFile(dir_.path() + "/Room1.odv3", dir_.path()).value();
        plane_.EquipmentName = "Room1.odv3";
    }
    static IrradiationEvent Event(double karMGy, double pkaGyCm2, std::optional<double> kv = 80.0) {
        IrradiationEvent e;
        e.ReferenceAirKermaMGy = karMGy;
        e.KermaAreaProductGyCm2 = pkaGyCm2;
        e.TubeVoltageKv = kv;
        e.Filters = {XrayFilter{FilterMaterial::Copper, "Copper", 0.3, 0.3},
                     XrayFilter{FilterMaterial::Aluminium, "Aluminum", 1.0, 1.0}};
        return e;
    }
    QTemporaryDir dir_;
    ReferenceData ref_;
    PlaneSetup plane_;
};

// The event's voltage, filters and distances stand in for the equipment's; the rest stays.
TEST_F(ReportEvaluationTest, EventCaseUsesTheEventsOwnValues) {
    IrradiationEvent e = Event(12.5, 1.25, 70.0);
    e.SourceToIsocentreMm = 800.0;
    e.SourceToReferencePointMm = 620.0;
    const EventCase c = MakeEventCase(e, plane_);
    ASSERT_EQ(c.Status, EventStatus::Evaluated) << c.Note;
    EXPECT_EQ(c.Inputs.Voltage.TubeVoltageHigh, 70.0);
    EXPECT_FALSE(c.KvAssumed);
    EXPECT_DOUBLE_EQ(c.Inputs.Equipment.AddedCopper, 0.03);
    EXPECT_DOUBLE_EQ(c.Inputs.Equipment.AddedAluminium, 0.1);
    EXPECT_EQ(c.Inputs.Equipment.InherentFiltration, plane_.Equipment.Data.InherentFiltration);
    EXPECT_EQ(c.Inputs.Equipment.CalibrationConstant, plane_.Equipment.Data.CalibrationConstant);
    EXPECT_EQ(c.Inputs.Equipment.FocusIsocentreDistance, 80.0);
    EXPECT_EQ(c.Inputs.ReferencePointDistanceCm, 62.0);
    EXPECT_EQ(c.Inputs.FocusSkinDistanceCm, 62.0);  // FSD defaults to d_ref
    EXPECT_EQ(c.FieldSizeText, "10.00");            // √(1.25 / 0.0125) cm
    EXPECT_EQ(c.Inputs.Shape, FieldShape::Square);
}

TEST_F(ReportEvaluationTest, MissingVoltageAndFiltersComeFromTheEquipment) {
    IrradiationEvent e = Event(12.5, 1.25, std::nullopt);
    e.Filters.clear();
    plane_.FocusSkinDistanceCm = 55.0;
    const EventCase c = MakeEventCase(e, plane_);
    ASSERT_EQ(c.Status, EventStatus::Evaluated) << c.Note;
    EXPECT_TRUE(c.KvAssumed);
    EXPECT_EQ(c.TubeVoltageKv, 80.0);  // the synthetic room's typical tube voltage
    EXPECT_EQ(c.Inputs.Equipment.AddedCopper, plane_.Equipment.Data.AddedCopper);
    EXPECT_EQ(c.Inputs.ReferencePointDistanceCm, 0.0);  // the chain's FAD − 15
    EXPECT_EQ(c.ReferenceDistanceCm, 60.0);
    EXPECT_EQ(c.Inputs.FocusSkinDistanceCm, 55.0);
}

// Zero doses are skipped, impossible events fail with their reason, plane B without its
// equipment fails; none of them counts in the sums, which are the sums of the evaluated events.
TEST_F(ReportEvaluationTest, SumsCountEvaluatedEventsOnly) {
    DoseReport report;
    report.Events = {Event(12.5, 1.25),       Event(0.0, 1.0),         Event(20.0, 0.0),
                     Event(30.0, 2.0, 200.0), Event(25.0, 3.0, 100.0), Event(5.0, 0.5)};
    report.Events[5].Plane = AcquisitionPlane::B;
    const ReportEvaluation result =
        EvaluateReport(ref_, report, plane_, nullptr,
                       MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())));
    ASSERT_EQ(result.Planes.size(), 2u);
    const PlaneEvaluation& a = result.Planes[0];
    const EventStatus expected[] = {EventStatus::Evaluated, EventStatus::Skipped,
                                    EventStatus::Skipped, EventStatus::Failed,
                                    EventStatus::Evaluated};
    ASSERT_EQ(a.Events.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(a.Events[i].Case.Status, expected[i]) << i << a.Events[i].Case.Note;
    EXPECT_FALSE(a.Events[3].Case.Note.empty());
    EXPECT_EQ(a.Totals.Evaluated, 2);
    EXPECT_EQ(a.Totals.Skipped, 2);
    EXPECT_EQ(a.Totals.Failed, 1);
    EXPECT_EQ(a.Totals.ReferenceAirKermaMGy, 12.5 + 25.0);
    EXPECT_EQ(a.Totals.KermaAreaProductGyCm2, 1.25 + 3.0);
    EXPECT_EQ(a.Totals.SkinDoseSumMGy, a.Events[0].SkinDoseMGy + a.Events[4].SkinDoseMGy);
    EXPECT_GT(a.Events[0].SkinDoseMGy, 0.0);
    EXPECT_DOUBLE_EQ(a.Totals.MeanKv, 93.3);  // (12.5·80 + 25·100) / 37.5 = 93.33, to 0.1 kV
    ASSERT_TRUE(a.Totals.SingleCaseSkinDoseMGy);
    // Each event's spectrum moves with its filtration (the spectra are shared between events of
    // equal settings, never handed out for a moved one).
    for (const UncertaintyComponent& c : a.Events[0].Uncertainty.value().Components) {
        if (c.Source == UncertaintySource::AluminiumFiltration) {
            EXPECT_GT(c.DoseStandardUncertainty, 0.0);
        }
    }
    // One calibration serves both events: the sum's calibration share is the sum of theirs.
    ASSERT_TRUE(a.Events[0].Uncertainty && a.Events[4].Uncertainty &&
                a.Totals.SkinDoseSumUncertainty);
    EXPECT_NEAR(a.Totals.SkinDoseSumUncertainty->Components.front().DoseStandardUncertainty,
                a.Events[0].Uncertainty->Components.front().DoseStandardUncertainty +
                    a.Events[4].Uncertainty->Components.front().DoseStandardUncertainty,
                1e-9);

    const PlaneEvaluation& b = result.Planes[1];
    EXPECT_EQ(b.Plane, AcquisitionPlane::B);
    EXPECT_EQ(b.Events.at(0).Case.Status, EventStatus::Failed);
    EXPECT_EQ(b.Totals.SkinDoseSumMGy, 0.0);
    EXPECT_FALSE(b.Totals.SingleCaseSkinDoseMGy);
    EXPECT_FALSE(b.Totals.SkinDoseSumUncertainty);
}

// Values no reader lets through, handed to the chain directly: each such event fails with its
// reason, and the events around it are evaluated as ever.
TEST_F(ReportEvaluationTest, AnEventThatCannotBeComputedFailsAlone) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    DoseReport report;
    report.Events = {Event(12.5, 1.25), Event(inf, 1.25),       Event(12.5, inf),
                     Event(nan, 1.25),  Event(12.5, 1.25, inf), Event(12.5, 1.25)};
    const ReportEvaluation result =
        EvaluateReport(ref_, report, plane_, nullptr,
                       MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())));
    ASSERT_EQ(result.Planes.size(), 1u);
    const PlaneEvaluation& a = result.Planes[0];
    ASSERT_EQ(a.Events.size(), 6u);
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(a.Events[i].Case.Status, EventStatus::Failed) << i;
        EXPECT_FALSE(a.Events[i].Case.Note.empty()) << i;
    }
    EXPECT_EQ(a.Totals.Evaluated, 2);
    EXPECT_EQ(a.Totals.SkinDoseSumMGy, 2 * a.Events[0].SkinDoseMGy);
}

// What the evaluation assumes or doubts is said in the event's note: a filter of uneven
// thickness counts as its thickest, a skin dose beyond any real procedure's is flagged.
TEST_F(ReportEvaluationTest, AssumptionsAndDoubtsAreNoted) {
    IrradiationEvent uneven = Event(12.5, 1.25);
    uneven.Filters = {XrayFilter{FilterMaterial::Copper, "Copper", 0.0, 0.4}};
    IrradiationEvent scaled = Event(12.5e5, 1.25e5);  // a report scaled by 1e5: some 2,000 Gy
    const std::pair<IrradiationEvent, const char*> table[] = {
        {uneven, "安全側の最大値を使用"},
        {scaled, "上限 100 Gy を超えています"},
    };
    DoseReport report;
    for (const auto& row : table) report.Events.push_back(row.first);
    const ReportEvaluation result =
        EvaluateReport(ref_, report, plane_, nullptr,
                       MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())));
    const PlaneEvaluation& a = result.Planes.at(0);
    for (std::size_t i = 0; i < std::size(table); ++i) {
        EXPECT_EQ(a.Events.at(i).Case.Status, EventStatus::Evaluated) << i;
        EXPECT_NE(a.Events[i].Case.Note.find(table[i].second), std::string::npos)
            << a.Events[i].Case.Note;
    }
    EXPECT_DOUBLE_EQ(a.Events[0].Case.CopperMm, 0.4);
}

// The skin lies between focus and receptor: an FSD at or past the receptor (100 cm here) fails
// the event, one below 30 cm (5 typed for 50) is evaluated with a warning.
TEST_F(ReportEvaluationTest, ImplausibleFocusSkinDistancesAreRefusedOrNoted) {
    const std::tuple<double, EventStatus, const char*> table[] = {
        {100.0, EventStatus::Failed, "焦点-受像器間距離 100.0 cm 以上です"},
        {120.0, EventStatus::Failed, "焦点-受像器間距離 100.0 cm 以上です"},
        {5.0, EventStatus::Evaluated, "30 cm 未満です"},
    };
    for (const auto& [fsd, status, note] : table) {
        plane_.FocusSkinDistanceCm = fsd;
        const EventCase c = MakeEventCase(Event(12.5, 1.25), plane_);
        EXPECT_EQ(c.Status, status) << fsd;
        EXPECT_NE(c.Note.find(note), std::string::npos) << c.Note;
    }
}

// The totals as one case stand where the events stood: two equal events with their own
// reference distance (62 cm, not FAD − 15 = 60) and their own filters give, as one case, the sum
// of their skin doses (the texts are exact for these values, so only rounding differs). The
// second event's voltage is the room's typical 80 kV, so the mean is marked as assumed.
TEST_F(ReportEvaluationTest, SingleCaseOfEqualEventsIsTheirSum) {
    IrradiationEvent e = Event(12.5, 1.25, 80.0);
    e.SourceToReferencePointMm = 620.0;
    IrradiationEvent assumedKv = e;
    assumedKv.TubeVoltageKv.reset();
    for (const std::optional<double> fsd : {std::optional<double>(55.0), std::optional<double>()}) {
        plane_.FocusSkinDistanceCm = fsd;
        DoseReport report;
        report.Events = {e, assumedKv};
        const ReportEvaluation result =
            EvaluateReport(ref_, report, plane_, nullptr,
                           MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())));
        const PlaneTotals& t = result.Planes.at(0).Totals;
        ASSERT_TRUE(t.SingleCaseSkinDoseMGy) << t.SingleCaseNote;
        EXPECT_NEAR(*t.SingleCaseSkinDoseMGy, t.SkinDoseSumMGy, 1e-9 * t.SkinDoseSumMGy);
        EXPECT_EQ(t.SingleCase.ReferenceDistanceCm, 62.0);
        EXPECT_EQ(t.SingleCase.FocusSkinDistance, fsd ? "55.0" : "62.0");
        EXPECT_DOUBLE_EQ(t.SingleCase.CopperMm, 0.3);
        EXPECT_TRUE(t.SingleCase.TubeVoltageAssumed);
    }
}

// Plane B is evaluated with its own equipment: a calibration constant twice plane A's doubles
// cKa,r and, the chain being linear in it, the skin dose.
TEST_F(ReportEvaluationTest, PlaneBUsesItsOwnEquipment) {
    PlaneSetup planeB = plane_;
    planeB.Equipment.Data.CalibrationConstant = 2.0 * plane_.Equipment.Data.CalibrationConstant;
    planeB.EquipmentName = "Room1B.odv3";
    DoseReport report;
    report.Events = {Event(12.5, 1.25), Event(12.5, 1.25)};
    report.Events[0].Plane = AcquisitionPlane::A;
    report.Events[1].Plane = AcquisitionPlane::B;
    const ReportEvaluation result =
        EvaluateReport(ref_, report, plane_, &planeB,
                       MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())));
    ASSERT_EQ(result.Planes.size(), 2u);
    EXPECT_EQ(result.Planes[1].EquipmentName, "Room1B.odv3");
    const double a = result.Planes[0].Totals.SkinDoseSumMGy;
    EXPECT_GT(a, 0.0);
    EXPECT_NEAR(result.Planes[1].Totals.SkinDoseSumMGy, 2.0 * a, 1e-12 * a);  // rounding only
}

// The progress hears of every event; answering false stops after that event, and the sums
// cover what was evaluated.
TEST_F(ReportEvaluationTest, ProgressCanStopTheEvaluation) {
    DoseReport report;
    report.Events = {Event(10.0, 1.0), Event(20.0, 2.0), Event(30.0, 3.0)};
    std::vector<std::size_t> heard;
    const ReportEvaluation result =
        EvaluateReport(ref_, report, plane_, nullptr,
                       MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())),
                       [&heard](std::size_t done, std::size_t total) {
                           heard.push_back(done);
                           EXPECT_EQ(total, 3u);
                           return done < 2;
                       });
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(heard, (std::vector<std::size_t>{1, 2}));
    ASSERT_EQ(result.Planes.size(), 1u);
    EXPECT_EQ(result.Planes[0].Events.size(), 2u);
    EXPECT_EQ(result.Planes[0].Totals.ReferenceAirKermaMGy, 30.0);
}

// Kernels read once and spectra reused give exactly the numbers of each event evaluated alone.
TEST_F(ReportEvaluationTest, ReuseGivesTheSameBitsAsEachEventAlone) {
    DoseReport report;
    for (int i = 0; i < 12; ++i)
        report.Events.push_back(Event(10.0 + i, 1.0 + 0.1 * i, 70.0 + 10.0 * (i % 3)));
    const ReportEvaluation result =
        EvaluateReport(ref_, report, plane_, nullptr,
                       MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path())));
    const ScatterKernelLoader fresh = MakeScatterKernelLoader(dir_.path());
    ASSERT_EQ(result.Planes.size(), 1u);
    for (const EventEvaluation& e : result.Planes[0].Events) {
        const DoseEvaluation alone =
            EvaluateDose(ref_, MakeEventCase(report.Events[e.EventIndex], plane_).Inputs, fresh);
        ASSERT_EQ(alone.Outcome, EvaluationOutcome::Completed);
        EXPECT_EQ(e.SkinDoseMGy, alone.Result.SkinDose);
        EXPECT_EQ(e.Result.BackscatterFactor, alone.Result.BackscatterFactor);
        EXPECT_EQ(e.Result.DepthDoseFactor, alone.Result.DepthDoseFactor);
    }
}

// A long procedure on the shipped reference data: 300 events whose voltages, fields and Ka,r
// vary continuously, so that most share a class with an earlier event without being equal to
// it. Every dose is the event's own, bit for bit; every event's expanded uncertainty, and the
// plane sum's, within 1 % of the budget evaluated without sharing.
TEST(LongProcedure, SharedBudgetsKeepEveryDoseAndMoveNoUncertaintyByOnePercent) {
    const QString data = QStringLiteral(ORDEVO_SHIPPED_REFDATA);
    const ReferenceData ref = ReadReferenceData(data).value();
    PlaneSetup plane;
    EquipmentData& eq = plane.Equipment.Data;
    eq.FocusReceptorDistance = 100;
    eq.FocusIsocentreDistance = 75;
    eq.TargetAngle = 12;
    eq.InherentFiltration = 0.25;
    eq.CouchTransmission = 0.8;
    eq.CouchSoftTissueThickness = 1.2;
    eq.CalibrationConstant = 1.05;
    plane.Knowledge.CalibrationMeasured = true;  // the geometry's shares weigh most
    plane.Knowledge.CouchMeasured = true;
    DoseReport report;
    for (int i = 0; i < 300; ++i) {
        IrradiationEvent e;
        e.ReferenceAirKermaMGy = 0.5 + 0.0137 * i;
        const double sideCm = 8.0 + std::fmod(0.0113 * i, 10.0);
        e.KermaAreaProductGyCm2 = *e.ReferenceAirKermaMGy * sideCm * sideCm / 1000.0;
        e.TubeVoltageKv = 70.0 + std::fmod(0.037 * i, 40.0);
        e.Filters = {
            XrayFilter{FilterMaterial::Copper, "Copper", i % 2 ? 0.3 : 0.1, i % 2 ? 0.3 : 0.1}};
        report.Events.push_back(e);
    }
    long reads = 0;  // kernels handed out: 29 for each F
    const ScatterKernelLoader kernels =
        [&reads, cache = MakeCachingKernelLoader(MakeScatterKernelLoader(data))](int keV) {
            ++reads;
            return cache(keV);
        };
    const ReportEvaluation result = EvaluateReport(ref, report, plane, nullptr, kernels);
    const long shared = reads;
    reads = 0;
    ASSERT_EQ(result.Planes.size(), 1u);
    ASSERT_EQ(result.Planes[0].Totals.Evaluated, 300);
    std::vector<UncertaintyBudget> alone;
    for (const EventEvaluation& e : result.Planes[0].Events) {
        const DoseCase in = MakeEventCase(report.Events[e.EventIndex], plane).Inputs;
        const DoseEvaluation central = EvaluateDose(ref, in, kernels);
        ASSERT_EQ(central.Outcome, EvaluationOutcome::Completed);
        EXPECT_EQ(e.SkinDoseMGy, central.Result.SkinDose) << e.EventIndex;
        const auto exact = EvaluateUncertainty(ref, in, central, plane.Knowledge, kernels);
        ASSERT_TRUE(exact && e.Uncertainty) << e.EventIndex;
        EXPECT_NEAR(e.Uncertainty->ExpandedUncertainty(), exact->ExpandedUncertainty(),
                    0.01 * exact->ExpandedUncertainty())
            << e.EventIndex;
        alone.push_back(*exact);
    }
    // Budgets took most of their moved F from their class: an event alone computes 13 F (the
    // central one twice here), a class of this report holds about five events.
    EXPECT_LT(shared * 2, reads) << shared << " against " << reads;
    const double sum = SumCorrelated(alone).ExpandedUncertainty();
    ASSERT_TRUE(result.Planes[0].Totals.SkinDoseSumUncertainty);
    EXPECT_NEAR(result.Planes[0].Totals.SkinDoseSumUncertainty->ExpandedUncertainty(), sum,
                0.01 * sum);
}

}  // namespace
}  // namespace ordevo::rdsr
