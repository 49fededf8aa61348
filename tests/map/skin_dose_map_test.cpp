// The map's invariants on the synthetic room: one event's central cell is the calculator's dose
// at that cell's FSD; doses add; fields apart do not add, fields overlapping do; the PSD stays
// below the one-spot bound and does not depend on the cell size.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "equipment_file.h"
#include "field_backscatter.h"
#include "reference_files.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map.h"
#include "spectrum.h"
#include "synthetic_data.h"

namespace ordevo::map {
namespace {

using rdsr::DoseReport;
using rdsr::IrradiationEvent;

// The cell nearest a place on the skin.
std::size_t CellAt(const PatientModel& m, double x, double y, double z) {
    std::size_t best = 0;
    double nearest = 1e300;
    for (std::size_t c = 0; c < m.Cells.size(); ++c) {
        const SkinCell& cell = m.Cells[c];
        const double d = std::hypot(cell.X - x, cell.Y - y, cell.Z - z);
        if (d < nearest) {
            nearest = d;
            best = c;
        }
    }
    return best;
}

// The calculator's dose of an evaluated event at `fsdCm`, without a couch.
double CalculatorWithoutCouch(const ReferenceData& ref, DoseCase inputs, double fsdCm,
                              const ScatterKernelLoader& loader) {
    inputs.FocusSkinDistanceCm = fsdCm;
    inputs.Equipment.CouchTransmission = 1.0;
    inputs.Equipment.CouchSoftTissueThickness = 0.0;
    const DoseEvaluation d = EvaluateDose(ref, inputs, loader);
    EXPECT_EQ(d.Outcome, EvaluationOutcome::Completed);
    return d.Result.SkinDose;
}

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
// else the isocentre at mid-thickness (skin 10 cm above it). Without table top and mattress the
// skin lies on the table plane: 70 cm, and 2 cm below the isocentre.
TEST_F(SkinDoseMapTest, VerticalPlacementFollowsTheBestGivenClue) {
    struct Row {
        std::optional<double> sourceToTablePlaneMm, heightAtIsocentreMm;
        double tableHeightMm, expectedFsdCm;
        bool noTable = false;  // table top and mattress 0 cm: the skin on the table plane
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, 0.0, 65.0}, {700.0, std::nullopt, 0.0, 74.0},
        {std::nullopt, -850.0, -830.0, 77.0},    {700.0, -850.0, -830.0, 74.0},
        {700.0, std::nullopt, 0.0, 70.0, true},  {std::nullopt, -850.0, -830.0, 73.0, true},
    };
    for (const Row& row : rows) {
        settings_.Profile.TableTopThicknessCm = row.noTable ? 0.0 : 1.5;
        settings_.Profile.MattressThicknessCm = row.noTable ? 0.0 : 4.0;
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

// Two planes whose tubes differ in target angle and inherent filtration only: each plane's
// event is mapped with its own spectrum, so the lateral plane-B event's central cell (the right
// side, FSD 75 − 20 = 55 cm, no table in its path) is plane B's calculator dose, though plane A's
// event with the same voltage and added filters came first.
TEST_F(SkinDoseMapTest, EachPlaneIsMappedWithItsOwnTube) {
    rdsr::PlaneSetup planeB = plane_;
    planeB.Equipment.Data.TargetAngle = 16.0;
    planeB.Equipment.Data.InherentFiltration = 0.5;
    IrradiationEvent a = Event(0, 0), b = Event(90, 0);
    a.Plane = rdsr::AcquisitionPlane::A;
    b.Plane = rdsr::AcquisitionPlane::B;
    const DoseReport report = Report({a, b});
    evaluation_ = rdsr::EvaluateReport(ref_, report, plane_, &planeB, loader_);
    const SkinDoseMap map = ComputeSkinDoseMap(ref_, report, evaluation_, settings_, loader_);
    ASSERT_EQ(map.MappedEvents, 2);
    const rdsr::EventEvaluation* onB = nullptr;
    for (const rdsr::PlaneEvaluation& plane : evaluation_.Planes)
        for (const rdsr::EventEvaluation& e : plane.Events)
            if (e.EventIndex == 1) onB = &e;
    ASSERT_NE(onB, nullptr);
    const std::size_t side = CellAt(map.Model, -20.0, 20.5, 0.0);
    EXPECT_NEAR(map.DoseMGy[side] / CalculatorWithoutCouch(ref_, onB->Case.Inputs, 55.0, loader_),
                1.0, 1e-6);
}

// A field narrower than a cell whose central ray falls between cell centres (0.87 cm at the skin,
// the ray 0.45 cm from the nearest centre) still puts its dose in that cell: the calculator's dose
// there, as for the central cell of a large field.
TEST_F(SkinDoseMapTest, FieldNarrowerThanACellStillDepositsItsDose) {
    settings_.Phantom = PhantomKind::Plane;
    settings_.LandmarkCm = 20.05;
    IrradiationEvent narrow = Event(0, 0);
    narrow.KermaAreaProductGyCm2 = 0.001 * 100.0 * 0.8 * 0.8;  // a 0.8 cm square at d_ref
    const SkinDoseMap map = Map(Report({narrow}));
    ASSERT_EQ(map.MappedEvents, 1) << (map.Unmapped.empty() ? "" : map.Unmapped[0].Reason);
    ASSERT_EQ(map.EventFields.size(), 1u);
    ASSERT_EQ(map.EventFields[0].Cells.size(), 1u);
    const std::size_t cell = map.EventFields[0].Cells[0];
    EXPECT_EQ(cell, CellAt(map.Model, 0.0, 20.5, -10.0));
    DoseCase inputs = evaluation_.Planes[0].Events[0].Case.Inputs;
    inputs.FocusSkinDistanceCm = 65.0;
    const DoseEvaluation calculator = EvaluateDose(ref_, inputs, loader_);
    ASSERT_EQ(calculator.Outcome, EvaluationOutcome::Completed);
    EXPECT_NEAR(map.DoseMGy[cell] / calculator.Result.SkinDose, 1.0, 1e-6);
}

// An event whose table moved the patient out of the beam (100 cm towards the head: the beam at
// 120.5 cm from the top of a 70 cm trunk) says how far its central ray passes: 120.5 − 69.5 cm
// from the last row's centre.
TEST_F(SkinDoseMapTest, AnEventThatMissesSaysHowFarItsRayPasses) {
    const SkinDoseMap map = Map(Report({Event(0, 0), Event(0, 0, 0, 1000)}));
    ASSERT_EQ(map.Unmapped.size(), 1u);
    EXPECT_NE(map.Unmapped[0].Reason.find("約 51 cm"), std::string::npos) << map.Unmapped[0].Reason;
}

// The backscatter at a cell's place in the field, on the flat phantom without a table: a PA
// beam's cell (x, y) from the centre gets, against the central cell, the ring sums of the 10.83 cm
// square field at 65 cm around it over those around the centre, times the inverse square
// 65²/(65² + x² + y²).
TEST_F(SkinDoseMapTest, CellsOffCentreGetTheBackscatterOfTheirPlace) {
    settings_.Phantom = PhantomKind::Plane;
    settings_.Profile.TableTopThicknessCm = settings_.Profile.MattressThicknessCm = 0.0;
    const SkinDoseMap map = Map(Report({Event(0, 0)}));
    const DoseCase& in = evaluation_.Planes[0].Events[0].Case.Inputs;
    const SpectrumResult spectrum = ComputeSpectrum(ref_.Attenuation, in.Equipment, in.Voltage);
    const RingBackscatter rings =
        ComputeRingBackscatter(ref_, spectrum.XraySpectrum, spectrum.TubeVoltage, 65.0);
    const double half = 5.0 * 65.0 / 60.0;
    const double centre = map.DoseMGy[CellAt(map.Model, 0.0, 20.5, -10.0)];
    const double places[][2] = {{4.0, 0.0}, {-3.0, 4.0}, {5.0, -5.0}};
    for (const auto& [x, y] : places) {
        const double expected = BackscatterAtPoint(rings, x, y, half, half) /
                                BackscatterAtPoint(rings, 0.0, 0.0, half, half) * 65.0 * 65.0 /
                                (65.0 * 65.0 + x * x + y * y);
        EXPECT_NEAR(map.DoseMGy[CellAt(map.Model, x, 20.5 + y, -10.0)] / centre, expected, 1e-9)
            << x << ", " << y;
    }
}

// A cranial 30° beam onto the flat phantom (no table): its central ray meets the plane 10 cm
// below the isocentre at 10·tan 30° towards the feet, a cell's centre, at 75 − 10/cos 30° cm.
// The rings there lie on the plane, where the field reaches k·D/(cos 30° ± k·sin 30°) along the
// tilt and k·D/√(1 + k²·sin² 30°) across, its sides leaning by k·sin 30° (k = 5/60): the cell's
// dose is the calculator's at that distance times the ring sum of that outline over the
// calculator's square's. Drawn across the central ray it would be the calculator's alone.
TEST_F(SkinDoseMapTest, ObliqueBeamsRingsLieOnTheSkin) {
    settings_.Phantom = PhantomKind::Plane;
    settings_.Profile.TableTopThicknessCm = settings_.Profile.MattressThicknessCm = 0.0;
    const double t = 30.0 * M_PI / 180.0, k = 5.0 / 60.0;
    settings_.LandmarkCm = 20.5 - 10.0 * std::tan(t);
    const SkinDoseMap map = Map(Report({Event(0, 30)}));
    const double d = 75.0 - 10.0 / std::cos(t);
    const DoseCase& in = evaluation_.Planes[0].Events[0].Case.Inputs;
    const SpectrumResult spectrum = ComputeSpectrum(ref_.Attenuation, in.Equipment, in.Voltage);
    const RingBackscatter rings =
        ComputeRingBackscatter(ref_, spectrum.XraySpectrum, spectrum.TubeVoltage, d);
    FieldOutline skin;
    const double side = k * d / std::sqrt(1.0 + k * k * std::sin(t) * std::sin(t));
    const double lean = k * std::sin(t), n = std::sqrt(1.0 + lean * lean);
    skin.DistanceCm = {side, k * d / (std::cos(t) + k * std::sin(t)), side,
                       k * d / (std::cos(t) - k * std::sin(t))};
    skin.NormalX = {1.0 / n, 0.0, -1.0 / n, 0.0};
    skin.NormalY = {lean / n, 1.0, lean / n, -1.0};
    const double half = 5.0 * d / 60.0;
    const double ratio =
        BackscatterInOutline(rings, skin) / BackscatterAtPoint(rings, 0.0, 0.0, half, half);
    EXPECT_GT(ratio, 1.001);  // the longer field on the skin backscatters more
    const double cell = map.DoseMGy[CellAt(map.Model, 0.0, 20.5, -10.0)];
    EXPECT_NEAR(cell / CalculatorWithoutCouch(ref_, in, d, loader_), ratio, 1e-6);
}

}  // namespace
}  // namespace ordevo::map
