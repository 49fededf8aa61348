// The geometry check finds overlapping siblings and controls outside their parent.
#include <gtest/gtest.h>

#include "layout_check.h"
#include "twips.h"

using namespace ordevo::ui;

namespace {

// Client area 4800 × 3000 twips = 320 × 200 px.
constexpr QSize kClient{4800, 3000};

std::vector<QString> Describe(const std::vector<LayoutProblem>& problems) {
    std::vector<QString> texts;
    for (const LayoutProblem& problem : problems) texts.push_back(problem.ToString());
    return texts;
}

}  // namespace

TEST(LayoutCheck, ATidyTableHasNoProblem) {
    constexpr ControlSpec table[] = {
        {"Command1", Kind::Button, "はい", 0, 0, 1500, 600},
        // Touching edges are not an overlap: Command1 covers x 0..99 px, Command2 starts at 100.
        {"Command2", Kind::Button, "いいえ", 1500, 0, 1500, 600},
        {"Frame1", Kind::Frame, "照射野形状", 0, 1200, 4800, 1800},
        {"Option1", Kind::Option, "円形", 120, 360, 1500, 375, Font::Inherit, 9, "", "Frame1"},
        {"Option2", Kind::Option, "矩形", 1800, 360, 1500, 375, Font::Inherit, 9, "", "Frame1"},
    };
    EXPECT_TRUE(FindLayoutProblems(table, kClient).empty());
}

TEST(LayoutCheck, OverlappingSiblingsAreReportedByName) {
    constexpr ControlSpec table[] = {
        {"Command1", Kind::Button, "はい", 0, 0, 1500, 600},
        {"Command2", Kind::Button, "いいえ", 1485, 0, 1500, 600},  // one pixel into Command1
        {"Label1", Kind::Label, "遠い", 3600, 2400, 600, 300},
    };
    const auto problems = Describe(FindLayoutProblems(table, kClient));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], QStringLiteral("Command1 overlaps Command2"));
}

TEST(LayoutCheck, ControlsLeavingTheClientAreaOrTheirFrameAreReported) {
    constexpr ControlSpec table[] = {
        {"Command1", Kind::Button, "右", 4200, 0, 615, 600},  // 280 + 41 px > 320
        {"Label1", Kind::Label, "上", 0, -15, 600, 300},      // one pixel above
        {"Frame1", Kind::Frame, "枠", 0, 1200, 2400, 1500},
        {"Option1", Kind::Option, "外", 1800, 360, 1500, 375, Font::Inherit, 9, "", "Frame1"},
    };
    const auto problems = Describe(FindLayoutProblems(table, kClient));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], QStringLiteral("Command1 leaves the client area"));
    EXPECT_EQ(problems[1], QStringLiteral("Label1 leaves the client area"));
    EXPECT_EQ(problems[2], QStringLiteral("Option1 leaves Frame1"));
}

TEST(LayoutCheck, DeclaredAndDecorativeOverlapsAreAccepted) {
    constexpr ControlSpec table[] = {
        {"Shape1", Kind::Shape, "", 0, 0, 4800, 3000},  // a frame line round everything
        {"Label27", Kind::Label, "Ordevo-V3", 1800, 120, 1500, 400},
        // The shadow copy, 30 twips across and 15 down.
        {"Label34", Kind::Label, "Ordevo-V3", 1770, 105, 1500, 400, Font::Inherit, 9, "", "",
         Overlap::Allowed},
        {"Picture2", Kind::PictureBox, "", 0, 600, 3600, 2400},
        {"Command1", Kind::Button, "合 計 ⇒", 3000, 2400, 1200, 420, Font::Inherit, 9, "", "",
         Overlap::Allowed},
    };
    EXPECT_TRUE(FindLayoutProblems(table, kClient).empty());
}

TEST(LayoutCheck, HiddenControlsAreCheckedAtTheirDesignedPlace) {
    constexpr ControlSpec table[] = {
        {"Command1", Kind::Button, "a", 0, 0, 1500, 600},
        {"Command8", Kind::Button, "b", 750, 300, 1500, 600},
    };
    QWidget window;
    const Controls controls = CreateControls(window, table);
    controls.Widget("Command8")->hide();
    const auto problems = FindLayoutProblems(window, TwipsToPixels(kClient));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].type, LayoutProblem::Type::Overlap);
}
