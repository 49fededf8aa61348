// Every window's layout table: no control overlaps another or leaves its client area, and every
// fixed-size label holds its caption.
#include <QLabel>
#include <QTemporaryDir>

#include <memory>
#include <type_traits>

#include "app_fixture.h"
#include "dose_registry_window.h"
#include "dose_report_window.h"
#include "skin_dose_map_window.h"
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

// Every window built as the program builds it, in an empty working folder.
struct Scratch {
    QTemporaryDir folder;
    AppState state;
    ResultsTable results;
    Scratch() { state.WorkingFolder = folder.path(); }
};

template <class W>
std::unique_ptr<QWidget> Build(Scratch& s) {
    if constexpr (std::is_same_v<W, Form1>)
        return std::make_unique<Form1>(s.state.Reference, s.folder.path());
    else if constexpr (std::is_same_v<W, Form10>)
        return std::make_unique<Form10>(s.folder.path());
    else if constexpr (std::is_same_v<W, Form2>)
        return std::make_unique<Form2>(s.results, s.folder.path());
    else if constexpr (std::is_same_v<W, Form3>)
        return std::make_unique<Form3>(s.folder.path());
    else if constexpr (std::is_same_v<W, Form4>)
        return std::make_unique<Form4>();
    else if constexpr (std::is_same_v<W, Form5>)
        return std::make_unique<Form5>(s.folder.path());
    else if constexpr (std::is_same_v<W, Form8>)
        return std::make_unique<Form8>(s.state.Reference, s.folder.path());
    else if constexpr (std::is_same_v<W, Form6>)
        return std::make_unique<Form6>(s.folder.path());
    else if constexpr (std::is_same_v<W, DoseReportWindow>)
        return std::make_unique<DoseReportWindow>(s.state.Reference, s.folder.path());
    else if constexpr (std::is_same_v<W, DoseRegistryWindow>)
        return std::make_unique<DoseRegistryWindow>(s.folder.path());
    else if constexpr (std::is_same_v<W, SkinDoseMapWindow>)
        return std::make_unique<SkinDoseMapWindow>(s.state.Reference, s.folder.path());
    else
        return std::make_unique<W>();
}

struct NamedLayout {
    const char* name;
    ui::WindowLayout (*layout)();
    std::unique_ptr<QWidget> (*build)(Scratch&);
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
        EXPECT_LE(label->fontMetrics().height(), label->height())
            << GetParam().name << " " << spec.name;
    }
}

// The window as built has the client area of its layout, and nothing moved a control after the
// table placed it.
TEST_P(WindowLayout, TheBuiltWindowKeepsItsLayout) {
    const ui::WindowLayout layout = GetParam().layout();
    Scratch scratch;
    ASSERT_TRUE(scratch.folder.isValid());
    const std::unique_ptr<QWidget> window = GetParam().build(scratch);
    const QSize client =
        ui::TwipsToPixels(QSize(layout.clientWidthTwips, layout.clientHeightTwips));
    EXPECT_EQ(window->size(), client) << GetParam().name;
    const auto problems = ui::FindLayoutProblems(*window, client);
    EXPECT_TRUE(problems.empty()) << GetParam().name << ":\n" << Describe(problems);
}

#define ORDEVO_WINDOW(W) \
    NamedLayout { #W, &W::Layout, &Build < W> }
INSTANTIATE_TEST_SUITE_P(
    EveryWindow, WindowLayout,
    ::testing::Values(ORDEVO_WINDOW(Form1), ORDEVO_WINDOW(Form7), ORDEVO_WINDOW(Form15),
                      ORDEVO_WINDOW(Form18), ORDEVO_WINDOW(Form10), ORDEVO_WINDOW(Form2),
                      ORDEVO_WINDOW(Form3), ORDEVO_WINDOW(Form4), ORDEVO_WINDOW(Form5),
                      ORDEVO_WINDOW(Form8), ORDEVO_WINDOW(Form6), ORDEVO_WINDOW(DoseReportWindow),
                      ORDEVO_WINDOW(SkinDoseMapWindow), ORDEVO_WINDOW(DoseRegistryWindow)),
    [](const ::testing::TestParamInfo<NamedLayout>& param) {
        return std::string(param.param.name);
    });

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
