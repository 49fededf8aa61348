// The program's windows hide when closed, keeping their controls, and take their size in twips.
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "modeless_window.h"

using namespace ordevo::ui;

TEST(ModelessWindow, ClosingHidesTheWindowAndKeepsItsControls) {
    ModelessWindow window;
    window.SetClientSizeTwips(15480, 7920);
    EXPECT_EQ(window.size(), QSize(1032, 528));
    auto* text = new QLineEdit(&window);
    text->setText(QStringLiteral("胸部背面"));
    window.ShowInFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_FALSE(window.close());  // the close is turned into a hide
    EXPECT_TRUE(window.isHidden());
    window.ShowInFront();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(text->text(), QStringLiteral("胸部背面"));
}
