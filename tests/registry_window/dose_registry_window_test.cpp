// The window "線量登録簿" on a registry filled here, offscreen: the registry of the setting opens
// without a dialog, the patient's procedures, cumulative dose and alerts are listed, a chosen
// procedure's stored map is drawn and its page saved; a missing registry is refused, not created;
// the setting file's bad lines are named.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "cp932_text.h"
#include "dose_registry_window.h"
#include "picture_box.h"
#include "scripted_messages.h"

namespace ordevo {
namespace {

// Pixels of the picture that are neither white, black nor grey: the map's colours.
int ColouredPixels(const ui::PictureBox& picture) {
    const QImage& image = picture.Image();
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += std::max({c.red(), c.green(), c.blue()}) -
                                    std::min({c.red(), c.green(), c.blue()}) >
                                60
                            ? 1
                            : 0;
        }
    return coloured;
}

registry::ProcedureRecord Procedure(const char* uid, const char* date, std::size_t peakCell,
                                    double peakMGy) {
    registry::ProcedureRecord r;
    r.SopInstanceUid = uid;
    r.PatientId = "P1";
    r.StudyDate = date;
    r.PsdMGy = peakMGy;
    r.PsdLowMGy = peakMGy / 2;
    r.PsdHighMGy = peakMGy * 2;
    r.UpperBoundMGy = 3 * peakMGy;
    r.Planes = {{"A", "Room1.odv3", 500, 50, 3 * peakMGy, std::nullopt, 0, 0, 0},
                {"B", "Room1B.odv3", 200, 20, peakMGy, std::nullopt, 0, 0, 0}};
    std::vector<double> cells(8, 0.0);  // a 60 cm plane on 15 cm cells: 2 rows of 4
    cells[peakCell] = peakMGy;
    r.Map = registry::MapRecord{peakMGy, "背部", 7.5, 0, "plane", 15, 2, 4, cells, "HFS"};
    return r;
}

class DoseRegistryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        auto opened = registry::Registry::Open(RegistryPath());
        ASSERT_TRUE(opened);
        registry::Registry& r = **opened;
        ASSERT_TRUE(r.Register(Procedure("1.1", "20240101", 0, 1000)));
        ASSERT_TRUE(r.Register(Procedure("1.2", "20240301", 5, 800)));
        ASSERT_TRUE(r.RegisterFailure("1.3", "x.dcm", "ANGIO1", "構造化報告ではありません"));
        ASSERT_TRUE(
            r.AddAlert({"procedure", "P1", "1.1", "", "患者 P1 の手技 1.1: 警報", 500, 1000}));
    }
    QString RegistryPath() const { return dir_.filePath("registry.sqlite"); }
    QTemporaryDir dir_;
    ui::ScopedScriptedMessages messages_;
};

TEST_F(DoseRegistryWindowTest, ListsThePatientsDosesAndDrawsTheChosenMap) {
    ASSERT_TRUE(WriteDoseRegistrySetting(dir_.path(), {RegistryPath(), {}}));
    DoseRegistryWindow window(dir_.path());
    window.Open();
    EXPECT_TRUE(messages_->Shown().empty());
    ASSERT_EQ(window.PatientList()->count(), 2);  // P1, and the report without a patient
    window.PatientList()->setCurrentRow(1);
    ASSERT_EQ(window.PatientList()->item(1)->text(), "P1");
    QTableWidget* table = window.ProcedureTable();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), "2024-01-01");
    EXPECT_EQ(table->item(1, 1)->text(), "800");
    EXPECT_EQ(table->item(1, 2)->text(), "400 – 1600");
    EXPECT_EQ(table->item(1, 4)->text(), "A 500.0 / B 200.0");
    // The peaks lie apart on one grid and lying: the added map's peak, not their sum.
    ASSERT_TRUE(window.ShownCumulativeDose());
    EXPECT_DOUBLE_EQ(window.ShownCumulativeDose()->DoseMGy, 1000);
    EXPECT_TRUE(window.Control<QLabel>("Label5")->text().contains("1000 mGy"));
    EXPECT_EQ(window.AlertList()->count(), 1);

    table->setCurrentCell(1, 0);
    ASSERT_TRUE(window.ShownProcedure());
    EXPECT_EQ(window.ShownProcedure()->Summary.SopInstanceUid, "1.2");
    EXPECT_GT(ColouredPixels(*window.Picture()), 0);
    window.Control<QComboBox>("Combo1")->setCurrentIndex(1);  // the added map
    EXPECT_GT(ColouredPixels(*window.Picture()), 0);
    const QString pdf = dir_.filePath("page.pdf");
    window.SavePdf(pdf);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);

    window.PatientList()->setCurrentRow(0);  // the failed report: no map to draw
    window.Control<QComboBox>("Combo1")->setCurrentIndex(0);
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 6)->text(), "評価不能");
    EXPECT_EQ(ColouredPixels(*window.Picture()), 0);
    EXPECT_TRUE(window.Control<QLabel>("Label8")->text().contains("構造化報告ではありません"));
}

TEST_F(DoseRegistryWindowTest, AMissingRegistryIsRefusedAndNotCreated) {
    DoseRegistryWindow window(dir_.path());
    const QString missing = dir_.filePath("none.sqlite");
    EXPECT_FALSE(window.OpenRegistry(missing));
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_TRUE(messages_->Shown()[0].text.contains("線量登録簿がありません"));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(DoseRegistrySetting, NamesTheLineThatCannotBeRead) {
    const struct {
        const char* line;
        const char* says;  // empty: read
    } cases[] = {{"alert-window-days = 30", ""},
                 {"alert-window-days = 0", "2 行目"},
                 {"alert-cumulative-mgy = much", "2 行目"},
                 {"port = 104", "使えません"},
                 {"registry", "キー = 値"}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(WriteTextLines(dir.filePath(kDoseRegistrySettingFileName),
                                   {"# 設定", QString::fromUtf8(c.line)}));
        const auto read = ReadDoseRegistrySetting(dir.path());
        if (*c.says == '\0') {
            ASSERT_TRUE(std::holds_alternative<DoseRegistrySetting>(read)) << c.line;
            EXPECT_EQ(std::get<DoseRegistrySetting>(read).Levels.WindowDays, 30);
        } else {
            ASSERT_TRUE(std::holds_alternative<QString>(read)) << c.line;
            EXPECT_TRUE(std::get<QString>(read).contains(QString::fromUtf8(c.says)))
                << std::get<QString>(read).toStdString();
        }
    }
}

}  // namespace
}  // namespace ordevo
