// The event rows as the CSV holds them: one line per event whatever its texts hold.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "report_table.h"

namespace ordevo::rdsr {
namespace {

TEST(ReportTable, DatesInIsoFormWhenTheyAreDicomDates) {
    EXPECT_EQ(IsoDate("20240115"), "2024-01-15");
    EXPECT_EQ(IsoDate("2024-01-15"), "2024-01-15");
    EXPECT_EQ(IsoDateTime("20240115103000.000+0900"), "2024-01-15T10:30:00");
    EXPECT_EQ(IsoDateTime("202401"), "202401");
}

// A note with a comma, a quote, a line break and a character CP932 lacks stays in its cell.
TEST(ReportTable, CsvCellsStayOnTheirRow) {
    DoseReport report;
    report.Events.resize(1);
    ReportEvaluation evaluation;
    evaluation.Planes.resize(1);
    evaluation.Planes[0].EquipmentName = "Room1.odv3";
    evaluation.Planes[0].Events.resize(1);
    evaluation.Planes[0].Events[0].Case.Status = EventStatus::Skipped;
    evaluation.Planes[0].Events[0].Case.Note = "a,b\"c\r\n\u00b5";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("events.csv"));
    ASSERT_TRUE(
        WriteReportCsv(path, {ReportCsvFile{QStringLiteral("r.dcm"), &report, &evaluation}}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3);  // header, the row, and the empty rest after the last CR LF
    EXPECT_TRUE(lines[1].startsWith("r.dcm,single,Room1.odv3,"));
    EXPECT_TRUE(lines[1].endsWith(",skipped,\"a,b\"\"c  ?\"\r")) << lines[1].toStdString();
}

// Every note is listed on a line of its own: the reader's first, a plane without totals as one
// case, then each event note once with the rows it stands for (parts joined by "; " split).
TEST(ReportTable, NotesListEachTextOnceWithItsRows) {
    DoseReport report;
    report.Notes = {"読めない値"};
    report.Events.resize(3);
    ReportEvaluation evaluation;
    evaluation.Planes.resize(2);
    evaluation.Planes[0].Events.resize(2);
    evaluation.Planes[0].Events[0].Case.Note = "フィルタなし; FSD 短い";
    evaluation.Planes[0].Events[1].Case.Note = "フィルタなし";
    evaluation.Planes[1].Plane = AcquisitionPlane::B;
    evaluation.Planes[1].Events.resize(1);
    evaluation.Planes[1].Events[0].Case.Note = "フィルタなし";
    evaluation.Planes[1].Totals.SingleCaseNote = "計算できた照射がありません";
    const std::vector<std::string> expected = {"読めない値",
                                               "合計で一括 (平面 B): 計算できた照射がありません",
                                               "照射 1, 2, 3: フィルタなし", "照射 1: FSD 短い"};
    EXPECT_EQ(ReportNotes(report, evaluation), expected);
}

}  // namespace
}  // namespace ordevo::rdsr
