// The skin-dose map window opened from the dose-report window: its map agrees with ordevo-cli map
// given the same placement, a new landmark moves the PSD, only the newest request's map shows,
// the tooltip names the events under the cursor, and the report page is printed.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "dose_report_window.h"
#include "follow_up_judgement.h"
#include "map_command.h"
#include "measurement_record_file.h"
#include "picture_box.h"
#include "print_service.h"
#include "reference_files.h"
#include "report_writer.h"
#include "scripted_messages.h"
#include "skin_dose_map_window.h"
#include "skin_dose_report_page.h"
#include "synthetic_data.h"

namespace ordevo {
namespace {

using rdsr::testing::FixtureEvent;
using rdsr::testing::FixtureReport;
using rdsr::testing::Measured;

// Two left-oblique runs and a frontal one, the table moving along the patient between them.
FixtureReport ThreeRuns() {
    FixtureReport report;
    report.Events.clear();
    for (int i = 0; i < 3; ++i) {
        FixtureEvent e;
        e.Uid += "." + std::to_string(i + 1);
        e.DoseRp = Measured{"1.5", "Gy"};
        e.DoseAreaProduct = Measured{"0.015", "Gy.m2"};  // a 10 cm field
        e.GeometryNums = {{"112011", "Positioner Primary Angle", {i < 2 ? "60" : "0", "deg"}},
                          {"112012", "Positioner Secondary Angle", {"0", "deg"}},
                          {"113751", "Table Longitudinal Position", {"0", "mm"}},
                          {"113752", "Table Lateral Position", {std::to_string(40 * i), "mm"}},
                          {"113753", "Table Height Position", {"0", "mm"}}};
        e.GeometryCodes = {
            {"113745", "Patient Table Relationship", "102540008", "SCT", "headfirst"},
            {"113744", "Patient Orientation Modifier", "40199007", "SCT", "supine"}};
        report.Events.push_back(e);
    }
    return report;
}

// A number of the CLI's JSON, read after `after`.
double JsonNumber(const std::string& json, const std::string& key, const std::string& after = "") {
    const std::size_t from = json.find(after);
    const std::size_t at = json.find("\"" + key + "\": ", from);
    EXPECT_NE(at, std::string::npos) << key << "\n" << json;
    return std::stod(json.substr(at + key.size() + 4));
}

double UncertaintyOf(const map::SkinDoseMap& m) {
    return m.PsdUncertainty ? m.PsdUncertainty->ExpandedUncertainty() : -1.0;
}

class MapWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
        ref_ = ReadReferenceData(dir_.path()).value();
        report_ = dir_.filePath("runs.dcm").toStdString();
        ASSERT_TRUE(rdsr::testing::WriteFixtureReport(ThreeRuns(), report_));
        previous_ = ui::SetAppMessages(std::make_unique<ui::ScriptedMessages>());
        reports_ = std::make_unique<DoseReportWindow>(ref_, dir_.path());
        reports_->SetEquipmentFile(QStringLiteral("Room1.odv3"));
        reports_->OpenReport(QString::fromStdString(report_));
        QTRY_VERIFY_WITH_TIMEOUT(!reports_->IsBusy(), 20000);
        QTest::mouseClick(reports_->Control<QPushButton>("MapButton"), Qt::LeftButton);
        ASSERT_NE(reports_->MapWindow(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(Window().ShownMap() && !Window().IsBusy(), 20000);
    }
    void TearDown() override {
        reports_.reset();
        ui::SetAppMessages(std::move(previous_));
    }
    SkinDoseMapWindow& Window() { return *reports_->MapWindow(); }
    // Types the landmark as a user does: the text, then Enter.
    void TypeLandmark(const QString& cm) {
        QLineEdit* box = Window().Control<QLineEdit>("Text3");
        box->selectAll();
        QTest::keyClicks(box, cm);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // The report of `file` read again in the dose-report window and its map shown.
    void OpenAndMap(const std::string& file) {
        reports_->OpenReport(QString::fromStdString(file));
        QTRY_VERIFY_WITH_TIMEOUT(!reports_->IsBusy(), 20000);
        QTest::mouseClick(reports_->Control<QPushButton>("MapButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Window().ShownMap() && !Window().IsBusy(), 20000);
    }
    QString PrintedPage() {
        auto* printer = new ui::RecordingPrintService;
        auto previous = ui::SetAppPrintService(std::unique_ptr<ui::PrintService>(printer));
        Window().PrintReport();
        QStringList texts;
        if (!printer->Pages().empty())
            for (const ui::DrawOp& op : printer->LastPage().Texts()) texts << op.text;
        ui::SetAppPrintService(std::move(previous));  // the recording goes with it
        return texts.join('\n');
    }
    std::string Cli(const std::string& landmark) {
        std::ostringstream out;
        const std::vector<std::string> words{
            "--data",      dir_.path().toStdString(),
            "--equipment", dir_.filePath("Room1.odv3").toStdString(),
            "--landmark",  landmark,
            report_};
        EXPECT_EQ(cli::RunMap(cli::Arguments(words, cli::kMapOptions, cli::kMapFlags), out), 0);
        return out.str();
    }

    QTemporaryDir dir_;
    ReferenceData ref_;
    std::string report_;
    std::unique_ptr<ui::Messages> previous_;
    std::unique_ptr<DoseReportWindow> reports_;
};

TEST_F(MapWindowTest, LandmarkMovesTheMapAsTheCommandLineSays) {
    double previousFromTop = -1;
    for (const char* landmark : {"20", "35"}) {
        TypeLandmark(QString::fromLatin1(landmark));
        QTRY_VERIFY_WITH_TIMEOUT(!Window().IsBusy(), 20000);
        const map::SkinDoseMap& shown = *Window().ShownMap();
        ASSERT_TRUE(shown.PsdCell);
        const std::string json = Cli(landmark);
        EXPECT_DOUBLE_EQ(shown.PsdMGy, JsonNumber(json, "psdMGy")) << landmark;
        // The placement's share arrives in a second pass; the window waits for it to print.
        EXPECT_DOUBLE_EQ(UncertaintyOf(shown), JsonNumber(json, "skinDoseExpandedUncertainty"))
            << landmark;
        EXPECT_TRUE(Window().Control<QPushButton>("Command1")->isEnabled());
        const double fromTop = shown.Model.Cells[*shown.PsdCell].FromTopCm;
        EXPECT_DOUBLE_EQ(fromTop, JsonNumber(json, "fromTopCm", "psdLocation")) << landmark;
        EXPECT_NE(fromTop, previousFromTop) << landmark;
        previousFromTop = fromTop;
    }
}

TEST_F(MapWindowTest, OnlyTheNewestRequestIsShown) {
    QLineEdit* box = Window().Control<QLineEdit>("Text3");
    for (const char* cm : {"30", "45", "60"}) {
        box->setText(QString::fromLatin1(cm));
        Window().Remap();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!Window().IsBusy(), 20000);
    const map::SkinDoseMap& shown = *Window().ShownMap();
    EXPECT_DOUBLE_EQ(shown.Model.Cells[*shown.PsdCell].FromTopCm,
                     JsonNumber(Cli("60"), "fromTopCm", "psdLocation"));
}

TEST_F(MapWindowTest, TooltipNamesTheEventsAndThePageIsPrinted) {
    const map::SkinDoseMap& shown = *Window().ShownMap();
    const map::MapLayout& place = Window().MapPlace();
    const int row = static_cast<int>(*shown.PsdCell) / shown.Model.Columns;
    const int column = static_cast<int>(*shown.PsdCell) % shown.Model.Columns;
    const QPoint pixel(static_cast<int>((place.Left + (column + 0.5) * place.CellWidth) / 15),
                       static_cast<int>((place.Top + (row + 0.5) * place.CellHeight) / 15));
    const QString tip = Window().CellToolTip(pixel);
    EXPECT_TRUE(tip.contains(QStringLiteral("照射 "))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("mGy"))) << tip.toStdString();

    const QImage before = Window().Picture()->Image();
    Window().EventsTable()->selectRow(0);
    EXPECT_NE(Window().Picture()->Image(), before) << "the chosen event's field is outlined";

    auto* printer = new ui::RecordingPrintService;
    auto previous = ui::SetAppPrintService(std::unique_ptr<ui::PrintService>(printer));
    QTest::mouseClick(Window().Control<QPushButton>("Command1"), Qt::LeftButton);
    ASSERT_EQ(printer->Pages().size(), 1u);
    EXPECT_TRUE(
        printer->LastPage().FindText(QStringLiteral("皮膚線量報告書 (透視下手技の入射皮膚線量)")));
    ui::SetAppPrintService(std::move(previous));

    if (const QByteArray folder = qgetenv("ORDEVO_SCREENSHOT_DIR"); !folder.isEmpty()) {
        const QString where = QString::fromLocal8Bit(folder);
        Window().grab().save(where + QStringLiteral("/skin_dose_map_window.png"));
        Window().SavePdf(where + QStringLiteral("/skin_dose_report.pdf"));
        Window().Control<QComboBox>("Combo5")->setCurrentIndex(1);
        Window().grab().save(where + QStringLiteral("/skin_dose_map_window_tube.png"));
    }
}

// A room whose calibration and couch were measured: the map window's PSD uncertainty is the one
// ordevo-cli gives for the same room, and smaller than before the record was written.
TEST_F(MapWindowTest, MeasuredRoomGivesTheUncertaintyEveryOtherPathGives) {
    const double unmeasured = UncertaintyOf(*Window().ShownMap());
    ASSERT_GT(unmeasured, 0);
    ASSERT_TRUE(StoreMeasurementRecord(dir_.filePath("Room1.odv3"), {true, true}));
    OpenAndMap(report_);
    QTRY_VERIFY_WITH_TIMEOUT(Window().Control<QPushButton>("Command1")->isEnabled(), 20000);
    const double measured = UncertaintyOf(*Window().ShownMap());
    EXPECT_DOUBLE_EQ(measured, JsonNumber(Cli("20"), "skinDoseExpandedUncertainty"));
    EXPECT_LT(measured, unmeasured);
}

// The next report's placement starts from its own values, also after the window was closed.
TEST_F(MapWindowTest, PatientInputsStartFromEachReportNeverThePreviousPatients) {
    for (const auto& [box, text] : {std::pair{"Text1", "160"}, {"Text2", "50"}, {"Text3", "35"}}) {
        QLineEdit* edit = Window().Control<QLineEdit>(box);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    Window().Control<QComboBox>("Combo3")->setCurrentIndex(1);  // 0.5 cm
    Window().EventsTable()->selectRow(1);
    QTRY_VERIFY_WITH_TIMEOUT(!Window().IsBusy(), 20000);
    ASSERT_TRUE(PrintedPage().contains(QStringLiteral("身長 160 cm (入力)")));
    Window().close();

    FixtureReport other = ThreeRuns();
    other.PatientSizeM = "1.82";
    const std::string next = dir_.filePath("other.dcm").toStdString();
    ASSERT_TRUE(rdsr::testing::WriteFixtureReport(other, next));
    OpenAndMap(next);
    QTRY_VERIFY_WITH_TIMEOUT(Window().Control<QPushButton>("Command1")->isEnabled(), 20000);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().Control<QLineEdit>("Text1")->text(), QString());
    EXPECT_EQ(Window().Control<QLineEdit>("Text2")->text(), QString());
    EXPECT_EQ(Window().Control<QLineEdit>("Text3")->text(), QStringLiteral("20"));
    EXPECT_EQ(Window().Control<QComboBox>("Combo3")->currentIndex(), 0);
    EXPECT_TRUE(Window().EventsTable()->selectedItems().isEmpty());
    EXPECT_DOUBLE_EQ(Window().ShownMap()->Model.CellCm, 1.0);
    const QString page = PrintedPage();
    EXPECT_TRUE(page.contains(QStringLiteral("身長 182 cm (レポート)"))) << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("(入力)"))) << page.toStdString();
}

// Notes whole in a wrapped list; the findings say the placed share and the PSD against the
// bound; the events in the dose-report window's words.
TEST_F(MapWindowTest, NotesFindingsAndEventWordsAsTheReportWindowHasThem) {
    const map::SkinDoseMap& shown = *Window().ShownMap();
    QListWidget* notes = Window().NotesList();
    ASSERT_FALSE(shown.Notes.empty());
    ASSERT_EQ(notes->count(), static_cast<int>(shown.Notes.size()));
    EXPECT_TRUE(notes->wordWrap());
    for (int i = 0; i < notes->count(); ++i)
        EXPECT_EQ(notes->item(i)->text().toStdString(), shown.Notes[static_cast<std::size_t>(i)]);

    const QString findings = Window().Control<QLabel>("Label12")->text();
    EXPECT_TRUE(findings.contains(QStringLiteral("照射の 100 %（Ka,r）を皮膚に割り付け")))
        << findings.toStdString();
    EXPECT_TRUE(findings.contains(map::PsdOverBoundText(shown))) << findings.toStdString();
    EXPECT_TRUE(findings.contains(QStringLiteral("追跡レベル: "))) << findings.toStdString();

    for (int row = 0; row < Window().EventsTable()->rowCount(); ++row) {
        EXPECT_EQ(Window().EventsTable()->item(row, 0)->text(), QStringLiteral("単一"));
        EXPECT_EQ(Window().EventsTable()->item(row, 1)->text(), QStringLiteral("透視"));
    }
}

// 開く… with several files: the first here, each further one for a window of its own, at most
// four in all; the rest named in a message, never dropped silently.
TEST_F(MapWindowTest, OpenWithSeveralFilesOpensEachUpToFourOrSaysWhyNot) {
    auto* messages = static_cast<ui::ScriptedMessages*>(&ui::AppMessages());
    const struct {
        int chosen, requested;
        bool refused;
    } cases[] = {{1, 0, false}, {2, 1, false}, {4, 3, false}, {5, 3, true}};
    for (const auto& c : cases) {
        QStringList paths;
        for (int i = 0; i < c.chosen; ++i) {
            const QString path = dir_.filePath(QStringLiteral("r%1.dcm").arg(i + 1));
            ASSERT_TRUE(rdsr::testing::WriteFixtureReport(ThreeRuns(), path.toStdString()));
            paths << path;
        }
        reports_->SetReportChooser([paths](QWidget*, const QString&) { return paths; });
        QStringList requested;
        const auto connection =
            QObject::connect(reports_.get(), &DoseReportWindow::reportRequested,
                             [&requested](const QString& path) { requested << path; });
        messages->Forget();
        reports_->ChooseReport();
        QObject::disconnect(connection);
        EXPECT_EQ(requested, paths.mid(1, c.requested)) << c.chosen;
        EXPECT_EQ(reports_->Control<QLabel>("FileLabel")->text(), QStringLiteral("r1.dcm"));
        ASSERT_EQ(messages->Texts().size(), c.refused ? 1u : 0u) << c.chosen;
        if (c.refused) {
            EXPECT_TRUE(messages->Texts()[0].contains(QStringLiteral("r5.dcm")))
                << messages->Texts()[0].toStdString();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!reports_->IsBusy(), 20000);
    }
}

}  // namespace
}  // namespace ordevo
