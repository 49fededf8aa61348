// ordevo-cli registry drl on a registry filled here: the rows' keys and values, the count of
// uncategorised procedures, the period, and CSV fields a spreadsheet would take for formulas.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sstream>

#include "cp932_text.h"
#include "registry.h"
#include "registry_command.h"

namespace ordevo::cli {
namespace {

class RegistryDrlCommand : public ::testing::Test {
protected:
    void SetUp() override {
        registryPath_ = dir_.path() + "/r.sqlite";
        auto registry = registry::Registry::Open(registryPath_);
        ASSERT_TRUE(registry);
        const struct {
            const char *uid, *date, *description, *station;
            double kar, pka;
        } procedures[] = {
            {"1.1", "20240105", "Aneurysm coil", "Room 1", 1000, 100},
            {"1.2", "20240106", "ANEURYSM COIL", "Room 1", 3000, 300},
            {"1.3", "20240107", "aneurysm coiling", "Room 1", 2000, 250},
            {"1.4", "20240108", "Cerebral angio", "Room 1", 400, 40},
            {"1.5", "20240109", "Knee", "Room 1", 5, 1},
            {"1.6", "20240301", "Aneurysm coil", "=Room 2", 9000, 900},
        };
        for (const auto& p : procedures) {
            registry::ProcedureRecord r;
            r.SopInstanceUid = p.uid;
            r.StudyDate = p.date;
            r.Texts.StudyDescription = p.description;
            r.Texts.StationName = p.station;
            r.Texts.InstitutionName = "Test Hospital";
            r.Planes.push_back({"single", "", p.kar, p.pka, 0, std::nullopt, 1, 0, 0});
            ASSERT_TRUE((*registry)->Register(r));
        }
        ASSERT_TRUE(WriteTextLines(dir_.path() + "/drl.txt",
                                   {"# test", "塞栓 = 1500, 300", "撮影 = , 50"}));
        ASSERT_TRUE(WriteTextLines(dir_.path() + "/procedure_categories.txt",
                                   {"塞栓 = aneurysm", "撮影 = angio"}));
    }

    std::string Run(std::vector<std::string> extra, int expectedExit = 0) {
        std::vector<std::string> words = {"drl", "--registry", registryPath_.toStdString(),
                                          "--data", dir_.path().toStdString()};
        words.insert(words.end(), extra.begin(), extra.end());
        std::ostringstream out;
        EXPECT_EQ(RunRegistry(Arguments(words, kRegistryOptions, kRegistryFlags), out),
                  expectedExit)
            << out.str();
        return out.str();
    }

    QTemporaryDir dir_;
    QString registryPath_;
};

TEST_F(RegistryDrlCommand, RowsGiveMedianAndPercentileAgainstTheLevels) {
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(Run({"--to", "2024-01-31"}))).object();
    EXPECT_EQ(json["to"].toString(), "2024-01-31");
    EXPECT_EQ(json["uncategorised"].toInt(), 1);  // the knee
    const QJsonArray rows = json["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject embolisation = rows[0].toObject();
    EXPECT_EQ(embolisation.keys(),
              (QStringList{"category", "drlKarMGy", "drlPkaGycm2", "karAboveDrl", "medianKarMGy",
                           "medianPkaGycm2", "p75KarMGy", "p75PkaGycm2", "pkaAboveDrl",
                           "procedures", "room"}));
    EXPECT_EQ(embolisation["category"].toString(), "塞栓");
    EXPECT_EQ(embolisation["room"].toString(), "Room 1");
    EXPECT_EQ(embolisation["procedures"].toInt(), 3);
    // Ka,r 1000, 2000, 3000: median 2000, 75 % at h = 1.5: 2500. P_KA 100, 250, 300.
    EXPECT_DOUBLE_EQ(embolisation["medianKarMGy"].toDouble(), 2000);
    EXPECT_DOUBLE_EQ(embolisation["p75KarMGy"].toDouble(), 2500);
    EXPECT_DOUBLE_EQ(embolisation["medianPkaGycm2"].toDouble(), 250);
    EXPECT_DOUBLE_EQ(embolisation["p75PkaGycm2"].toDouble(), 275);
    EXPECT_TRUE(embolisation["karAboveDrl"].toBool());   // 2000 > 1500
    EXPECT_FALSE(embolisation["pkaAboveDrl"].toBool());  // 250 ≤ 300
    const QJsonObject angiography = rows[1].toObject();
    EXPECT_TRUE(angiography["drlKarMGy"].isNull());
    EXPECT_TRUE(angiography["karAboveDrl"].isNull());
    EXPECT_FALSE(angiography["pkaAboveDrl"].toBool());  // 40 ≤ 50
    EXPECT_EQ(json["minimumProcedures"].toInt(), 20);
    EXPECT_EQ(json["fewProcedures"].toArray().size(), 2);
    EXPECT_EQ(json["facilities"].toArray().first().toString(), "Test Hospital");
}

TEST_F(RegistryDrlCommand, CsvNeutralisesFormulaLikeTexts) {
    const std::string csv = Run({"--from", "20240201", "--format", "csv"});
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "category,room,procedures,medianKarMGy,p75KarMGy,medianPkaGycm2,p75PkaGycm2,"
              "drlKarMGy,drlPkaGycm2,karAboveDrl,pkaAboveDrl,fewProcedures");
    EXPECT_NE(csv.find("\r\n塞栓,'=Room 2,1,9000,9000,900,900,1500,300,true,true,true\r\n"),
              std::string::npos)
        << csv;
}

TEST_F(RegistryDrlCommand, BadFilesAndDatesAreReported) {
    ASSERT_TRUE(WriteTextLines(dir_.path() + "/bad.txt", {"塞栓 = (aneurysm"}));
    const std::string out = Run({"--categories", (dir_.path() + "/bad.txt").toStdString()}, 1);
    EXPECT_NE(out.find("bad.txt の 1 行目"), std::string::npos) << out;
    for (const char* date : {"2024-02-30", "tomorrow"})
        EXPECT_THROW(Run({"--from", date}), UsageError) << date;
    EXPECT_THROW(Run({"--from", "2024-02-01", "--to", "2024-01-01"}), UsageError);
    EXPECT_THROW(Run({"--pdf", "x.pdf"}), UsageError);  // no page writer in this build's tests
}

}  // namespace
}  // namespace ordevo::cli
