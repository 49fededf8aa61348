// The map's parts by hand: the part of a ring inside a field, the room profile's text, the
// trunk's scaling.
#include <gtest/gtest.h>

#include <cmath>

#include "beam_geometry.h"
#include "field_backscatter.h"
#include "patient_model.h"
#include "room_profile.h"

namespace ordevo::map {
namespace {

// Circles around points of a 10 × 10 cm field: inside whole, half across an edge, a quarter at a
// corner, and the exact arc across one edge (2·acos(d/r) of 2π outside).
TEST(FieldBackscatter, CirclePartsInsideTheField) {
    struct Row {
        double radius, x, y, expected;
    };
    const Row rows[] = {
        {3.0, 0.0, 0.0, 1.0},  {2.0, 5.0, 0.0, 0.5},
        {2.0, 5.0, 5.0, 0.25}, {2.0, 0.0, 4.0, 1.0 - std::acos(0.5) / M_PI},
        {1.0, 7.0, 0.0, 0.0},  {20.0, 0.0, 0.0, 0.0},
    };
    for (const Row& r : rows)
        // 1e-7: the arcs come from a polynomial arc cosine good to 2·10⁻⁸ rad.
        EXPECT_NEAR(CircleFractionInRectangle(r.radius, r.x, r.y, 5.0, 5.0), r.expected, 1e-7)
            << r.radius << " at " << r.x << ", " << r.y;
}

// Circles around inner points crossing one, two or four edges and corners: the arc-length
// formula against counting 200,000 points spread evenly round the circle.
TEST(FieldBackscatter, CirclePartsAgreeWithCountingPointsOnTheCircle) {
    struct Row {
        double radius, x, y;
    };
    const Row rows[] = {{6.0, 1.0, 2.0}, {4.0, 3.0, -4.5}, {7.5, 0.0, 0.0}, {9.0, -4.0, 4.0}};
    constexpr int kPoints = 200000;
    for (const Row& r : rows) {
        int inside = 0;
        for (int i = 0; i < kPoints; ++i) {
            const double t = 2.0 * M_PI * (i + 0.5) / kPoints;
            const double px = r.x + r.radius * std::cos(t), py = r.y + r.radius * std::sin(t);
            inside += std::abs(px) <= 5.0 && std::abs(py) <= 5.0;
        }
        EXPECT_NEAR(CircleFractionInRectangle(r.radius, r.x, r.y, 5.0, 5.0),
                    static_cast<double>(inside) / kPoints, 1e-4)
            << r.radius << " at " << r.x << ", " << r.y;
    }
    for (double t = 0.0; t <= 1.0; t += 1.0 / 1024)
        EXPECT_NEAR(FastArcCosine(t), std::acos(t), 5e-8) << t;
}

// The rings the field's edges cut count in groups of four: within 0.05 % of counting each ring
// on its own, at the centre, off it, near an edge and in a corner of a 10 × 6 cm field.
TEST(FieldBackscatter, GroupedRingsAgreeWithRingByRing) {
    RingBackscatter rings;
    for (int r = 1; r <= kBackscatterRingCount; ++r) {
        rings.Ring[r] = 0.004 * std::exp(-(0.1 * r - 0.05) / 4.0);  // a backscatter-like fall
        rings.Cumulative[r] = rings.Cumulative[r - 1] + rings.Ring[r];
    }
    const double points[][2] = {{0.0, 0.0}, {2.0, 1.0}, {4.7, 0.0}, {-4.9, 2.9}};
    for (const auto& [x, y] : points) {
        double each = 1.0;
        for (int r = 1; r <= kBackscatterRingCount; ++r)
            each += rings.Ring[r] * CircleFractionInRectangle(0.1 * r - 0.05, x, y, 5.0, 3.0);
        EXPECT_NEAR(BackscatterAtPoint(rings, x, y, 5.0, 3.0) / each, 1.0, 5e-4) << x << ", " << y;
    }
}

TEST(RoomProfile, TextRoundTripsAndBadLinesAreNamed) {
    RoomProfile p;
    p.Longitudinal = TableDirection::Feet;
    p.Lateral = TableDirection::Right;
    p.TableHeightAtIsocentreMm = -850.0;
    p.MattressThicknessCm = 5.0;
    const auto back = ParseRoomProfile(RoomProfileText(p), "Room9");
    ASSERT_TRUE(std::holds_alternative<RoomProfile>(back));
    const RoomProfile& q = std::get<RoomProfile>(back);
    EXPECT_EQ(q.Name, "Room9");
    EXPECT_EQ(q.Longitudinal, TableDirection::Feet);
    EXPECT_EQ(q.Lateral, TableDirection::Right);
    EXPECT_EQ(q.TableHeightAtIsocentreMm, -850.0);
    EXPECT_EQ(q.MattressThicknessCm, 5.0);
    const char* bad[] = {"lateral = up\n", "longitudinal = head\nlateral = feet\n",
                         "# ok\nmattress_thickness_cm = -1\n", "colour = blue\n", "no equals\n"};
    for (const char* text : bad) {
        const auto parsed = ParseRoomProfile(text, "Room9");
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
        EXPECT_EQ(std::get<std::string>(parsed).rfind("Room9", 0), 0u) << text;
    }
}

// A file written before profiles said their angles and source reads as it did: the DICOM
// angles, no source; the new keys round-trip; bad values are named.
TEST(RoomProfile, AngleSignsAndSourceRoundTripAndOldFilesReadUnchanged) {
    const auto old = ParseRoomProfile("longitudinal = head\nlateral = left\nheight = up\n", "Old");
    ASSERT_TRUE(std::holds_alternative<RoomProfile>(old));
    const RoomProfile& o = std::get<RoomProfile>(old);
    EXPECT_EQ(o.Primary, AngleSign::AsDicom);
    EXPECT_EQ(o.Secondary, AngleSign::AsDicom);
    EXPECT_EQ(o.Source, ProfileSource::Unstated);
    EXPECT_EQ(ProfileLabel(o), "Old（出典の記載なし）");
    EXPECT_EQ(ProfileLabel(RoomProfile{}), "DICOM の定義");

    RoomProfile p;
    p.Secondary = AngleSign::Opposite;
    p.Source = ProfileSource::Commissioned;
    p.CommissionedReport = "room fit #2.dcm";  // '#' would start a comment: written as a blank
    p.CommissionedOn = "2026-12-01";
    p.CommissionedDevice = "Maker X-1";
    const auto back = ParseRoomProfile(RoomProfileText(p), "Room2");
    ASSERT_TRUE(std::holds_alternative<RoomProfile>(back)) << std::get<std::string>(back);
    const RoomProfile& q = std::get<RoomProfile>(back);
    EXPECT_EQ(q.Primary, AngleSign::AsDicom);
    EXPECT_EQ(q.Secondary, AngleSign::Opposite);
    EXPECT_EQ(q.Source, ProfileSource::Commissioned);
    EXPECT_EQ(q.CommissionedReport, "room fit  2.dcm");
    EXPECT_EQ(q.CommissionedOn, "2026-12-01");
    EXPECT_EQ(ProfileLabel(q), "Room2（実測 2026-12-01、Maker X-1）");
    EXPECT_FALSE(ProfileNote(q));

    const std::pair<const char*, const char*> bad[] = {
        {"primary_angle = reversed\n", "as_dicom か opposite"},
        {"source = vendor\n", "dicom, manufacturer, commissioned"},
        {"source = commissioned\n", "commissioned_on"},
    };
    for (const auto& [text, why] : bad) {
        const auto parsed = ParseRoomProfile(text, "Room9");
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
        EXPECT_NE(std::get<std::string>(parsed).find(why), std::string::npos)
            << std::get<std::string>(parsed);
    }
}

// An angle reported with the opposite sign is placed as the DICOM angle of the other sign: the
// beam of (−30°, +20°) in a room whose both signs are reversed is the DICOM beam of (30°, −20°).
TEST(BeamGeometry, ProfileAngleSignsTurnReportedAnglesIntoTheDefinitions) {
    struct Row {
        AngleSign primary, secondary;
        double reportedPrimary, reportedSecondary, dicomPrimary, dicomSecondary;
    };
    const Row rows[] = {
        {AngleSign::AsDicom, AngleSign::AsDicom, 30, 20, 30, 20},
        {AngleSign::Opposite, AngleSign::AsDicom, -30, 20, 30, 20},
        {AngleSign::AsDicom, AngleSign::Opposite, 30, -20, 30, 20},
        {AngleSign::Opposite, AngleSign::Opposite, -30, -20, 30, 20},
    };
    auto axisOf = [](double primary, double secondary, const RoomProfile& profile) {
        rdsr::DoseReport report;
        report.Events.resize(1);
        report.Events[0].Geometry.PrimaryAngleDeg = primary;
        report.Events[0].Geometry.SecondaryAngleDeg = secondary;
        PlacementSetup setup;
        setup.Profile = profile;
        std::vector<std::string> notes;
        const auto placed =
            PlaceEvents(report, {EventDistances{75.0, 100.0, 60.0, 10.0}}, setup, notes);
        EXPECT_EQ(placed[0].Steps.size(), 1u);
        return placed[0].Steps.empty() ? Vec3{} : placed[0].Steps[0].Axis;
    };
    for (const Row& row : rows) {
        RoomProfile room;
        room.Primary = row.primary;
        room.Secondary = row.secondary;
        const Vec3 got = axisOf(row.reportedPrimary, row.reportedSecondary, room);
        const Vec3 want = axisOf(row.dicomPrimary, row.dicomSecondary, RoomProfile{});
        EXPECT_NEAR((got - want).Length(), 0.0, 1e-12)
            << row.reportedPrimary << ", " << row.reportedSecondary;
    }
}

// The reference body keeps the MIRD trunk; a taller, heavier one scales length with height and
// the cross-section so the trunk's volume follows the weight.
TEST(PatientModel, TrunkScalesWithHeightAndWeight) {
    std::vector<std::string> notes;
    const TorsoShape reference = ScaleTorso(170.0, 70.0, notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_DOUBLE_EQ(reference.HalfWidthCm, 20.0);
    const TorsoShape big = ScaleTorso(187.0, 105.0, notes);
    EXPECT_NEAR(big.LengthCm, 77.0, 1e-12);
    const double volumeRatio = big.HalfWidthCm * big.HalfThicknessCm * big.LengthCm /
                               (reference.HalfWidthCm * reference.HalfThicknessCm * 70.0);
    EXPECT_NEAR(volumeRatio, 1.5, 1e-12);
    ScaleTorso(std::nullopt, std::nullopt, notes);
    EXPECT_EQ(notes.size(), 2u);
    // Cells around the trunk cover its perimeter; the middle column is the back's midline.
    const PatientModel m = MakePatientModel(PhantomKind::Torso, reference, 1.0);
    EXPECT_EQ(m.Cells[m.MiddleColumn].AngleDeg, 0.0);
    EXPECT_EQ(m.Rows, 70);
    double around = 0;
    for (int c = 0; c < m.Columns; ++c) around += m.Cells[c].AreaCm2;
    EXPECT_NEAR(around, 96.88, 0.01);  // the ellipse's perimeter (20, 10 cm) × 1 cm
}

// An event the model cannot hold is not placed, and its refusal names what is wrong; the same
// event with plausible values is placed.
TEST(BeamGeometry, ImplausibleEventsAreNotPlacedAndSayWhy) {
    struct Row {
        const char* expected;  // part of the refusal; "" for the plausible event
        void (*spoil)(rdsr::IrradiationEvent&, EventDistances&);
    };
    const Row rows[] = {
        {"", [](rdsr::IrradiationEvent&, EventDistances&) {}},
        {"焦点-アイソセンタ間距離",
         [](rdsr::IrradiationEvent&, EventDistances& d) { d.SourceToIsocentreCm = 10; }},
        {"焦点-検出器間距離",
         [](rdsr::IrradiationEvent&, EventDistances& d) { d.SourceToDetectorCm = 60; }},
        {"基準点距離",
         [](rdsr::IrradiationEvent&, EventDistances& d) { d.ReferenceDistanceCm = 0; }},
        {"焦点-寝台面間距離",
         [](rdsr::IrradiationEvent& e, EventDistances&) { e.SourceToTablePlaneMm = 2500; }},
        {"照射野", [](rdsr::IrradiationEvent&, EventDistances& d) { d.FieldSizeCm = 40; }},
        {"寝台の傾き",
         [](rdsr::IrradiationEvent& e, EventDistances&) { e.Geometry.TableHeadTiltDeg = 10; }},
        {"立位", [](rdsr::IrradiationEvent& e,
                    EventDistances&) { e.Geometry.PatientOrientation = "erect"; }},
        {"側臥位",
         [](rdsr::IrradiationEvent& e, EventDistances&) {
             e.Geometry.PatientOrientationModifier = "left lateral decubitus";
         }},
    };
    for (const Row& row : rows) {
        rdsr::DoseReport report;
        report.Events.resize(1);
        EventDistances d{75.0, 100.0, 60.0, 10.0};
        row.spoil(report.Events[0], d);
        std::vector<std::string> notes;
        const std::vector<EventPlacement> placed =
            PlaceEvents(report, {d}, PlacementSetup{}, notes);
        ASSERT_EQ(placed.size(), 1u);
        if (*row.expected == '\0') {
            EXPECT_EQ(placed[0].Steps.size(), 1u);
            EXPECT_TRUE(placed[0].Refusal.empty()) << placed[0].Refusal;
        } else {
            EXPECT_TRUE(placed[0].Steps.empty()) << row.expected;
            EXPECT_NE(placed[0].Refusal.find(row.expected), std::string::npos)
                << row.expected << ": " << placed[0].Refusal;
        }
    }
}

}  // namespace
}  // namespace ordevo::map
