// ordevo-cli map on reports written here: geometry read with its units and checked, an event
// with an impossible angle listed as not mapped with its value named, the grid written, and a
// room profile taken from its file (or refused, naming its line).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "file_name_check.h"
#include "map_command.h"
#include "report_writer.h"
#include "synthetic_data.h"

namespace ordevo::cli {
namespace {

using rdsr::testing::FixtureCode;
using rdsr::testing::FixtureEvent;
using rdsr::testing::FixtureNum;
using rdsr::testing::FixtureReport;
using rdsr::testing::Measured;

class MapCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
    }
    std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
    int Run(std::vector<std::string> words) {
        words.insert(words.begin(),
                     {"--data", dir_.path().toStdString(), "--equipment", Path("Room1.odv3")});
        out_.str("");
        return RunMap(Arguments(words, kMapOptions, {}), out_);
    }
    bool Has(const std::string& text) const { return out_.str().find(text) != std::string::npos; }
    // A head-first supine event: the detector 90° towards the patient's left, given in radians.
    static FixtureEvent LeftAnteriorOblique(const char* uid) {
        FixtureEvent e;
        e.Uid = uid;
        e.GeometryNums = {{"112011", "Positioner Primary Angle", {"1.5707963267949", "rad"}},
                          {"112012", "Positioner Secondary Angle", {"0", "deg"}},
                          {"113751", "Table Longitudinal Position", {"12", "cm"}},
                          {"113752", "Table Lateral Position", {"0", "mm"}},
                          {"113753", "Table Height Position", {"0", "mm"}}};
        e.GeometryCodes = {
            {"113745", "Patient Table Relationship", "102540008", "SCT", "headfirst"},
            {"113744", "Patient Orientation Modifier", "40199007", "SCT", "supine"}};
        return e;
    }
    QTemporaryDir dir_;
    std::ostringstream out_;
};

TEST_F(MapCommand, MapsCheckedGeometryAndListsWhatItCannotPlace) {
    FixtureReport report;
    report.PatientSizeM = "3";  // refused: no patient is 3 m tall
    report.Events = {LeftAnteriorOblique("1.2.3.1"), LeftAnteriorOblique("1.2.3.2")};
    report.Events[1].GeometryNums[0].Value = {"200", "deg"};
    ASSERT_TRUE(rdsr::testing::WriteFixtureReport(report, Path("lao.dcm")));
    const std::string grid = Path("grid.csv");
    ASSERT_EQ(Run({"--grid", grid, Path("lao.dcm")}), 0) << out_.str();
    for (const char* key :
         {"\"psdMGy\": ", "\"region\": \"右側\"", "\"psdFocusSkinDistanceCm\": ",
          "\"upperBoundMGy\": ", "\"unmappedUpperBoundMGy\": ", "\"areaAboveCm2\": {\"1Gy\": ",
          "\"cellCm\": 1", "\"phantom\": \"torso\"", "\"profile\": \"DICOM\"",
          "\"mappedEvents\": 1", "\"uid\": \"1.2.3.2\"", "200 deg", "患者身長 300.0 cm"})
        EXPECT_TRUE(Has(key)) << key << "\n" << out_.str();
    QFile file(QString::fromStdString(grid));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("\r\n"),
              1 + 96 * 70);  // header + the reference trunk's 96 × 70 cells
}

TEST_F(MapCommand, RoomProfileComesFromItsFile) {
    ASSERT_TRUE(rdsr::testing::WriteFixtureReport(FixtureReport{}, Path("pa.dcm")));
    QFile room(dir_.path() + "/Room1.room");
    ASSERT_TRUE(room.open(QIODevice::WriteOnly));
    room.write("longitudinal = head\r\nlateral = left\r\nmattress_thickness_cm = 6\r\n");
    room.close();
    EXPECT_EQ(Run({"--room", Path("Room1.room"), "--phantom", "plane", Path("pa.dcm")}), 0);
    EXPECT_TRUE(Has("\"profile\": \"Room1\"")) << out_.str();
    EXPECT_TRUE(Has("\"phantom\": \"plane\"")) << out_.str();
    // The fixture's event gives neither angles nor table positions: both assumed, both said.
    EXPECT_TRUE(Has("寝台は動かなかったものとします")) << out_.str();
    EXPECT_TRUE(Has("0° (正面) とみなしました")) << out_.str();
    ASSERT_TRUE(room.open(QIODevice::WriteOnly | QIODevice::Truncate));
    room.write("height = sideways\r\n");
    room.close();
    EXPECT_EQ(Run({"--room", Path("Room1.room"), Path("pa.dcm")}), 1);
    EXPECT_TRUE(Has("Room1 1 行目: height は up か down です")) << out_.str();
}

// A map that places only part of the dose says so: the placed share of the Ka,r, the PSD as the
// placed events' only, and a follow-up level that the unplaced bound cannot exclude, never
// "notReached".
TEST_F(MapCommand, PartialMapSaysItsShareAndNeverGivesAFalseAllClear) {
    FixtureReport report;
    report.Events = {LeftAnteriorOblique("1.2.3.1"), LeftAnteriorOblique("1.2.3.2")};
    report.Events[0].DoseRp = Measured{"0.5", "Gy"};  // placed: well under 2 Gy on the skin
    report.Events[0].DoseAreaProduct = Measured{"0.005", "Gy.m2"};
    report.Events[1].DoseRp = Measured{"3", "Gy"};  // 3 m beside the table: misses the trunk
    report.Events[1].DoseAreaProduct = Measured{"0.03", "Gy.m2"};
    report.Events[1].GeometryNums[3].Value = {"3000", "mm"};
    ASSERT_TRUE(rdsr::testing::WriteFixtureReport(report, Path("partial.dcm")));
    ASSERT_EQ(Run({Path("partial.dcm")}), 0) << out_.str();
    const std::string json = out_.str();
    const std::size_t share = json.find("\"mappedKarShare\": ");
    ASSERT_NE(share, std::string::npos) << json;
    EXPECT_NEAR(std::stod(json.substr(share + 18)), 0.5 / 3.5, 1e-12);  // Ka,r placed / all
    for (const char* key : {"\"psdOfPlacedEventsOnly\": true", "\"mappedEvents\": 1",
                            "\"followUp\": {\"levelMGy\": 2000, \"status\": \"undetermined\""})
        EXPECT_TRUE(Has(key)) << key << "\n" << json;
    EXPECT_FALSE(Has("notReached")) << json;
    EXPECT_FALSE(Has("到達なし")) << json;

    // Both placed: everything on the skin, and 0.5 Gy reaches no level.
    report.Events[1] = LeftAnteriorOblique("1.2.3.2");
    report.Events[1].DoseRp = Measured{"0.5", "Gy"};
    report.Events[1].DoseAreaProduct = Measured{"0.005", "Gy.m2"};
    ASSERT_TRUE(rdsr::testing::WriteFixtureReport(report, Path("placed.dcm")));
    ASSERT_EQ(Run({Path("placed.dcm")}), 0) << out_.str();
    for (const char* key : {"\"mappedKarShare\": 1", "\"psdOfPlacedEventsOnly\": false",
                            "\"status\": \"notReached\""})
        EXPECT_TRUE(Has(key)) << key << "\n" << out_.str();
}

// One report per quirk of the geometry real units write, each mapped with what it assumed said.
// The fixture's event: Ka,r 12.5 mGy, P_KA 1.25 Gy·cm² (a 10 cm square at d_ref = 60 cm), source
// to detector 100 cm.
TEST_F(MapCommand, MapsTheGeometryRealUnitsWrite) {
    auto field = [](const char* height, const char* width) {
        return std::vector<FixtureNum>{{"113788", "Collimated Field Height", {height, "mm"}},
                                       {"113789", "Collimated Field Width", {width, "mm"}}};
    };
    const FixtureNum unknownPrimary{
        "112011", "Positioner Primary Angle", {"", ""}, "114010", "Value unknown"};
    const FixtureNum unknownSecondary{
        "112012", "Positioner Secondary Angle", {"", ""}, "114010", "Value unknown"};
    const char* zeroRoom =
        "mattress_thickness_cm = 0\r\ntable_top_thickness_cm = 0\r\n"
        "table_height_at_isocentre_mm = -850\r\n";
    struct Row {
        const char* what;
        std::vector<FixtureNum> nums;
        const char* area;  // Collimated Field Area in m² ("" writes none)
        const char* room;  // the room profile's text ("" for none)
        std::vector<const char*> expected;
    };
    const Row rows[] = {
        {"zero field", field("0", "0"), "0", "", {"報告の高さ・幅が正の値でない"}},
        {"negative zero field", field("-0", "-0"), "", "", {"報告の高さ・幅が正の値でない"}},
        {"negative field", field("-3", "5"), "", "", {"報告の高さ・幅が正の値でない"}},
        // 2 mm at the detector: 0.12 cm at d_ref, nothing like 100 cm².
        {"tiny field", field("2", "2"), "", "", {"P_KA/Ka,r と 2 倍を超えて違う"}},
        // 400 × 300 mm: 24 × 18 cm = 432 cm² at d_ref; its shape kept at 100 cm².
        {"inconsistent field", field("400", "300"), "", "", {"報告の縦横比"}},
        // 250 cm² at the detector is 90 cm² at d_ref.
        {"area only", {}, "0.025", "", {"報告の照射野面積を正方形で使用"}},
        {"value unknown angles",
         {unknownPrimary, unknownSecondary},
         "",
         "",
         {"値の記載がありません (Value unknown)", "0° (正面) とみなしました"}},
        {"secondary angle 183°",
         {{"112012", "Positioner Secondary Angle", {"183", "deg"}}},
         "",
         "",
         {"副角度が ±90° を超える", "\"region\": \"胸部\""}},
        {"0 cm couch placed by the table height",
         {{"113753", "Table Height Position", {"-830", "mm"}}},
         "",
         zeroRoom,
         {"上下位置はプロファイルの寝台高さから決めました"}},
        {"0 cm couch placed by the source–table distance",
         {{"113792", "Distance Source to Table Plane", {"700", "mm"}}},
         "",
         zeroRoom,
         {"上下位置は焦点-寝台面間距離から決めました"}},
    };
    for (const Row& row : rows) {
        FixtureReport report;
        report.Events[0].GeometryNums = row.nums;
        if (*row.area)
            report.Events[0].CollimatedFieldArea = Measured{row.area, "m2"};
        else
            report.Events[0].CollimatedFieldArea.reset();
        ASSERT_TRUE(rdsr::testing::WriteFixtureReport(report, Path("quirk.dcm"))) << row.what;
        std::vector<std::string> words = {Path("quirk.dcm")};
        if (*row.room) {
            QFile room(dir_.path() + "/quirk.room");
            ASSERT_TRUE(room.open(QIODevice::WriteOnly | QIODevice::Truncate));
            room.write(row.room);
            room.close();
            words.insert(words.begin(), {"--room", Path("quirk.room")});
        }
        ASSERT_EQ(Run(words), 0) << row.what << "\n" << out_.str();
        EXPECT_TRUE(Has("\"mappedEvents\": 1")) << row.what << "\n" << out_.str();
        EXPECT_TRUE(Has("\"unmappedUpperBoundMGy\": 0,")) << row.what << "\n" << out_.str();
        for (const char* text : row.expected)
            EXPECT_TRUE(Has(text)) << row.what << ": " << text << "\n" << out_.str();
    }
}

// The manufacturer's first word names the room file; a word that could leave the data folder
// names none.
TEST(MapCommandRoomFile, ManufacturerNamesAPlainFileOnly) {
    const std::pair<const char*, const char*> rows[] = {
        {"Siemens Healthineers", "siemens.room"},
        {" GE Healthcare", "ge.room"},
        {"../../etc/passwd", nullptr},
        {"Philips/Medical", nullptr},
        {"", nullptr},
        {"..", nullptr},
    };
    for (const auto& [manufacturer, expected] : rows) {
        const std::optional<QString> name = ManufacturerRoomFileName(manufacturer);
        if (expected)
            EXPECT_EQ(name.value_or("none"), QString(expected)) << manufacturer;
        else
            EXPECT_FALSE(name) << manufacturer;
    }
}

}  // namespace
}  // namespace ordevo::cli
