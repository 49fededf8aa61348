// ordevo-cli room-fit on reports written by our own writer: a room's convention measured and
// written as its profile, refusals that write nothing, an existing profile kept without --force,
// a manufacturer's profile that the room contradicts, and the point of it all: a clinical report
// of the room mapped with the fitted profile gives the map of the same procedure written in the
// DICOM definitions and mapped without a profile.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <sstream>

#include "map_command.h"
#include "report_writer.h"
#include "room_fit_command.h"
#include "room_profile_file.h"
#include "synthetic_data.h"

namespace ordevo::cli {
namespace {

using rdsr::testing::FixtureEvent;
using rdsr::testing::FixtureReport;

// How a room reports its table: +1 when the reported axis grows with the move, −1 when it
// falls. Moves are (towards the head, towards the patient's left, down), mm.
struct Convention {
    // For each reported axis (longitudinal, lateral, height): which move it follows and the sign.
    std::array<int, 3> Follows;  // 0 head, 1 left, 2 down
    std::array<int, 3> Sign;
};
// DICOM: longitudinal = left, lateral = head, height = down.
constexpr Convention kDicom{{1, 0, 2}, {1, 1, 1}};
// lateral = feet, longitudinal = right, height = up.
constexpr Convention kTurned{{1, 0, 2}, {-1, -1, -1}};
// longitudinal = head, lateral = right, height = up (lateral and longitudinal swapped).
constexpr Convention kSwapped{{0, 1, 2}, {1, -1, -1}};

constexpr std::array<double, 3> kReference{400.0, -20.0, 900.0};

FixtureEvent EventAt(const Convention& c, std::array<double, 3> move, int index,
                     const char* primary = "0", const char* secondary = "0") {
    FixtureEvent e;
    e.Uid = "1.2.826.0.1.3680043.10.7." + std::to_string(index);
    const char* names[] = {"Table Longitudinal Position", "Table Lateral Position",
                           "Table Height Position"};
    const char* codes[] = {"113751", "113752", "113753"};
    e.GeometryNums = {{"112011", "Positioner Primary Angle", {primary, "deg"}},
                      {"112012", "Positioner Secondary Angle", {secondary, "deg"}}};
    for (int a = 0; a < 3; ++a) {
        const double value = kReference[a] + c.Sign[a] * move[c.Follows[a]];
        e.GeometryNums.push_back({codes[a], names[a], {std::to_string(value), "mm"}});
    }
    return e;
}

// The protocol's four exposures in a room of convention `c`.
FixtureReport Commissioning(const Convention& c) {
    FixtureReport report;
    report.Events = {EventAt(c, {0, 0, 0}, 1), EventAt(c, {100, 0, 0}, 2),
                     EventAt(c, {0, 100, 0}, 3), EventAt(c, {0, 0, 100}, 4)};
    return report;
}

// A procedure: three overlapping 10 cm fields of 1.5 Gy, the table moved between them, the
// table plane given so that both rooms place the patient's height alike.
FixtureReport Clinical(const Convention& c) {
    FixtureReport report;
    report.Events = {EventAt(c, {0, 0, 0}, 11), EventAt(c, {50, 30, 20}, 12, "30", "10"),
                     EventAt(c, {-40, -20, -10}, 13, "-20", "0")};
    for (FixtureEvent& e : report.Events) {
        e.DoseRp = rdsr::testing::Measured{"1.5", "Gy"};
        e.DoseAreaProduct = rdsr::testing::Measured{"0.015", "Gy.m2"};
        e.GeometryNums.push_back({"113792", "Distance Source to Table Plane", {"700", "mm"}});
        e.GeometryCodes = {
            {"113745", "Patient Table Relationship", "102540008", "SCT", "headfirst"},
            {"113744", "Patient Orientation Modifier", "40199007", "SCT", "supine"}};
    }
    return report;
}

class RoomFitCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
    }
    std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
    std::string Write(const FixtureReport& report, const char* name) {
        EXPECT_TRUE(rdsr::testing::WriteFixtureReport(report, Path(name)));
        return Path(name);
    }
    int Fit(std::vector<std::string> words) {
        words.insert(words.begin(), {"--data", dir_.path().toStdString()});
        out_.str("");
        return RunRoomFit(Arguments(words, kRoomFitOptions, kRoomFitFlags), out_);
    }
    std::string Map(std::vector<std::string> words) {
        words.insert(words.begin(),
                     {"--data", dir_.path().toStdString(), "--equipment", Path("Room1.odv3")});
        std::ostringstream out;
        EXPECT_EQ(RunMap(Arguments(words, kMapOptions, kMapFlags), out), 0) << out.str();
        return out.str();
    }
    bool Has(const std::string& text) const { return out_.str().find(text) != std::string::npos; }
    QTemporaryDir dir_;
    std::ostringstream out_;
};

TEST_F(RoomFitCommand, WritesTheMeasuredProfileAndKeepsAnExistingOne) {
    const std::string report = Write(Commissioning(kSwapped), "fit.dcm");
    const std::string room = Path("room7.room");
    ASSERT_EQ(Fit({"--out", room, report}), 0) << out_.str();
    for (const char* key :
         {"\"longitudinal\": \"head\"", "\"lateral\": \"right\"", "\"height\": \"up\"",
          "\"tableHeightAtIsocentreMm\": 900", "\"source\": \"commissioned\"",
          "\"commissionedOn\": \"2024-01-15\"", "\"axis\": \"lateral\"", "\"changeMm\": -100",
          "\"manufacturerProfile\": null"})
        EXPECT_TRUE(Has(key)) << key << "\n" << out_.str();
    const auto read = ReadRoomProfileFile(QString::fromStdString(room));
    ASSERT_TRUE(read.has_value()) << read.error().what();
    EXPECT_EQ(read->Name, "room7");
    EXPECT_EQ(read->Longitudinal, map::TableDirection::Head);
    EXPECT_EQ(read->Lateral, map::TableDirection::Right);
    EXPECT_EQ(read->Height, map::TableDirection::Up);
    EXPECT_EQ(read->CommissionedReport, "fit.dcm");
    EXPECT_EQ(read->CommissionedDevice, "Ordevo Test Devices Angio 1 (S/N SN-0001)");

    // The same again: refused without --force, the file untouched; replaced with it.
    QFile file(QString::fromStdString(room));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write("# kept\r\n");
    file.close();
    EXPECT_EQ(Fit({"--out", room, report}), 1);
    EXPECT_TRUE(Has("--force")) << out_.str();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("# kept\r\n"));
    file.close();
    EXPECT_EQ(Fit({"--force", "--out", room, report}), 0) << out_.str();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("# kept"));
}

TEST_F(RoomFitCommand, RefusalsWriteNothing) {
    FixtureReport three = Commissioning(kDicom);
    three.Events.pop_back();
    FixtureReport tilted = Commissioning(kDicom);
    tilted.Events[3].GeometryNums.push_back({"113754", "Table Head Tilt Angle", {"4", "deg"}});
    FixtureReport short_ = Commissioning(kDicom);
    short_.Events[2] = EventAt(kDicom, {0, 60, 0}, 3);  // 6 cm where 10 were asked
    const std::pair<FixtureReport, const char*> rows[] = {
        {three, "3 件しかありません"},
        {tilted, "寝台が傾いています"},
        {short_, "longitudinal の動きが 60.0 mm"},
    };
    for (const auto& [report, why] : rows) {
        const std::string path = Write(report, "bad.dcm");
        EXPECT_EQ(Fit({"--out", Path("bad.room"), path}), 1) << why;
        EXPECT_TRUE(Has(why)) << why << "\n" << out_.str();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bad.room")))) << why;
    }
    // --move-cm says what was moved: the 6 cm step then fits no other.
    EXPECT_EQ(Fit({"--move-cm", "6", "--out", Path("bad.room"), Write(short_, "bad.dcm")}), 1);
    EXPECT_TRUE(Has("手順 2")) << out_.str();
}

// The data folder's "ordevo.room" (the report's maker's word) states a manufacturer's
// convention; the room measured otherwise says that it did not hold, and takes its angle signs.
TEST_F(RoomFitCommand, ContradictedManufacturerConventionIsReported) {
    QFile maker(dir_.path() + "/ordevo.room");
    ASSERT_TRUE(maker.open(QIODevice::WriteOnly));
    maker.write(
        "longitudinal = left\r\nlateral = head\r\nheight = down\r\n"
        "secondary_angle = opposite\r\nsource = manufacturer\r\nreference = a manual\r\n");
    maker.close();
    ASSERT_EQ(Fit({"--out", Path("room2.room"), Write(Commissioning(kSwapped), "fit.dcm")}), 0)
        << out_.str();
    for (const char* key : {"\"file\": \"ordevo.room\"", "\"holds\": false",
                            "longitudinal は ordevo では left、実測では head",
                            "\"secondaryAngle\": \"opposite\"", "成り立ちません"})
        EXPECT_TRUE(Has(key)) << key << "\n" << out_.str();
    ASSERT_EQ(Fit({"--out", Path("room3.room"), Write(Commissioning(kDicom), "fit2.dcm")}), 0);
    EXPECT_TRUE(Has("\"holds\": true")) << out_.str();
}

// The same procedure in a room that reports every axis the other way round, mapped with the
// profile fitted from that room's own protocol, and written in the DICOM definitions, mapped
// with none: the same PSD, place and areas.
TEST_F(RoomFitCommand, FittedRoomMapsAsTheDefinitions) {
    for (const Convention& room : {kTurned, kSwapped}) {
        ASSERT_EQ(
            Fit({"--force", "--out", Path("fitted.room"), Write(Commissioning(room), "fit.dcm")}),
            0)
            << out_.str();
        const std::string fitted =
            Map({"--room", Path("fitted.room"), Write(Clinical(room), "room.dcm")});
        const std::string dicom = Map({Write(Clinical(kDicom), "dicom.dcm")});
        auto part = [](const std::string& json, const std::string& from, const std::string& to) {
            const std::size_t a = json.find(from), b = json.find(to, a);
            EXPECT_NE(a, std::string::npos) << from << "\n" << json;
            return json.substr(a, b - a);
        };
        EXPECT_EQ(part(fitted, "\"psdMGy\"", "\"psdFocusSkinDistanceCm\""),
                  part(dicom, "\"psdMGy\"", "\"psdFocusSkinDistanceCm\""));
        EXPECT_EQ(part(fitted, "\"areaAboveCm2\"", "}"), part(dicom, "\"areaAboveCm2\"", "}"));
        EXPECT_NE(part(fitted, "\"areaAboveCm2\"", "}").find("\"2Gy\": "), std::string::npos);
        EXPECT_NE(fitted.find("\"profileSource\": \"commissioned\""), std::string::npos);
        // A profile that does not fit the room moves the fields: the check is not vacuous.
        const std::string wrong = Map({Write(Clinical(room), "room.dcm")});
        EXPECT_NE(part(wrong, "\"psdMGy\"", "\"psdFocusSkinDistanceCm\""),
                  part(dicom, "\"psdMGy\"", "\"psdFocusSkinDistanceCm\""));
    }
}

// Every shipped profile reads, says it is a manufacturer's convention and cites its source; the
// map's lookup finds each by the manufacturer's first word.
TEST(ShippedRoomProfiles, ReadAndCiteTheirSource) {
    const QDir shipped(QStringLiteral(ORDEVO_SHIPPED_REFDATA));
    const QStringList files = shipped.entryList({QStringLiteral("*.room")}, QDir::Files);
    EXPECT_EQ(files, QStringList({QStringLiteral("ge.room"), QStringLiteral("siemens.room")}));
    for (const QString& file : files) {
        const auto read = ReadRoomProfileFile(shipped.filePath(file));
        ASSERT_TRUE(read.has_value()) << read.error().what();
        EXPECT_EQ(read->Source, map::ProfileSource::Manufacturer) << file.toStdString();
        EXPECT_NE(read->Reference.find("thin"), std::string::npos) << file.toStdString();
    }
}

}  // namespace
}  // namespace ordevo::cli
