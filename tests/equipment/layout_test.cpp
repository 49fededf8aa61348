// Every control of the equipment windows lies inside its window or frame and overlaps no other.
#include <QLabel>

#include <gtest/gtest.h>

#include "form4.h"
#include "form5.h"
#include "form8.h"
#include "layout_check.h"
#include "test_folders.h"

using namespace ordevo;

namespace {

void ExpectTidy(const QWidget& window) {
    for (const ui::LayoutProblem& problem : ui::FindLayoutProblems(window, window.size()))
        ADD_FAILURE() << window.objectName().toStdString() << ": "
                      << problem.ToString().toStdString();
    // A caption wider than its label would be cut off.
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap()) continue;
        EXPECT_LE(label->sizeHint().width(), label->width())
            << window.objectName().toStdString() << " " << label->objectName().toStdString();
    }
}

TEST(EquipmentLayouts, ControlsStayInsideTheirWindowsWithoutOverlapping) {
    Form4 form4;
    ExpectTidy(form4);

    Form5 form5(ordevo::testing::SyntheticFolder());
    ExpectTidy(form5);

    Form8 form8(ordevo::testing::SyntheticReference(), ordevo::testing::SyntheticFolder());
    ExpectTidy(form8);
    EXPECT_EQ(form8.size(), QSize(1207, 607));  // 18105 × 9105 twips
}

}  // namespace
