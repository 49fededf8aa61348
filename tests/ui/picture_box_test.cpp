// The picture box keeps its drawing in an image and maps its user units to the right pixels.
#include <QTest>

#include <gtest/gtest.h>

#include "picture_box.h"
#include "twips.h"

using namespace ordevo::ui;

namespace {

// Picture2 of the results window: 15285 × 6975 twips with a 2-pixel border; units of
// 13.155 × 7.65 twips (0.877 × 0.51 px).
struct Picture2 {
    Picture2() {
        picture.resize(TwipsToPixels(QSize(15285, 6975)));
        picture.SetUnitTwips(13.155, 7.65);
    }
    PictureBox picture;
};

// The bounding box of every pixel that is not the background.
QRect InkBounds(const QImage& image, QColor background = Qt::white) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace

TEST(PictureBox, InsideIsThePictureLessItsBorderAndStartsWhite) {
    Picture2 p;
    EXPECT_EQ(p.picture.Image().size(), QSize(1019 - 4, 465 - 4));
    EXPECT_EQ(p.picture.InsideOrigin(), QPoint(2, 2));
    EXPECT_TRUE(InkBounds(p.picture.Image()).isNull());
}

TEST(PictureBox, FilledBoxLandsOnThePixelsOfItsUnits) {
    Picture2 p;
    // The total's eraser, (1045, 860)–(1150, 900) units: x 916.5..1008.6 px, y 438.6..459 px.
    p.picture.FilledBox(1045, 860, 1150, 900, Qt::black);
    EXPECT_EQ(InkBounds(p.picture.Image()), QRect(QPoint(916, 439), QPoint(1009, 459)));
}

TEST(PictureBox, PrintedTextStartsAtItsTopLeftCornerInUnits) {
    Picture2 p;
    p.picture.SetFont(Font::Meiryo, 9);
    p.picture.SetCurrentPosition(1080, 860);  // 947.2, 438.6 px
    p.picture.Print(QStringLiteral("116.8"));
    const QRect ink = InkBounds(p.picture.Image());
    ASSERT_FALSE(ink.isNull());
    // Glyphs start a little right of the pen and below the line's top (internal leading), never
    // left of it or above it; 9 pt at 96 dpi is a 12-pixel em.
    EXPECT_GE(ink.left(), 947);
    EXPECT_LE(ink.left(), 950);
    EXPECT_GE(ink.top(), 438);
    EXPECT_LE(ink.top(), 445);
    EXPECT_LE(ink.bottom(), 438 + 16);
    EXPECT_NEAR(ink.width(), p.picture.TextWidth(QStringLiteral("116.8")) * 0.877, 3);
}

TEST(PictureBox, DrawingSurvivesHidingAndCoveringAndShowsOnScreen) {
    Picture2 p;
    p.picture.FilledBox(0, 0, 114, 98, QColor(0xC0, 0xC0, 0xC0));  // 100 × 50 px, silver
    p.picture.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.picture));
    const QImage before = p.picture.Image().copy();

    p.picture.hide();
    QWidget cover;
    cover.resize(1100, 500);
    cover.show();
    p.picture.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(p.picture.Image(), before);
    const QImage screen = p.picture.grab().toImage();
    EXPECT_EQ(screen.pixelColor(2 + 50, 2 + 25), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(screen.pixelColor(2 + 150, 2 + 25), QColor(Qt::white));
}

TEST(PictureBox, ClearErasesToTheBackColourAndHomesThePosition) {
    Picture2 p;
    p.picture.SetCurrentPosition(500, 350);
    p.picture.Print(QStringLiteral("Ordevo-V3"));
    p.picture.Line(0, 0, 1000, 800, Qt::red);
    ASSERT_FALSE(InkBounds(p.picture.Image()).isNull());

    p.picture.Clear();
    EXPECT_TRUE(InkBounds(p.picture.Image()).isNull());
    EXPECT_EQ(p.picture.CurrentX(), 0.0);
    EXPECT_EQ(p.picture.CurrentY(), 0.0);
}

TEST(PictureBox, TwipScaleAndLineWidthForTheSpectrumPlot) {
    PictureBox picture;  // Picture3 of the spectrum window: units are twips
    picture.resize(TwipsToPixels(QSize(13695, 7095)));
    picture.SetLineWidth(2);
    picture.Line(1000, 2100, 5500, 2100, Qt::black);  // the frame's bottom, 66.7..366.7 px at y 140
    const QRect ink = InkBounds(picture.Image());
    // End points 67 and 367; the round ends of a 2-pixel line may reach one pixel further.
    EXPECT_NEAR(ink.left(), 67, 1);
    EXPECT_NEAR(ink.right(), 367, 1);
    EXPECT_EQ(ink.height(), 2);
    EXPECT_EQ(picture.CurrentX(), 5500.0);
    EXPECT_EQ(picture.CurrentY(), 2100.0);
}

TEST(PictureBox, LineElementsLieOverTheImageAndShowOrHideTogether) {
    Picture2 p;
    p.picture.AddLineElement({QStringLiteral("table bottom"), {0, 6503}, {15240, 6503}, Qt::black});
    p.picture.AddLineElement({QStringLiteral("after FSD"), {6000, 0}, {6000, 6503}, Qt::black});
    p.picture.SetAllLineElementsVisible(false);
    p.picture.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.picture));
    // 6503 twips = 433.5 px inside, 6000 twips = 400 px inside (+2 for the border).
    EXPECT_EQ(p.picture.grab().toImage().pixelColor(2 + 400, 2 + 100), QColor(Qt::white));

    p.picture.SetAllLineElementsVisible(true);
    const QImage shown = p.picture.grab().toImage();
    EXPECT_EQ(shown.pixelColor(2 + 400, 2 + 100), QColor(Qt::black));
    EXPECT_TRUE(InkBounds(p.picture.Image()).isNull());  // never drawn into the image

    p.picture.SetLineElementVisible(QStringLiteral("after FSD"), false);
    EXPECT_EQ(p.picture.grab().toImage().pixelColor(2 + 400, 2 + 100), QColor(Qt::white));
}

TEST(PictureBox, ScaleRectangleMapsTheInsideOntoUserUnits) {
    PictureBox picture(nullptr, PictureBox::Border::None);
    picture.resize(200, 100);
    picture.SetScale(-10, 0, 20, 10);  // 10 px per unit, x = -10 at the left edge
    picture.FilledBox(0, 5, 1, 6, Qt::black);
    EXPECT_EQ(InkBounds(picture.Image()), QRect(QPoint(100, 50), QPoint(110, 60)));
}
