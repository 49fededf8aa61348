// The cumulative skin dose: maps of one grid and lying add cell by cell, anything else adds the
// peaks as an upper bound; a report repeating earlier events is not counted twice; a stored grid
// rebuilds the trunk the map was made on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "cumulative_dose.h"
#include "procedure_record.h"
#include "stored_map.h"

namespace ordevo::registry {
namespace {

// The reference trunk on 5 cm cells: 14 rows of 20 columns.
const map::PatientModel& Trunk() {
    static const map::PatientModel model =
        map::MakePatientModel(map::PhantomKind::Torso, map::TorsoShape{}, 5.0);
    return model;
}

// A procedure whose map has `peakMGy` on one cell and a tenth of it on the next column.
StoredProcedure Mapped(const std::string& uid, std::size_t peakCell, double peakMGy,
                       const std::string& lying, int columns = 20) {
    StoredProcedure p;
    ProcedureRecord& r = p.Record;
    r.SopInstanceUid = uid;
    r.StudyDate = "20240101";
    r.PsdMGy = peakMGy;
    r.UpperBoundMGy = 2 * peakMGy;
    r.Planes = {{"single", "", 0, 0, 0, std::nullopt, 2, 0, 0}};
    p.Summary.NewEvents = 2;
    std::vector<double> cells(static_cast<std::size_t>(14 * columns), 0.0);
    cells.at(peakCell) = peakMGy;
    cells.at(peakCell + 1) = peakMGy / 10;
    r.Map = MapRecord{peakMGy, "", {}, {}, "torso", 5.0, 14, columns, cells, lying};
    return p;
}

TEST(CumulativeDose, AddsMapsOfOneGridAndLyingCellByCellElseThePeaks) {
    StoredProcedure noMap = Mapped("4", 0, 1000, "HFS");
    noMap.Record.Map.reset();
    noMap.Record.PsdMGy.reset();  // its upper bound, 2000 mGy, stands for its peak
    StoredProcedure repeat = Mapped("5", 30, 1000, "HFS");
    repeat.Summary.NewEvents = 0;  // every event already came with an earlier report
    const struct {
        const char* name;
        std::vector<StoredProcedure> procedures;
        double doseMGy;
        bool upperBound;
        std::size_t counted;
    } cases[] = {
        // Peaks 10 cells apart: the added map's peak is the larger one, below the sum.
        {"apart", {Mapped("1", 30, 3000, "HFS"), Mapped("2", 40, 2000, "HFS")}, 3000, false, 2},
        // The second peak beside the first: its tenth lands on the first's peak.
        {"neighbours",
         {Mapped("1", 30, 3000, "HFS"), Mapped("2", 29, 2000, "HFS")},
         3200,
         false,
         2},
        {"same cell", {Mapped("1", 30, 3000, "FFP"), Mapped("2", 30, 2000, "FFP")}, 5000, false, 2},
        {"lying differs",
         {Mapped("1", 30, 3000, "HFS"), Mapped("2", 40, 2000, "FFS")},
         5000,
         true,
         2},
        {"lying unknown", {Mapped("1", 30, 3000, ""), Mapped("2", 40, 2000, "")}, 5000, true, 2},
        {"grid differs",
         {Mapped("1", 30, 3000, "HFS"), Mapped("2", 40, 2000, "HFS", 22)},
         5000,
         true,
         2},
        // Two of one grid added, the third's peak on top.
        {"mixed",
         {Mapped("1", 30, 3000, "HFS"), Mapped("2", 40, 2000, "HFS"), Mapped("3", 50, 500, "FFS")},
         3500,
         true,
         3},
        {"no map", {Mapped("1", 30, 3000, "HFS"), noMap}, 5000, true, 2},
        {"repeat", {Mapped("1", 30, 3000, "HFS"), repeat}, 3000, false, 1},
    };
    for (const auto& c : cases) {
        const CumulativeDose sum = AddProcedureDoses(c.procedures);
        EXPECT_DOUBLE_EQ(sum.DoseMGy, c.doseMGy) << c.name;
        EXPECT_EQ(sum.UpperBound, c.upperBound) << c.name;
        EXPECT_EQ(sum.Procedures.size(), c.counted) << c.name;
        EXPECT_EQ(sum.AddedMap.has_value(), !c.upperBound) << c.name;
        const bool saysBound = std::any_of(sum.Notes.begin(), sum.Notes.end(), [](auto& n) {
            return n.find("上限") != std::string::npos;
        });
        EXPECT_EQ(saysBound, c.upperBound) << c.name;
    }
}

// A map that could not place all its dose adds its unplaced bound to its group's peak: the
// cumulative is then an upper bound even where the maps add cell by cell.
TEST(CumulativeDose, AddsEachMapsUnplacedBoundAndSaysItIsAnUpperBound) {
    auto unplaced = [](StoredProcedure p, double boundMGy, bool unbounded = false) {
        p.Record.UnplacedBoundMGy = boundMGy;
        p.Record.UnplacedUnbounded = unbounded;
        return p;
    };
    StoredProcedure nothingPlaced = Mapped("9", 30, 0, "HFS");  // every cell 0
    const struct {
        const char* name;
        std::vector<StoredProcedure> procedures;
        double doseMGy, unplacedMGy;
        std::vector<double> peaks;
        bool addedMap, unbounded;
    } cases[] = {
        // Apart on one grid: the added peak 3000 plus both bounds, 400 + 100.
        {"one grid",
         {unplaced(Mapped("1", 30, 3000, "HFS"), 400), unplaced(Mapped("2", 40, 2000, "HFS"), 100)},
         3500,
         500,
         {3400, 2100},
         true,
         false},
        // Lyings differ: each peak with its own bound, 3400 + 2000.
        {"two groups",
         {unplaced(Mapped("1", 30, 3000, "HFS"), 400), Mapped("2", 40, 2000, "FFS")},
         5400,
         400,
         {3400, 2000},
         false,
         false},
        // Nothing placed: its bound alone, never a 0.
        {"nothing placed", {unplaced(nothingPlaced, 3711)}, 3711, 3711, {3711}, true, false},
        {"unbounded",
         {unplaced(Mapped("1", 30, 3000, "HFS"), 0, true)},
         3000,
         0,
         {3000},
         true,
         true},
    };
    for (const auto& c : cases) {
        const CumulativeDose sum = AddProcedureDoses(c.procedures);
        EXPECT_DOUBLE_EQ(sum.DoseMGy, c.doseMGy) << c.name;
        EXPECT_DOUBLE_EQ(sum.UnplacedBoundMGy, c.unplacedMGy) << c.name;
        EXPECT_EQ(sum.UpperBound, c.unplacedMGy > 0 || !c.addedMap) << c.name;
        EXPECT_EQ(sum.AddedMap.has_value(), c.addedMap) << c.name;
        EXPECT_EQ(sum.Unbounded, c.unbounded) << c.name;
        ASSERT_EQ(sum.Procedures.size(), c.peaks.size()) << c.name;
        for (std::size_t i = 0; i < c.peaks.size(); ++i)
            EXPECT_DOUBLE_EQ(sum.Procedures[i].PeakMGy, c.peaks[i]) << c.name << " " << i;
        const auto says = [&](const char* words) {
            return std::any_of(sum.Notes.begin(), sum.Notes.end(), [&](const std::string& n) {
                return n.find(words) != std::string::npos;
            });
        };
        EXPECT_EQ(says("割り付けられない照射の上限を加えています"), c.unplacedMGy > 0) << c.name;
        EXPECT_EQ(says("線量を計算できない照射"), c.unbounded) << c.name;
    }
}

// A map that placed nothing keeps its bound and gives no PSD interval: "0 – 0" would read as a
// dose; a placed PSD keeps its interval.
TEST(ProcedureRecord, NothingPlacedHasNoInterval) {
    rdsr::DoseReport report;
    rdsr::ReportEvaluation evaluation;
    map::SkinDoseMap empty;
    empty.UnmappedUpperBoundMGy = 3711;
    empty.UpperBoundMGy = 3711;
    empty.MappedKarShare = 0;
    const ProcedureRecord none = MakeProcedureRecord("1", "2", report, evaluation, &empty);
    EXPECT_FALSE(none.PsdLowMGy);
    EXPECT_FALSE(none.PsdHighMGy);
    EXPECT_EQ(none.UnplacedBoundMGy, 3711);
    EXPECT_EQ(none.MappedKarShare, 0.0);

    map::SkinDoseMap placed = empty;
    placed.Model = Trunk();
    placed.DoseMGy.assign(Trunk().Cells.size(), 0.0);
    placed.DoseMGy[0] = 100;
    placed.PsdCell = 0;
    placed.PsdMGy = 100;
    placed.PsdUncertainty = UncertaintyBudget{100, {{UncertaintySource::Calibration, 0.1, 10}}};
    const ProcedureRecord some = MakeProcedureRecord("1", "2", report, evaluation, &placed);
    EXPECT_EQ(some.PsdLowMGy, 80.0);  // 100 ± 2 × 10
    EXPECT_EQ(some.PsdHighMGy, 120.0);
}

// One procedure adds nothing: its dose is its own peak, and no note speaks of a sum; only a
// procedure without a map is its upper bound, and says so.
TEST(CumulativeDose, OneProcedureIsItsOwnPeakNotASum) {
    StoredProcedure noMap = Mapped("3", 0, 1000, "HFS");
    noMap.Record.Map.reset();
    noMap.Record.PsdMGy.reset();
    const struct {
        const char* name;
        StoredProcedure procedure;
        double doseMGy;
        bool mapped;
    } cases[] = {
        {"mapped", Mapped("1", 30, 3000, "HFS"), 3000, true},
        {"lying unknown", Mapped("2", 30, 3000, ""), 3000, true},
        {"no map", noMap, 2000, false},  // its upper bound, 2 × 1000
    };
    for (const auto& c : cases) {
        const CumulativeDose sum = AddProcedureDoses({c.procedure});
        EXPECT_DOUBLE_EQ(sum.DoseMGy, c.doseMGy) << c.name;
        ASSERT_EQ(sum.Procedures.size(), 1u) << c.name;
        EXPECT_EQ(sum.Procedures[0].Mapped, c.mapped) << c.name;
        bool saysSum = false, saysBound = false;
        for (const std::string& note : sum.Notes) {
            saysSum = saysSum || note.find("和") != std::string::npos;
            saysBound = saysBound || note.find("上限") != std::string::npos;
        }
        EXPECT_FALSE(saysSum) << c.name;
        EXPECT_EQ(saysBound, !c.mapped) << c.name;
    }
}

TEST(CumulativeDose, TheAddedPeakIsPlacedOnItsCell) {
    const CumulativeDose sum =
        AddProcedureDoses({Mapped("1", 37, 3000, "HFS"), Mapped("2", 36, 2000, "HFS")});
    ASSERT_TRUE(sum.AddedMap);
    const map::SkinCell& cell = Trunk().Cells.at(37);
    ASSERT_TRUE(sum.AddedMap->PsdFromTopCm && sum.AddedMap->PsdAngleDeg);
    EXPECT_DOUBLE_EQ(*sum.AddedMap->PsdFromTopCm, cell.FromTopCm);
    EXPECT_NEAR(*sum.AddedMap->PsdAngleDeg, cell.AngleDeg, 1e-6);  // the rebuilt trunk's arc
    EXPECT_EQ(sum.AddedMap->PsdRegion, map::RegionName(Trunk(), cell));
}

// The stored grid alone rebuilds each trunk the map makes: same rows and columns, cells at the
// same angles (the cross-section's shape does not change with the build) and within a cell along.
TEST(StoredMap, TheGridRebuildsTheTrunkItCameFrom) {
    const struct {
        std::optional<double> heightCm, weightKg;
        double cellCm;
    } builds[] = {{170, 70, 1}, {150, 45, 1}, {190, 120, 2}, {std::nullopt, 95, 0.5}};
    for (const auto& b : builds) {
        std::vector<std::string> notes;
        const map::PatientModel made = map::MakePatientModel(
            map::PhantomKind::Torso, map::ScaleTorso(b.heightCm, b.weightKg, notes), b.cellCm);
        const auto rebuilt = ModelOfGrid("torso", b.cellCm, made.Rows, made.Columns);
        ASSERT_TRUE(rebuilt) << b.cellCm;
        ASSERT_EQ(rebuilt->Cells.size(), made.Cells.size());
        for (std::size_t i = 0; i < made.Cells.size(); i += 97) {
            EXPECT_NEAR(std::remainder(rebuilt->Cells[i].AngleDeg - made.Cells[i].AngleDeg, 360), 0,
                        1e-3)
                << i;
            EXPECT_DOUBLE_EQ(rebuilt->Cells[i].FromTopCm, made.Cells[i].FromTopCm) << i;
        }
    }
    EXPECT_FALSE(ModelOfGrid("torso", 1, 70, 97));  // an odd column count is never made
    EXPECT_FALSE(ModelOfGrid("sphere", 1, 70, 96));
}

TEST(CumulativeDose, TheLyingIsKnownOnlyWhenEveryPlacedEventGivesTheSame) {
    auto event = [](const char* table, const char* modifier) {
        rdsr::IrradiationEvent e;
        e.Geometry.PatientTableRelationship = table;
        e.Geometry.PatientOrientationModifier = modifier;
        return e;
    };
    const struct {
        std::vector<rdsr::IrradiationEvent> events;
        std::vector<bool> placed;
        const char* lying;
    } cases[] = {
        {{event("headfirst", "supine")}, {true}, "HFS"},
        {{event("Feet-First", "prone"), event("feet-first", "Prone")}, {true, true}, "FFP"},
        {{event("headfirst", "supine"), event("feet-first", "supine")}, {true, true}, ""},
        {{event("headfirst", "supine"), event("feet-first", "supine")}, {true, false}, "HFS"},
        {{event("", "supine")}, {true}, ""},
        {{event("headfirst", "left lateral decubitus")}, {true}, ""},
    };
    for (const auto& c : cases) {
        rdsr::DoseReport report;
        report.Events = c.events;
        map::SkinDoseMap skinMap;
        for (bool placed : c.placed) {
            skinMap.Placements.emplace_back();
            if (placed) skinMap.Placements.back().Steps.emplace_back();
        }
        EXPECT_EQ(ReportedLying(report, skinMap), c.lying);
    }
}

}  // namespace
}  // namespace ordevo::registry
