// Every window's layout table: no control overlaps another or leaves its client area.
#include <QLabel>

#include "app_fixture.h"
#include "dose_report_window.h"
#include "form1_layout.h"
#include "form15.h"
#include "form18.h"
#include "form7.h"
#include "layout_check.h"
#include "twips.h"

namespace ordevo::testing {
namespace {

std::string Describe(const std::vector<ui::LayoutProblem>& problems) {
    std::string text;
    for (const auto& problem : problems) text += problem.ToString().toStdString() + "\n";
    return text;
}

TEST(WindowLayout, NoControlOverlapsAnotherOrLeavesItsWindow) {
    struct Window {
        const char* name;
        std::span<const ui::ControlSpec> table;
        QSize clientTwips;
    };
    for (const Window& w :
         {Window{"Form1", Form1Controls(), {kForm1ClientWidthTwips, kForm1ClientHeightTwips}},
          Window{"Form15", Form15Controls(), {kForm15ClientWidthTwips, kForm15ClientHeightTwips}},
          Window{"Form18", Form18Controls(), {kForm18ClientWidthTwips, kForm18ClientHeightTwips}},
          Window{"Form7", Form7Controls(), {kForm7ClientWidthTwips, kForm7ClientHeightTwips}},
          Window{"DoseReportWindow", DoseReportWindowControls(),
                 {kDoseReportWindowWidthTwips, kDoseReportWindowHeightTwips}}}) {
        const auto problems = ui::FindLayoutProblems(w.table, w.clientTwips);
        EXPECT_TRUE(problems.empty()) << w.name << ":\n" << Describe(problems);
    }
}

// A caption wider than the room its table gives it would be cut off on screen.
TEST(WindowLayout, EveryFixedSizeLabelHoldsItsCaption) {
    for (const auto table : {Form1Controls(), Form15Controls(), Form18Controls(), Form7Controls(),
                             DoseReportWindowControls()}) {
        QWidget scratch;
        const ui::Controls controls = ui::CreateControls(scratch, table);
        for (const ui::ControlSpec& spec : table) {
            if (spec.kind != ui::Kind::Label || spec.width == 0) continue;
            auto* label = controls.Get<QLabel>(spec.name);
            EXPECT_LE(label->sizeHint().width(), label->width()) << spec.name;
            EXPECT_LE(label->fontMetrics().height(), label->height()) << spec.name;
        }
    }
}

class RunningWindowLayout : public AppTest {};

// The started window: its client area is the one the table was checked against, and nothing
// moved a control after the table placed it.
TEST_F(RunningWindowLayout, TheMainWindowKeepsItsTable) {
    Start();
    const QSize client = ui::TwipsToPixels(QSize(kForm1ClientWidthTwips, kForm1ClientHeightTwips));
    EXPECT_EQ(Main().size(), client);
    const auto problems = ui::FindLayoutProblems(Main(), client);
    EXPECT_TRUE(problems.empty()) << Describe(problems);
}

}  // namespace
}  // namespace ordevo::testing
