// The map's invariants on the synthetic room: one event's central cell is the calculator's dose
// at that cell's FSD; doses add; fields apart do not add, fields overlapping do; the PSD stays
// below the one-spot bound and does not depend on the cell size.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "equipment_file.h"
#include "reference_files.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map.h"
#include "synthetic_data.h"

namespace ordevo::map {
namespace {

using rdsr::DoseReport;
using rdsr::IrradiationEvent;

class SkinDoseMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ordevo::testing::WriteSyntheticWorkingFolder(dir_.path());
        ref_ = ReadReferenceData(dir_.path()).value();
        plane_.Equipment = LoadEquipmentFile(dir_.path() + "/Room1.odv3", dir_.path()).value();
        loader_ = rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(dir_.path()));
        // A cell's centre on the first isocentre's line, so a central ray hits it exactly.
        settings_.LandmarkCm = 20.5;
    }
    // A stationary event of 10 × 10 cm at the reference point, at the given angles and table
    // position (mm along the DICOM longitudinal axis, which moves the table to the left).
    static IrradiationEvent Event(double primary, double secondary, double longitudinalMm = 0,
                                  double lateralMm = 0, double karMGy = 100.0) {
        IrradiationEvent e;
        e.Uid = "1.2.3." + std::to_string(static_cast<int>(primary)) + "." +
                std::to_string(static_cast<int>(lateralMm));
        e.ReferenceAirKermaMGy = karMGy;
        e.KermaAreaProductGyCm2 = 0.001 * karMGy * 100.0;  // Ka,r in Gy × 10 cm × 10 cm
        e.TubeVoltageKv = 80.0;
        e.Geometry.PrimaryAngleDeg = primary;
        e.Geometry.SecondaryAngleDeg = secondary;
        e.Geometry.TableLongitudinalMm = longitudinalMm;
        e.Geometry.TableLateralMm = lateralMm;
        e.Geometry.TableHeightMm = 0.0;
        return e;
    }
    SkinDoseMap Map(const DoseReport& report) {
        evaluation_ = rdsr::EvaluateReport(ref_, report, plane_, nullptr, loader_);
        return ComputeSkinDoseMap(ref_, report, evaluation_, settings_, loader_);
    }
    static DoseReport Report(std::vector<IrradiationEvent> events) {
        DoseReport r;
        r.Events = std::move(events);
        return r;
    }
    QTemporaryDir dir_;
    ReferenceData ref_;
    rdsr::PlaneSetup plane_;
    ScatterKernelLoader loader_;
    MapSettings settings_;
    rdsr::ReportEvaluation evaluation_;
};

// PA through the table onto the back (torso) or the plane where the back lies: the isocentre at
// mid-thickness puts the skin 10 cm nearer the focus than the isocentre, FSD 65 cm, and the ray
// crosses mattress and table top whole, so the couch counts as the calculator counts it.
TEST_F(SkinDoseMapTest, CentralCellOfOneEventIsTheCalculatorsDose) {
    for (PhantomKind kind : {PhantomKind::Plane, PhantomKind::Torso}) {
        settings_.Phantom = kind;
        const SkinDoseMap map = Map(Report({Event(0, 0)}));
        ASSERT_EQ(map.MappedEvents, 1);
        ASSERT_TRUE(map.PsdCell);
        DoseCase inputs = evaluation_.Planes[0].Events[0].Case.Inputs;
        inputs.FocusSkinDistanceCm = 65.0;
        const DoseEvaluation calculator = EvaluateDose(ref_, inputs, loader_);
        ASSERT_EQ(calculator.Outcome, EvaluationOutcome::Completed);
        const std::size_t centre =
            static_cast<std::size_t>(20 * map.Model.Columns + map.Model.MiddleColumn);
        // 1e-6 relative: the couch path is the slab's thickness to rounding.
        EXPECT_NEAR(map.DoseMGy[centre] / calculator.Result.SkinDose, 1.0, 1e-6)
            << PhantomName(kind);
        EXPECT_NEAR(map.PsdFocusSkinDistanceCm, 65.0, 1e-9);
        EXPECT_LE(map.PsdMGy, map.UpperBoundMGy);  // the skin lies beyond d_ref = 60 cm
        EXPECT_EQ(RegionName(map.Model, map.Model.Cells[centre]), "背部");
    }
}

// A room whose table top and mattress are both 0 cm thick puts no couch in any ray: the central
// cell is the calculator's dose without a couch (it was 0/0, not a number).
TEST_F(SkinDoseMapTest, RoomWithoutTableGivesTheDoseWithoutCouch) {
    settings_.Profile.TableTopThicknessCm = 0.0;
    settings_.Profile.MattressThicknessCm = 0.0;
    const SkinDoseMap map = Map(Report({Event(0, 0)}));
    ASSERT_TRUE(map.PsdCell);
    DoseCase inputs = evaluation_.Planes[0].Events[0].Case.Inputs;
    inputs.FocusSkinDistanceCm = 65.0;
    inputs.Equipment.CouchTransmission = 1.0;
    inputs.Equipment.CouchSoftTissueThickness = 0.0;
    const DoseEvaluation calculator = EvaluateDose(ref_, inputs, loader_);
    ASSERT_EQ(calculator.Outcome, EvaluationOutcome::Completed);
    EXPECT_NEAR(map.PsdMGy / calculator.Result.SkinDose, 1.0, 1e-6);
}

// Where the patient lies vertically, for a PA beam onto the back (focus–isocentre 75 cm, a
// 4 cm mattress on a 1.5 cm table top, the table plane their boundary): from the focus–table
// plane distance (skin 4 cm beyond the plane), else from the profile's table height at the
// isocentre (the table 2 cm below it: the isocentre 2 cm above the plane, 2 cm below the skin),
// else the isocentre at mid-thickness (skin 10 cm above it).
TEST_F(SkinDoseMapTest, VerticalPlacementFollowsTheBestGivenClue) {
    struct Row {
        std::optional<double> sourceToTablePlaneMm, heightAtIsocentreMm;
        double tableHeightMm, expectedFsdCm;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, 0.0, 65.0},
        {700.0, std::nullopt, 0.0, 74.0},
        {std::nullopt, -850.0, -830.0, 77.0},
        {700.0, -850.0, -830.0, 74.0},
    };
    for (const Row& row : rows) {
        IrradiationEvent e = Event(0, 0);
        e.SourceToTablePlaneMm = row.sourceToTablePlaneMm;
        e.Geometry.TableHeightMm = row.tableHeightMm;
        settings_.Profile.TableHeightAtIsocentreMm = row.heightAtIsocentreMm;
        const SkinDoseMap map = Map(Report({e}));
        ASSERT_TRUE(map.PsdCell);
        EXPECT_NEAR(map.PsdFocusSkinDistanceCm, row.expectedFsdCm, 1e-9)
            << row.sourceToTablePlaneMm.value_or(0) << " " << row.heightAtIsocentreMm.value_or(0);
    }
}

// Invariants between maps, one table row each: how the PSD of `events` relates to the PSD of
// the single PA event.
TEST_F(SkinDoseMapTest, PsdOfSeveralEventsAgainstOne) {
    const double single = Map(Report({Event(0, 0)})).PsdMGy;
    struct Row {
        const char* what;
        std::vector<IrradiationEvent> events;
        double lowest, highest;  // PSD / single PSD
    };
    const Row rows[] = {
        {"the same event three times",
         {Event(0, 0), Event(0, 0), Event(0, 0)},
         3 - 1e-12,
         3 + 1e-12},
        // 300 mm along the DICOM longitudinal axis moves the table 30 cm to the patient's left.
        {"fields 30 cm apart", {Event(0, 0), Event(0, 0, 0, 300)}, 1 - 1e-12, 1 + 1e-12},
        {"fields 2 cm apart", {Event(0, 0), Event(0, 0, 0, 20)}, 1.5, 2.0},
    };
    for (const Row& row : rows) {
        const SkinDoseMap map = Map(Report(row.events));
        EXPECT_GE(map.PsdMGy / single, row.lowest) << row.what;
        EXPECT_LE(map.PsdMGy / single, row.highest) << row.what;
        EXPECT_LE(map.PsdMGy, map.UpperBoundMGy) << row.what;
    }
}

// The PSD's budget takes each event's shares at the PSD cell as they add (one calibration for
// all): three equal events on one spot triple the calibration's share, a field 30 cm away adds
// nothing to it; the placement's share comes from the map moved.
TEST_F(SkinDoseMapTest, PsdBudgetAddsTheSharesOfTheEventsThatReachIt) {
    auto calibrationShare = [](const SkinDoseMap& map) {
        return map.PsdUncertainty ? map.PsdUncertainty->Components.front().DoseStandardUncertainty
                                  : -1.0;
    };
    SkinDoseMap single = Map(Report({Event(0, 0)}));
    ASSERT_TRUE(single.PsdUncertainty);
    const rdsr::EventEvaluation& event = evaluation_.Planes[0].Events[0];
    EXPECT_NEAR(calibrationShare(single) / single.PsdMGy,
                event.Uncertainty->Components.front().DoseStandardUncertainty / event.SkinDoseMGy,
                1e-12);
    EXPECT_NEAR(calibrationShare(Map(Report({Event(0, 0), Event(0, 0), Event(0, 0)}))),
                3 * calibrationShare(single), 1e-9 * single.PsdMGy);
    EXPECT_NEAR(calibrationShare(Map(Report({Event(0, 0), Event(0, 0, 0, 300)}))),
                calibrationShare(single), 1e-9 * single.PsdMGy);
    const DoseReport report = Report({Event(0, 0)});
    single = Map(report);
    AddPlacementUncertainty(single, ref_, report, evaluation_, settings_, loader_);
    EXPECT_EQ(single.PsdUncertainty->Components.back().Source, UncertaintySource::PatientPlacement);
    EXPECT_GT(single.PsdUncertainty->Components.back().DoseStandardUncertainty, 0.0);
}

// A long procedure repeats a few beams with many voltages: the placement's share then comes from
// one event per beam, and differs from the share of the whole maps moved (computed here as it
// was before, landmark and height ±5 cm, the larger change of each, in quadrature) by less than
// 1 % of the PSD's expanded uncertainty; the map's doses are untouched.
TEST_F(SkinDoseMapTest, PlacementShareOfRepeatedBeamsIsTheWholeMapsShare) {
    std::vector<IrradiationEvent> events;
    const double beams[][3] = {{0, 0, 0}, {30, 10, 40}, {-20, 0, -30}, {0, 0, 120}};
    for (int i = 0; i < 48; ++i) {
        const double* b = beams[i % 4];
        IrradiationEvent e = Event(b[0], b[1], b[2], 0, 20.0 + i);
        e.Uid += "." + std::to_string(i);
        e.TubeVoltageKv = 70.0 + 2.5 * (i % 9);
        events.push_back(e);
    }
    const DoseReport report = Report(events);
    SkinDoseMap map = Map(report);
    const std::vector<double> doses = map.DoseMGy;
    AddPlacementUncertainty(map, ref_, report, evaluation_, settings_, loader_);
    EXPECT_EQ(map.DoseMGy, doses);
    ASSERT_TRUE(map.PsdUncertainty);
    const UncertaintyComponent placement = map.PsdUncertainty->Components.back();
    ASSERT_EQ(placement.Source, UncertaintySource::PatientPlacement);

    auto largestChange = [&](auto move) {
        double largest = 0;
        for (double side : {-1.0, 1.0}) {
            MapSettings moved = settings_;
            move(moved, side);
            const SkinDoseMap other = ComputeSkinDoseMap(ref_, report, evaluation_, moved, loader_);
            largest = std::max(largest, std::abs(other.PsdMGy - map.PsdMGy));
        }
        return largest;
    };
    const double landmark = largestChange([](MapSettings& s, double side) {
        s.LandmarkCm = std::max(0.0, s.LandmarkCm + side * kLandmarkUncertaintyCm);
    });
    const double tall = largestChange([](MapSettings& s, double side) {
        s.HeightCm = kReferenceHeightCm + side * kHeightUncertaintyCm;
    });
    const double whole = std::hypot(landmark, tall);
    EXPECT_GT(whole, 0.0);
    UncertaintyBudget before = *map.PsdUncertainty;
    before.Components.back().DoseStandardUncertainty = whole;
    EXPECT_NEAR(map.PsdUncertainty->ExpandedUncertainty(), before.ExpandedUncertainty(),
                0.01 * before.ExpandedUncertainty())
        << placement.DoseStandardUncertainty << " against " << whole;
}

// LAO 90 puts the detector on the patient's left, so the beam enters on the right; RAO 90 the
// mirror image, with the same dose.
TEST_F(SkinDoseMapTest, LaoAndRaoNinetyLandOnOppositeSides) {
    const SkinDoseMap lao = Map(Report({Event(90, 0)}));
    const SkinDoseMap rao = Map(Report({Event(-90, 0)}));
    ASSERT_TRUE(lao.PsdCell && rao.PsdCell);
    EXPECT_EQ(RegionName(lao.Model, lao.Model.Cells[*lao.PsdCell]), "右側");
    EXPECT_EQ(RegionName(rao.Model, rao.Model.Cells[*rao.PsdCell]), "左側");
    EXPECT_NEAR(lao.PsdMGy / rao.PsdMGy, 1.0, 1e-9);
    const SkinDoseMap both = Map(Report({Event(90, 0), Event(-90, 0)}));
    EXPECT_NEAR(both.PsdMGy / lao.PsdMGy, 1.0, 1e-9);
}

// A 10 cm field: halving the cells moves the PSD by less than 0.5 %.
TEST_F(SkinDoseMapTest, PsdHardlyDependsOnTheCellSize) {
    const double coarse = Map(Report({Event(20, 10)})).PsdMGy;
    settings_.CellCm = 0.5;
    const double fine = Map(Report({Event(20, 10)})).PsdMGy;
    EXPECT_NEAR(fine / coarse, 1.0, 0.005);
}

// An event that cannot be placed is listed with its reason and its calculator dose goes to the
// unmapped bound; a rotational run spreads its dose over its arc.
TEST_F(SkinDoseMapTest, UnplacedEventsAreBoundedAndRunsSpread) {
    IrradiationEvent refused = Event(0, 0);
    refused.Geometry.Refused = {"Positioner Primary Angle 200 deg: 範囲外"};
    IrradiationEvent run = Event(-60, 0);
    run.Geometry.PrimaryEndAngleDeg = 60.0;
    const SkinDoseMap map = Map(Report({refused, run}));
    ASSERT_EQ(map.Unmapped.size(), 1u);
    EXPECT_NE(map.Unmapped[0].Reason.find("200 deg"), std::string::npos);
    EXPECT_EQ(map.UnmappedUpperBoundMGy, evaluation_.Planes[0].Events[0].SkinDoseMGy);
    EXPECT_EQ(map.MappedEvents, 1);
    const double stationary = Map(Report({Event(0, 0)})).PsdMGy;
    // The back's cell under the isocentre (10 cm above the back) stays inside the 11 cm field
    // while 10 cm · tan θ < 5.5 cm, for ±29° of the 120° arc: about half of its dose.
    EXPECT_GT(map.PsdMGy, 0.40 * stationary);
    EXPECT_LT(map.PsdMGy, 0.60 * stationary);
}

}  // namespace
}  // namespace ordevo::map
