// The program's windows hide when closed, keeping their controls, and take their size in twips.
#include <QLineEdit>
#include <QScrollArea>
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

// A window larger than the screen's free area scrolls its client area, laid out as designed,
// and its controls keep their places in it; one that fits keeps its designed fixed size.
TEST(ModelessWindow, AWindowLargerThanTheScreenScrollsItsClientArea) {
    struct Case {
        QSize screen;
        bool scrolls;
    };
    for (const Case c :
         {Case{{1366, 768}, false}, Case{{1093, 614}, true}, Case{{800, 800}, true}}) {
        ModelessWindow window;
        window.SetClientSizeTwips(15600, 10695);  // 1040 × 713 pixels
        auto* box = new QLineEdit(&window);
        box->setGeometry(600, 680, 100, 24);
        auto* hiddenBox = new QLineEdit(&window);
        hiddenBox->hide();
        window.FitIntoScreenArea(QRect(QPoint(0, 0), c.screen));
        const auto trace = ::testing::Message() << c.screen.width() << "×" << c.screen.height();
        EXPECT_EQ(window.ClientScrollArea() != nullptr, c.scrolls) << trace;
        EXPECT_EQ(window.width() <= c.screen.width() && window.height() < c.screen.height(), true)
            << trace;
        EXPECT_EQ(window.size() == QSize(1040, 713), !c.scrolls) << trace;
        EXPECT_EQ(box->geometry(), QRect(600, 680, 100, 24)) << trace;
        EXPECT_TRUE(window.isAncestorOf(box) && box->isVisibleTo(&window)) << trace;
        EXPECT_TRUE(hiddenBox->isHidden()) << trace;
        if (c.scrolls) {
            EXPECT_EQ(window.ClientScrollArea()->widget()->size(), QSize(1040, 713)) << trace;
            EXPECT_EQ(window.maximumSize().width() >= 1040, true) << trace;  // can grow back
        }
    }
}
