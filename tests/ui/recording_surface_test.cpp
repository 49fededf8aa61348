// The recording surface keeps each primitive in user units, and the current-position rules
// that every surface shares.
#include <gtest/gtest.h>

#include "recording_surface.h"
#include "twips.h"

using namespace ordevo::ui;

TEST(RecordingSurface, TextIsRecordedWithPositionFontAndColourInUserUnits) {
    RecordingSurface picture(13.155, 7.65);
    picture.SetForeColor(QColor(0xC0, 0xC0, 0xC0));
    picture.SetFont(Font::TimesNewRoman, 28);
    picture.SetCurrentPosition(500, 350);
    picture.Print(QStringLiteral("Ordevo-V3"));
    picture.SetFontName(QStringLiteral("メイリオ"));
    picture.SetCurrentPosition(500, 500);
    picture.Print(QStringLiteral("　病院 太郎　"));

    ASSERT_EQ(picture.Texts().size(), 2u);
    const DrawOp banner = picture.Texts()[0];
    EXPECT_EQ(banner.text, QStringLiteral("Ordevo-V3"));
    EXPECT_EQ(banner.x1, 500.0);
    EXPECT_EQ(banner.y1, 350.0);
    EXPECT_EQ(banner.fontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(banner.fontSizePt, 28.0);
    EXPECT_EQ(banner.colour, QColor(0xC0, 0xC0, 0xC0));
    const DrawOp name = picture.Texts()[1];
    EXPECT_EQ(name.fontName, QStringLiteral("メイリオ"));
    EXPECT_EQ(name.fontSizePt, 28.0);  // the name changed, the size stayed
    EXPECT_TRUE(picture.HasTextAt(QStringLiteral("　病院 太郎　"), 500, 500));
    EXPECT_FALSE(picture.HasTextAt(QStringLiteral("病院 太郎"), 500, 500));
}

TEST(RecordingSurface, PrintMovesToTheStartOfTheNextLine) {
    RecordingSurface twips;  // units are twips
    twips.SetFont(Font::Meiryo, 9);
    const double lineHeight = twips.TextHeight(QStringLiteral("X"));
    // A 9-point line is at least 9 points (180 twips) high and less than twice that.
    EXPECT_GT(lineHeight, 180.0);
    EXPECT_LT(lineHeight, 360.0);

    twips.SetCurrentPosition(1000, 2120);
    twips.Print(QStringLiteral("0"));
    EXPECT_EQ(twips.CurrentX(), 0.0);
    EXPECT_DOUBLE_EQ(twips.CurrentY(), 2120 + lineHeight);

    twips.SetCurrentPosition(200, 500);
    twips.Print(QStringLiteral("Relative\nPhoton"));
    ASSERT_TRUE(twips.FindText(QStringLiteral("Photon")).has_value());
    EXPECT_EQ(twips.FindText(QStringLiteral("Photon"))->x1, 200.0);
    EXPECT_DOUBLE_EQ(twips.FindText(QStringLiteral("Photon"))->y1, 500 + lineHeight);
    EXPECT_DOUBLE_EQ(twips.CurrentY(), 500 + 2 * lineHeight);
}

TEST(RecordingSurface, TextSizeFollowsTheUnits) {
    // The same text measured in twips and in Picture2 units differs by the unit sizes.
    RecordingSurface twips;
    RecordingSurface picture(13.155, 7.65);
    const QString text = QStringLiteral("入射表面");
    EXPECT_NEAR(picture.TextWidth(text), twips.TextWidth(text) / 13.155, 1e-9);
    EXPECT_NEAR(picture.TextHeight(text), twips.TextHeight(text) / 7.65, 1e-9);
    RecordingSurface paper = RecordingSurface::Millimetres();
    paper.SetFont(Font::MsMincho, 9);
    // A 9-point line on paper: 9 pt = 3.175 mm, plus leading.
    EXPECT_GT(paper.TextHeight(text), 3.1);
    EXPECT_LT(paper.TextHeight(text), 5.0);
}

TEST(RecordingSurface, LinesAndBoxesMoveTheCurrentPositionToTheirEnd) {
    RecordingSurface plot;
    plot.SetForeColor(Qt::black);
    plot.SetLineWidth(2);
    plot.SetCurrentPosition(1000, 2100);
    plot.LineTo(1022.5, 1100, QColor(255, 0, 0));
    plot.LineTo(1037.5, 1100, QColor(255, 0, 0));
    plot.Box(1000, 100, 5500, 2100);
    plot.FilledBox(1045, 860, 1150, 900, Qt::white);
    EXPECT_EQ(plot.CurrentX(), 1150.0);
    EXPECT_EQ(plot.CurrentY(), 900.0);

    const auto lines = plot.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x1, 1000.0);
    EXPECT_EQ(lines[0].y1, 2100.0);
    EXPECT_EQ(lines[1].x1, 1022.5);  // continues from the end of the first
    EXPECT_EQ(lines[1].x2, 1037.5);
    EXPECT_EQ(lines[1].colour, QColor(255, 0, 0));
    EXPECT_EQ(lines[1].lineWidth, 2);

    const auto ops = plot.SinceLastClear();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[2].type, DrawOp::Type::Box);
    EXPECT_EQ(ops[2].colour, QColor(Qt::black));  // no colour given: the fore colour
    EXPECT_EQ(ops[2].x2, 5500.0);
    EXPECT_EQ(ops[3].type, DrawOp::Type::FilledBox);
    EXPECT_EQ(ops[3].colour, QColor(Qt::white));
}

TEST(RecordingSurface, ClearStartsAFreshPictureButKeepsTheLog) {
    RecordingSurface picture;
    picture.SetCurrentPosition(10, 40);
    picture.Print(QStringLiteral("対象部位"));
    picture.SetForeColor(Qt::blue);
    picture.Clear();
    picture.SetCurrentPosition(1080, 860);
    picture.Print(QStringLiteral("116.8"));

    EXPECT_EQ(picture.ClearCount(), 1);
    EXPECT_EQ(picture.Ops().size(), 3u);
    ASSERT_EQ(picture.Texts().size(), 1u);
    EXPECT_FALSE(picture.FindText(QStringLiteral("対象部位")).has_value());
    EXPECT_TRUE(picture.HasTextAt(QStringLiteral("116.8"), 1080, 860));
    EXPECT_EQ(picture.Texts()[0].colour, QColor(Qt::blue));  // Clear keeps the settings
}
