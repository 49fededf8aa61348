// Reading dose reports written here: every field of an event, each quirk devices show, units
// converted, and one broken file of each kind.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "dose_report_reader.h"
#include "report_writer.h"

namespace ordevo::rdsr {
namespace {

using testing::FixtureEvent;
using testing::FixtureFilter;
using testing::FixtureReport;
using testing::Measured;

class DoseReportReader : public ::testing::Test {
protected:
    std::string Write(const FixtureReport& report, const char* name = "report.dcm") {
        const std::string path = (dir_.path() + "/" + name).toStdString();
        std::string error;
        EXPECT_TRUE(testing::WriteFixtureReport(report, path, &error)) << error;
        return path;
    }
    DoseReport Read(const FixtureReport& report) {
        const ReportReading reading = ReadDoseReport(Write(report));
        EXPECT_TRUE(reading.Report) << reading.Error;
        return reading.Report.value_or(DoseReport{});
    }
    static bool HasNoteWith(const DoseReport& report, const std::string& part) {
        for (const std::string& note : report.Notes)
            if (note.find(part) != std::string::npos) return true;
        return false;
    }
    QTemporaryDir dir_;
};

TEST_F(DoseReportReader, ReadsEveryFieldOfAnEvent) {
    const DoseReport r = Read(FixtureReport{});
    EXPECT_EQ(r.Manufacturer, "Ordevo Test Devices");
    EXPECT_EQ(r.Model, "Angio 1");
    EXPECT_EQ(r.SerialNumber, "SN-0001");
    EXPECT_EQ(r.StudyDate, "20240115");
    EXPECT_EQ(r.PatientId, "P-123");
    ASSERT_EQ(r.Events.size(), 1u);
    const IrradiationEvent& e = r.Events[0];
    EXPECT_EQ(e.Uid, FixtureEvent{}.Uid);
    EXPECT_EQ(e.DateTime, "20240115103000");
    EXPECT_EQ(e.Type, EventType::Fluoroscopy);
    EXPECT_EQ(e.Plane, AcquisitionPlane::Single);
    EXPECT_DOUBLE_EQ(e.ReferenceAirKermaMGy.value_or(0), 12.5);   // 0.0125 Gy
    EXPECT_DOUBLE_EQ(e.KermaAreaProductGyCm2.value_or(0), 1.25);  // 0.000125 Gy·m²
    EXPECT_EQ(e.TubeVoltageKv, 80.0);
    ASSERT_EQ(e.Filters.size(), 1u);
    EXPECT_EQ(e.Filters[0].Material, FilterMaterial::Copper);
    EXPECT_EQ(e.Filters[0].ThicknessMm(), 0.2);
    EXPECT_EQ(e.SourceToIsocentreMm, 750.0);
    EXPECT_EQ(e.SourceToDetectorMm, 1000.0);
    EXPECT_FALSE(e.SourceToReferencePointMm);
    EXPECT_EQ(e.ReferencePoint.Code, "113860");
    EXPECT_DOUBLE_EQ(e.CollimatedFieldAreaCm2.value_or(0), 100.0);
    ASSERT_EQ(r.Totals.size(), 1u);
    EXPECT_DOUBLE_EQ(r.Totals[0].ReferenceAirKermaMGy.value_or(0), 12.5);
    EXPECT_TRUE(r.Notes.empty()) << r.Notes.front();
}

struct Quirk {
    const char* name;
    std::function<void(FixtureEvent&)> make;
    std::function<void(const IrradiationEvent&)> check;
};

TEST_F(DoseReportReader, ReadsEachQuirkOfRealReports) {
    const Quirk quirks[] = {
        {"kVp missing", [](FixtureEvent& e) { e.Kvp.clear(); },
         [](const IrradiationEvent& e) { EXPECT_FALSE(e.TubeVoltageKv); }},
        {"several kVp",
         [](FixtureEvent& e) {
             e.Kvp = {{"70", "kV"}, {"80", "kV"}, {"90", "kV"}};
         },
         [](const IrradiationEvent& e) { EXPECT_EQ(e.TubeVoltageKv, 80.0); }},
        {"Cu and Al separate",
         [](FixtureEvent& e) {
             e.Filters = {FixtureFilter{"C-127A2", "Copper or Copper compound",
                                        Measured{"0.1", "mm"}, Measured{"0.1", "mm"}},
                          FixtureFilter{"C-120F9", "Aluminum or Aluminum compound",
                                        Measured{"1.0", "mm"}, Measured{"1.0", "mm"}}};
         },
         [](const IrradiationEvent& e) {
             ASSERT_EQ(e.Filters.size(), 2u);
             EXPECT_EQ(e.Filters[0].Material, FilterMaterial::Copper);
             EXPECT_EQ(e.Filters[1].Material, FilterMaterial::Aluminium);
             EXPECT_EQ(e.Filters[1].ThicknessMm(), 1.0);
         }},
        {"zero thickness",
         [](FixtureEvent& e) {
             e.Filters[0].Minimum = e.Filters[0].Maximum = Measured{"0", "mm"};
         },
         [](const IrradiationEvent& e) { EXPECT_EQ(e.Filters.at(0).ThicknessMm(), 0.0); }},
        {"minimum and maximum differ",
         [](FixtureEvent& e) {
             e.Filters[0].Maximum = Measured{"0.4", "mm"};
         },
         [](const IrradiationEvent& e) {
             EXPECT_DOUBLE_EQ(e.Filters.at(0).ThicknessMm().value_or(0), 0.4);  // the thicker side
         }},
        {"filters absent", [](FixtureEvent& e) { e.Filters.clear(); },
         [](const IrradiationEvent& e) { EXPECT_TRUE(e.Filters.empty()); }},
        {"reference point as text",
         [](FixtureEvent& e) {
             e.ReferencePointCode.clear();
             e.ReferencePointText = "15cm below BeamIsocenter";
         },
         [](const IrradiationEvent& e) {
             EXPECT_EQ(e.ReferencePoint.Code, "");
             EXPECT_EQ(e.ReferencePoint.Text, "15cm below BeamIsocenter");
         }},
        {"zero dose",
         [](FixtureEvent& e) {
             e.DoseRp = Measured{"0", "Gy"};
         },
         [](const IrradiationEvent& e) { EXPECT_EQ(e.ReferenceAirKermaMGy, 0.0); }},
        {"field area 0",
         [](FixtureEvent& e) {
             e.CollimatedFieldArea = Measured{"0", "m2"};
         },
         [](const IrradiationEvent& e) { EXPECT_EQ(e.CollimatedFieldAreaCm2, 0.0); }},
        {"units variety",
         [](FixtureEvent& e) {
             e.DoseRp = Measured{"12500", "uGy"};
             e.DoseAreaProduct = Measured{"12.5", "dGy.cm2"};
             e.SourceToIsocenter = Measured{"75", "cm"};
             e.CollimatedFieldArea = Measured{"100", "cm2"};
             e.SourceToReferencePoint = Measured{"0.6", "m"};
         },
         [](const IrradiationEvent& e) {
             EXPECT_DOUBLE_EQ(e.ReferenceAirKermaMGy.value_or(0), 12.5);
             EXPECT_DOUBLE_EQ(e.KermaAreaProductGyCm2.value_or(0), 1.25);
             EXPECT_EQ(e.SourceToIsocentreMm, 750.0);
             EXPECT_EQ(e.CollimatedFieldAreaCm2, 100.0);
             EXPECT_EQ(e.SourceToReferencePointMm, 600.0);
         }},
        {"rotational acquisition on plane B",
         [](FixtureEvent& e) {
             e.TypeCode = "113613", e.TypeScheme = "DCM", e.TypeMeaning = "Rotational Acquisition";
             e.PlaneCode = "113621", e.PlaneMeaning = "Plane B";
         },
         [](const IrradiationEvent& e) {
             EXPECT_EQ(e.Type, EventType::RotationalAcquisition);
             EXPECT_EQ(e.Plane, AcquisitionPlane::B);
         }},
    };
    for (const Quirk& q : quirks) {
        SCOPED_TRACE(q.name);
        FixtureReport report;
        q.make(report.Events[0]);
        const DoseReport r = Read(report);
        ASSERT_EQ(r.Events.size(), 1u);
        q.check(r.Events[0]);
    }
}

// A value in a unit the program does not know, or without a unit, is refused with a note
// naming it; the rest of the event stays.
TEST_F(DoseReportReader, RefusesValuesWithUnknownOrMissingUnits) {
    FixtureReport report;
    report.Events[0].DoseRp = Measured{"12.5", "Gy/s"};
    report.Events[0].DoseAreaProduct = Measured{"1.25", ""};
    const DoseReport r = Read(report);
    ASSERT_EQ(r.Events.size(), 1u);
    EXPECT_FALSE(r.Events[0].ReferenceAirKermaMGy);
    EXPECT_FALSE(r.Events[0].KermaAreaProductGyCm2);
    EXPECT_EQ(r.Events[0].TubeVoltageKv, 80.0);
    EXPECT_TRUE(HasNoteWith(r, "\"Gy/s\"")) << r.Notes.size();
    EXPECT_TRUE(HasNoteWith(r, "Dose Area Product"));
}

TEST_F(DoseReportReader, ReadsTwoPlanes) {
    FixtureReport report;
    report.Totals = {
        testing::FixtureTotals{"113620", "Plane A", {"0.5", "Gy"}, {"0.005", "Gy.m2"}, {}},
        testing::FixtureTotals{"113621", "Plane B", {"0.25", "Gy"}, {"0.0025", "Gy.m2"}, {}}};
    report.Events = {FixtureEvent{}, FixtureEvent{}};
    report.Events[0].PlaneCode = "113620", report.Events[0].PlaneMeaning = "Plane A";
    report.Events[1].PlaneCode = "113621", report.Events[1].PlaneMeaning = "Plane B";
    report.Events[1].Uid += ".2";
    const DoseReport r = Read(report);
    ASSERT_EQ(r.Events.size(), 2u);
    EXPECT_EQ(r.Events[0].Plane, AcquisitionPlane::A);
    EXPECT_EQ(r.Events[1].Plane, AcquisitionPlane::B);
    ASSERT_EQ(r.Totals.size(), 2u);
    EXPECT_EQ(r.Totals[1].Plane, AcquisitionPlane::B);
    EXPECT_DOUBLE_EQ(r.Totals[1].ReferenceAirKermaMGy.value_or(0), 250.0);
    EXPECT_TRUE(HasNoteWith(r, "平面 B: 装置の Ka,r 合計"));  // 250 mGy against one 12.5 mGy event
}

TEST_F(DoseReportReader, FindsEventsNestedInAFurtherContainer) {
    FixtureReport report;
    report.NestEvents = true;
    const DoseReport r = Read(report);
    ASSERT_EQ(r.Events.size(), 1u);
    EXPECT_DOUBLE_EQ(r.Events[0].ReferenceAirKermaMGy.value_or(0), 12.5);
}

TEST_F(DoseReportReader, BrokenFilesAreErrorsNamingTheProblem) {
    const std::string good = Write(FixtureReport{}, "good.dcm");
    QFile whole(QString::fromStdString(good));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();

    auto writeBytes = [&](const char* name, const QByteArray& content) {
        QFile file(dir_.path() + "/" + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName().toStdString();
    };
    FixtureReport otherTemplate;
    otherTemplate.DoseReportClass = false;
    otherTemplate.RootCode = "126000", otherTemplate.RootMeaning = "Imaging Measurement Report";

    const std::pair<std::string, const char*> table[] = {
        {writeBytes("text.dcm", "Ka,r 12.5 mGy\r\n"), "DICOM ファイルとして読めません"},
        {writeBytes("short.dcm", bytes.left(bytes.size() * 2 / 3)),
         "DICOM ファイルとして読めません"},
        {Write(otherTemplate, "other.dcm"), "X 線線量レポートではありません"},
        {(dir_.path() + "/missing.dcm").toStdString(), "DICOM ファイルとして読めません"},
    };
    for (const auto& [path, expected] : table) {
        const ReportReading reading = ReadDoseReport(path);
        EXPECT_FALSE(reading.Report) << path;
        EXPECT_NE(reading.Error.find(expected), std::string::npos) << path << ": " << reading.Error;
    }
    EXPECT_TRUE(IsDoseReportFile(good));
    EXPECT_FALSE(IsDoseReportFile((dir_.path() + "/text.dcm").toStdString()));
    EXPECT_FALSE(IsDoseReportFile((dir_.path() + "/other.dcm").toStdString()));
}

}  // namespace
}  // namespace ordevo::rdsr
