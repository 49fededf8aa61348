// ordevo-cli rdsr on reports written here: an event computes what `evaluate` computes for the
// same inputs, a broken file fails alone, patient data stay out unless asked for, and the CSV
// holds one row per event.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "cli_commands.h"
#include "rdsr_command.h"
#include "report_writer.h"
#include "synthetic_data.h"

namespace ordevo::cli {
namespace {

using rdsr::testing::FixtureEvent;
using rdsr::testing::FixtureReport;
using rdsr::testing::Measured;

class RdsrCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
    }
    std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
    std::string WriteReport(const FixtureReport& report, const char* name) {
        std::string error;
        EXPECT_TRUE(rdsr::testing::WriteFixtureReport(report, Path(name), &error)) << error;
        return Path(name);
    }
    int Run(int (*command)(const Arguments&, std::ostream&), std::vector<std::string> words,
            const std::vector<std::string>& allowed, const std::vector<std::string>& flags = {}) {
        words.insert(words.begin(),
                     {"--data", dir_.path().toStdString(), "--equipment", Path("Room1.odv3")});
        out_.str("");
        return command(flags.empty() ? Arguments(words, allowed) : Arguments(words, allowed, flags),
                       out_);
    }
    // Every number after `"key": ` in the output, in order.
    std::vector<double> Numbers(const std::string& key) const {
        std::vector<double> values;
        const std::string text = out_.str(), marker = "\"" + key + "\": ";
        for (std::size_t at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + 1)) {
            const std::string value = text.substr(at + marker.size(), 30);
            if (value.rfind("null", 0) != 0) values.push_back(std::stod(value));
        }
        return values;
    }
    QTemporaryDir dir_;
    std::ostringstream out_;
};

// The event matches the room (0.1 mm Cu, FAD 75 cm, FID 100 cm, reference point FAD − 15):
// its skin dose is the one `evaluate` gives for its Ka,r, P_KA and voltage, to the last bit.
TEST_F(RdsrCommand, EventSkinDoseEqualsEvaluate) {
    FixtureReport report;
    FixtureEvent& e = report.Events[0];
    e.Filters[0].Minimum = e.Filters[0].Maximum = Measured{"0.1", "mm"};
    e.DoseRp = Measured{"0.0125", "Gy"};
    e.DoseAreaProduct = Measured{"0.000125", "Gy.m2"};
    const std::string file = WriteReport(report, "one.dcm");
    ASSERT_EQ(Run(RunRdsr, {file}, kRdsrOptions, kRdsrFlags), 0) << out_.str();
    const std::vector<double> event = Numbers("skinDose");
    ASSERT_EQ(event.size(), 1u) << out_.str();
    EXPECT_EQ(Numbers("skinDoseSum"), event);

    ASSERT_EQ(
        Run(RunEvaluate,
            {"--kv", "80", "--kar", "12.5", "--pka", "1.25", "--shape", "square", "--fsd", "60"},
            kEvaluateOptions),
        0);
    EXPECT_EQ(Numbers("SkinDose"), event);
}

TEST_F(RdsrCommand, ABrokenFileFailsAloneAndPatientDataStayOut) {
    const std::string good = WriteReport(FixtureReport{}, "good.dcm");
    QFile text(dir_.path() + "/notes.dcm");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a dose report\n");
    text.close();
    EXPECT_EQ(Run(RunRdsr, {good, text.fileName().toStdString()}, kRdsrOptions, kRdsrFlags), 1);
    EXPECT_NE(out_.str().find("\"error\": \"DICOM ファイルとして読めません"), std::string::npos)
        << out_.str();
    EXPECT_EQ(Numbers("skinDose").size(), 1u);
    // The birth date as it would be written (ISO) or stored (DA): the digits 1950 alone turn up
    // inside full-precision numbers.
    for (const char* patient : {"Test^Patient", "P-123", "1950-01-01", "19500101"})
        EXPECT_EQ(out_.str().find(patient), std::string::npos);

    EXPECT_EQ(Run(RunRdsr, {"--with-patient", good}, kRdsrOptions, kRdsrFlags), 0);
    for (const char* patient : {"Test^Patient", "P-123", "1950-01-01"})
        EXPECT_NE(out_.str().find(patient), std::string::npos);
}

// A folder stands for every dose report below it; the CSV has a header and a row per event.
TEST_F(RdsrCommand, FolderRunWritesOneCsvRowPerEvent) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("reports"));
    FixtureReport report;
    report.Events.push_back(FixtureEvent{});
    report.Events[1].DoseRp = Measured{"0", "Gy"};
    report.Events[1].Uid += ".2";
    WriteReport(report, "reports/a.dcm");
    WriteReport(FixtureReport{}, "reports/b.dcm");
    const std::string csv = Path("events.csv");
    ASSERT_EQ(Run(RunRdsr, {"--csv", csv, Path("reports")}, kRdsrOptions, kRdsrFlags), 0)
        << out_.str();
    EXPECT_EQ(Numbers("skinDose").size(), 2u);  // the zero-dose event is listed, not evaluated
    QFile file(QString::fromStdString(csv));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 4);  // header + 3 events
    EXPECT_TRUE(
        bytes.startsWith(QByteArray("\x83t\x83@\x83"
                                    "C\x83\x8b",
                                    8)));  // "ファイル" in CP932
    EXPECT_EQ(bytes.count(",skipped,"), 1);
}

// A run that could not evaluate everything says so in its exit code and in "problems": a failed
// event, or plane B's events without its equipment (which would otherwise sum to 0 mGy).
TEST_F(RdsrCommand, IncompleteEvaluationsExitOneAndSayWhich) {
    FixtureReport planeB;
    planeB.Events[0].PlaneCode = "113621", planeB.Events[0].PlaneMeaning = "Plane B";
    FixtureReport failing;
    failing.Events[0].Kvp = {Measured{"200", "kV"}};
    const std::pair<FixtureReport, const char*> table[] = {
        {planeB, "plane B: no event could be evaluated"},
        {failing, "plane single: 1 event(s) failed"},
    };
    for (const auto& [report, problem] : table) {
        const std::string path = WriteReport(report, "incomplete.dcm");
        EXPECT_EQ(Run(RunRdsr, {path}, kRdsrOptions, kRdsrFlags), 1) << problem;
        EXPECT_NE(out_.str().find(problem), std::string::npos) << out_.str();
    }
    EXPECT_EQ(Run(RunRdsr, {WriteReport(FixtureReport{}, "whole.dcm")}, kRdsrOptions, kRdsrFlags),
              0);
    EXPECT_NE(out_.str().find("\"problems\": []"), std::string::npos) << out_.str();
}

// --csv may not replace an input: neither a report nor the equipment file is overwritten.
TEST_F(RdsrCommand, CsvNamingAnInputIsRefusedAndNothingIsWritten) {
    const std::string report = WriteReport(FixtureReport{}, "report.dcm");
    for (const std::string& target : {report, Path("Room1.odv3")}) {
        QFile file(QString::fromStdString(target));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        EXPECT_THROW(Run(RunRdsr, {"--csv", target, report}, kRdsrOptions, kRdsrFlags), UsageError)
            << target;
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << target;
    }
}

// A bare equipment name is found in --data, as the window finds it in its working folder.
TEST_F(RdsrCommand, BareEquipmentNameIsLookedUpInTheDataFolder) {
    const std::string report = WriteReport(FixtureReport{}, "report.dcm");
    const Arguments args({"--data", dir_.path().toStdString(), "--equipment", "Room1.odv3", report},
                         kRdsrOptions, kRdsrFlags);
    EXPECT_EQ(RunRdsr(args, out_), 0) << out_.str();
}

}  // namespace
}  // namespace ordevo::cli
