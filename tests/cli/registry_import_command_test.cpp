// ordevo-cli registry import builds a registry from dose reports written here: several
// categories, a duplicate, a damaged file, a folder with other files; the review of what it
// registered gives the medians computed by hand; a second import registers nothing twice.
#include <gtest/gtest.h>

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sstream>

#include "cp932_text.h"
#include "registry_command.h"
#include "report_writer.h"
#include "synthetic_data.h"

namespace ordevo::cli {
namespace {

using rdsr::testing::FixtureReport;
using rdsr::testing::Measured;

class RegistryImport : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteSyntheticWorkingFolder(dir_.path());
        QDir(dir_.path()).mkpath("archive/2024/01");
        ASSERT_TRUE(WriteTextLines(dir_.filePath("procedure_categories.txt"),
                                   {"塞栓 = aneurysm", "撮影 = angio"}));
        ASSERT_TRUE(WriteTextLines(dir_.filePath("drl.txt"), {"塞栓 = 1500, 300", "撮影 = , "}));
    }

    // One single-event report: its Ka,r (Gy) and P_KA (Gy·m²) as written, described so.
    void WriteReport(const QString& name, const char* description, const char* karGy,
                     const char* pkaGym2, int number) {
        FixtureReport report;
        report.Events[0].Uid = "1.2.826.0.1.3680043.10.7." + std::to_string(number);
        report.Events[0].DoseRp = Measured{karGy, "Gy"};
        report.Events[0].DoseAreaProduct = Measured{pkaGym2, "Gy.m2"};
        report.Totals[0].DoseRpTotal = Measured{karGy, "Gy"};
        report.Totals[0].DoseAreaProductTotal = Measured{pkaGym2, "Gy.m2"};
        std::string error;
        ASSERT_TRUE(WriteFixtureReport(report, dir_.filePath(name).toStdString(), &error,
                                       [&](DcmItem& dataset) {
                                           dataset.putAndInsertString(DCM_StudyDescription,
                                                                      description);
                                           dataset.putAndInsertString(DCM_StationName, "ANGIO-1");
                                       }))
            << error;
    }

    QJsonObject Run(const std::string& action, std::vector<std::string> words, int exit) {
        words.insert(words.begin(), {action, "--registry", dir_.filePath("r.sqlite").toStdString(),
                                     "--data", dir_.path().toStdString()});
        std::ostringstream out;
        EXPECT_EQ(RunRegistry(Arguments(words, kRegistryOptions, kRegistryFlags), out), exit)
            << out.str();
        return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    }

    QTemporaryDir dir_;
};

TEST_F(RegistryImport, RegistersEachReportOnceAndTheReviewGivesTheHandMedians) {
    WriteReport("archive/coil1.dcm", "Aneurysm coil embolization", "1.0", "0.010", 1);
    WriteReport("archive/2024/coil2.dcm", "ANEURYSM COIL", "3.0", "0.030", 2);
    WriteReport("archive/2024/01/coil3", "aneurysm coiling", "2.0", "0.025", 3);
    WriteReport("archive/2024/01/angio1.dcm", "Cerebral angiography", "0.4", "0.004", 4);
    WriteReport("archive/angio2.dcm", "cerebral angio", "0.6", "0.006", 5);
    WriteReport("knee.dcm", "Knee", "0.01", "0.0001", 6);
    ASSERT_TRUE(QFile::copy(dir_.filePath("archive/coil1.dcm"),
                            dir_.filePath("archive/2024/copy-of-coil1.dcm")));
    QFile damaged(dir_.filePath("archive/2024/damaged.dcm"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(128, '\0') + "DICM" + QByteArray("\x02\x00\x10", 3));
    damaged.close();
    QFile note(dir_.filePath("archive/README.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("not a report\n");
    note.close();

    const std::string equipment = dir_.filePath("Room1.odv3").toStdString();
    QJsonObject imported = Run("import",
                               {"--equipment", equipment, dir_.filePath("archive").toStdString(),
                                dir_.filePath("knee.dcm").toStdString()},
                               1);
    EXPECT_EQ(imported["registered"].toInt(), 6);
    EXPECT_EQ(imported["alreadyRegistered"].toInt(), 1);  // the copy
    EXPECT_EQ(imported["skipped"].toInt(), 1);            // the note
    const QJsonArray failed = imported["failed"].toArray();
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].toObject()["file"].toString().endsWith("damaged.dcm"));
    EXPECT_FALSE(failed[0].toObject()["reason"].toString().isEmpty());

    // Again: nothing new; the damaged file still fails.
    imported = Run("import", {"--equipment", equipment, dir_.filePath("archive").toStdString()}, 1);
    EXPECT_EQ(imported["registered"].toInt(), 0);
    EXPECT_EQ(imported["alreadyRegistered"].toInt(), 6);

    const QJsonObject review = Run("drl", {}, 0);
    EXPECT_EQ(review["uncategorised"].toInt(), 1);  // the knee
    const QJsonArray rows = review["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject coil = rows[0].toObject(), angio = rows[1].toObject();
    EXPECT_EQ(coil["category"].toString(), "塞栓");
    EXPECT_EQ(coil["room"].toString(), "ANGIO-1");  // the station name of imported reports
    EXPECT_EQ(coil["procedures"].toInt(), 3);
    // Ka,r 1000, 2000, 3000 mGy: median 2000, 75 %: h = 2 × 0.75 = 1.5 → 2500.
    // P_KA 100, 250, 300 Gy·cm²: median 250, 75 %: 275. Tolerance: the Gy → mGy and
    // Gy·m² → Gy·cm² conversions of decimal texts.
    EXPECT_NEAR(coil["medianKarMGy"].toDouble(), 2000, 1e-9);
    EXPECT_NEAR(coil["p75KarMGy"].toDouble(), 2500, 1e-9);
    EXPECT_NEAR(coil["medianPkaGycm2"].toDouble(), 250, 1e-9);
    EXPECT_NEAR(coil["p75PkaGycm2"].toDouble(), 275, 1e-9);
    EXPECT_TRUE(coil["karAboveDrl"].toBool());   // 2000 > 1500
    EXPECT_FALSE(coil["pkaAboveDrl"].toBool());  // 250 ≤ 300
    // Ka,r 400, 600: median 500, 75 %: h = 0.75 → 550; no levels set.
    EXPECT_NEAR(angio["medianKarMGy"].toDouble(), 500, 1e-9);
    EXPECT_NEAR(angio["p75KarMGy"].toDouble(), 550, 1e-9);
    EXPECT_TRUE(angio["karAboveDrl"].isNull());
}

TEST_F(RegistryImport, ANamedFileThatIsNoReportFailsAndARoomThatCannotBeReadStopsAll) {
    QFile text(dir_.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("hello\n");
    text.close();
    const std::string equipment = dir_.filePath("Room1.odv3").toStdString();
    QJsonObject imported =
        Run("import", {"--equipment", equipment, dir_.filePath("notes.txt").toStdString()}, 1);
    EXPECT_EQ(imported["failed"].toArray().size(), 1);
    imported = Run("import",
                   {"--equipment", dir_.filePath("none.odv3").toStdString(),
                    dir_.filePath("notes.txt").toStdString()},
                   1);
    EXPECT_TRUE(imported.contains("error"));
    EXPECT_THROW(Run("import", {"--equipment", equipment}, 2), UsageError);
}

}  // namespace
}  // namespace ordevo::cli
