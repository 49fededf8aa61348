// One report through evaluation and the map into the registry, as the node and a hand import
// do it: registered once, a damaged file or an unusable patient ID kept as failed with its
// reason, a report of which no event could be evaluated failed and never a dose of 0, a room
// not configured left for later, and the procedure's alerts written with it.
#include <gtest/gtest.h>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <QTemporaryDir>

#include "report_registration.h"
#include "report_writer.h"
#include "source_header.h"
#include "synthetic_data.h"

namespace ordevo::registry {
namespace {

using rdsr::testing::FixtureReport;

class ReportRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
        auto context = LoadEvaluationContext(
            dir_.path().toStdString(),
            {{"ANGIO1", RoomSetup{dir_.filePath("Room1.odv3").toStdString(), "", ""}}});
        ASSERT_TRUE(context) << context.error().what();
        context_ = std::move(*context);
        auto opened = Registry::Open(dir_.filePath("registry.sqlite"));
        ASSERT_TRUE(opened);
        registry_ = std::move(*opened);
    }
    ReportSource Write(const FixtureReport& report, const std::string& name,
                       const rdsr::testing::DataSetEdit& edit = {}) {
        const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
        std::string error;
        EXPECT_TRUE(rdsr::testing::WriteFixtureReport(report, path, &error, edit)) << error;
        const rdsr::SourceHeader header = rdsr::ReadSourceHeader(path);
        return {path, header.SopInstanceUid, header.StudyInstanceUid, "ANGIO1", header.Error};
    }
    Outcome Register(const ReportSource& source, const AlertLevels* levels = nullptr) {
        std::string message;
        return RegisterReport(source, context_, *registry_, &message, levels);
    }

    QTemporaryDir dir_;
    EvaluationContext context_;
    std::unique_ptr<Registry> registry_;
};

TEST_F(ReportRegistration, RegistersOnceAndKeepsWhatFailsWithItsReason) {
    FixtureReport unevaluable;  // 500 kV: beyond every table, so no event has a dose
    for (auto& event : unevaluable.Events) event.Kvp = {{"500", "kV"}};
    const auto nul = [](DcmItem& dataset) {
        dataset.putAndInsertString(DcmTag(DCM_PatientID), "P-1\0P-2", Uint32{7});
    };
    ReportSource damaged = Write(FixtureReport{}, "damaged.dcm");
    damaged.Error = "Premature end of stream";
    ReportSource noRoom = Write(FixtureReport{}, "noroom.dcm");
    noRoom.CallingAe = "NOROOM";
    const ReportSource plain = Write(FixtureReport{}, "plain.dcm");
    const struct {
        const char* name;
        ReportSource source;
        Outcome outcome;
        const char* status;  // "" : not in the registry
        const char* reason;
    } cases[] = {
        {"plain", plain, Outcome::Registered, "registered", ""},
        {"again", plain, Outcome::AlreadyRegistered, "registered", ""},
        {"damaged", damaged, Outcome::Failed, "failed", "DICOM として読めません"},
        {"no room", noRoom, Outcome::Deferred, "", ""},
        {"500 kV", Write(unevaluable, "500kv.dcm"), Outcome::Failed, "failed",
         "評価できた照射がありません（1 件とも"},
        {"NUL in the ID", Write(FixtureReport{}, "nul.dcm", nul), Outcome::Failed, "failed",
         "患者 ID に使えない文字"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Register(c.source), c.outcome) << c.name;
        const auto shown = registry_->Show(c.source.SopInstanceUid);
        ASSERT_TRUE(shown) << c.name;
        if (std::string(c.status).empty()) {
            EXPECT_FALSE(*shown) << c.name;
            continue;
        }
        ASSERT_TRUE(*shown) << c.name;
        const ProcedureSummary& summary = (*shown)->Summary;
        EXPECT_EQ(summary.Status, c.status) << c.name;
        EXPECT_NE(summary.Reason.find(c.reason), std::string::npos) << c.name << summary.Reason;
        // A failed report has no dose: not 0, none.
        EXPECT_EQ(summary.PsdMGy.has_value(), summary.Status == "registered") << c.name;
        EXPECT_EQ(summary.UpperBoundMGy.has_value(), summary.Status == "registered") << c.name;
    }
    const auto list = registry_->List();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 4u);  // plain, damaged, 500 kV, NUL
}

TEST_F(ReportRegistration, WritesTheAlertsWithTheProcedureUntilAnnounced) {
    AlertLevels levels;
    levels.ProcedureMGy = 0.001;
    const ReportSource source = Write(FixtureReport{}, "report.dcm");
    ASSERT_EQ(Register(source, &levels), Outcome::Registered);
    auto pending = registry_->UnannouncedAlerts();
    ASSERT_TRUE(pending);
    ASSERT_EQ(pending->size(), 1u);
    EXPECT_EQ((*pending)[0].Kind, "procedure");
    EXPECT_EQ((*pending)[0].SopInstanceUid, source.SopInstanceUid);
    EXPECT_FALSE((*pending)[0].Announced);
    ASSERT_TRUE(registry_->MarkAnnounced((*pending)[0].Id));
    pending = registry_->UnannouncedAlerts();
    ASSERT_TRUE(pending);
    EXPECT_TRUE(pending->empty());
    const auto all = registry_->Alerts();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 1u);
    EXPECT_TRUE((*all)[0].Announced);
}

}  // namespace
}  // namespace ordevo::registry
