// The room's table convention fitted from the four-step protocol: the four conventions seen in
// rooms, each step's reported changes worked out by hand from the convention's words, and every
// refusal with the values that cause it.
#include <gtest/gtest.h>

#include <array>

#include "room_fit.h"

namespace ordevo::map {
namespace {

using D = TableDirection;

// Reported (longitudinal, lateral, height) in mm, one row per protocol step.
using Positions = std::array<std::array<double, 3>, 4>;

rdsr::DoseReport ReportOf(const std::vector<std::array<double, 3>>& positions) {
    rdsr::DoseReport report;
    report.Manufacturer = "Maker";
    report.Model = "X-1";
    report.StudyDate = "20261201";
    for (const auto& [longitudinal, lateral, height] : positions) {
        rdsr::IrradiationEvent e;
        e.Geometry.PrimaryAngleDeg = 0;
        e.Geometry.SecondaryAngleDeg = 0;
        e.Geometry.TableLongitudinalMm = longitudinal;
        e.Geometry.TableLateralMm = lateral;
        e.Geometry.TableHeightMm = height;
        report.Events.push_back(e);
    }
    return report;
}

rdsr::DoseReport ReportOf(const Positions& p) {
    return ReportOf(std::vector<std::array<double, 3>>(p.begin(), p.end()));
}

// From the reference (120, −35, 850): step 2 moves the table 10 cm towards the head, step 3 to
// the patient's left, step 4 down; the reported axis whose word is that direction grows by
// 100 mm, the one whose word is the opposite falls by 100 mm.
TEST(RoomFit, FourConventionsAreFoundFromTheirReportedMoves) {
    struct Row {
        const char* what;
        Positions reported;
        D longitudinal, lateral, height;
    };
    const Row rows[] = {
        {"DICOM: longitudinal = left, lateral = head, height = down",
         {{{120, -35, 850}, {120, 65, 850}, {220, -35, 850}, {120, -35, 950}}},
         D::Left,
         D::Head,
         D::Down},
        {"swapped: longitudinal = head, lateral = right, height = up",
         {{{120, -35, 850}, {220, -35, 850}, {120, -135, 850}, {120, -35, 750}}},
         D::Head,
         D::Right,
         D::Up},
        {"longitudinal = feet, lateral = left, height = down",
         {{{120, -35, 850}, {20, -35, 850}, {120, 65, 850}, {120, -35, 950}}},
         D::Feet,
         D::Left,
         D::Down},
        {"lateral = feet, longitudinal = right, height = up",
         {{{120, -35, 850}, {120, -135, 850}, {20, -35, 850}, {120, -35, 750}}},
         D::Right,
         D::Feet,
         D::Up},
    };
    for (const Row& row : rows) {
        const RoomFit fit = FitRoomProfile(ReportOf(row.reported), 10.0, "fit.dcm", "room1");
        ASSERT_TRUE(fit.Profile) << row.what << ": " << fit.Refusal;
        EXPECT_EQ(fit.Profile->Longitudinal, row.longitudinal) << row.what;
        EXPECT_EQ(fit.Profile->Lateral, row.lateral) << row.what;
        EXPECT_EQ(fit.Profile->Height, row.height) << row.what;
        EXPECT_EQ(fit.Profile->TableHeightAtIsocentreMm, 850.0) << row.what;
        EXPECT_EQ(fit.Steps.size(), 3u) << row.what;
        EXPECT_TRUE(fit.Notes.empty()) << row.what;
    }
    const RoomFit fit = FitRoomProfile(ReportOf(rows[1].reported), 10.0, "fit.dcm", "room1");
    EXPECT_EQ(fit.Profile->Name, "room1");
    EXPECT_EQ(fit.Profile->Source, ProfileSource::Commissioned);
    EXPECT_EQ(fit.Profile->CommissionedReport, "fit.dcm");
    EXPECT_EQ(fit.Profile->CommissionedOn, "2026-12-01");
    EXPECT_EQ(fit.Profile->CommissionedDevice, "Maker X-1");
    EXPECT_EQ(fit.Steps[1].Axis, ReportedAxis::Lateral);
    EXPECT_EQ(fit.Steps[1].ChangeMm, -100.0);
}

// Earlier events (a test shot) are left out, said in a note; a move within the tolerance
// (10 cm ± 1 cm; drift up to 5 mm elsewhere) still fits; --move-cm 20 needs 20 cm moves.
TEST(RoomFit, LastFourEventsAndTolerances) {
    const RoomFit fit = FitRoomProfile(
        ReportOf({{0, 0, 0}, {120, -35, 850}, {120, 56, 853}, {229, -31, 850}, {120, -35, 945}}),
        10.0, "fit.dcm", "room1");
    ASSERT_TRUE(fit.Profile) << fit.Refusal;
    EXPECT_EQ(fit.Profile->Lateral, D::Head);
    ASSERT_EQ(fit.Notes.size(), 1u);
    EXPECT_NE(fit.Notes[0].find("5 件"), std::string::npos) << fit.Notes[0];
    const Positions twenty{{{0, 0, 0}, {0, 200, 0}, {200, 0, 0}, {0, 0, 200}}};
    EXPECT_TRUE(FitRoomProfile(ReportOf(twenty), 20.0, "", "r").Profile);
    EXPECT_FALSE(FitRoomProfile(ReportOf(twenty), 10.0, "", "r").Profile);
}

TEST(RoomFit, RefusesWhatTheProtocolCannotHaveGiven) {
    struct Row {
        const char* expected;  // part of the refusal
        std::vector<std::array<double, 3>> reported;
        void (*spoil)(rdsr::DoseReport&) = nullptr;
    };
    const Row rows[] = {
        {"3 件しかありません", {{0, 0, 0}, {0, 100, 0}, {100, 0, 0}}},
        {"手順 2 (頭側へ移動 10 cm): どの寝台位置も",
         {{0, 0, 0}, {0, 4, 0}, {100, 0, 0}, {0, 0, 100}}},
        {"手順 3 (患者の左へ移動 10 cm): 寝台位置が複数動いています (longitudinal +100.0 mm、"
         "lateral +30.0 mm)",
         {{0, 0, 0}, {0, 100, 0}, {100, 30, 0}, {0, 0, 100}}},
        {"lateral の動きが 73.0 mm", {{0, 0, 0}, {0, 73, 0}, {100, 0, 0}, {0, 0, 100}}},
        {"lateral の動きが -115.0 mm", {{0, 0, 0}, {0, -115, 0}, {100, 0, 0}, {0, 0, 100}}},
        {"手順 3 (患者の左へ移動 10 cm): lateral は前の手順で既に動いています",
         {{0, 0, 0}, {0, 100, 0}, {0, -100, 0}, {0, 0, 100}}},
        {"手順 2 (頭側へ移動 10 cm): height が動きました",
         {{0, 0, 0}, {0, 0, 100}, {100, 0, 0}, {0, 100, 0}}},
        {"手順 3 (患者の左へ移動 10 cm): height が動きました",
         {{0, 0, 0}, {100, 0, 0}, {0, 0, 100}, {0, 100, 0}}},
        {"手順 3 (患者の左へ移動): 寝台が傾いています (頭尾方向の傾き 5.0°)",
         {{0, 0, 0}, {0, 100, 0}, {100, 0, 0}, {0, 0, 100}},
         [](rdsr::DoseReport& r) { r.Events[2].Geometry.TableHeadTiltDeg = 5.0; }},
        {"手順 1 (基準): 寝台位置 height の記載がありません",
         {{0, 0, 0}, {0, 100, 0}, {100, 0, 0}, {0, 0, 100}},
         [](rdsr::DoseReport& r) { r.Events[0].Geometry.TableHeightMm.reset(); }},
    };
    for (const Row& row : rows) {
        rdsr::DoseReport report = ReportOf(row.reported);
        if (row.spoil) row.spoil(report);
        const RoomFit fit = FitRoomProfile(report, 10.0, "fit.dcm", "room1");
        EXPECT_FALSE(fit.Profile) << row.expected;
        EXPECT_NE(fit.Refusal.find(row.expected), std::string::npos) << row.expected << "\n"
                                                                     << fit.Refusal;
    }
}

TEST(RoomFit, TableDifferencesNameEachDisagreeingWord) {
    RoomProfile maker;
    maker.Name = "maker";
    RoomProfile measured = maker;
    EXPECT_TRUE(TableDifferences(maker, measured).empty());
    measured.Lateral = D::Feet;
    measured.Height = D::Up;
    measured.Primary = AngleSign::Opposite;  // not measured by the fit: not compared
    const std::vector<std::string> d = TableDifferences(maker, measured);
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0], "lateral は maker では head、実測では feet");
    EXPECT_EQ(d[1], "height は maker では down、実測では up");
}

}  // namespace
}  // namespace ordevo::map
