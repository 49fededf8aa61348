// The keyboard path through a case: Enter moves on and stores what the box holds.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

#include "app_fixture.h"
#include "modeless_window.h"

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
    EXPECT_EQ(Main().Case().Stored.ReferenceAirKermaMGy, 12.5);
    EXPECT_EQ(QApplication::focusWidget(), Box("Text15"));
    TypeAndEnter("Text15", QStringLiteral("3e-1"));
    EXPECT_EQ(Main().Case().Stored.KermaAreaProductGyCm2, 0.3);
    EXPECT_EQ(QApplication::focusWidget(), Option("Option2"));
    EXPECT_FALSE(Option("Option2")->isChecked());  // the focus alone chooses no shape
    TypeAndEnter("Text9", QStringLiteral("65.4"));
    EXPECT_EQ(Box("Text9")->text(), QStringLiteral("65.4"));
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
    EXPECT_EQ(Main().Case().Stored.KermaAreaProductGyCm2, 7.0);
    QTest::keyClicks(Box("Text9"), QStringLiteral("5"));  // "605"
    Box("Text14")->setFocus();
    EXPECT_EQ(Box("Text9")->text(), QStringLiteral("605"));
}

// Escape cancels a dialog and Enter presses its OK, except in a box whose Enter walks the focus.
TEST_F(KeyboardPath, EscapeCancelsAndEnterPressesOk) {
    enum class Then { Hidden, OkPressed, FocusWalked };
    struct Row {
        const char* window;
        const char* focus;  // the control that has the focus when the key is pressed
        Qt::Key key;
        const char* ok;  // null: none
        Then then;
    };
    const Row rows[] = {
        {"Form7", "Command1", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form7", "Command1", Qt::Key_Return, "Command1", Then::OkPressed},
        {"Form2", "Text2", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form2", "Text2", Qt::Key_Return, "Command1", Then::FocusWalked},
        {"Form3", "Text2", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form3", "Text2", Qt::Key_Enter, "Command1", Then::OkPressed},
        {"Form8", "Text13", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form8", "Text13", Qt::Key_Return, "Command1", Then::FocusWalked},
        {"Form5", "Text2", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form4", "Text1", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form4", "Text1", Qt::Key_Return, "Command1", Then::OkPressed},
        {"Form18", "Text1", Qt::Key_Escape, "Command1", Then::Hidden},
        {"Form18", "Text1", Qt::Key_Return, "Command1", Then::OkPressed},
        {"Form6", "Command1", Qt::Key_Escape, nullptr, Then::Hidden},  // it has no OK
    };
    RegisterBeforeStart(QStringLiteral("Clinic"));
    Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.window) + " " + row.focus + " key " + std::to_string(row.key));
        auto* window = qobject_cast<ui::ModelessWindow*>([&]() -> QWidget* {
            for (QWidget* w : QApplication::allWidgets())
                if (w->objectName() == QLatin1String(row.window) && w->isWindow()) return w;
            return nullptr;
        }());
        ASSERT_NE(window, nullptr);
        window->ShowInFront();
        auto* focus = window->findChild<QWidget*>(QString::fromLatin1(row.focus));
        QPushButton okless;  // never pressed
        auto* ok = row.ok ? window->findChild<QAbstractButton*>(QString::fromLatin1(row.ok))
                          : static_cast<QAbstractButton*>(&okless);
        ASSERT_TRUE(focus && ok);
        if (auto* box = qobject_cast<QLineEdit*>(focus)) box->setText(QStringLiteral("80"));
        focus->setFocus();
        QSignalSpy pressed(ok, &QAbstractButton::clicked);
        QTest::keyClick(focus, row.key);
        switch (row.then) {
        case Then::Hidden:
            EXPECT_FALSE(window->isVisible());
            EXPECT_EQ(pressed.count(), 0);
            break;
        case Then::OkPressed: EXPECT_EQ(pressed.count(), 1); break;
        case Then::FocusWalked:
            EXPECT_EQ(pressed.count(), 0);
            EXPECT_NE(window->focusWidget(), focus);
            EXPECT_TRUE(window->isVisible());
            break;
        }
        window->hide();
    }
}

}  // namespace
}  // namespace ordevo::testing
