// The spectrum window draws the working folder's spectrum file into Picture3 and shows itself,
// or reports a file it cannot draw and stays hidden.
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "form6.h"
#include "layout_check.h"
#include "picture_box.h"
#include "scripted_messages.h"
#include "spectrum_file.h"

using namespace ordevo;

namespace {

class Form6Window : public ::testing::Test {
protected:
    void WriteSpectrum() {
        BinArray f{};
        for (int j = 1; j <= 160; ++j) f[j] = j <= 100 ? j : 200 - j;  // peak 100 at 50 keV
        ASSERT_TRUE(
            WriteSpectrumFile(folder.filePath(QStringLiteral("B_SPCTL.dat")), f).has_value());
    }
    ui::PictureBox& Picture3() {
        return *window.findChild<ui::PictureBox*>(QStringLiteral("Picture3"));
    }
    // Whether a pixel within one pixel of the plot point (x, y) has the colour.
    bool ColourNear(double x, double y, const QColor& colour) {
        const QPointF centre = Picture3().ToImagePixels(x, y);
        const QImage& image = Picture3().Image();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p(static_cast<int>(centre.x()) + dx,
                               static_cast<int>(centre.y()) + dy);
                if (image.valid(p) && image.pixelColor(p) == colour) return true;
            }
        return false;
    }

    QTemporaryDir folder;
    ui::ScopedScriptedMessages messages;
    Form6 window{folder.path()};
};

TEST_F(Form6Window, AMissingSpectrumFileIsReportedAndNotShown) {
    EXPECT_FALSE(window.PlotSpectrum());
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(messages->Shown().size(), 1u);
    const ui::ShownMessage& shown = messages->Shown()[0];
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral(" Ｘ線スペクトルを表示できません ")));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("B_SPCTL.dat")));
    EXPECT_EQ(shown.icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(shown.buttons, ui::MessageButtons::Ok);
}

TEST_F(Form6Window, ASpectrumIsDrawnIntoPicture3AndTheWindowShown) {
    WriteSpectrum();
    ASSERT_TRUE(window.PlotSpectrum());
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("X-ray spectrum"));
    EXPECT_EQ(window.LastPlot().MaxFluence, 100);
    // Treads in light red where F/F_max puts them: bin 50 (F 50) half-way up at x = 1750,
    // bin 120 (F 80) at y = 2100 − 1600 = 500, x = 2800; the empty bins run along the bottom;
    // the frame corner is black.
    EXPECT_TRUE(ColourNear(1750, 1100, QColor(255, 0, 0)));
    EXPECT_TRUE(ColourNear(2800, 500, QColor(255, 0, 0)));
    EXPECT_FALSE(ColourNear(2800, 1100, QColor(255, 0, 0)));
    EXPECT_TRUE(ColourNear(4000, 2100, QColor(255, 0, 0)) || ColourNear(4000, 2100, Qt::black));
    EXPECT_TRUE(ColourNear(1000, 100, Qt::black));
    // Nothing is drawn outside the frame's right edge beyond its texts: above the frame's top
    // right corner the picture is white.
    EXPECT_TRUE(ColourNear(5700, 50, Qt::white));

    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Form6Window, AFileDeletedAfterADrawingLeavesOnlyTheEmptyFrame) {
    WriteSpectrum();
    ASSERT_TRUE(window.PlotSpectrum());
    ASSERT_TRUE(QFile::remove(folder.filePath(QStringLiteral("B_SPCTL.dat"))));
    EXPECT_FALSE(window.PlotSpectrum());
    EXPECT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(window.LastPlot().MaxFluence, 0);
    EXPECT_FALSE(ColourNear(1750, 1100, QColor(255, 0, 0)));
    EXPECT_TRUE(ColourNear(1000, 100, Qt::black));
}

TEST_F(Form6Window, ControlsStayInsideTheWindowWithoutOverlapping) {
    for (const ui::LayoutProblem& problem : ui::FindLayoutProblems(window, window.size()))
        ADD_FAILURE() << problem.ToString().toStdString();
    const auto* picture = &Picture3();
    EXPECT_EQ(picture->geometry(), QRect(16, 16, 913, 473));  // 240, 240, 13695 × 7095 twips
}

}  // namespace
