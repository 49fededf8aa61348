// The one-page skin-dose report on a recording surface in millimetres: every item the record
// needs is on the page, the patient only when asked, everything inside A4 landscape; and the PDF
// is written.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "recording_surface.h"
#include "report_output.h"
#include "skin_dose_report_page.h"

namespace ordevo::map {
namespace {

SkinDoseMap SampleMap() {
    SkinDoseMap m;
    m.Model = MakePatientModel(PhantomKind::Torso, TorsoShape{}, 1.0);
    m.DoseMGy.assign(m.Model.Cells.size(), 0.0);
    m.DoseMGy[1234] = 3456.0;
    m.PsdMGy = 3456.0;
    m.PsdCell = 1234;
    m.PsdFocusSkinDistanceCm = 61.5;
    m.UpperBoundMGy = 6000;
    m.UnmappedUpperBoundMGy = 912;
    m.MappedEvents = 7;
    m.Unmapped = {{"1.2.9", "照射野が患者モデルに当たりません", 912}};
    m.PsdUncertainty = UncertaintyBudget{3456.0, {{UncertaintySource::Calibration, 0.2, 691.2}}};
    return m;
}

SkinDoseReportContent SampleContent() {
    SkinDoseReportContent c;
    c.Device = "Maker Angio 9";
    c.StudyDate = "2026-01-02";
    c.ReportFile = "case7.dcm";
    c.PatientName = "YAMADA^TARO";
    c.PatientId = "ID-42";
    c.RoomProfile = "room1";
    c.EquipmentFiles = {"Room1.odv3"};
    c.Planes = {{"A", 1234.5, 98.76, 1300.0, std::nullopt}};
    c.Placement = {"身長 160 cm (入力)", "体位: 頭側から・仰臥位"};
    c.Levels = {{2000, "two gray"}, {3000, "three gray follow-up"}, {5000, "five"}};
    c.LevelsSource = "skin_dose_levels.txt";
    return c;
}

QString PageText(const ui::RecordingSurface& s) {
    QStringList texts;
    for (const ui::DrawOp& op : s.Texts()) texts << op.text;
    return texts.join('\n');
}

TEST(SkinDoseReportPage, HoldsEveryItemOfTheRecordInsideThePage) {
    SkinDoseReportContent content = SampleContent();
    ui::RecordingSurface page = ui::RecordingSurface::Millimetres();
    DrawSkinDoseReportPage(page, SampleMap(), content);
    const QString text = PageText(page);
    for (const char* item : {"Maker Angio 9",
                             "2026-01-02",
                             "case7.dcm",
                             "room1",
                             "Room1.odv3",
                             "3456 mGy",
                             "± 40 %（k=2）: 2074 – 4838 mGy",
                             "位置: ",
                             "61.5 cm",
                             "6000 mGy",
                             "PSD / 上限 0.58",
                             "912 mGy",
                             "1234.5",
                             "98.76",
                             "1300.0",
                             "照射 7 件を皮膚に割り付け、1 件は割り付けられません",
                             "1.2.9",
                             "照射野が患者モデルに当たりません",
                             "身長 160 cm (入力)",
                             "体位: 頭側から・仰臥位",
                             "追跡レベル: 3000 mGy に到達",
                             "three gray follow-up",
                             "skin_dose_levels.txt",
                             "頭側",
                             "等線量線",
                             "mGy"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(item))) << item;
    EXPECT_FALSE(text.contains("YAMADA")) << "the patient only when asked";
    for (const ui::DrawOp& op : page.SinceLastClear()) {
        EXPECT_GE(std::min(op.x1, op.x2), -0.01) << op.text.toStdString();
        EXPECT_LE(std::max(op.x1, op.x2), 287.01) << op.text.toStdString();
        EXPECT_LE(std::max(op.y1, op.y2), 200.0) << op.text.toStdString();
    }

    content.WithPatient = true;
    ui::RecordingSurface asked = ui::RecordingSurface::Millimetres();
    DrawSkinDoseReportPage(asked, SampleMap(), content);
    EXPECT_TRUE(PageText(asked).contains("YAMADA^TARO (ID ID-42)"));
}

TEST(SkinDoseReportPage, PdfIsWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    EXPECT_EQ(SaveSkinDoseReportPdf(path, SampleMap(), SampleContent()), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    // No earlier file there: the refusal does not speak of one.
    const QString refused =
        SaveSkinDoseReportPdf(dir.filePath("no/such/folder/r.pdf"), SampleMap(), SampleContent());
    EXPECT_FALSE(refused.isEmpty());
    EXPECT_FALSE(refused.contains(QStringLiteral("前のファイル"))) << refused.toStdString();
}

// The PDF dialog proposes a name: the report's file or the study date after the title, or the
// title alone when that is empty or could not be a file name.
TEST(SkinDoseReportPage, ThePdfDialogProposesAName) {
    const struct {
        const char* what;
        const char* name;
    } cases[] = {{"report", "皮膚線量報告書_report.pdf"},
                 {"20240101", "皮膚線量報告書_20240101.pdf"},
                 {"", "皮膚線量報告書.pdf"},
                 {"a/b", "皮膚線量報告書.pdf"}};
    for (const auto& c : cases)
        EXPECT_EQ(SuggestedReportPdfPath(QStringLiteral("/work/run"), QString::fromUtf8(c.what)),
                  QStringLiteral("/work/run/") + QString::fromUtf8(c.name))
            << c.what;
}

TEST(SkinDoseReportPage, LongTextsWrapWithinTheirWidth) {
    ui::RecordingSurface s = ui::RecordingSurface::Millimetres();
    s.SetFont(ui::Font::MsGothic, 9);
    const QString text = QString(40, QChar(0x7DDA)) + " the words stay whole at the end";
    const QStringList lines = WrapText(s, text, 50);
    EXPECT_GT(lines.size(), 1);
    EXPECT_EQ(lines.join("").remove(' '), QString(text).remove(' '));
    for (const QString& line : lines) EXPECT_LE(s.TextWidth(line), 50.0) << line.toStdString();
}

}  // namespace
}  // namespace ordevo::map
