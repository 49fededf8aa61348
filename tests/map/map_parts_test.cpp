// The map's parts by hand: the part of a ring inside a field, the room profile's text, the
// trunk's scaling, the beam's placement, the field rule and the field's outline on the skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "beam_geometry.h"
#include "field_backscatter.h"
#include "field_rule.h"
#include "patient_model.h"
#include "room_profile.h"
#include "surface_field.h"

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

// The detector's direction for the report's angles (PS3.3 C.8.7.5.1.2: LAO and cranial
// positive), worked out by hand as (sin a·cos b, −sin b, cos a·cos b) in the patient frame (x
// left, y feet, z front); the focus 75 cm from the first isocentre (0, 20, 0) against it. A
// secondary angle of 183° is the beam of (180°, −3°): the detector behind, tipped 3° footwards.
TEST(BeamGeometry, PositionerAnglesPointTheBeam) {
    const double c20 = 0.9396926207859084, s20 = 0.3420201433256687, c30 = 0.8660254037844387;
    const double s3 = 0.05233595624294383, c3 = 0.9986295347545738;
    struct Row {
        double primary, secondary;
        Vec3 axis;
    };
    const Row rows[] = {
        {0, 0, {0, 0, 1}},                       // PA: detector in front of the chest
        {90, 0, {1, 0, 0}},                      // LAO 90: detector on the left
        {-90, 0, {-1, 0, 0}},                    // RAO 90: on the right
        {0, 30, {0, -0.5, c30}},                 // cranial: detector towards the head
        {0, -30, {0, 0.5, c30}},                 // caudal
        {30, 20, {0.5 * c20, -s20, c30 * c20}},  // LAO 30 + CRA 20
        {0, 183, {0, s3, -c3}},                  // over the top
        {-90, -183, {c3, -s3, 0}},               // RAO 90 past the bottom: LAO 90, CRA 3
    };
    for (const Row& row : rows) {
        rdsr::DoseReport report;
        report.Events.resize(1);
        report.Events[0].Geometry.PrimaryAngleDeg = row.primary;
        report.Events[0].Geometry.SecondaryAngleDeg = row.secondary;
        std::vector<std::string> notes;
        const std::vector<EventPlacement> placed =
            PlaceEvents(report, {EventDistances{75.0, 100.0, 60.0, 10.0}}, PlacementSetup{}, notes);
        ASSERT_EQ(placed[0].Steps.size(), 1u) << row.primary << " " << row.secondary;
        const BeamStep& s = placed[0].Steps[0];
        const Vec3 focus = Vec3{0, 20, 0} - row.axis * 75.0;
        for (const auto& [got, expected] : {std::pair{s.Axis.x, row.axis.x},
                                            {s.Axis.y, row.axis.y},
                                            {s.Axis.z, row.axis.z},
                                            {s.Focus.x, focus.x},
                                            {s.Focus.y, focus.y},
                                            {s.Focus.z, focus.z}})
            EXPECT_NEAR(got, expected, 1e-9) << row.primary << " " << row.secondary;
        const bool said =
            std::any_of(placed[0].Notes.begin(), placed[0].Notes.end(),
                        [](const std::string& n) { return n.find("±90°") != std::string::npos; });
        EXPECT_EQ(said, std::abs(row.secondary) > 90) << row.primary << " " << row.secondary;
    }
}

// The second event's isocentre after a table move of 100 mm on one axis, by the room's
// directions and how the patient lies (the first isocentre at (0, 20, 0); the isocentre moves
// against the table). DICOM's words: longitudinal moves the table to the left of a head-first
// supine patient, lateral towards the head, height downwards. Feet first turns left and head
// round, prone turns left and up.
TEST(BeamGeometry, TableMovesFollowTheRoomAndHowThePatientLies) {
    RoomProfile swapped;  // the names as most rooms use them
    swapped.Longitudinal = TableDirection::Head;
    swapped.Lateral = TableDirection::Left;
    swapped.Height = TableDirection::Up;
    struct Row {
        const char* what;
        RoomProfile profile;
        const char *relationship, *modifier;
        double longitudinalMm, lateralMm, heightMm;
        Vec3 isocentre;
        bool prone;
    };
    const Row rows[] = {
        {"DICOM longitudinal", {}, "headfirst", "supine", 100, 0, 0, {-10, 20, 0}, false},
        {"DICOM lateral", {}, "headfirst", "supine", 0, 100, 0, {0, 30, 0}, false},
        {"DICOM height", {}, "headfirst", "supine", 0, 0, 100, {0, 20, 10}, false},
        {"feet first longitudinal", {}, "feet-first", "supine", 100, 0, 0, {10, 20, 0}, false},
        {"feet first lateral", {}, "feet-first", "supine", 0, 100, 0, {0, 10, 0}, false},
        {"prone longitudinal", {}, "headfirst", "prone", 100, 0, 0, {10, 20, 0}, true},
        {"prone height", {}, "headfirst", "prone", 0, 0, 100, {0, 20, -10}, true},
        {"room longitudinal to the head",
         swapped,
         "headfirst",
         "supine",
         100,
         0,
         0,
         {0, 30, 0},
         false},
        {"room lateral to the left",
         swapped,
         "headfirst",
         "supine",
         0,
         100,
         0,
         {-10, 20, 0},
         false},
        {"room height upwards", swapped, "headfirst", "supine", 0, 0, 100, {0, 20, -10}, false},
    };
    for (const Row& row : rows) {
        rdsr::DoseReport report;
        report.Events.resize(2);
        for (rdsr::IrradiationEvent& e : report.Events) {
            e.Geometry.PrimaryAngleDeg = e.Geometry.SecondaryAngleDeg = 0.0;
            e.Geometry.TableLongitudinalMm = e.Geometry.TableLateralMm = 0.0;
            e.Geometry.TableHeightMm = 0.0;
            e.Geometry.PatientTableRelationship = row.relationship;
            e.Geometry.PatientOrientationModifier = row.modifier;
        }
        report.Events[1].Geometry.TableLongitudinalMm = row.longitudinalMm;
        report.Events[1].Geometry.TableLateralMm = row.lateralMm;
        report.Events[1].Geometry.TableHeightMm = row.heightMm;
        const EventDistances d{75.0, 100.0, 60.0, 10.0};
        std::vector<std::string> notes;
        PlacementSetup setup;
        setup.Profile = row.profile;
        const std::vector<EventPlacement> placed = PlaceEvents(report, {d, d}, setup, notes);
        ASSERT_EQ(placed[1].Steps.size(), 1u) << row.what;
        EXPECT_EQ(placed[1].Prone, row.prone) << row.what;
        const Vec3 isocentre = placed[1].Steps[0].Focus + placed[1].Steps[0].Axis * 75.0;
        EXPECT_NEAR(isocentre.x, row.isocentre.x, 1e-9) << row.what;
        EXPECT_NEAR(isocentre.y, row.isocentre.y, 1e-9) << row.what;
        EXPECT_NEAR(isocentre.z, row.isocentre.z, 1e-9) << row.what;
    }
}

// The field at the reference point for reported sizes at the detector (d_ref/SID = 0.6) against
// P_KA/Ka,r's 10 cm square (100 cm²): the reported field where its area at the reference point
// lies within a factor of 2 of 100 cm², else 100 cm² with the reported shape where plausible,
// else square; the area (113790) where height and width are absent.
TEST(FieldRule, ReportedFieldOnlyWhereItAgreesWithPka) {
    struct Row {
        const char* what;
        ReportedField reported;
        double halfWidth, halfHeight;
        const char* note;  // part of the note; "" for none
    };
    const Row rows[] = {
        {"0 mm", {0.0, 0.0, 0.0}, 5, 5, "正の値でない"},
        {"-0 mm", {-0.0, -0.0, std::nullopt}, 5, 5, "正の値でない"},
        {"-3 × 5 mm", {-3.0, 5.0, std::nullopt}, 5, 5, "正の値でない"},
        {"2 × 2 mm", {2.0, 2.0, std::nullopt}, 5, 5, "2 倍を超えて違う"},
        // 200 × 150 mm: 12 × 9 cm = 108 cm² at the reference point.
        {"consistent", {200.0, 150.0, std::nullopt}, 4.5, 6, ""},
        // A slot 400 × 50 mm: 24 × 3 cm = 72 cm², agrees, taken as written.
        {"consistent slot", {400.0, 50.0, std::nullopt}, 1.5, 12, ""},
        // 400 × 300 mm: 432 cm²; 100 cm² at 3:4 is 8.660 × 11.547 cm.
        {"inconsistent",
         {400.0, 300.0, std::nullopt},
         4.330127018922193,
         5.773502691896258,
         "縦横比"},
        // 600 × 100 mm: 216 cm², and 6:1 is no plausible field.
        {"inconsistent, 6:1", {600.0, 100.0, std::nullopt}, 5, 5, "正方形"},
        // 250 cm² at the detector: 90 cm² at the reference point, a 9.487 cm square.
        {"area only",
         {std::nullopt, std::nullopt, 250.0},
         4.743416490252569,
         4.743416490252569,
         "照射野面積を正方形"},
        {"area only, 0", {std::nullopt, std::nullopt, 0.0}, 5, 5, "正の値でない"},
        {"area only, inconsistent", {std::nullopt, std::nullopt, 1000.0}, 5, 5, "2 倍を超えて"},
        {"height only", {200.0, std::nullopt, std::nullopt}, 5, 5, "記載がなく"},
    };
    for (const Row& row : rows) {
        const FieldAtReference f = ChooseField(row.reported, 10.0, 0.6);
        EXPECT_NEAR(f.HalfWidthCm, row.halfWidth, 1e-12) << row.what;
        EXPECT_NEAR(f.HalfHeightCm, row.halfHeight, 1e-12) << row.what;
        if (*row.note == '\0')
            EXPECT_EQ(f.Note, "") << row.what;
        else
            EXPECT_NE(f.Note.find(row.note), std::string::npos) << row.what << ": " << f.Note;
    }
}

// The outline's ring parts against counting points on the ring, for a rectangle (which must
// give CircleFractionInRectangle), a trapezoid and a parallelogram as an oblique skin sees a
// field.
TEST(FieldBackscatter, OutlinePartsAgreeWithCountingPoints) {
    // Each outline as half-planes n·p ≤ d around the origin.
    struct Edge {
        double nx, ny, d;
    };
    const double s = std::sqrt(0.5);
    const std::vector<std::vector<Edge>> outlines = {
        {{1, 0, 4}, {0, 1, 3}, {-1, 0, 6}, {0, -1, 5}},                            // rectangle
        {{1, 0, 4}, {s, s, 5}, {-1, 0, 6}, {0, -1, 5}},                            // a corner cut
        {{0.8, -0.6, 4}, {0, 1, 3}, {-0.8, 0.6, 5}, {0, -1, 4}},                   // parallelogram
        {{0.99, 0.141067359, 5}, {0, 1, 6}, {-0.99, 0.141067359, 5}, {0, -1, 3}},  // trapezoid
    };
    for (std::size_t k = 0; k < outlines.size(); ++k) {
        FieldOutline o;
        for (std::size_t i = 0; i < 4; ++i) {
            const double n = std::hypot(outlines[k][i].nx, outlines[k][i].ny);
            o.NormalX[i] = outlines[k][i].nx / n;
            o.NormalY[i] = outlines[k][i].ny / n;
            o.DistanceCm[i] = outlines[k][i].d;
        }
        for (double radius : {2.0, 3.5, 4.5, 5.5, 7.0, 9.0, 20.0}) {
            constexpr int kPoints = 100000;
            int inside = 0;
            for (int i = 0; i < kPoints; ++i) {
                const double t = 2.0 * M_PI * (i + 0.5) / kPoints;
                const double px = radius * std::cos(t), py = radius * std::sin(t);
                bool in = true;
                for (std::size_t e = 0; e < 4; ++e)
                    in = in && px * o.NormalX[e] + py * o.NormalY[e] <= o.DistanceCm[e];
                inside += in;
            }
            EXPECT_NEAR(CircleFractionInOutline(radius, o), static_cast<double>(inside) / kPoints,
                        1e-4)
                << "outline " << k << " radius " << radius;
        }
    }
    const FieldOutline rectangle = RectangleOutline(1.0, -2.0, 5.0, 3.0);
    for (double radius : {0.5, 2.5, 4.5, 6.5, 9.0})
        EXPECT_NEAR(CircleFractionInOutline(radius, rectangle),
                    CircleFractionInRectangle(radius, 1.0, -2.0, 5.0, 3.0), 1e-12)
            << radius;
}

// A beam along z (focus at the origin, field half-angle tan β = k) on a surface through (0, 0,
// D) tipped by θ about the x axis: the ray y = k·z meets the surface at s = k·D/(cos θ − k sin θ)
// along it, the ray y = −k·z at k·D/(cos θ + k sin θ); the side edges x = ±k·z lie
// k·D/√(1 + k² sin² θ) away. Moving the surface towards the focus scales them all.
TEST(SurfaceField, ObliqueSkinSeesALongerSlantedField) {
    BeamStep step;
    step.Axis = {0, 0, 1};
    step.U = {1, 0, 0};
    step.V = {0, 1, 0};
    step.HalfWidthAtReferenceCm = step.HalfHeightAtReferenceCm = 5.0;
    const FieldEdges edges = EdgesOf(step, 60.0);
    const double k = 5.0 / 60.0, d = 65.0;
    for (double degrees : {0.0, 30.0, 45.0}) {
        const double t = degrees * M_PI / 180.0;
        for (double toSurface : {1.0, 0.9}) {
            const FieldOutline o = OutlineOnSurface(
                edges, FrameOf(edges, {0, std::sin(t), -std::cos(t)}), {0, 0, d}, toSurface);
            std::vector<double> got(o.DistanceCm.begin(), o.DistanceCm.end());
            std::sort(got.begin(), got.end());
            std::vector<double> expected = {
                k * d / (std::cos(t) - k * std::sin(t)), k * d / (std::cos(t) + k * std::sin(t)),
                k * d / std::sqrt(1 + k * k * std::sin(t) * std::sin(t)),
                k * d / std::sqrt(1 + k * k * std::sin(t) * std::sin(t))};
            std::sort(expected.begin(), expected.end());
            for (std::size_t i = 0; i < 4; ++i)
                EXPECT_NEAR(got[i], expected[i] * toSurface, 1e-9) << degrees << " " << i;
        }
    }
}

}  // namespace
}  // namespace ordevo::map
