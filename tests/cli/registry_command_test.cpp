// ordevo-cli registry on a registry filled here: one entry per procedure in JSON and CSV, and a
// missing registry reported, never created.
#include <gtest/gtest.h>

#include <QFileInfo>
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
        {"csv", {"1.2.9,\"P,1\",,registered,1234.5,,,2000,", "1.2.10,,,failed,"}},
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
