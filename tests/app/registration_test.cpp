// Registration, change of name and going on as a guest; "Primary.dat" rewritten whole.
#include <QLineEdit>
#include <QTest>

#include "app_fixture.h"
#include "form10.h"
#include "form15.h"
#include "form18.h"

namespace ordevo::testing {
namespace {

const QString kDesignCaption = QStringLiteral("  Ordevo-V3  ( Ordevo, version 3 )");
const QString kRegisteredCaption = QStringLiteral("Ordevo-V3 ( Ordevo, version 3 )  :  ");

class Registration : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        delivered_ = FileBytes(PathOf(QStringLiteral("Primary.dat")));
        Start();
        Click("Command8");
    }
    Form15& Registering() { return App().RegistrationWindow(); }
    Form18& Changing() { return App().NameChangeWindow(); }
    template <class W>
    static QLineEdit* NameBox(const W& window) {
        return window.Controls().template Get<QLineEdit>("Text1");
    }
    void ClickIn(QWidget& window, const char* name) {
        Click(window.findChild<QWidget*>(QString::fromLatin1(name)));
    }
    QByteArray delivered_;
};

TEST_F(Registration, CancelGoesOnAsAGuestWithoutTouchingTheFile) {
    ASSERT_TRUE(Registering().isVisible());
    EXPECT_EQ(NameBox(Registering())->text(), QStringLiteral("ABC 総合病院"));
    ClickIn(Registering(), "Command2");
    EXPECT_EQ(Main().windowTitle(), kDesignCaption + QStringLiteral("   :   ゲストユーザー"));
    EXPECT_EQ(State().UserName, QStringLiteral("ゲストユーザー"));
    EXPECT_EQ(App().ResultsWindow().UserName(), QStringLiteral("ゲストユーザー"));
    EXPECT_FALSE(Button("Command8")->isVisible());
    EXPECT_TRUE(Button("Command2")->isEnabled());
    for (const char* off : {"Command3", "Command5", "Command6", "Command9"})
        EXPECT_FALSE(Button(off)->isEnabled()) << off;
    EXPECT_FALSE(Registering().isVisible());
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("Primary.dat"))), delivered_);

    // The next start is unregistered again.
    app_.reset();
    Start();
    EXPECT_TRUE(Button("Command8")->isVisible());
    EXPECT_EQ(Main().windowTitle(), kDesignCaption);
}

TEST_F(Registration, OkStoresTheNameAsLine32) {
    ClickIn(Registering(), "Command1");
    EXPECT_EQ(Main().windowTitle(), kRegisteredCaption + QStringLiteral("ABC 総合病院"));
    EXPECT_EQ(App().ResultsWindow().UserName(), QStringLiteral("ABC 総合病院"));
    EXPECT_FALSE(Button("Command8")->isVisible());
    EXPECT_TRUE(Button("Command2")->isEnabled());
    EXPECT_FALSE(Registering().isVisible());
    const QByteArray stored = FileBytes(PathOf(QStringLiteral("Primary.dat")));
    EXPECT_TRUE(stored.startsWith(delivered_));
    EXPECT_EQ(stored.mid(delivered_.size()),
              QByteArray("ABC \x91\x8d\x8d\x87\x95\x61\x89\x40\r\n"));  // CP932

    app_.reset();
    Start();
    EXPECT_EQ(Main().windowTitle(), kRegisteredCaption + QStringLiteral("ABC 総合病院"));
}

TEST_F(Registration, AnEmptyNameIsRefusedAndTheWindowStays) {
    NameBox(Registering())->clear();
    ClickIn(Registering(), "Command1");
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_EQ(Messages().Shown()[0].text, QStringLiteral("名前が入力されていません"));
    EXPECT_EQ(Messages().Shown()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_TRUE(Registering().isVisible());
    EXPECT_TRUE(Button("Command8")->isVisible());
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("Primary.dat"))), delivered_);
}

// A name code page 932 cannot hold would be written damaged: it is refused with the reason.
TEST_F(Registration, ANameTheFileCannotHoldIsRefused) {
    NameBox(Registering())->setText(QStringLiteral("Clinic \U0001F600"));
    ClickIn(Registering(), "Command1");
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_TRUE(Messages().Shown()[0].text.contains(QStringLiteral("Primary.dat")));
    EXPECT_TRUE(Registering().isVisible());
    EXPECT_TRUE(State().UserName.isEmpty());
    EXPECT_EQ(Main().windowTitle(), kDesignCaption);
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("Primary.dat"))), delivered_);
}

// Registering, then changing the name by a double click on the mascot: 32 lines, the newer
// name last, lines 1–31 as delivered.
TEST_F(Registration, AChangeReplacesLine32) {
    ClickIn(Registering(), "Command1");
    QTest::mouseDClick(Main().Controls().Widget("Picture1"), Qt::LeftButton);
    ASSERT_TRUE(Changing().isVisible());
    EXPECT_EQ(NameBox(Changing())->text(), QStringLiteral("ABC 総合病院"));
    const QString newer = QStringLiteral("X線室, \"第2\"");
    NameBox(Changing())->setText(newer);
    ClickIn(Changing(), "Command1");
    EXPECT_FALSE(Changing().isVisible());
    EXPECT_EQ(Main().windowTitle(), kRegisteredCaption + newer);
    EXPECT_EQ(App().ResultsWindow().UserName(), newer);
    const QStringList lines = FileLines(PathOf(QStringLiteral("Primary.dat")));
    ASSERT_EQ(lines.size(), 32);
    EXPECT_EQ(lines[31], newer);
    EXPECT_TRUE(FileBytes(PathOf(QStringLiteral("Primary.dat"))).startsWith(delivered_));
}

TEST_F(Registration, CancellingAChangeKeepsTheName) {
    ClickIn(Registering(), "Command2");  // guest
    QTest::mouseDClick(Main().Controls().Widget("Picture1"), Qt::LeftButton);
    ASSERT_TRUE(Changing().isVisible());
    EXPECT_EQ(NameBox(Changing())->text(), QStringLiteral("ゲストユーザー"));
    NameBox(Changing())->setText(QStringLiteral("Other"));
    ClickIn(Changing(), "Command2");
    EXPECT_FALSE(Changing().isVisible());
    EXPECT_EQ(State().UserName, QStringLiteral("ゲストユーザー"));
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("Primary.dat"))), delivered_);
}

}  // namespace
}  // namespace ordevo::testing
