// The keyboard path through a case: Enter moves on and stores what the box holds.
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include "app_fixture.h"

namespace ordevo::testing {
namespace {

class KeyboardPath : public AppTest {};

TEST_F(KeyboardPath, EnterLeadsFromTheBodyPartToTheCalculation) {
    RegisterBeforeStart(QStringLiteral("Clinic"));
    Start();
    ClickFile(QStringLiteral("Room1.odv3"));
    auto* combo = Main().Control<QComboBox>("Combo1");
    const QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus == combo || focus == combo->lineEdit());
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command5"));
    EXPECT_EQ(combo->count(), 4);  // Enter adds no entry to the list

    TypeAndEnter("Text14", QStringLiteral(" 1 2.5 "));  // blanks dropped: 12.5
    EXPECT_EQ(Main().Case().Conditions.ReferenceAirKerma, 12.5);
    EXPECT_EQ(QApplication::focusWidget(), Box("Text15"));
    TypeAndEnter("Text15", QStringLiteral("3e-1"));
    EXPECT_EQ(Main().Case().Conditions.KermaAreaProduct, 0.3);
    EXPECT_EQ(QApplication::focusWidget(), Option("Option2"));
    EXPECT_FALSE(Option("Option2")->isChecked());  // the focus alone chooses no shape
    TypeAndEnter("Text9", QStringLiteral("65.4"));
    EXPECT_EQ(Main().Case().Conditions.FocusSkinDistance, 65.4);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command2"));
}

// Leaving a box by the mouse stores its value too.
TEST_F(KeyboardPath, LeavingABoxStoresItsValue) {
    RegisterBeforeStart(QStringLiteral("Clinic"));
    Start();
    ClickFile(QStringLiteral("Room1.odv3"));
    Box("Text15")->setFocus();
    QTest::keyClicks(Box("Text15"), QStringLiteral("7"));
    Box("Text9")->setFocus();
    EXPECT_EQ(Main().Case().Conditions.KermaAreaProduct, 7.0);
    QTest::keyClicks(Box("Text9"), QStringLiteral("5"));  // "605"
    Box("Text14")->setFocus();
    EXPECT_EQ(Main().Case().Conditions.FocusSkinDistance, 605.0);
}

}  // namespace
}  // namespace ordevo::testing
