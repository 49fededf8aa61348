// The grid's drawing on a recording surface in Picture2's units: headings, rows, the total,
// the banner, and the ruling laid on the picture.
#include "results_grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "picture_box.h"
#include "recording_surface.h"
#include "results_addition.h"
#include "test_cases.h"

namespace ordevo {
namespace {

ui::RecordingSurface Picture2Surface() {
    return ui::RecordingSurface(kPicture2TwipsPerUnitX, kPicture2TwipsPerUnitY);
}

TEST(ResultsGrid, HeadingsAreThirtyFourTextsInMeiryoAtTheCurrentSize) {
    auto surface = Picture2Surface();
    surface.SetFont(ui::Font::TimesNewRoman, 9);
    DrawResultsHeader(surface);
    const auto texts = surface.Texts();
    ASSERT_EQ(texts.size(), 34u);
    for (const auto& text : texts) {
        EXPECT_EQ(text.fontName, QStringLiteral("メイリオ"));
        EXPECT_EQ(text.fontSizePt, 9);
    }
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("対象部位"), 10, 40));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("総濾過"), 250, 2));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("Gy･cm2"), 650, 70));      // half-width dot
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("皮膚線量／"), 880, 30));  // full-width solidus
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("前方･後方"), 970, 30));
    EXPECT_EQ(texts.front().text, QStringLiteral("対象部位"));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("mGy"), 1080, 65));
    EXPECT_EQ(texts.back().text, QStringLiteral("mGy"));
}

TEST(ResultsGrid, RowsStartAtY120AndStepBy50) {
    for (const auto& [row, y] : {std::pair{1, 120.0}, {2, 170.0}, {15, 820.0}}) {
        auto surface = Picture2Surface();
        DrawResultsRow(surface, testing::ResultsCaseRow(2), row);
        for (const auto& text : surface.Texts()) {
            if (text.x1 == 330 || text.x1 == 340) continue;  // the other filter's two lines
            EXPECT_EQ(text.y1, y) << text.text.toStdString() << " row " << row;
        }
        EXPECT_TRUE(surface.HasTextAt(QStringLiteral("12.0cm平方"), 460, y));
    }
}

TEST(ResultsGrid, RowShowsTheStoredCellsFormattedForTheScreen) {
    EvaluatedCase c = testing::ResultsCase(2);
    c.Entry.TubeVoltage = "75 - 85";
    c.Case.ReferenceAirKermaMGy = 5.26;
    c.Evaluation.Result.SkinDose = 5.26;
    c.Case.FocusSkinDistanceCm = 8;
    ResultsRow row = MakeResultsRow(c);
    row[ResultsColumn::KermaAreaProduct] = 7.0;  // a number, as a reset or an older load leaves it
    auto surface = Picture2Surface();
    DrawResultsRow(surface, row, 1);
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("頭部"), 10, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("75 - 85"), 100, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("2.50"), 165, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("1.00"), 225, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("0.20"), 280, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("08"), 410, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("05.3"), 570, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("07.0"), 660, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("1.061"), 890, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("1.352"), 970, 120));
    EXPECT_TRUE(surface.HasTextAt(QStringLiteral("5.3"), 1080, 120));  // one integer digit
}

TEST(ResultsGrid, OtherFilterCellShowsNameAndThicknessOrThreeDashes) {
    auto without = Picture2Surface();
    DrawResultsRow(without, testing::ResultsCaseRow(2), 3);  // no other filter
    EXPECT_TRUE(without.HasTextAt(QStringLiteral("---"), 350, 220));
    EXPECT_TRUE(without.TextsAt(330, 206).empty());

    auto with = Picture2Surface();
    DrawResultsRow(with, testing::ResultsCaseRow(1), 3);  // Ta, 0.05 cm
    EXPECT_TRUE(with.HasTextAt(QStringLiteral("Ta"), 330, 206));
    EXPECT_TRUE(with.HasTextAt(QStringLiteral("0.50"), 340, 230));
    EXPECT_FALSE(with.FindText(QStringLiteral("---")).has_value());
}

TEST(ResultsGrid, TotalErasesItsCellBeforeEachWriting) {
    ResultsTable table;
    for (const double dose : {12.3, 4.5, 100.0}) {
        AppendResultsRow(table, testing::ResultsCaseRow(2, dose));
    }
    auto surface = Picture2Surface();
    DrawResultsTotal(surface, table);
    DrawResultsTotal(surface, table);
    const auto& ops = surface.Ops();
    ASSERT_EQ(ops.size(), 4u);
    for (const std::size_t i : {0u, 2u}) {
        EXPECT_EQ(ops[i].type, ui::DrawOp::Type::FilledBox);
        EXPECT_EQ(ops[i].colour, QColor(Qt::white));
        EXPECT_EQ(QRectF(QPointF(ops[i].x1, ops[i].y1), QPointF(ops[i].x2, ops[i].y2)),
                  QRectF(QPointF(1045, 860), QPointF(1150, 900)));
        EXPECT_EQ(ops[i + 1].type, ui::DrawOp::Type::Text);
        EXPECT_EQ(ops[i + 1].text, QStringLiteral("116.8"));
        EXPECT_EQ(ops[i + 1].x1, 1080);
        EXPECT_EQ(ops[i + 1].y1, 860);
    }
    // The white box holds the whole text, so the first total leaves nothing behind.
    surface.SetCurrentPosition(1080, 860);
    EXPECT_LE(1080 + surface.TextWidth(QStringLiteral("1234.6")), 1150);
    EXPECT_LE(860 + surface.TextHeight(QStringLiteral("116.8")), 900);
}

TEST(ResultsGrid, BannerPrintsTitleAndNameInSilverThenRestoresTheGridText) {
    auto surface = Picture2Surface();
    DrawEmptyTableBanner(surface, QStringLiteral("ABC 総合病院"), Qt::blue);
    const auto texts = surface.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Ordevo-V3"));
    EXPECT_EQ(QPointF(texts[0].x1, texts[0].y1), QPointF(500, 350));
    EXPECT_EQ(texts[0].fontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(texts[0].fontSizePt, 28);
    EXPECT_EQ(texts[0].colour, QColor(192, 192, 192));
    EXPECT_EQ(texts[1].text, QStringLiteral("ABC 総合病院"));
    EXPECT_EQ(QPointF(texts[1].x1, texts[1].y1), QPointF(500, 500));
    EXPECT_EQ(texts[1].fontName, QStringLiteral("メイリオ"));
    EXPECT_EQ(texts[1].fontSizePt, 28);
    EXPECT_EQ(texts[1].colour, QColor(192, 192, 192));
    EXPECT_EQ(surface.ForeColor(), QColor(Qt::blue));
    EXPECT_EQ(surface.FontSize(), 9);
    EXPECT_EQ(surface.FontName(), QStringLiteral("メイリオ"));
}

// The ruling is laid in twips; the rows and headings are placed in units of 13.155 × 7.65
// twips. Both must describe the same grid: rules every 50 units, columns where the text goes.
TEST(ResultsGrid, RulingLinesMatchTheUnitGridAndStartHidden) {
    ui::PictureBox picture;
    AddResultsGridLines(picture);
    const auto& lines = picture.LineElements();
    ASSERT_EQ(lines.size(), 32u);
    int rowRules = 0;
    for (const auto& line : lines) {
        EXPECT_FALSE(line.visible) << line.name.toStdString();
        if (line.name.startsWith(QStringLiteral("RowRule"))) {
            const double yUnits = line.fromTwips.y() / kPicture2TwipsPerUnitY;
            // The design's twips land within a unit of the 50-unit steps (1905 twips: 249.0).
            EXPECT_NEAR(yUnits, line.name.mid(7).toDouble(), 1.0) << line.name.toStdString();
            EXPECT_EQ(line.colour, QColor(0xC0, 0xC0, 0xC0));
            ++rowRules;
        }
    }
    EXPECT_EQ(rowRules, 14);
    const auto find = [&](const char* name) {
        for (const auto& line : lines) {
            if (line.name == QLatin1String(name)) return line;
        }
        ADD_FAILURE() << name;
        return ui::LineElement{};
    };
    // Row 15 (y 820) lies between the last row rule (800) and the table's bottom (850).
    EXPECT_NEAR(find("TableBottom").fromTwips.y() / kPicture2TwipsPerUnitY, 850, 0.5);
    EXPECT_NEAR(find("HeadingRule").fromTwips.y() / kPicture2TwipsPerUnitY, 100, 0.5);
    EXPECT_EQ(find("HeadingRule").widthPx, 2);
    // The total (x 1045 … 1150) lies right of the scatter-factor rule, which runs down to the
    // picture's bottom to enclose it.
    const auto scatter = find("AfterScatterFactor");
    EXPECT_NEAR(scatter.fromTwips.x() / kPicture2TwipsPerUnitX, 1040, 0.5);
    EXPECT_EQ(scatter.toTwips.y(), 6960);
    EXPECT_EQ(scatter.colour, QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(find("AfterCorrectedKermaAreaProduct").colour, QColor(0x40, 0x40, 0x40));
    EXPECT_NEAR(find("AfterInherentFilter").fromTwips.y() / kPicture2TwipsPerUnitY, 38, 0.5);
}

}  // namespace
}  // namespace ordevo
