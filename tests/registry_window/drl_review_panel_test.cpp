// The registry window's tab "DRL との比較", offscreen: the review's rows from the working
// folder's files, a procedure's category set by hand and taken back, the page's box plots drawn
// against the level, and a bad date named.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include "cp932_text.h"
#include "dose_registry_window.h"
#include "drl_review_panel.h"
#include "recording_surface.h"
#include "scripted_messages.h"

namespace ordevo {
namespace {

class DrlReviewPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto opened = registry::Registry::Open(dir_.filePath("registry.sqlite"));
        ASSERT_TRUE(opened);
        const struct {
            const char *uid, *date, *description;
            double kar;
        } procedures[] = {{"1.1", "20240105", "Coil", 1000},
                          {"1.2", "20240106", "coil", 3000},
                          {"1.3", "20240107", "Knee", 10}};
        for (const auto& p : procedures) {
            registry::ProcedureRecord r;
            r.SopInstanceUid = p.uid;
            r.StudyDate = p.date;
            r.CallingAe = "ANGIO1";
            r.Texts.StudyDescription = p.description;
            r.Planes.push_back({"single", "", p.kar, p.kar / 10, 0, std::nullopt, 1, 0, 0});
            ASSERT_TRUE((*opened)->Register(r));
        }
        ASSERT_TRUE(WriteTextLines(dir_.filePath("drl.txt"), {"塞栓 = 1500, ", "その他 = , "}));
        ASSERT_TRUE(WriteTextLines(dir_.filePath("procedure_categories.txt"), {"塞栓 = coil"}));
        ASSERT_TRUE(WriteDoseRegistrySetting(dir_.path(), {dir_.filePath("registry.sqlite"), {}}));
    }
    QTemporaryDir dir_;
    ui::ScopedScriptedMessages messages_;
};

TEST_F(DrlReviewPanelTest, ReviewsAndKeepsACategorySetByHand) {
    DoseRegistryWindow window(dir_.path());
    window.Open();
    ASSERT_TRUE(messages_->Shown().empty());
    window.Tabs()->setCurrentIndex(1);
    DrlReviewPanel& panel = *window.Review();
    EXPECT_TRUE(panel.isVisibleTo(&window));
    ASSERT_TRUE(panel.Review());
    ASSERT_EQ(panel.RowTable()->rowCount(), 1);
    // Ka,r 1000 and 3000: median 2000 above 1500.
    EXPECT_EQ(panel.RowTable()->item(0, 3)->text(), "2000");
    EXPECT_EQ(panel.RowTable()->item(0, 6)->text(), "超過");
    EXPECT_EQ(panel.RowTable()->item(0, 2)->text(), "2*");  // fewer than 20
    ASSERT_EQ(panel.ProcedureTable()->rowCount(), 3);
    EXPECT_EQ(panel.ProcedureTable()->item(2, 2)->text(), "（分類なし）");

    panel.ProcedureTable()->setCurrentCell(2, 0);
    ASSERT_TRUE(panel.SetChosenCategory("その他"));
    EXPECT_EQ(panel.ProcedureTable()->item(2, 2)->text(), "その他");
    EXPECT_EQ(panel.ProcedureTable()->item(2, 3)->text(), "手");
    EXPECT_EQ(panel.RowTable()->rowCount(), 2);
    EXPECT_EQ(panel.Shown()->Review.Uncategorised, 0);
    // Kept in the registry: a new window finds it.
    {
        DoseRegistryWindow again(dir_.path());
        again.Open();
        ASSERT_TRUE(again.Review()->Review());
        EXPECT_EQ(again.Review()->ProcedureTable()->item(2, 3)->text(), "手");
    }
    panel.ProcedureTable()->setCurrentCell(2, 0);
    ASSERT_TRUE(panel.SetChosenCategory(""));
    EXPECT_EQ(panel.ProcedureTable()->item(2, 3)->text(), "規則");

    // The page: a box per row, the level as a dashed red line at its place on the scale.
    ui::RecordingSurface page;
    DrawDrlReviewPage(page, *panel.Shown());
    bool levelDrawn = false;
    for (const ui::DrawOp& op : page.Lines())
        levelDrawn =
            levelDrawn || (op.lineStyle == ui::LineStyle::Dash && op.colour == QColor(200, 0, 0));
    EXPECT_TRUE(levelDrawn);
    const QString pdf = dir_.filePath("review.pdf");
    panel.SavePdf(pdf);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

TEST_F(DrlReviewPanelTest, ABadDateIsNamed) {
    DoseRegistryWindow window(dir_.path());
    window.Open();
    DrlReviewPanel& panel = *window.Review();
    panel.ToBox()->setText("2024-13-01");
    EXPECT_FALSE(panel.Review());
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_TRUE(messages_->Shown()[0].text.contains("終わり"))
        << messages_->Shown()[0].text.toStdString();
}

}  // namespace
}  // namespace ordevo
