// The printed page in millimetres: frame and rules, headings, rows from the stored cells,
// the title; and the print action's question and reports.
#include "results_print.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "recording_surface.h"
#include "results_addition.h"
#include "scripted_messages.h"
#include "test_cases.h"
#include "uncertainty_text.h"

namespace ordevo {
namespace {

namespace C = ResultsColumn;

ResultsTable TableOf(int rows) {
    ResultsTable table;
    for (int i = 1; i <= rows; ++i) {
        AppendResultsRow(table, testing::ResultsCaseRow(i));
    }
    return table;
}

std::vector<ui::DrawOp> LinesOfWidth(const ui::RecordingSurface& page, int width) {
    std::vector<ui::DrawOp> lines;
    for (const auto& line : page.Lines()) {
        if (line.lineWidth == width) lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::vector<ui::DrawOp>& lines, double x1, double y1, double x2, double y2) {
    for (const auto& l : lines) {
        if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2) return true;
    }
    return false;
}

TEST(ResultsPrint, FrameAndMainRulesAreWideTheOthersThinUnderMinchoHeadings) {
    auto page = ui::RecordingSurface::Millimetres();
    PrintPageFrame(page);
    const auto wide = LinesOfWidth(page, 5);
    ASSERT_EQ(wide.size(), 8u);
    // The frame is one walk from (0, 20) round to (0, 20).
    EXPECT_TRUE(HasLine({wide[0]}, 0, 20, 285, 20));
    EXPECT_TRUE(HasLine({wide[1]}, 285, 20, 285, 190));
    EXPECT_TRUE(HasLine({wide[2]}, 285, 190, 0, 190));
    EXPECT_TRUE(HasLine({wide[3]}, 0, 190, 0, 20));
    EXPECT_TRUE(HasLine(wide, 0, 40, 285, 40));
    for (const double x : {134.0, 179.0, 255.0}) EXPECT_TRUE(HasLine(wide, x, 20, x, 190)) << x;

    const auto thin = LinesOfWidth(page, 1);
    ASSERT_EQ(thin.size(), 11u + 2u + 14u);
    for (const double x : {22.0, 38.0, 96.0, 112.0, 214.0, 235.0})
        EXPECT_TRUE(HasLine(thin, x, 20, x, 190)) << x;
    for (const double x : {51.0, 65.0, 78.0, 156.0, 197.0})
        EXPECT_TRUE(HasLine(thin, x, 30, x, 190)) << x;  // under a group heading
    EXPECT_TRUE(HasLine(thin, 38, 30, 96, 30));
    EXPECT_TRUE(HasLine(thin, 134, 30, 214, 30));
    for (int y = 50; y <= 180; y += 10) EXPECT_TRUE(HasLine(thin, 0, y, 285, y)) << y;
    for (const auto& line : page.Lines()) EXPECT_EQ(line.lineStyle, ui::LineStyle::Solid);

    const auto texts = page.Texts();  // the headings
    ASSERT_EQ(texts.size(), 34u);
    for (const auto& text : texts) {
        EXPECT_EQ(text.fontName, QStringLiteral("ＭＳ 明朝"));
        EXPECT_EQ(text.fontSizePt, 9);
    }
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("装置に表示された"), 142, 24));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("mGy"), 267, 35));
}

TEST(ResultsPrint, OneRowTablePrintsItsCellsAtY43AndTheTitle) {
    const ResultsTable table = TableOf(2);  // row 2: 頭部, no other filter
    ResultsTable one;
    one.Rows[1] = table.Rows[2];
    one.NextRowIndex = 2;
    auto page = ui::RecordingSurface::Millimetres();
    DrawResultsPage(page, one, QStringLiteral("ABC 総合病院"));
    // 15 items (the bar stands for two); 3 notes under the frame: equipment file, "合 計", total.
    EXPECT_EQ(page.Texts().size(), 34u + 15u + 2u + 3u);
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("頭部"), 3, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("80"), 24, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("2.50"), 42, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("1.00"), 55, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("0.20"), 69, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("―"), 84, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("62"), 100, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("12.0cm平方"), 114, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("102.0"), 140, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("22.5"), 162, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("92.5"), 182, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("20.5"), 200, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("1.061"), 219, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("1.352"), 240, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("152.5"), 265, 43));

    const auto title = page.FindText(QStringLiteral("IVR 時の入射表面皮膚組織吸収線量"));
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(QPointF(title->x1, title->y1), QPointF(50, 12));
    EXPECT_EQ(title->fontSizePt, 12);
    const auto name = page.FindText(QStringLiteral("ABC 総合病院  with  Ordevo-V3"));
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(QPointF(name->x1, name->y1), QPointF(200, 12));
    EXPECT_EQ(name->fontSizePt, 12);
    EXPECT_EQ(page.FontSize(), 9);  // back to 9 pt after the title
}

// A row computed in this session carries its skin dose's expanded uncertainty under the dose
// in the page's own type, and its equipment file under its body part, each pair 2 mm above and
// below the row's line; the notes give the key. A loaded row (neither kept) prints on the line.
TEST(ResultsPrint, ComputedRowsShowTheirUncertaintyAndEquipment) {
    auto page = ui::RecordingSurface::Millimetres();
    PrintNotes notes;
    notes.rowUncertainties = {std::nullopt, 0.482, std::nullopt};
    notes.rowEquipmentFileNames = {QString(), QStringLiteral("Room1.odv3"), QString()};
    DrawResultsPage(page, TableOf(2), QStringLiteral("ABC"), notes);
    const struct {
        const char* text;
        double x, y;  // row 1 on y = 43, row 2 on y = 53
    } placed[] = {
        {"151.5", 265, 41},    {"±48%", 268, 45},  {"腹部背面", 3, 41},
        {"Room1.odv3", 3, 45}, {"152.5", 265, 53}, {"頭部", 3, 53},
    };
    for (const auto& p : placed) {
        const QString text = QString::fromUtf8(p.text);
        EXPECT_TRUE(page.HasTextAt(text, p.x, p.y)) << p.text;
        EXPECT_EQ(page.FindText(text)->fontSizePt, 9) << p.text;
    }
    int marks = 0;
    for (const auto& text : page.Texts())
        marks += text.text.startsWith(QStringLiteral("±")) && text.text.endsWith(QLatin1Char('%'));
    EXPECT_EQ(marks, 1);
    EXPECT_TRUE(page.HasTextAt(QString::fromUtf8(kPrintedUncertaintyKey), 60, 192));
}

// Under the frame, in the free strip above the page's edge: when the page was printed, from
// which equipment file, and the total of the skin-dose column under that column.
TEST(ResultsPrint, NotesUnderTheFrameGiveDateEquipmentAndTotal) {
    auto page = ui::RecordingSurface::Millimetres();
    const PrintNotes notes{
        QDateTime(QDate(2026, 12, 7), QTime(9, 5)), {QStringLiteral("Room1.odv3")}, {}, 0, {}};
    DrawResultsPage(page, TableOf(3), QStringLiteral("ABC"), notes);
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("印刷日時 2026年12月07日 09:05"), 0, 192));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("基本データ Room1.odv3"), 60, 192));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("合 計"), 240, 192));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("457.5"), 265, 192));  // 151.5 + 152.5 + 153.5
    // A4 landscape inside 5 mm margins: 287 × 200 mm; nothing under the frame runs off it.
    for (const auto& text : page.Texts()) {
        if (text.y1 < 190) continue;
        page.SetFont(text.fontName, text.fontSizePt);
        EXPECT_LE(text.y1 + page.TextHeight(text.text), 200) << text.text.toStdString();
        EXPECT_LE(text.x1 + page.TextWidth(text.text), 287) << text.text.toStdString();
    }
}

// A name too long for the title line shrinks, then is cut, so the line ends inside the frame's
// width instead of running off the paper.
TEST(ResultsPrint, ALongUserNameEndsInsideThePage) {
    auto page = ui::RecordingSurface::Millimetres();
    const QString name =
        QStringLiteral("医療法人社団 放射線総合医療センター 循環器内科 血管造影室 IVR チーム");
    DrawResultsPage(page, TableOf(1), name);
    std::optional<ui::DrawOp> title;
    for (const auto& text : page.Texts())
        if (text.text.endsWith(QStringLiteral("  with  Ordevo-V3"))) title = text;
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(QPointF(title->x1, title->y1), QPointF(200, 12));
    EXPECT_TRUE(title->text.startsWith(QStringLiteral("医療法人社団")));
    page.SetFont(title->fontName, title->fontSizePt);
    EXPECT_LE(title->x1 + page.TextWidth(title->text), 285);
}

TEST(ResultsPrint, FifteenRowsFillThePageWithRow15AtY183) {
    auto page = ui::RecordingSurface::Millimetres();
    DrawResultsPage(page, TableOf(15), QStringLiteral("ABC"));
    // Rows 1, 5, 9 and 13 have another filter: name and thickness where the bar would stand.
    EXPECT_EQ(page.Texts().size(), 34u + 15u * 15u + 4u + 2u + 3u);
    for (int i = 1; i <= 15; ++i) {
        const double y = 10.0 * i + 33;
        EXPECT_FALSE(page.TextsAt(3, y).empty()) << i;
        EXPECT_FALSE(page.TextsAt(265, y).empty()) << i;
    }
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("165.5"), 265, 183));
    // The last row's text stays inside its band (180 … 190).
    page.SetFont(ui::Font::MsMincho, 9);
    EXPECT_LE(183 + page.TextHeight(QStringLiteral("頭部")), 190);
}

TEST(ResultsPrint, SkinDoseKeepsTwoIntegerDigitsOnPaper) {
    ResultsTable table;
    AppendResultsRow(table, testing::ResultsCaseRow(2, 5.3));
    ASSERT_EQ(table.Rows[1][C::SkinDose], ResultsCell(std::string("5.3")));  // the screen's text
    table.Rows[2] = table.Rows[1];
    table.Rows[2][C::SkinDose] = 5.3;  // a number, as a reset or an older load leaves it
    table.NextRowIndex = 3;
    auto page = ui::RecordingSurface::Millimetres();
    DrawResultsPage(page, table, {});
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("05.3"), 265, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("05.3"), 265, 53));
}

// Each row prints the other filter it was computed with, whatever equipment is chosen now.
TEST(ResultsPrint, OtherFilterCellIsTheRowsOwn) {
    const ResultsTable table = TableOf(2);  // row 1 with Ta 0.50 mm, row 2 without
    auto page = ui::RecordingSurface::Millimetres();
    DrawResultsPage(page, table, {});
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("Ta"), 80, 41));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("0.50"), 83, 45));
    EXPECT_FALSE(page.HasTextAt(QStringLiteral("―"), 84, 43));
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("―"), 84, 53));
    EXPECT_FALSE(page.HasTextAt(QStringLiteral("-"), 80, 51));
}

// The page names the equipment of the rows computed in this session, and for rows read from a
// results file, that file.
TEST(ResultsPrint, NotesNameWhereTheRowsCameFrom) {
    const QStringList rooms{QStringLiteral("Room1.odv3"), QStringLiteral("Room2.odv3")};
    const struct {
        QStringList equipment;
        QString loadedFrom;
        int loadedRows;
        const char* says;
    } cases[] = {
        {{}, {}, 0, "基本データ （未選択）"},
        {rooms, {}, 0, "基本データ Room1.odv3、Room2.odv3"},
        {{}, QStringLiteral("症例A.csv"), 3, "読込 症例A.csv（1–3 行目）"},
        {rooms.mid(0, 1), QStringLiteral("症例A.csv"), 1,
         "基本データ Room1.odv3　読込 症例A.csv（1 行目）"},
    };
    for (const auto& c : cases) {
        const PrintNotes notes{{}, c.equipment, c.loadedFrom, c.loadedRows, {}};
        EXPECT_EQ(RowSourcesText(notes), QString::fromUtf8(c.says));
    }
}

TEST(ResultsPrint, EmptyTablePrintsFrameHeadingsAndTitleOnly) {
    auto page = ui::RecordingSurface::Millimetres();
    DrawResultsPage(page, ResultsTable(), QStringLiteral("ABC"));
    EXPECT_EQ(page.Texts().size(), 34u + 2u + 3u);
    EXPECT_EQ(page.Lines().size(), 8u + 27u);
}

class PrintAction : public ::testing::Test {
protected:
    ui::ScopedScriptedMessages messages;
    ResultsTable table = TableOf(3);
};

TEST_F(PrintAction, NoToTheQuestionPrintsNothing) {
    ui::RecordingPrintService printer;
    messages->QueueAnswer(ui::Answer::No);
    PrintResultsTable(table, QStringLiteral("ABC"), printer);
    EXPECT_TRUE(printer.Pages().empty());
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, QStringLiteral("　プリンターは準備できていますか？　"));
    EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::None);
}

TEST_F(PrintAction, PrintingTwiceGivesTwoIdenticalPagesAndLeavesTheTable) {
    ui::RecordingPrintService printer;
    const ResultsTable before = table;
    PrintResultsTable(table, QStringLiteral("ABC"), printer);
    PrintResultsTable(table, QStringLiteral("ABC"), printer);
    ASSERT_EQ(printer.Pages().size(), 2u);
    const auto& first = printer.Pages()[0]->Ops();
    const auto& second = printer.Pages()[1]->Ops();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].text, second[i].text);
        EXPECT_EQ(QPointF(first[i].x1, first[i].y1), QPointF(second[i].x1, second[i].y1));
    }
    EXPECT_EQ(table.Rows, before.Rows);
    EXPECT_EQ(table.NextRowIndex, before.NextRowIndex);
}

class FailingPrintService : public ui::PrintService {
public:
    ui::PrintReport PrintLandscapePage(const QString&, const ui::DrawPage&) override {
        return {ui::PrintOutcome::Failed, QStringLiteral("Office"),
                QStringLiteral("the printer did not accept the job")};
    }
};

TEST_F(PrintAction, AFailedJobIsReported) {
    FailingPrintService printer;
    PrintResultsTable(table, QStringLiteral("ABC"), printer);
    ASSERT_EQ(messages->Shown().size(), 2u);
    const auto& report = messages->Shown()[1];
    EXPECT_EQ(report.icon, ui::MessageIcon::Critical);
    EXPECT_TRUE(report.text.contains(QStringLiteral("印刷できませんでした")));
    EXPECT_TRUE(report.text.contains(QStringLiteral("Office: the printer did not accept the job")));
}

TEST_F(PrintAction, WithoutAPrinterThePageGoesToTheChosenPdfAndTheUserIsTold) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("結果表.pdf"));
    ui::SystemPrintService printer(std::make_unique<ui::FixedPdfFileChooser>(path),
                                   ui::PrinterUse::PdfOnly);
    PrintResultsTable(table, QStringLiteral("ABC"), printer);
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    ASSERT_EQ(messages->Shown().size(), 2u);
    EXPECT_EQ(messages->Shown()[1].icon, ui::MessageIcon::None);
    EXPECT_TRUE(messages->Shown()[1].text.contains(path));
}

TEST_F(PrintAction, NoPdfChosenWritesNothingAndSaysNothingMore) {
    ui::SystemPrintService printer(std::make_unique<ui::FixedPdfFileChooser>(QString()),
                                   ui::PrinterUse::PdfOnly);
    PrintResultsTable(table, QStringLiteral("ABC"), printer);
    EXPECT_EQ(messages->Shown().size(), 1u);
}

}  // namespace
}  // namespace ordevo
