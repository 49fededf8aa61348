// Every window's layout table: no control overlaps another or leaves its client area, and every
// fixed-size label holds its caption.
#include <QLabel>

#include "app_fixture.h"
#include "dose_report_window.h"
#include "fonts.h"
#include "form1.h"
#include "form1_layout.h"
#include "form10.h"
#include "form15.h"
#include "form18.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "form6.h"
#include "form7.h"
#include "form8.h"
#include "layout_check.h"
#include "twips.h"

namespace ordevo::testing {
namespace {

std::string Describe(const std::vector<ui::LayoutProblem>& problems) {
    std::string text;
    for (const auto& problem : problems) text += problem.ToString().toStdString() + "\n";
    return text;
}

struct NamedLayout {
    const char* name;
    ui::WindowLayout (*layout)();
};

void PrintTo(const NamedLayout& layout, std::ostream* out) { *out << layout.name; }

class WindowLayout : public ::testing::TestWithParam<NamedLayout> {};

TEST_P(WindowLayout, NoControlOverlapsAnotherOrLeavesItsWindow) {
    const ui::WindowLayout layout = GetParam().layout();
    const auto problems = ui::FindLayoutProblems(layout);
    EXPECT_TRUE(problems.empty()) << GetParam().name << ":\n" << Describe(problems);
}

// A caption wider than the room its table gives it would be cut off on screen.
TEST_P(WindowLayout, EveryFixedSizeLabelHoldsItsCaption) {
    const ui::WindowLayout layout = GetParam().layout();
    QWidget scratch;
    if (layout.windowFont != ui::Font::Inherit)
        scratch.setFont(ui::MakeFont(layout.windowFont, layout.windowFontSizePt));
    const ui::Controls controls = ui::CreateControls(scratch, layout.controls);
    for (const ui::ControlSpec& spec : layout.controls) {
        if (spec.kind != ui::Kind::Label || spec.width == 0) continue;
        auto* label = controls.Get<QLabel>(spec.name);
        EXPECT_LE(label->sizeHint().width(), label->width()) << GetParam().name << " " << spec.name;
        EXPECT_LE(label->fontMetrics().height(), label->height()) << GetParam().name << " " << spec.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryWindow, WindowLayout,
    ::testing::Values(NamedLayout{"Form1", &Form1::Layout}, NamedLayout{"Form7", &Form7::Layout},
                      NamedLayout{"Form15", &Form15::Layout}, NamedLayout{"Form18", &Form18::Layout},
                      NamedLayout{"Form10", &Form10::Layout}, NamedLayout{"Form2", &Form2::Layout},
                      NamedLayout{"Form3", &Form3::Layout}, NamedLayout{"Form4", &Form4::Layout},
                      NamedLayout{"Form5", &Form5::Layout}, NamedLayout{"Form8", &Form8::Layout},
                      NamedLayout{"Form6", &Form6::Layout},
                      NamedLayout{"DoseReportWindow", &DoseReportWindow::Layout}),
    [](const ::testing::TestParamInfo<NamedLayout>& param) { return std::string(param.param.name); });

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
