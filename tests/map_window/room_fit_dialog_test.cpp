// 「測定から作る…」 in the map window: the room's commissioning report opened, each step's
// reported position, change and word shown, the profile saved into the data folder and chosen
// for the map; a refused report shows why and cannot be saved; the protocol is printed.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "print_service.h"
#include "reference_files.h"
#include "report_writer.h"
#include "room_fit_dialog.h"
#include "room_profile_file.h"
#include "scripted_messages.h"
#include "skin_dose_map_window.h"
#include "synthetic_data.h"

namespace ordevo {
namespace {

using rdsr::testing::FixtureEvent;
using rdsr::testing::FixtureReport;

// The protocol in a room whose longitudinal position grows towards the head, lateral towards
// the patient's right and height upwards: (longitudinal, lateral, height) per step, mm.
FixtureReport Commissioning(int steps) {
    const double reported[4][3] = {{0, 0, 900}, {100, 0, 900}, {0, -100, 900}, {0, 0, 800}};
    FixtureReport report;
    report.Events.clear();
    for (int i = 0; i < steps; ++i) {
        FixtureEvent e;
        e.Uid += "." + std::to_string(i + 1);
        e.GeometryNums = {
            {"113751", "Table Longitudinal Position", {std::to_string(reported[i][0]), "mm"}},
            {"113752", "Table Lateral Position", {std::to_string(reported[i][1]), "mm"}},
            {"113753", "Table Height Position", {std::to_string(reported[i][2]), "mm"}}};
        report.Events.push_back(e);
    }
    return report;
}

class RoomFitDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
        ref_ = ReadReferenceData(dir_.path()).value();
        window_ = std::make_unique<SkinDoseMapWindow>(ref_, dir_.path());
    }
    QString Write(const FixtureReport& report, const char* name) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(rdsr::testing::WriteFixtureReport(report, path.toStdString()));
        return path;
    }
    ui::ScopedScriptedMessages messages_;
    QTemporaryDir dir_;
    ReferenceData ref_;
    std::unique_ptr<SkinDoseMapWindow> window_;
};

TEST_F(RoomFitDialogTest, ShowsEachStepAndSavesTheProfile) {
    RoomFitDialog* dialog = window_->OpenRoomFit(Write(Commissioning(4), "fit.dcm"));
    ASSERT_NE(dialog, nullptr);
    QTableWidget* steps = dialog->StepsTable();
    ASSERT_EQ(steps->rowCount(), 3);
    const char* expected[3][3] = {{"longitudinal", "+100.0", "longitudinal = head"},
                                  {"lateral", "-100.0", "lateral = right"},
                                  {"height", "-100.0", "height = up"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(steps->item(r, c + 2)->text(), QString::fromUtf8(expected[r][c])) << r;
    EXPECT_TRUE(dialog->Message()->text().contains(QStringLiteral("900.0 mm")));
    EXPECT_EQ(dialog->NameBox()->text(), QStringLiteral("ordevo-実測"));

    dialog->NameBox()->setText(QStringLiteral("room5"));
    dialog->SaveButton()->click();
    const QString saved = dir_.filePath(QStringLiteral("room5.room"));
    const auto read = ReadRoomProfileFile(saved);
    ASSERT_TRUE(read.has_value()) << read.error().what();
    EXPECT_EQ(read->Longitudinal, map::TableDirection::Head);
    EXPECT_EQ(read->Source, map::ProfileSource::Commissioned);
    QComboBox* rooms = window_->Control<QComboBox>("Combo4");
    EXPECT_EQ(rooms->currentText(), QStringLiteral("room5.room"));
    EXPECT_EQ(rooms->itemText(rooms->count() - 1), QStringLiteral("測定から作る…"));

    // A second save under the same name asks first; "No" keeps the file as it was.
    RoomFitDialog* again = window_->OpenRoomFit(Write(Commissioning(4), "fit.dcm"));
    ASSERT_NE(again, nullptr);
    again->NameBox()->setText(QStringLiteral("room5"));
    messages_->QueueAnswer(ui::Answer::No);
    again->SaveButton()->click();
    EXPECT_TRUE(again->SavedPath().isEmpty());
    EXPECT_EQ(messages_->PendingAnswers(), 0u);
    again->reject();
}

TEST_F(RoomFitDialogTest, RefusedReportSaysWhyAndSavesNothing) {
    RoomFitDialog* dialog = window_->OpenRoomFit(Write(Commissioning(3), "short.dcm"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->Message()->text().contains(QStringLiteral("3 件しかありません")))
        << dialog->Message()->text().toStdString();
    EXPECT_FALSE(dialog->SaveButton()->isEnabled());
    dialog->reject();
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.room")}).isEmpty());
}

TEST_F(RoomFitDialogTest, PrintsTheProtocol) {
    auto* printer = new ui::RecordingPrintService;
    auto previous = ui::SetAppPrintService(std::unique_ptr<ui::PrintService>(printer));
    RoomFitDialog* dialog = window_->OpenRoomFit(Write(Commissioning(4), "fit.dcm"));
    ASSERT_NE(dialog, nullptr);
    dialog->ProtocolButton()->click();
    ASSERT_EQ(printer->Pages().size(), 1u);
    QStringList texts;
    for (const auto& op : printer->LastPage().Texts()) texts << op.text;
    const QString page = texts.join('\n');
    for (const char* part :
         {"部屋の寝台の向きの測定手順", "頭側", "患者の左", "10 cm 下げる", "Cアームは 0°/0°"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(part))) << part;
    dialog->reject();
    ui::SetAppPrintService(std::move(previous));
}

}  // namespace
}  // namespace ordevo
