// ordevo-cli registry p-rdsr: a registered procedure's SR written; a failed report, a procedure
// without a peak skin dose and an unknown UID refused with their reasons, nothing written.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <sstream>

#include "registry.h"
#include "registry_command.h"

namespace ordevo::cli {
namespace {

TEST(RegistryPatientDoseReport, WritesOnlyForAProcedureWithAPeakSkinDose) {
    QTemporaryDir dir;
    const QString path = dir.filePath("r.sqlite");
    {
        auto registry = registry::Registry::Open(path);
        ASSERT_TRUE(registry);
        registry::ProcedureRecord r;
        r.SopInstanceUid = "1.2.3";
        r.StudyInstanceUid = "1.2.4";
        r.PatientId = "P1";
        r.PsdMGy = 1200;
        r.PsdLowMGy = 900;
        r.PsdHighMGy = 1500;
        r.UpperBoundMGy = 3000;
        ASSERT_TRUE((*registry)->Register(r));
        r.SopInstanceUid = "1.2.5";
        r.PsdMGy.reset();
        ASSERT_TRUE((*registry)->Register(r));
        ASSERT_TRUE((*registry)->RegisterFailure("1.2.6", "x.dcm", "", "壊れています"));
    }
    const struct {
        const char* uid;
        int exit;
        const char* part;
    } cases[] = {
        {"1.2.3", 0, "\"sopInstanceUid\": \"1."},
        {"1.2.5", 1, "ピーク皮膚線量がない"},
        {"1.2.6", 1, "評価できなかった報告"},
        {"9.9", 1, "線量登録簿にありません"},
    };
    for (const auto& c : cases) {
        const QString out = dir.filePath(QString("%1.dcm").arg(c.uid));
        std::ostringstream json;
        EXPECT_EQ(RunRegistry(Arguments({"p-rdsr", c.uid, "--registry", path.toStdString(), "--out",
                                         out.toStdString()},
                                        kRegistryOptions, kRegistryFlags),
                              json),
                  c.exit)
            << json.str();
        EXPECT_NE(json.str().find(c.part), std::string::npos) << json.str();
        EXPECT_EQ(QFileInfo::exists(out), c.exit == 0) << c.uid;
    }
}

}  // namespace
}  // namespace ordevo::cli
