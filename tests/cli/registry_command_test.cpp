// ordevo-cli registry on a registry filled here: one entry per procedure in JSON and CSV, and a
// missing registry reported, never created.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sstream>

#include "registry.h"
#include "registry_command.h"

namespace ordevo::cli {
namespace {

TEST(RegistryCommand, ListsOneEntryPerProcedureAsJsonAndCsv) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/r.sqlite";
    {
        auto registry = registry::Registry::Open(path);
        ASSERT_TRUE(registry);
        registry::ProcedureRecord record;
        record.SopInstanceUid = "1.2.9";
        record.PatientId = "P,1";
        record.PsdMGy = 1234.5;
        record.UpperBoundMGy = 2000;
        ASSERT_TRUE((*registry)->Register(record));
        record.SopInstanceUid = "1.2.11";
        record.PatientId = "=HYPERLINK(\"http://x\",\"y\")";  // a spreadsheet would run it
        ASSERT_TRUE((*registry)->Register(record));
        ASSERT_TRUE((*registry)->RegisterFailure("1.2.10", "x.dcm", "", "壊れています"));
    }
    const struct {
        const char* format;
        std::vector<std::string> expected;
    } cases[] = {
        {"json",
         {R"("sopInstanceUid": "1.2.9", "patientId": "P,1")", R"("psdMGy": 1234.5)",
          R"("upperBoundMGy": 2000)", R"("status": "registered")", R"("status": "failed")",
          R"("reason": "壊れています")"}},
        {"csv",
         {"1.2.9,\"P,1\",,registered,1234.5,,,2000,", "1.2.10,,,failed,",
          "1.2.11,\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",,registered,"}},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(
            RunRegistry(Arguments({"list", "--registry", path.toStdString(), "--format", c.format},
                                  kRegistryOptions, kRegistryFlags),
                        out),
            0);
        for (const std::string& part : c.expected)
            EXPECT_NE(out.str().find(part), std::string::npos) << c.format << ": " << out.str();
    }
}

// Two procedures of one patient whose peaks lie apart on the same grid: show gives the added
// map's peak, not the sum; outside a shorter window the earlier one drops out.
TEST(RegistryCommand, ShowGivesThePatientsCumulativeDose) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/r.sqlite";
    {
        auto registry = registry::Registry::Open(path);
        ASSERT_TRUE(registry);
        const struct {
            const char *uid, *date;
            std::size_t peakCell;
            double peakMGy;
        } procedures[] = {{"1.1", "20240101", 0, 1000}, {"1.2", "20240301", 5, 800}};
        for (const auto& p : procedures) {
            registry::ProcedureRecord r;
            r.SopInstanceUid = p.uid;
            r.PatientId = "P1";
            r.StudyDate = p.date;
            r.PsdMGy = p.peakMGy;
            std::vector<double> cells(8, 0.0);  // a 60 cm plane on 15 cm cells: 2 rows of 4
            cells[p.peakCell] = p.peakMGy;
            r.Map = registry::MapRecord{p.peakMGy, "", {}, {}, "plane", 15, 2, 4, cells, "HFS"};
            ASSERT_TRUE((*registry)->Register(r));
        }
    }
    const struct {
        const char* windowDays;
        double doseMGy, peakSumMGy;
        int procedures;
    } cases[] = {{"365", 1000, 1800, 2}, {"30", 800, 800, 1}};
    for (const auto& c : cases) {
        std::ostringstream out;
        ASSERT_EQ(RunRegistry(Arguments({"show", "1.2", "--registry", path.toStdString(),
                                         "--window-days", c.windowDays},
                                        kRegistryOptions, kRegistryFlags),
                              out),
                  0);
        const QJsonObject sum = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()))
                                    .object()["cumulativeDose"]
                                    .toObject();
        EXPECT_EQ(sum["method"].toString(), "maps") << c.windowDays;
        EXPECT_DOUBLE_EQ(sum["doseMGy"].toDouble(), c.doseMGy) << c.windowDays;
        EXPECT_DOUBLE_EQ(sum["peakSumMGy"].toDouble(), c.peakSumMGy) << c.windowDays;
        EXPECT_EQ(sum["procedures"].toArray().size(), c.procedures) << c.windowDays;
    }
}

TEST(RegistryCommand, AMissingRegistryIsAnErrorAndStaysMissing) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/none.sqlite").toStdString();
    std::ostringstream out;
    EXPECT_EQ(
        RunRegistry(Arguments({"list", "--registry", path}, kRegistryOptions, kRegistryFlags), out),
        1);
    EXPECT_NE(out.str().find("線量登録簿がありません"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
}

}  // namespace
}  // namespace ordevo::cli
